#include "model/Design.h"

namespace zb {

Design::~Design() { ReleaseAll(); }

void Design::ReleaseAll() {
    Layers.First();
    while (Layers.Next()) ReleaseLayer(*CurrentLayer);
    Layers.Clear();
    CurrentIndex = 0;
}

} // namespace zb
