#include "model/Design.h"

#include <cstring>

#include "base/DibCopy.h"

namespace zb {

Design::~Design() { ReleaseAll(); }

void Design::ReleaseAll() {
    Layers.First();
    while (Layers.Next()) ReleaseLayer(*CurrentLayer);
    Layers.Clear();
    CurrentIndex = 0;
}

bool Design::CopyTo(Design& copy, bool borrowPictures) const {
    copy.ReleaseAll();
    bool complete = true;
    for (uint32_t i = 0; i < Layers.Count; ++i) {
        const TLayerRecord& from = Layers[i];
        TLayerRecord* to = copy.Layers.Add();
        std::memcpy(static_cast<void*>(to), &from, sizeof(TLayerRecord));
        // The copy owns texts and pixels of its own.
        to->FontName = nullptr;
        to->LayerText = nullptr;
        to->LayerPicture = TDibRecord{};
        SetLayerString(to->FontName, LayerString(from.FontName));
        SetLayerString(to->LayerText, LayerString(from.LayerText));
        if (borrowPictures) to->LayerPicture = from.LayerPicture;
        else if (from.LayerPicture.Bits && !MakeDIBCopy(from.LayerPicture, to->LayerPicture)) complete = false;
    }
    copy.Paper = Paper;
    copy.CurrentIndex = CurrentIndex;
    return complete;
}

void Design::ForgetBorrowedPictures() {
    for (uint32_t i = 0; i < Layers.Count; ++i) Layers[i].LayerPicture = TDibRecord{};
}

} // namespace zb
