#include "output/RasterFileStream.h"

#include <new>

#include "document/FileError.h"
#include "document/SafeFileWriter.h"
#include "output/BmpWriter.h"
#include "output/DescriptorDevice.h"
#include "output/JpegWriter.h"
#include "output/OutputMessages.h"
#include "output/PdfPageWriter.h"
#include "output/PngWriter.h"
#include "output/TiffWriter.h"

namespace zb {

namespace {

std::unique_ptr<RasterEncoder> MakeEncoder(const std::string& format, QIODevice& device, int width, int height,
                                           double dpi) {
    if (format == "png") return std::make_unique<PngWriter>(device, width, height, dpi);
    if (format == "jpg") return std::make_unique<JpegWriter>(device, width, height, dpi);
    if (format == "tif") return std::make_unique<TiffWriter>(device, width, height, dpi);
    if (format == "bmp") return std::make_unique<BmpWriter>(device, width, height, dpi);
    return std::make_unique<PdfPageWriter>(device, width, height, dpi);
}

// What the format cannot hold, for the message on a picture too large for it.
std::string FormatLimit(const std::string& format) {
    if (format == "jpg") return "höchstens " + std::to_string(JpegWriter::kMaxSide) + " Pixel Breite und Höhe";
    return "eine Datei von höchstens 4 GB";
}

} // namespace

RasterFileStream::RasterFileStream(std::string fileName, std::string format, int width, int height, double dpi)
    : fileName_(std::move(fileName)), format_(std::move(format)), width_(width), height_(height), dpi_(dpi) {}

RasterFileStream::~RasterFileStream() { Abort(); }

void RasterFileStream::Abort() {
    encoder_.reset();
    device_.reset();
    if (file_) file_->Abort();
    file_.reset();
    if (stage_ != Stage::Finished && stage_ != Stage::Failed) {
        stage_ = Stage::Failed;
        failure_ = "Das Schreiben von " + QuotedPath(fileName_) + " wurde abgebrochen. Es wurde nichts geschrieben.";
    }
}

std::string RasterFileStream::Fail(std::string message) {
    Abort();
    failure_ = std::move(message);
    stage_ = Stage::Failed;
    return failure_;
}

std::string RasterFileStream::Outcome(EncodeResult result) {
    // A failed write is the likelier cause of a failed encoding; name it first.
    if (device_->Error() != 0) return Fail(WriteFailedMessage(fileName_, FileErrorText(device_->Error())));
    switch (result) {
    case EncodeResult::Done:
        return {};
    case EncodeResult::NoMemory:
        return Fail(NoMemoryMessage(fileName_));
    case EncodeResult::TooLarge:
        return Fail("Die Grafik ist mit " + std::to_string(width_) + " × " + std::to_string(height_) +
                    " Pixeln zu groß für das Format " + FormatCaption(format_) + " (" + FormatLimit(format_) + "); " +
                    QuotedPath(fileName_) + " wurde nicht geschrieben. PNG oder PDF nehmen sie auf.");
    case EncodeResult::Refused:
        break;
    }
    return Fail(RefusedMessage());
}

std::string RasterFileStream::RefusedMessage() const {
    return "Die Grafik konnte nicht im Format " + FormatCaption(format_) + " in " + QuotedPath(fileName_) +
                " geschrieben werden.";
}

std::string RasterFileStream::Begin() {
    if (stage_ == Stage::Failed) return failure_;
    if (stage_ != Stage::Created) return Fail("Die Ausgabe in " + QuotedPath(fileName_) + " wurde zweimal begonnen.");
    if (format_ != "png" && format_ != "jpg" && format_ != "tif" && format_ != "bmp" && format_ != "pdf")
        return Fail(RefusedMessage());
    if (width_ <= 0 || height_ <= 0)
        return Fail("Es gibt keine Grafik, die in " + QuotedPath(fileName_) + " geschrieben werden könnte.");
    try {
        file_ = std::make_unique<SafeFileWriter>(fileName_);
        if (!file_->Begin())
            return Fail("Die Datei " + QuotedPath(fileName_) + " kann nicht angelegt werden: " + file_->Reason() + ".");
        device_ = std::make_unique<DescriptorDevice>(file_->Descriptor());
        device_->open(QIODevice::ReadWrite);
        encoder_ = MakeEncoder(format_, *device_, width_, height_, dpi_);
        stage_ = Stage::Writing;
        return Outcome(encoder_->Begin());
    } catch (const std::bad_alloc&) {
        return Fail(NoMemoryMessage(fileName_));
    }
}

std::string RasterFileStream::AddRows(RasterView rows) {
    if (stage_ == Stage::Failed) return failure_;
    if (stage_ != Stage::Writing)
        return Fail("Die Ausgabe in " + QuotedPath(fileName_) + " ist nicht begonnen oder schon abgeschlossen.");
    if (rows.empty()) return {};
    if (rows.width != width_)
        return Fail("Die Zeilen für " + QuotedPath(fileName_) + " sind " + std::to_string(rows.width) +
                    " Pixel breit statt " + std::to_string(width_) + ". Es wurde nichts geschrieben.");
    if (rows.height > height_ - rowsDone_)
        return Fail("Die Grafik für " + QuotedPath(fileName_) + " hat mehr als die angekündigten " +
                    std::to_string(height_) + " Zeilen. Es wurde nichts geschrieben.");
    try {
        const std::string message = Outcome(encoder_->AddRows(rows));
        if (message.empty()) rowsDone_ += rows.height;
        return message;
    } catch (const std::bad_alloc&) {
        // The PDF engine and the encoders allocate on their own.
        return Fail(NoMemoryMessage(fileName_));
    }
}

std::string RasterFileStream::Finish() {
    if (stage_ == Stage::Failed) return failure_;
    if (stage_ != Stage::Writing)
        return Fail("Die Ausgabe in " + QuotedPath(fileName_) + " ist nicht begonnen oder schon abgeschlossen.");
    if (rowsDone_ != height_)
        return Fail("Die Grafik für " + QuotedPath(fileName_) + " ist unvollständig: " + std::to_string(rowsDone_) +
                    " von " + std::to_string(height_) + " Zeilen. Es wurde nichts geschrieben.");
    try {
        if (std::string message = Outcome(encoder_->Finish()); !message.empty()) return message;
        encoder_.reset();
        device_->close();
        if (std::string message = Outcome(EncodeResult::Done); !message.empty()) return message;
        if (!file_->Commit()) return Fail(WriteFailedMessage(fileName_, file_->Reason()));
    } catch (const std::bad_alloc&) {
        return Fail(NoMemoryMessage(fileName_));
    }
    device_.reset();
    file_.reset();
    stage_ = Stage::Finished;
    return {};
}

} // namespace zb
