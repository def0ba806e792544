#pragma once
// The window program's own pictures: SVG drawings in the resources under
// ":/pictures", rendered at the size and pixel ratio they are shown at, so they
// stay sharp at any display scaling.
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace zb {

// Names of the pictures (the file name without ".svg").
namespace pic {
// Picture buttons, normal and pressed; the sizes are their logical sizes.
inline constexpr const char* kEndeBtn = "beenden";                 // 101 x 30
inline constexpr const char* kEndeBtnPressed = "beenden-gedrueckt";
inline constexpr const char* kUeberBtn = "info";                   // 101 x 30
inline constexpr const char* kUeberBtnPressed = "info-gedrueckt";
inline constexpr const char* kPrintBtn = "drucken";                // 101 x 30
inline constexpr const char* kPrintBtnPressed = "drucken-gedrueckt";
inline constexpr const char* kPrinterSetupBtn = "drucker-einrichten"; // 82 x 35
inline constexpr const char* kPrinterSetupBtnPressed = "drucker-einrichten-gedrueckt";
inline constexpr QSize kButtonSize{101, 30};
// The side panels of "Papierformat wählen" and "Drucken".
inline constexpr const char* kPaperPanel = "seite-papier";
inline constexpr const char* kPrintPanel = "seite-drucken";
inline constexpr QSize kPanelPictureSize{180, 180};
inline constexpr QSize kPrinterSetupSize{82, 35};

// 16 x 16 tab icons: the three main pages, then the five editor pages.
inline constexpr const char* kTabEbenen = "tab-ebenen";             // "Grafik-Ebenen"
inline constexpr const char* kTabPapierformat = "tab-papierformat"; // "Papierformat wählen"
inline constexpr const char* kTabDrucken = "tab-drucken";           // "Drucken"
inline constexpr const char* kTabFarbverlauf = "tab-farbverlauf";
inline constexpr const char* kTabMuster = "tab-muster";
inline constexpr const char* kTabTextur = "tab-textur";
inline constexpr const char* kTabFilter = "tab-filter";
inline constexpr const char* kTabText = "tab-text";
// Every row of the layer list shows image 0 of the tab icons.
inline constexpr const char* kLayerRow = kTabEbenen;

// 16 x 16 glyphs of the command buttons.
inline constexpr const char* kNeu = "neu";
inline constexpr const char* kOeffnen = "oeffnen";
inline constexpr const char* kSpeichern = "speichern";
inline constexpr const char* kSpeichernUnter = "speichern-unter";
inline constexpr const char* kUndo = "rueckgaengig";
inline constexpr const char* kRedo = "wiederholen";
inline constexpr const char* kNeuWuerfeln = "neu-wuerfeln";
inline constexpr const char* kWeb = "web";
inline constexpr const char* kHilfe = "hilfe";

// The about box's product picture, 306 x 322.
inline constexpr const char* kProdukt = "produkt";
inline constexpr QSize kProduktSize{306, 322};
} // namespace pic

// Renders picture `name` at `logicalSize` (device-independent pixels) for a
// screen of `devicePixelRatio`; the pixmap carries that ratio. A null pixmap
// when there is no such picture or the size is empty.
QPixmap LoadPicture(const QString& name, QSize logicalSize, qreal devicePixelRatio);

// An icon that renders picture `name` afresh at whatever size and scaling it
// is drawn with. A null icon when there is no such picture.
QIcon LoadIcon(const QString& name);

// Names of all pictures in the resources, sorted.
QStringList PictureNames();

} // namespace zb
