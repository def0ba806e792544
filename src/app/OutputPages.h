#pragma once
// Puts the pages "Papierformat wählen" and "Drucken" into the main window's
// page containers, with the application's printer they share (the printer
// setup dialog's choices hold for the whole run).
namespace zb {

class TMainForm;

// Called once by the main window after its pages are built. The pages and the
// printer are owned by the main window's widgets.
void InstallOutputPages(TMainForm& form);

} // namespace zb
