#include "workspace/DeviceScale.h"

#include <cmath>

namespace zb {

namespace {

// Ratios come as binary fractions of decimal settings (1.25, 1.1...): a
// product a hair above a whole number is that number.
constexpr double kSlack = 1e-9;

int Down(double v) { return int(std::floor(v + kSlack)); }
int Up(double v) { return int(std::ceil(v - kSlack)); }

double Checked(double ratio) { return ratio > 0 ? ratio : 1.0; }

} // namespace

int DevicePpi(double logicalDpi, double ratio) { return int(std::lround(logicalDpi * Checked(ratio))); }

RasterSize LogicalSize(RasterSize device, double ratio) {
    ratio = Checked(ratio);
    return {device.width > 0 ? Up(device.width / ratio) : 0, device.height > 0 ? Up(device.height / ratio) : 0};
}

PixelRect DeviceRect(const PixelRect& logical, double ratio) {
    ratio = Checked(ratio);
    const int x = Down(logical.x * ratio), y = Down(logical.y * ratio);
    return {x, y, Up((logical.x + logical.width) * ratio) - x, Up((logical.y + logical.height) * ratio) - y};
}

} // namespace zb
