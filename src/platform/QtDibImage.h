#pragma once
// QImages over DIB pixels. The wrapping functions make no copy where Qt has a
// pixel format of the same layout (1, 8, 16, 24 and 32 bits); the image then
// points into the record's or the band's storage, which must outlive it.
#include <QImage>

#include "base/TDibRecord.h"
#include "imaging/DibDevice.h"

namespace zb::platform {

// The record's stored rows as they lie in memory: image row r is stored row r,
// so the picture appears upside down. Zero-copy except for 4 bits (converted
// to 8-bit indices). A null image for records without pixels or of a depth Qt
// cannot show.
QImage WrapDibStoredRows(const TDibRecord& dib);

// A band of rows whose stride is positive, top row first. Zero-copy except for
// 4 bits. A null image when the band cannot be shown.
QImage WrapDibRows(const DibRows& rows);

// A top-down copy of the whole picture in a format of its own, for code that
// keeps the image (files, clipboards). A null image on failure.
QImage DibToImage(const TDibRecord& dib);

} // namespace zb::platform
