#include "output/PdfDocument.h"

#include <zlib.h>

#include <charconv>
#include <cstdio>
#include <new>

namespace zb {

namespace {

// Objects 1 to 3 are written last, once the pages are known.
constexpr int kCatalog = 1;
constexpr int kPageTree = 2;
constexpr int kInfo = 3;

// A number as PDF writes it: plain decimals, at most four places, no exponent.
std::string Num(double v) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 4).ptr;
    std::string s(buffer, end);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

// A text string in UTF-16BE with its byte order mark, as hexadecimal.
std::string TextString(const QString& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string s = "<FEFF";
    for (const QChar c : text) {
        const uint16_t u = c.unicode();
        for (int shift = 12; shift >= 0; shift -= 4) s += kHex[(u >> shift) & 15];
    }
    return s + ">";
}

std::string Colour(QRgb c) {
    return Num(qRed(c) / 255.0) + " " + Num(qGreen(c) / 255.0) + " " + Num(qBlue(c) / 255.0);
}

} // namespace

PdfDocument::PdfDocument(QIODevice& device) : device_(device), offsets_(3, 0) {}

bool PdfDocument::Write(const std::string& text) {
    return WriteBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

bool PdfDocument::WriteBytes(const uint8_t* data, size_t size) {
    if (size == 0) return true;
    const qint64 written = device_.write(reinterpret_cast<const char*>(data), qint64(size));
    if (written != qint64(size)) return false;
    offset_ += size;
    return true;
}

int PdfDocument::NewObject() {
    offsets_.push_back(0);
    return int(offsets_.size());
}

bool PdfDocument::BeginObject(int number) {
    offsets_[size_t(number - 1)] = offset_;
    return Write(std::to_string(number) + " 0 obj\n");
}

bool PdfDocument::Begin(const QString& title, const QString& creator) {
    title_ = title;
    creator_ = creator;
    // The second line's bytes above 127 mark the file as binary for tools that guess.
    return Write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

bool PdfDocument::BeginPage(const PdfPageFrame& frame) {
    if (inPage_ && !EndPage()) return false;
    frame_ = frame;
    content_.clear();
    pictures_.clear();
    inPage_ = true;
    return true;
}

std::string PdfDocument::Rect(QRectF area) const {
    const double k = frame_.pointsPerUnit;
    const double x = frame_.originXPt + area.x() * k;
    const double bottom = frame_.heightPt - (frame_.originYPt + (area.y() + area.height()) * k);
    return Num(x) + " " + Num(bottom) + " " + Num(area.width() * k) + " " + Num(area.height() * k);
}

void PdfDocument::Show(int number, QRectF target, QRectF clip) {
    content_ += "q\n";
    if (!clip.isEmpty()) content_ += Rect(clip) + " re W n\n";
    // The picture's unit square stretched over the target; its first row on top.
    const double k = frame_.pointsPerUnit;
    const double x = frame_.originXPt + target.x() * k;
    const double bottom = frame_.heightPt - (frame_.originYPt + (target.y() + target.height()) * k);
    content_ += Num(target.width() * k) + " 0 0 " + Num(target.height() * k) + " " + Num(x) + " " + Num(bottom) +
                " cm\n/Im" + std::to_string(number) + " Do\nQ\n";
    pictures_.push_back(number);
}

bool PdfDocument::BeginPicture(int width, int height, QRectF target, QRectF clip) {
    if (!inPage_ || width <= 0 || height <= 0) return false;
    const int picture = NewObject();
    lengthObject_ = NewObject();
    pictureRows_ = height;
    pictureRowsDone_ = 0;
    deflater_ = RowDeflater();
    Show(picture, target, clip);
    const std::string w = std::to_string(width);
    if (!BeginObject(picture) ||
        !Write("<< /Type /XObject /Subtype /Image /Width " + w + " /Height " + std::to_string(height) +
               " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode"
               " /DecodeParms << /Predictor 12 /Colors 3 /BitsPerComponent 8 /Columns " +
               w + " >> /Length " + std::to_string(lengthObject_) + " 0 R >>\nstream\n"))
        return false;
    streamStart_ = offset_;
    return WriteBytes(RowDeflater::kHeader, 2);
}

RowDeflater::Result PdfDocument::AddPictureRows(RasterView rows) {
    if (rows.empty()) return RowDeflater::Result::Done;
    if (rows.height > pictureRows_ - pictureRowsDone_) return RowDeflater::Result::Refused;
    pictureRowsDone_ += rows.height;
    return deflater_.Add(rows, pictureRowsDone_ == pictureRows_,
                         [this](const uint8_t* data, size_t size) { return WriteBytes(data, size); });
}

bool PdfDocument::EndPicture() {
    if (pictureRowsDone_ != pictureRows_) return false;
    const std::vector<uint8_t> trailer = deflater_.Trailer();
    if (!WriteBytes(trailer.data(), trailer.size())) return false;
    const uint64_t length = offset_ - streamStart_;
    return Write("\nendstream\nendobj\n") && BeginObject(lengthObject_) &&
           Write(std::to_string(length) + "\nendobj\n");
}

RowDeflater::Result PdfDocument::DrawPicture(RasterView raster, QRectF target, QRectF clip) {
    if (raster.empty()) return RowDeflater::Result::Done;
    if (!BeginPicture(raster.width, raster.height, target, clip)) return RowDeflater::Result::Refused;
    const RowDeflater::Result result = AddPictureRows(raster);
    if (result != RowDeflater::Result::Done) return result;
    return EndPicture() ? RowDeflater::Result::Done : RowDeflater::Result::Refused;
}

bool PdfDocument::FillRect(QRectF area, QRgb colour) {
    if (!inPage_) return false;
    if (area.isEmpty()) return true;
    content_ += "q\n" + Colour(colour) + " rg\n" + Rect(area) + " re f\nQ\n";
    return true;
}

bool PdfDocument::WriteSmallStream(int number, const std::string& dictionary, const std::vector<uint8_t>& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(size);
    if (compress2(packed.data(), &size, raw.data(), uLong(raw.size()), 6) != Z_OK) throw std::bad_alloc();
    return BeginObject(number) &&
           Write("<< " + dictionary + " /Filter /FlateDecode /Length " + std::to_string(size) + " >>\nstream\n") &&
           WriteBytes(packed.data(), size) && Write("\nendstream\nendobj\n");
}

bool PdfDocument::DrawCoverage(const QImage& coverage, QRectF target, QRgb colour) {
    if (!inPage_) return false;
    if (coverage.isNull() || coverage.format() != QImage::Format_Alpha8) return coverage.isNull();
    const int w = coverage.width(), h = coverage.height();
    std::vector<uint8_t> alpha(size_t(w) * h), paint(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y) std::copy_n(coverage.constScanLine(y), w, alpha.data() + size_t(y) * w);
    for (size_t i = 0; i < paint.size(); i += 3) {
        paint[i] = uint8_t(qRed(colour));
        paint[i + 1] = uint8_t(qGreen(colour));
        paint[i + 2] = uint8_t(qBlue(colour));
    }
    const std::string size = " /Width " + std::to_string(w) + " /Height " + std::to_string(h);
    const int mask = NewObject();
    const int picture = NewObject();
    if (!WriteSmallStream(mask, "/Type /XObject /Subtype /Image" + size + " /ColorSpace /DeviceGray /BitsPerComponent 8",
                          alpha) ||
        !WriteSmallStream(picture,
                          "/Type /XObject /Subtype /Image" + size + " /ColorSpace /DeviceRGB /BitsPerComponent 8" +
                              " /SMask " + std::to_string(mask) + " 0 R",
                          paint))
        return false;
    Show(picture, target, QRectF());
    return true;
}

bool PdfDocument::EndPage() {
    if (!inPage_) return false;
    inPage_ = false;
    const int content = NewObject();
    const int page = NewObject();
    std::string resources = "<< /XObject <<";
    for (int number : pictures_) resources += " /Im" + std::to_string(number) + " " + std::to_string(number) + " 0 R";
    resources += " >> >>";
    const std::vector<uint8_t> raw(content_.begin(), content_.end());
    if (!WriteSmallStream(content, "", raw) || !BeginObject(page) ||
        !Write("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Num(frame_.widthPt) + " " + Num(frame_.heightPt) +
               "] /Resources " + resources + " /Contents " + std::to_string(content) + " 0 R >>\nendobj\n"))
        return false;
    pages_.push_back(page);
    content_.clear();
    pictures_.clear();
    return true;
}

bool PdfDocument::Finish() {
    if (inPage_ && !EndPage()) return false;
    std::string kids;
    for (int page : pages_) kids += std::to_string(page) + " 0 R ";
    if (!BeginObject(kPageTree) ||
        !Write("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages_.size()) + " >>\nendobj\n") ||
        !BeginObject(kCatalog) || !Write("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n") || !BeginObject(kInfo) ||
        !Write("<< /Title " + TextString(title_) + " /Creator " + TextString(creator_) + " /Producer " +
               TextString(creator_) + " >>\nendobj\n"))
        return false;
    const uint64_t table = offset_;
    std::string xref = "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
    for (uint64_t at : offsets_) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010llu 00000 n \n", static_cast<unsigned long long>(at));
        xref += entry;
    }
    xref += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root 1 0 R /Info 3 0 R >>\nstartxref\n" +
            std::to_string(table) + "\n%%EOF\n";
    return Write(xref);
}

} // namespace zb
