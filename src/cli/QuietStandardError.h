#pragma once
// While one lives, whatever is written to descriptor 2 goes nowhere. The
// picture libraries under Qt print their own complaints there ("libpng error:
// Read Error", "TIFFAppendToStrip: ..."); the program reports the failure in
// its own words instead. Only decoding and encoding run under it, so crash
// reports and sanitizer findings elsewhere stay visible. With ZB_DEBUG set it
// does nothing. Not for use while other threads print.
namespace zb::cli {

class QuietStandardError {
public:
    QuietStandardError();
    ~QuietStandardError();
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_ = -1; // the real standard error while it is set aside
};

} // namespace zb::cli
