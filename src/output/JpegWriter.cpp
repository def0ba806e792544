#include "output/JpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zb {

namespace {

constexpr int kQuality = 95;
constexpr size_t kBufferBytes = 64 * 1024;

// libjpeg reports errors by calling error_exit, which must not return. It
// jumps back to the setjmp of the C-style call below that entered the
// library: those functions hold no object with a destructor, so the jump
// skips no clean-up.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    int code;
};

struct Destination {
    jpeg_destination_mgr base;
    QIODevice* device;
    JOCTET buffer[kBufferBytes];
    bool refused; // the device took less than it was given
};

void ErrorExit(j_common_ptr info) {
    ErrorManager* errors = reinterpret_cast<ErrorManager*>(info->err);
    errors->code = errors->base.msg_code;
    std::longjmp(errors->jump, 1);
}

// Warnings (corrupt data, unusual settings) do not concern writing.
void NoMessage(j_common_ptr) {}

void InitDestination(j_compress_ptr info) {
    Destination* d = reinterpret_cast<Destination*>(info->dest);
    d->base.next_output_byte = d->buffer;
    d->base.free_in_buffer = kBufferBytes;
}

boolean EmptyBuffer(j_compress_ptr info) {
    Destination* d = reinterpret_cast<Destination*>(info->dest);
    if (d->device->write(reinterpret_cast<const char*>(d->buffer), qint64(kBufferBytes)) != qint64(kBufferBytes))
        d->refused = true;
    d->base.next_output_byte = d->buffer;
    d->base.free_in_buffer = kBufferBytes;
    return TRUE;
}

void TermDestination(j_compress_ptr info) {
    Destination* d = reinterpret_cast<Destination*>(info->dest);
    const qint64 bytes = qint64(kBufferBytes - d->base.free_in_buffer);
    if (bytes > 0 && d->device->write(reinterpret_cast<const char*>(d->buffer), bytes) != bytes) d->refused = true;
}

} // namespace

struct JpegWriter::State {
    jpeg_compress_struct info;
    ErrorManager errors;
    Destination destination;
    bool created;
};

namespace {

using State = JpegWriter::State;

EncodeResult Failure(const State& s) {
    return s.errors.code == JERR_OUT_OF_MEMORY ? EncodeResult::NoMemory : EncodeResult::Refused;
}

// The C-style calls into the library, each with its own return point.
EncodeResult StartCompressor(State* s, int width, int height, double dpi) {
    s->info.err = jpeg_std_error(&s->errors.base);
    s->errors.base.error_exit = ErrorExit;
    s->errors.base.output_message = NoMessage;
    if (setjmp(s->errors.jump)) return Failure(*s);
    jpeg_create_compress(&s->info);
    s->created = true;
    s->destination.base.init_destination = InitDestination;
    s->destination.base.empty_output_buffer = EmptyBuffer;
    s->destination.base.term_destination = TermDestination;
    s->info.dest = &s->destination.base;
    s->info.image_width = JDIMENSION(width);
    s->info.image_height = JDIMENSION(height);
    s->info.input_components = 3;
    s->info.in_color_space = JCS_EXT_BGR; // the raster's byte order
    jpeg_set_defaults(&s->info);
    jpeg_set_quality(&s->info, kQuality, TRUE);
    if (dpi > 0) {
        s->info.density_unit = 1; // dots per inch
        s->info.X_density = UINT16(std::lround(std::min(dpi, 65535.0)));
        s->info.Y_density = s->info.X_density;
    }
    jpeg_start_compress(&s->info, TRUE);
    return EncodeResult::Done;
}

EncodeResult WriteLines(State* s, JSAMPROW* rows, int count) {
    if (setjmp(s->errors.jump)) return Failure(*s);
    int done = 0;
    while (done < count) {
        const int n = int(jpeg_write_scanlines(&s->info, rows + done, JDIMENSION(count - done)));
        if (n == 0) return EncodeResult::Refused; // more rows than the picture has
        done += n;
    }
    return EncodeResult::Done;
}

EncodeResult FinishCompressor(State* s) {
    if (setjmp(s->errors.jump)) return Failure(*s);
    jpeg_finish_compress(&s->info);
    return EncodeResult::Done;
}

} // namespace

JpegWriter::JpegWriter(QIODevice& device, int width, int height, double dpi)
    : RasterEncoder(device, width, height, dpi), state_(std::make_unique<State>()) {
    state_->destination.device = &device;
}

JpegWriter::~JpegWriter() {
    if (state_->created) jpeg_destroy_compress(&state_->info);
}

EncodeResult JpegWriter::Begin() {
    if (width_ <= 0 || height_ <= 0) return EncodeResult::Refused;
    if (width_ > kMaxSide || height_ > kMaxSide) return EncodeResult::TooLarge;
    const EncodeResult r = StartCompressor(state_.get(), width_, height_, dpi_);
    return r == EncodeResult::Done && state_->destination.refused ? EncodeResult::Refused : r;
}

EncodeResult JpegWriter::AddRows(RasterView band) {
    // Row pointers for a slice at a time: the library takes them in any number.
    constexpr int kSlice = 256;
    JSAMPROW rows[kSlice];
    for (int y0 = 0; y0 < band.height; y0 += kSlice) {
        const int count = std::min(kSlice, band.height - y0);
        for (int i = 0; i < count; ++i) rows[i] = band.row(y0 + i);
        if (EncodeResult r = WriteLines(state_.get(), rows, count); r != EncodeResult::Done) return r;
        if (state_->destination.refused) return EncodeResult::Refused;
    }
    return EncodeResult::Done;
}

EncodeResult JpegWriter::Finish() {
    const EncodeResult r = FinishCompressor(state_.get());
    return r == EncodeResult::Done && state_->destination.refused ? EncodeResult::Refused : r;
}

} // namespace zb
