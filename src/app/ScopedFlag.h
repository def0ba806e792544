#pragma once
// Sets a re-entrancy flag of its owner for as long as it lives and restores
// what it was: while a widget loads its controls from the workspace, their
// change handlers see the flag and send nothing back.
namespace zb {

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = was_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
    bool was_;
};

} // namespace zb
