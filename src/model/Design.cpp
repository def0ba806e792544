#include "model/Design.h"

#include "base/DibCopy.h"

namespace zb {

Design::~Design() { ReleaseAll(); }

void Design::ReleaseAll() {
    Layers.Clear();
    CurrentIndex = 0;
}

bool Design::CopyTo(Design& copy, bool borrowPictures) const {
    copy.ReleaseAll();
    bool complete = true;
    for (uint32_t i = 0; i < Layers.Count; ++i) {
        const TLayerRecord& from = Layers[i];
        TLayerRecord* to = copy.Layers.Add();
        static_cast<LayerSettings&>(*to) = from;
        to->FontName = from.FontName;
        to->LayerText = from.LayerText;
        if (borrowPictures) to->LayerPicture = DibPicture::Adopt(from.LayerPicture);
        else if (!from.LayerPicture.empty() && !MakeDIBCopy(from.LayerPicture, to->LayerPicture)) complete = false;
    }
    copy.Paper = Paper;
    copy.CurrentIndex = CurrentIndex;
    return complete;
}

void Design::ForgetBorrowedPictures() {
    for (uint32_t i = 0; i < Layers.Count; ++i) Layers[i].LayerPicture.release();
}

} // namespace zb
