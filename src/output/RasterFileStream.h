#pragma once
// Writes a picture or PDF file from a raster that comes band by band, top
// down, so that a large sheet never has to be in memory at once: PNG, JPEG,
// TIFF, BMP and PDF all take their rows as they come. The file goes to a
// temporary name in the same folder and is renamed into place only when the
// last row is written and every byte is on the disk.
//
// Ownership: owns the temporary file until Finish renames it into place; the
// destructor (or Abort) removes it, so a failed or cancelled export leaves no
// file and an existing file under the name stays as it was. Rows handed to
// AddRows are borrowed for the call only.
//
// Every method returns "" or a German message naming the path as given (the
// messages of WriteRaster). After a failure the file is gone and every later
// call returns the same message.
#include <memory>
#include <string>

#include "base/RasterView.h"
#include "output/RasterEncoder.h"

namespace zb {

class DescriptorDevice;
class SafeFileWriter;

class RasterFileStream {
public:
    // format: "png", "jpg", "tif", "bmp" or "pdf" (see OutputFormat). dpi > 0
    // records the resolution (a PDF page at 300 dpi when none is given).
    RasterFileStream(std::string fileName, std::string format, int width, int height, double dpi);
    ~RasterFileStream();
    RasterFileStream(const RasterFileStream&) = delete;
    RasterFileStream& operator=(const RasterFileStream&) = delete;

    // Creates the temporary file and writes the format's headers.
    std::string Begin();
    // The next rows, top-down, any number per call; rows.width == width.
    std::string AddRows(RasterView rows);
    // After exactly `height` rows: completes the file and renames it into place.
    std::string Finish();
    // Removes the temporary file; the target stays as it was.
    void Abort();

    int RowsWritten() const { return rowsDone_; }

private:
    enum class Stage { Created, Writing, Finished, Failed };

    // Aborts and keeps `message` for every later call.
    std::string Fail(std::string message);
    // The message for an encoder's result, the device's error first.
    std::string Outcome(EncodeResult result);
    // The format could not be written, for a reason the encoder keeps.
    std::string RefusedMessage() const;

    std::string fileName_, format_;
    int width_, height_;
    double dpi_;
    int rowsDone_ = 0;
    Stage stage_ = Stage::Created;
    std::string failure_;
    std::unique_ptr<SafeFileWriter> file_;
    std::unique_ptr<DescriptorDevice> device_;
    std::unique_ptr<RasterEncoder> encoder_; // released before the device it writes to
};

} // namespace zb
