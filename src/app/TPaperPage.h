#pragma once
// The page "Papierformat wählen": the paper-size choice, the five coupled
// size and ratio fields, the printer setup button and the printable-size
// line. The coupling rules are PaperFormat's; this page only carries its
// values into the fields and back into the design.
//
// Ownership: a child widget of the main window's page container; it borrows
// the main window (its workspace and dialogs) and the application's printer,
// which both outlive it.
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "model/PaperFormat.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPrinter;
class QRadioButton;

namespace zb {

class TImageBtn;
class TMainForm;
class TSpinEdit;

class TPaperPage : public QWidget {
    Q_OBJECT
public:
    TPaperPage(TMainForm& form, QPrinter& printer, QWidget* parent = nullptr);

    // Loads the fields from the design (start-up, open, new, undo); their
    // change handlers send nothing back meanwhile.
    void LoadFromDesign();
    // The printable-size line after a change of printer or paper.
    void ShowPrintableSize();

    // Handlers, named after their control and event.
    void BreitEdChange() { FieldChange(PaperField::Breit); }
    void HochEdChange() { FieldChange(PaperField::Hoch); }
    void BreitVEdChange() { FieldChange(PaperField::BreitV); }
    void HochVEdChange() { FieldChange(PaperField::HochV); }
    void DezVEdChange() { FieldChange(PaperField::DezV); }
    void PrintAllBtnClick() { SizeChoice(true); }
    void PrintPartBtnClick() { SizeChoice(false); }
    void PrinterSetupBtnClick();
    // "Format:" and "Hochformat"/"Querformat": a size by name.
    void FormatBoxChange();
    void SeamlessBoxClick();
    void RepeatBoxChange();
    // The hints of what makes a seam in a seamless sheet, after any change.
    void ShowSeamHints();

    // The platform's printer setup dialog; tests put their own in its place.
    std::function<void(QPrinter&, QWidget*)> setupDialog;
    // Whether no printer is installed (the setup then only says so); tests
    // ask for the setup path without a print system.
    std::function<bool()> noPrinter;

private:
    void FieldChange(PaperField field);
    void ShowChangedFields();
    void StoreIntoDesign(bool resized);
    void OptionClick();
    void SizeChoice(bool printAll);
    // The format that the width and height are, "Benutzerdefiniert" for none.
    void ShowNamedFormat();

    TMainForm& form_;
    QPrinter& printer_;
    // Set while the page writes its own fields.
    bool loading_ = false;
    PaperFormat paper_;
    std::array<TSpinEdit*, kPaperFieldCount> fields_{};
    QRadioButton* PrintAllBtn = nullptr;
    QRadioButton* PrintPartBtn = nullptr;
    QComboBox* FormatBox = nullptr;
    QComboBox* OrientationBox = nullptr;
    QRadioButton* holdwidth2Ed = nullptr;
    QRadioButton* holdheight2Ed = nullptr;
    QCheckBox* SVerhCheck = nullptr;
    QRadioButton* holdwidthEd = nullptr;
    QRadioButton* holdheightEd = nullptr;
    TImageBtn* PrinterSetupBtn = nullptr;
    QLabel* InfoLabel = nullptr;
    QCheckBox* SeamlessBox = nullptr;
    QComboBox* RepeatBox = nullptr;
    QLabel* SeamHintLabel = nullptr;
};

// The text of the seam hints for a label: one line each, empty for none.
QString SeamHintText(const std::vector<std::string>& hints);

// The header bar and side panel that the paper and print pages share.
QWidget* PageHeader(const QString& text);
// `picture`: the panel's drawing (one of the pic:: names).
QWidget* PageSidePanel(const QString& title, const char* picture);

} // namespace zb
