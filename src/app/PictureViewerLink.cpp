#include "app/PictureViewerLink.h"

#include "app/TMainForm.h"
#include "viewer/TViewPicForm.h"

namespace zb {

TViewPicForm* AttachPictureViewer(TMainForm& form, QPrinter* printer) {
    auto* viewer = new TViewPicForm(&form, printer);
    viewer->hide();
    form.SetPictureViewer([viewer](const TDibRecord& picture) { viewer->ShowPicture(picture); });
    return viewer;
}

} // namespace zb
