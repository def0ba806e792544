#pragma once
// Says when drawing a picture on screen failed (no bitmap, no memory), once
// per failure: a view that fails on every paint does not bring up a box on
// every paint. A successful draw ends the failure; the next one is said again.
#include <QString>
#include <functional>
#include <string>

namespace zb {

class DrawFailureNotice {
public:
    // `show` brings up the message (the window queues its error box, so the
    // box never opens inside a paint).
    explicit DrawFailureNotice(std::function<void(const QString&)> show) : show_(std::move(show)) {}

    // After each draw: the device's failure message, empty when it drew.
    void After(const std::string& failure);

private:
    std::function<void(const QString&)> show_;
    std::string shown_;
};

} // namespace zb
