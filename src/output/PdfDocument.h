#pragma once
// A PDF of pages that hold pictures, grey rectangles and small text drawn as
// a coverage mask: all that printing and export put on paper. Everything is
// written as it comes; a picture is deflated on all cores (RowDeflater: the
// same stream a PNG holds, so the PDF is written at the PNG encoder's speed)
// and may arrive band by band, so no more than one band is held at a time.
//
// Coordinates: each page has a frame that maps its units (a raster's pixels,
// a printer's pixels) to the page, (0, 0) at a point of the page's top-left
// part, y growing downwards.
//
// Ownership: borrows the device for its lifetime. Rows handed over are
// borrowed for the call. A document abandoned before Finish() is incomplete
// and is for the caller to discard. Methods return false when the device
// refused a write; memory running short throws std::bad_alloc, or is
// reported by the picture calls' result.
#include <QIODevice>
#include <QImage>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "base/RasterView.h"
#include "output/RowDeflater.h"

namespace zb {

struct PdfPageFrame {
    double widthPt = 0;      // the page's size in points (1/72 inch)
    double heightPt = 0;
    double originXPt = 0;    // where unit (0, 0) lies, from the page's top-left corner
    double originYPt = 0;
    double pointsPerUnit = 1;
};

class PdfDocument {
public:
    explicit PdfDocument(QIODevice& device);
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    // The file's header; title and creator go into its description.
    bool Begin(const QString& title, const QString& creator);
    bool BeginPage(const PdfPageFrame& frame);

    // A picture of width x height pixels shown over `target` (units), cut at
    // `clip` (units; an empty clip cuts nothing). Its rows follow top down in
    // AddPictureRows calls, exactly `height` in all, then EndPicture.
    bool BeginPicture(int width, int height, QRectF target, QRectF clip);
    RowDeflater::Result AddPictureRows(RasterView rows);
    bool EndPicture();
    // A whole raster as one picture.
    RowDeflater::Result DrawPicture(RasterView raster, QRectF target, QRectF clip);

    // A rectangle filled with an opaque colour.
    bool FillRect(QRectF area, QRgb colour);
    // `colour` laid on through a coverage mask (Format_Alpha8: 0 leaves the
    // page, 255 covers it), stretched over `target`: small print such as labels.
    bool DrawCoverage(const QImage& coverage, QRectF target, QRgb colour);

    bool EndPage();
    // The page tree, the description and the cross-reference table.
    bool Finish();

    int PageCount() const { return int(pages_.size()); }

private:
    // Starts object `number` at the current offset.
    bool BeginObject(int number);
    int NewObject();
    bool Write(const std::string& text);
    bool WriteBytes(const uint8_t* data, size_t size);
    // A small stream object, deflated in one go.
    bool WriteSmallStream(int number, const std::string& dictionary, const std::vector<uint8_t>& raw);
    // Places image object `number` over target (units) on the page, cut at clip.
    void Show(int number, QRectF target, QRectF clip);
    std::string Rect(QRectF area) const; // "x y w h" in points, for "re"

    QIODevice& device_;
    uint64_t offset_ = 0;
    std::vector<uint64_t> offsets_;   // of object n at n - 1; 0 while not written
    std::vector<int> pages_;          // page objects in order
    QString title_, creator_;

    bool inPage_ = false;
    PdfPageFrame frame_;
    std::string content_;             // the page's drawing operators
    std::vector<int> pictures_;       // image objects the page shows

    // The picture arriving band by band.
    int pictureRows_ = 0, pictureRowsDone_ = 0;
    int lengthObject_ = 0;
    uint64_t streamStart_ = 0;
    RowDeflater deflater_;
};

} // namespace zb
