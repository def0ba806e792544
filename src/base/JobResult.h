#pragma once
// How a composition, a print or an export ended. Callers branch on the kind,
// never on the text: the message is for the user only (German), empty for
// Done and Cancelled.
#include <string>
#include <utility>

namespace zb {

struct JobResult {
    enum class Kind { Done, Cancelled, OutOfMemory, Failed };

    Kind kind = Kind::Done;
    std::string message;

    static JobResult Done() { return {}; }
    static JobResult Cancelled() { return {Kind::Cancelled, {}}; }
    static JobResult OutOfMemory(std::string message) { return {Kind::OutOfMemory, std::move(message)}; }
    static JobResult Failed(std::string message) { return {Kind::Failed, std::move(message)}; }

    bool ok() const { return kind == Kind::Done; }
    bool cancelled() const { return kind == Kind::Cancelled; }
    // A failure the user should read about (out of memory or failed).
    bool failed() const { return kind == Kind::OutOfMemory || kind == Kind::Failed; }
};

} // namespace zb
