// Feeds arbitrary bytes through the whole picture import: Qt's decoders, the
// DIB construction, the 24-bit conversion and the halftoning.
//
// Qt's image plugins load without a Q(Gui)Application (the plugin path comes
// from the Qt installation), so none is created here.
#include <QImageReader>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

#include "imaging/ConvertDib.h"
#include "imaging/Halftone.h"
#include "imaging/PictureImport.h"
#include "platform/QtPictureDecoder.h"

namespace {
// A lower limit than the program's keeps single inputs within the fuzzer's memory budget.
const zb::platform::QtPictureDecoder kDecoder(32);
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Decoders complain about every broken input; that is expected here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // Without the plugins the run would test only the built-in formats.
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    for (const char* needed : {"jpeg", "gif", "tiff", "webp"})
        if (!formats.contains(needed)) {
            std::fprintf(stderr, "picture_import_fuzzer: Qt image plugin '%s' missing\n", needed);
            std::abort();
        }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zb::DibPicture dib;
    if (!zb::OpenDibBytes(dib, data, size, kDecoder)) {
        // A refusal must come without storage and with a message for the user.
        if (dib.dib().Bits || dib.dib().Storage || zb::DibMessage(dib).empty()) std::abort();
        return 0;
    }
    const int bits = zb::DibBitCount(dib);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) std::abort();
    zb::DibPicture small;
    zb::DIBHalftoneDIBXY(small, dib, 37, 23);
    if (zb::ConvertDib(dib, 24) && zb::DibBitCount(dib) != 24) std::abort();
    return 0;
}
