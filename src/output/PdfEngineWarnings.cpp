#include "output/PdfEngineWarnings.h"

#include <QString>
#include <QtGlobal>

namespace zb {

namespace {

thread_local uint64_t failures = 0;
QtMessageHandler previous = nullptr;

void CountCompressionFailures(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg &&
        (message.contains(QLatin1String("writeCompressed")) || message.startsWith(QLatin1String("qCompress:"))))
        ++failures;
    if (previous) previous(type, context, message);
}

} // namespace

uint64_t PdfCompressionFailures() {
    static const bool installed = [] {
        previous = qInstallMessageHandler(CountCompressionFailures);
        return true;
    }();
    (void)installed;
    return failures;
}

} // namespace zb
