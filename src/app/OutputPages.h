#pragma once
// Puts the pages "Papierformat wählen" and "Drucken" into the main window's
// page containers, with the application's printer they share (the printer
// setup dialog's choices hold for the whole run).
#include <functional>

namespace zb {

class TMainForm;

// Called once by the main window after its pages are built. The pages and the
// printer are owned by the main window's widgets.
void InstallOutputPages(TMainForm& form);

// The start without a known printer page: asks the print service in the
// background. An answer within a moment is taken before the window shows;
// a later one within the time limit sets the printer's page then. Without an
// answer in time the window keeps the A4 page without printer, leaves the
// print service alone for the rest of the run and says so in the status bar.
// The pages are installed once that is decided; `installed` runs after.
void InstallOutputPagesOnceThePrinterAnswers(TMainForm& form, const std::function<void()>& installed);

} // namespace zb
