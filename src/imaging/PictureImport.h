#pragma once
// Reading picture files into DIB records through a PictureDecoder.
//
// Ownership: `out` receives a new picture (whatever it held is freed). On
// failure it is empty: Bits == nullptr, no storage, and a German message for
// the user (DibMessage).
#include <cstddef>
#include <cstdint>
#include <string>

#include "imaging/PictureDecoder.h"
#include "base/DibPicture.h"

namespace zb {

// Builds a 1-, 4-, 8- or 24-bit record from a decoded picture: rows bottom-up,
// the colour table both in the info block and in LogPalette, HasPalette set
// for indexed pictures. A two-colour picture is stored with its darker colour
// at index 0, so the black-and-white rule of ConvertDib keeps dark parts dark.
// Refuses (with a message, without allocating) failed decodes, sizes <= 0,
// pixel blocks above kMaxDibBytes and inconsistent decoder output.
bool DibFromDecoded(DibPicture& out, const DecodedPicture& picture);

// Decodes a file and builds its record (see DibFromDecoded).
bool OpenDib(DibPicture& out, const std::string& fileName, const PictureDecoder& decoder);
// The same for a picture held in memory.
bool OpenDibBytes(DibPicture& out, const uint8_t* data, size_t size, const PictureDecoder& decoder);

// OpenDib followed by ConvertDib(24): the way every picture enters a design.
// On failure (also when the 24-bit copy found no memory) Bits is nullptr and
// the record carries the message.
bool OpenPicture24(DibPicture& out, const std::string& fileName, const PictureDecoder& decoder);

// Open-dialog filter in Qt syntax: "Alle Grafikdateien (*.png *.jpg ...);;"
// then one entry per format, then "Alle Dateien (*)".
std::string GetDIBOpenFilter(const PictureDecoder& decoder);

// Messages of the import path.
inline constexpr const char* kPictureUnknownErrorMessage = "Die Grafik konnte nicht gelesen werden.";
inline constexpr const char* kPictureMemoryMessage = "Nicht genug Speicher, um die Grafik zu laden.";
inline constexpr const char* kPictureDataMessage = "Die Bilddaten der Grafik sind unvollständig.";

} // namespace zb
