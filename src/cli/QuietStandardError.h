#pragma once
// While one lives, whatever is written to descriptor 2 goes nowhere. The
// picture libraries under Qt's image readers print their complaints about a
// broken file there themselves ("libpng error: Read Error", "TIFFReadDirectory:
// ..."), not as Qt's warnings, which main() handles; the program reports the
// failure in its own words instead. Only the scan of the texture folder runs
// under it. With ZB_DEBUG set, and in every sanitizer build (so their reports
// always show), it does nothing. Not for use while other threads print.
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
