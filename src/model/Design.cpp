#include "model/Design.h"

namespace zb {

Design::~Design() { ReleaseAll(); }

void Design::ReleaseAll() {
    Layers.Clear();
    CurrentIndex = 0;
}

Design::Design(const Design& other) { *this = other; }

Design& Design::operator=(const Design& other) {
    if (this == &other) return *this;
    ReleaseAll();
    for (uint32_t i = 0; i < other.Layers.Count; ++i) *Layers.Add() = other.Layers[i];
    // The cursor of a copy rests where the array leaves it; the selection is the index.
    Paper = other.Paper;
    CurrentIndex = other.CurrentIndex;
    return *this;
}

} // namespace zb
