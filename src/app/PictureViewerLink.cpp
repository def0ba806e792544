#include "app/PictureViewerLink.h"

#include "app/DialogProvider.h"
#include "app/TMainForm.h"
#include "viewer/TViewPicForm.h"

namespace zb {

TViewPicForm* AttachPictureViewer(TMainForm& form, QPrinter* printer) {
    auto* viewer = new TViewPicForm(&form, printer);
    viewer->hide();
    // Without a printer the picture goes into a PDF file asked for where the
    // window's other PDF files go.
    viewer->AskPdfFileName = [&form, viewer] {
        const QString file = form.Dialogs().SaveFileName(viewer, QStringLiteral("Ausdruck als PDF speichern"),
                                                          QStringLiteral("PDF-Dateien (*.pdf)"), QStringLiteral("pdf"),
                                                          form.DialogFolder(FileKind::Pdf));
        form.RememberFolder(FileKind::Pdf, file);
        return file;
    };
    viewer->ShowHelp = [&form](const QString& section) { form.ShowManual(section); };
    form.SetPictureViewer([viewer](const TDibRecord& picture) { viewer->ShowPicture(picture); });
    return viewer;
}

} // namespace zb
