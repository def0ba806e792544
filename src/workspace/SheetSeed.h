#pragma once
// Which sheet the next composition shows. Normally every composition draws on
// from where the random generator stands, so it shows a fresh sheet. While
// "Bogen festhalten" is checked, compositions after edits, zoom changes and
// resizes start again from the state the shown sheet started from, so a
// pattern keeps its shapes while a gradient beneath it is edited. "Neu würfeln"
// lets the next composition draw on even while the sheet is held.
#include <cstdint>

#include "render/RandomInt.h"

namespace zb {

class SheetSeed {
public:
    void SetHold(bool hold) { hold_ = hold; }
    bool Hold() const { return hold_; }

    // The next composition shows a fresh sheet, held or not.
    void Reroll() { reroll_ = true; }

    // Before a composition: rewinds the generator to the shown sheet's start
    // when the sheet is held (and a sheet has been shown).
    void BeforeCompose(RandomInt& random) {
        if (hold_ && shown_ && !reroll_) random.setSeed(start_);
        reroll_ = false;
    }

    // The state the next composition starts from, the generator standing at
    // `current`: the shown sheet's start while it is held, else `current`.
    // Changes nothing, so a composition that is cancelled costs no reroll.
    uint32_t NextStart(uint32_t current) const { return hold_ && shown_ && !reroll_ ? start_ : current; }

    // After a composition: the state it started from (the compositor's StartSeed).
    void AfterCompose(uint32_t startSeed) {
        start_ = startSeed;
        shown_ = true;
        reroll_ = false;
    }

    // The number of the sheet shown: the generator state it started from.
    bool Shown() const { return shown_; }
    uint32_t Number() const { return start_; }

private:
    bool hold_ = false;
    bool reroll_ = false;
    bool shown_ = false;
    uint32_t start_ = 0;
};

} // namespace zb
