#pragma once
// How the layer editor's controls show the fields of a layer record where the
// two differ. The editor pages call these, so the rules are tested without
// widgets; every other field shows exactly as the record holds it.
#include <cstdint>
#include <string>
#include <string_view>

namespace zb {

// Spin fields hold doubles; the record keeps whole numbers truncated toward
// zero. A value beyond int32 (never shown by a limited field) is held at the edge.
int32_t WholeNumber(double fieldValue);

// "Transparenz:" is a slider 0 .. 10; the record holds its position minus 5.
constexpr int32_t TransparencyOfSlider(int position) { return position - 5; }
constexpr int SliderOfTransparency(int32_t transparency) { return transparency + 5; }

// The record's texts are Windows-1252 bytes; the controls show UTF-8.
std::string ShownText(const std::string& field);
// Replaces the record's text `field` with `utf8` in Windows-1252.
void StoreShownText(std::string& field, std::string_view utf8);

} // namespace zb
