#include "cli/Usage.h"

namespace zb::cli {
namespace {

const char* const kInfo =
    "Aufruf: zierbogen info ENTWURF.zbg [--json] [--page BxH] [--printer-dpi P]\n"
    "  Ebenen von unten nach oben mit allen Einstellungen, Texten und Grafikgrößen,\n"
    "  dann Papierformat, Zoom und Ränder. Bei \"Gesamtes Papier bedrucken\" auch die\n"
    "  druckbare Seite, deren Größe der Entwurf hat (B x H Druckerpixel bei P Pixel je\n"
    "  Zoll; Vorgabe der Standarddrucker oder die Ersatzseite A4, 4760x6779 bei 600).\n"
    "  --json     dasselbe als JSON.\n";

const char* const kTextures =
    "Aufruf: zierbogen textures [ORDNER]\n"
    "  Was die Texturbibliothek enthielte (Vorgabe: der Ordner \"texturen\" neben dem\n"
    "  Programm, sonst der installierte in ../share/zierbogen-drucker/), in ihrer\n"
    "  Reihenfolge: Format, Größe, Bittiefe der Datei und nach der Umwandlung, und\n"
    "  warum eine Datei übergangen wird.\n";

const char* const kRender =
    "Aufruf: zierbogen render ENTWURF.zbg -o AUSGABE.png [--seed N] [--screen-dpi S]\n"
    "                         [--zoom Z] [--page BxH] [--printer-dpi P] [--seamless]\n"
    "  Setzt den Entwurf zusammen wie die Entwurfsansicht und schreibt genau diese\n"
    "  Grafik als 24-Bit-PNG, mit S als vermerkter Auflösung.\n"
    "  --seed N          Startzustand des Zufallsgenerators (0 bis 4294967295).\n"
    "  --screen-dpi S    Bildschirmpixel je Zoll, ganze Zahl (Vorgabe 96).\n"
    "  --zoom Z          Zoom in Prozent (Vorgabe: der gespeicherte Zoom).\n"
    "  --page BxH        druckbare Seite in Druckerpixeln, für \"Gesamtes Papier\n"
    "                    bedrucken\" (Vorgabe: der Standarddrucker, sonst 4760x6779);\n"
    "                    oder ein ganzes Blatt A5, A4, A3, Letter, Legal, quer mit\n"
    "                    angehängtem \"-quer\" (A4-quer), bei P Pixel je Zoll.\n"
    "  --printer-dpi P   Druckerpixel je Zoll, ganze Zahl (Vorgabe: der Standard-\n"
    "                    drucker, sonst 600).\n"
    "  --seamless        \"Nahtlos kachelbar\": eine Kachel, die sich ohne Naht\n"
    "                    wiederholt (auch wenn der Entwurf es nicht gespeichert hat).\n"
    "                    Was dennoch eine Naht macht (Farbverläufe, Grafiken oder\n"
    "                    Raster, die nicht aufgehen), steht als Hinweis auf stderr.\n";

const char* const kExport =
    "Aufruf: zierbogen export ENTWURF.zbg -o AUSGABE.{png,jpg,tif,bmp,pdf} [--dpi D]\n"
    "                         [--seed N] [--page BxH] [--printer-dpi P] [--pixel-filters]\n"
    "                         [--seamless] [--repeat MODUS] [--preview3x3 DATEI]\n"
    "  Der Entwurf in seiner wirklichen Größe bei D Pixel je Zoll (ganze Zahl,\n"
    "  Vorgabe 300), mit vermerkter Auflösung; eine PDF-Seite hat die Größe des\n"
    "  Entwurfs und hält die Pixel verlustfrei. Bei \"Gesamtes Papier bedrucken\"\n"
    "  ist der Entwurf die druckbare Seite (--page, --printer-dpi wie bei render).\n"
    "  Filterebenen wirken so weit wie in der Entwurfsansicht bei 96 Pixel je Zoll\n"
    "  und dem gespeicherten Zoom.\n"
    "  --pixel-filters   Filterebenen Pixel für Pixel, wie bei render.\n"
    "  --seamless        eine nahtlos kachelbare Kachel, wie bei render.\n"
    "  --repeat MODUS    wie die Kachel wiederholt wird (schließt --seamless ein):\n"
    "                    basic oder gerade, half-drop oder halb-versetzt (jede\n"
    "                    Spalte um eine halbe Höhe versetzt), mirror oder\n"
    "                    gespiegelt; Vorgabe: der im Entwurf gespeicherte Rapport.\n"
    "  --preview3x3 DATEI  schreibt zusätzlich 3 x 3 Kacheln, wie der Rapport sie\n"
    "                    legt, in DATEI (Format nach der Endung).\n";

const char* const kPrint =
    "Aufruf: zierbogen print ENTWURF.zbg [--printer NAME] [--seed N] [--sheets K]\n"
    "                        [--pixel-filters] [--pdf DATEI]\n"
    "                        [--poster [--overlap CM] [--max-pages N]]\n"
    "  Druckt den Entwurf wie das Fenster: an den gespeicherten Rändern, in seiner\n"
    "  wirklichen Größe, am Rand des druckbaren Bereichs abgeschnitten, neu\n"
    "  zusammengesetzt in der Auflösung des Druckers; ein Auftrag, eine Seite je Bogen.\n"
    "  --printer NAME    dieser Drucker (Vorgabe: der Standarddrucker).\n"
    "  --seed N          Startzustand des Zufallsgenerators für den ersten Bogen\n"
    "                    (0 bis 4294967295); weitere Bogen setzen ihn fort.\n"
    "  --sheets K        K verschiedene Bogen (1 bis 100, Vorgabe 1).\n"
    "  --pixel-filters   Filterebenen Pixel für Pixel statt wie in der Ansicht bei\n"
    "                    96 Pixel je Zoll und dem gespeicherten Zoom.\n"
    "  --pdf DATEI       in eine PDF-Datei drucken (A4, 600 dpi) statt auf einen\n"
    "                    Drucker; nötig, wenn kein Drucker eingerichtet ist.\n"
    "  --poster          auf mehrere Seiten verteilen: ein Bogen größer als der\n"
    "                    druckbare Bereich geht in Zeilen und Spalten auf Seiten,\n"
    "                    die einander an einer Klebekante überlappen, mit\n"
    "                    Schnittlinien und der Angabe „Zeile r, Spalte s“; die\n"
    "                    Ränder gelten dann nicht.\n"
    "  --overlap CM      Breite der Klebekante in cm (0 bis 3, Vorgabe 1).\n"
    "  --max-pages N     höchstens N Seiten drucken (Vorgabe 50); ein Poster mit\n"
    "                    mehr Seiten wird abgelehnt, ehe etwas gedruckt wird.\n";

const char* const kVariants =
    "Aufruf: zierbogen variants ENTWURF.zbg -o ORDNER --count K [--dpi D] [--seed N]\n"
    "                           [--page BxH] [--printer-dpi P]\n"
    "  K verschiedene Bogen desselben Entwurfs als PNG-Dateien ORDNER/NAME-001.png\n"
    "  und so weiter (so viele Ziffern, wie K braucht, mindestens drei).\n";

const char* const kGeneral =
    "Aufruf:\n"
    "  zierbogen info ENTWURF.zbg [--json] [--page BxH] [--printer-dpi P]\n"
    "  zierbogen textures [ORDNER]\n"
    "  zierbogen render ENTWURF.zbg -o AUSGABE.png [--seed N] [--screen-dpi S] [--zoom Z]\n"
    "                   [--page BxH] [--printer-dpi P] [--seamless]\n"
    "  zierbogen export ENTWURF.zbg -o AUSGABE.{png,jpg,tif,bmp,pdf} [--dpi D] [--seed N]\n"
    "                   [--page BxH] [--printer-dpi P] [--pixel-filters]\n"
    "                   [--seamless] [--repeat MODUS] [--preview3x3 DATEI]\n"
    "  zierbogen print ENTWURF.zbg [--printer NAME] [--seed N] [--sheets K]\n"
    "                  [--pixel-filters] [--pdf DATEI]\n"
    "                  [--poster [--overlap CM] [--max-pages N]]\n"
    "  zierbogen variants ENTWURF.zbg -o ORDNER --count K [--dpi D] [--seed N]\n"
    "                   [--page BxH] [--printer-dpi P]\n"
    "  zierbogen --help | --version\n"
    "\n"
    "  zierbogen BEFEHL --help zeigt die Hilfe eines Befehls. Optionen nehmen ihren\n"
    "  Wert als \"--name wert\" oder \"--name=wert\".\n";

} // namespace

const char* GeneralUsage() { return kGeneral; }

const char* CommandUsage(const std::string& command) {
    if (command == "info") return kInfo;
    if (command == "textures") return kTextures;
    if (command == "render") return kRender;
    if (command == "export") return kExport;
    if (command == "variants") return kVariants;
    if (command == "print") return kPrint;
    return nullptr;
}

} // namespace zb::cli
