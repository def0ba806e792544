#pragma once
// A DibDevice for tests: records every call and paints what it receives onto a
// canvas of colour references, so tests can check both the calls and the
// picture that results.
#include <map>
#include <string>
#include <vector>

#include "imaging/DibDevice.h"

namespace zb::test {

class RecordingDibDevice : public DibDevice {
public:
    struct RowsCall {
        int32_t x, y, width, height, bitCount;
    };
    struct StretchCall {
        int32_t x, y, destW, destH, srcX, srcY, srcW, srcH, bitCount, dibW, dibH;
    };

    bool printer = false;
    int screenBits = 32;
    DeviceRect visible{-(int64_t{1} << 40), -(int64_t{1} << 40), int64_t{1} << 40, int64_t{1} << 40};
    bool stretchWorks = true;
    bool rowsWork = true;
    bool canSetRows = true;
    BltResult bltResult = BltResult::Ok;
    bool paint = true;
    int rowBits24 = 24;  // how 24-bit pictures are to arrive  // off for huge destinations that are checked otherwise

    std::vector<RowsCall> rowCalls;
    std::vector<StretchCall> stretchCalls;
    std::vector<StretchCall> bltCalls;
    std::vector<std::string> failures;
    // Painted pixels: (x, y) -> colour reference (red in the low byte).
    std::map<std::pair<int64_t, int64_t>, uint32_t> canvas;

    bool IsPrinter() const override { return printer; }
    int ScreenBitsPerPixel() const override { return screenBits; }
    DeviceRect VisibleRect() const override { return visible; }
    bool CanSetDibRows() const override { return canSetRows; }
    int RowBitCount24() const override { return rowBits24; }

    bool SetDibRows(int32_t x, int32_t y, const DibRows& rows) override {
        rowCalls.push_back({x, y, rows.width, rows.height, rows.bitCount});
        if (!rowsWork) return false;
        if (!paint) return true;
        for (int32_t r = 0; r < rows.height; ++r) {
            const uint8_t* p = rows.top + ptrdiff_t(r) * rows.stride;
            for (int32_t i = 0; i < rows.width; ++i) canvas[{x + i, y + r}] = RowPixel(rows, p, i);
        }
        return true;
    }

    bool StretchDib(int32_t x, int32_t y, int32_t destW, int32_t destH, const TDibRecord& dib, int32_t srcX,
                    int32_t srcY, int32_t srcW, int32_t srcH) override {
        stretchCalls.push_back(
            {x, y, destW, destH, srcX, srcY, srcW, srcH, DibBitCount(dib), DibWidth(dib), DibHeight(dib)});
        return stretchWorks;
    }

    BltResult StretchBltDib(int32_t x, int32_t y, int32_t destW, int32_t destH, const TDibRecord& dib, int32_t srcX,
                            int32_t srcY, int32_t srcW, int32_t srcH) override {
        bltCalls.push_back({x, y, destW, destH, srcX, srcY, srcW, srcH, DibBitCount(dib), DibWidth(dib), DibHeight(dib)});
        return bltResult;
    }

    void ReportFailure(const std::string& message) override { failures.push_back(message); }

    int64_t RowsSent() const {
        int64_t n = 0;
        for (const RowsCall& c : rowCalls) n += c.height;
        return n;
    }

    static uint32_t RowPixel(const DibRows& rows, const uint8_t* p, int32_t i) {
        auto fromTable = [&](unsigned index) {
            const TRgbQuad q = rows.colors[index];
            return RGBColor(q.rgbRed, q.rgbGreen, q.rgbBlue);
        };
        switch (rows.bitCount) {
        case 1: return fromTable((p[i >> 3] >> (7 - (i & 7))) & 1);
        case 4: return fromTable((i & 1) ? (p[i >> 1] & 0x0F) : (p[i >> 1] >> 4));
        case 8: return fromTable(p[i]);
        case 24: return RGBColor(p[3 * i + 2], p[3 * i + 1], p[3 * i]);
        case 32: return p[4 * i + 3] == 0xFF ? RGBColor(p[4 * i + 2], p[4 * i + 1], p[4 * i]) : 0xFFFFFFFF;
        default: return 0xFFFFFFFF;
        }
    }
};

} // namespace zb::test
