#pragma once
// Undo and redo for the design: a list of snapshots of the whole layer stack
// and paper format, one per step, with a cursor on the state shown.
//
// Snapshots keep each layer's settings and texts by value and its picture as a
// shared, read-only copy: a picture that did not change between steps (found
// by comparing pixels) is stored once however many steps hold it, so a burst
// of gradient edits over a large photo costs a few kilobytes per step. The
// history is bounded by bytes; when it grows beyond the bound the oldest steps
// are dropped. The zoom is a view setting and is neither recorded nor restored.
// Each step remembers where the generator started the sheet shown for it.
//
// Ownership: the history owns its snapshots; Undo and Redo rebuild the
// design's records with fresh copies of the pictures (the design owns those).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/TDibRecord.h"
#include "model/Design.h"

namespace zb {

inline constexpr size_t kDefaultUndoBytes = size_t(256) << 20;

class UndoHistory {
public:
    explicit UndoHistory(size_t byteLimit = kDefaultUndoBytes);
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // Forgets every step; the design as it is becomes the only state.
    void Reset(const Design& design);

    // After a change: records the design as a new step when it differs from
    // the state shown (selection and zoom alone are no change). Steps that
    // could have been redone are dropped. Returns true when a step was added.
    bool Record(const Design& design);

    bool CanUndo() const { return index_ > 0; }
    bool CanRedo() const { return index_ + 1 < states_.size(); }

    // Rebuilds the design from the previous or next state (its zoom stays).
    // Returns a German message when a picture could not be copied (that layer
    // then has no pixels), else empty. Does nothing when there is no such step.
    std::string Undo(Design& design);
    std::string Redo(Design& design);

    // How many bottom layers the state Undo (back) or Redo would show has in
    // common with the state shown: the step leaves them as they are. 0 when
    // there is no such step.
    int SharedBottomLayers(bool back) const;

    // The sheet shown for the state shown: the generator state it started
    // from, so that undo and redo bring back that very sheet.
    void SetSheet(uint32_t startSeed);
    std::optional<uint32_t> Sheet() const;

    // Names the state shown; equal names mean the same state. Names are never
    // reused, so a dropped state is named by nobody any more (0: none).
    uint64_t CurrentState() const;

    // Bytes held by all snapshots, each shared picture counted once.
    size_t Bytes() const { return bytes_; }
    size_t StateCount() const { return states_.size(); }

private:
    struct Picture;
    struct LayerState;
    struct State;

    std::shared_ptr<State> Snapshot(const Design& design) const;
    std::string Restore(const State& state, Design& design) const;
    void Trim();
    size_t CountBytes() const;

    size_t byteLimit_;
    std::vector<std::shared_ptr<State>> states_;
    size_t index_ = 0;
    uint64_t lastName_ = 0;
    size_t bytes_ = 0;
};

} // namespace zb
