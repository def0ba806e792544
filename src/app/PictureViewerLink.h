#pragma once
// Gives the main window its picture viewer: made once, hidden, as a child of
// the window (which owns it), and shown modally by "Grafik anzeigen..." with
// the texture page's picture. The viewer keeps zoom and scroll position for
// as long as the window lives.
class QPrinter;

namespace zb {

class TMainForm;
class TViewPicForm;

// `printer`: the printer the picture is printed on (borrowed; must outlive the
// window); null: the viewer keeps its own, set to the default printer.
TViewPicForm* AttachPictureViewer(TMainForm& form, QPrinter* printer = nullptr);

} // namespace zb
