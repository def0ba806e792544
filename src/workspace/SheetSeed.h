#pragma once
// Which sheet the next composition shows. The sheet is kept through edits of
// the design, zoom, paper size, printer page and the screen's scaling: the
// composition starts again from the state the shown sheet started from, so
// the same shapes come at the new size, and the layers beneath an edited one
// stay as they are (and need not be composed again). Only another design
// ("Neu", opening) draws on from where the random generator stands, a fresh
// sheet, unless "Bogen festhalten" is checked, which keeps the sheet's start
// through that too. "Neu würfeln" lets the next composition draw on even while
// the sheet is held.
#include <cstdint>

#include "render/RandomInt.h"

namespace zb {

class SheetSeed {
public:
    void SetHold(bool hold) { hold_ = hold; }
    bool Hold() const { return hold_; }

    // The next composition shows a fresh sheet, held or not.
    void Reroll() { reroll_ = true; }
    // Another design is shown: the next composition shows a fresh sheet
    // unless it is held.
    void Renew() { renew_ = true; }

    // Before a composition: rewinds the generator to the shown sheet's start
    // when the sheet is kept (and a sheet has been shown).
    void BeforeCompose(RandomInt& random) {
        random.setSeed(NextStart(random.seed()));
        reroll_ = false;
        renew_ = false;
    }

    // The state the next composition starts from, the generator standing at
    // `current`: the shown sheet's start while it is kept, else `current`.
    // Changes nothing, so a composition that is cancelled costs no reroll.
    uint32_t NextStart(uint32_t current) const { return Keeps() ? start_ : current; }

    // After a composition: the state it started from (the compositor's StartSeed).
    void AfterCompose(uint32_t startSeed) {
        start_ = startSeed;
        shown_ = true;
        reroll_ = false;
        renew_ = false;
    }

    // The number of the sheet shown: the generator state it started from.
    bool Shown() const { return shown_; }
    uint32_t Number() const { return start_; }

private:
    bool Keeps() const { return shown_ && !reroll_ && (hold_ || !renew_); }

    bool hold_ = false;
    bool reroll_ = false;
    bool renew_ = false;
    bool shown_ = false;
    uint32_t start_ = 0;
};

} // namespace zb
