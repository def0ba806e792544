#pragma once
// Handing a finished PDF to the print system as one job for a printer, and
// checking that the job was taken: a server that is gone, a queue that
// refuses jobs or a job that failed at once is reported with the printer's
// own state message, never counted as printed.
#include <QString>
#include <string>

class QPrinter;

namespace zb {

// Sends the PDF at `pdfPath` (file system encoding; the caller removes it
// afterwards) to the printer's queue with the printer's choices (paper,
// copies, two-sided, colour, and those of the print dialog). Returns a German
// message on failure, empty when the queue took the job.
std::string SubmitPdfJob(const QPrinter& printer, const std::string& pdfPath, const QString& title);

} // namespace zb
