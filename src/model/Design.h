#pragma once
// A whole design: the layer stack (bottom layer first), the selection, and the
// paper format, zoom and margins that design files carry.
//
// Ownership: a Design owns its layer records, their texts and their share of
// the pictures (pictures are shared and immutable, so a copy is cheap and
// independent: a background job's snapshot never sees a later edit).
#include <cstdint>
#include <string>

#include "model/LayerList.h"
#include "model/RepeatMode.h"

namespace zb {

// The paper format and view settings stored with a design. Values are those the
// editor fields show (already limited and rounded, see SpinField).
struct PaperSettings {
    double Breit = 17.5;   // design width, cm
    double Hoch = 28.0;    // design height, cm
    double BreitV = 5.0;   // ratio, width part
    double HochV = 8.0;    // ratio, height part
    double DezV = 0.625;   // ratio as one number
    double Zoom = 30.0;    // design view zoom, percent
    double RandX = 0.0;    // left margin on the page, cm
    double RandY = 0.0;    // top margin, cm
    bool PrintAll = true;   // "Gesamtes Papier bedrucken"
    bool HoldWidth2 = true; // size group: a ratio edit keeps the width
    bool SVerh = true;      // "Seitenverhältnis beibehalten"
    bool HoldWidth = true;  // ratio group: recomputing the ratio keeps its width part
    // "Nahtlos kachelbar": the sheet is a tile that repeats without a seam in
    // the way Repeat says. Design files keep both in the first layer block.
    bool Seamless = false;
    RepeatMode Repeat = kRepeatBasic;
};

// Copies share the pictures and copy everything else, the selection included.
class Design {
public:
    LayerList Layers;
    PaperSettings Paper;
};

} // namespace zb
