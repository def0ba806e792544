#pragma once
// The layer editor's controls as plain values, and the two directions between
// them and a layer record. The window reads its controls into EditorValues and
// calls ReadBackOptions; SetOptionsNow loads the controls from
// EditorValuesOf(layer). Keeping the mapping here lets it be tested without
// widgets.
#include <cstdint>
#include <string>

#include "base/TDibRecord.h"
#include "model/TLayerRecord.h"

namespace zb {

struct EditorValues {
    int32_t page = kKindTexture;   // shown page of PageControl1 = the layer's kind
    int32_t trackBar1 = 5;         // "Transparenz:" 0 .. 10
    int32_t trackBar2 = 5;         // text "Anzahl:" 0 .. 10
    double anzMEd = 100;           // pattern count (the field's value)
    double mSizeEd = 30;           // pattern size, mm
    double picBreitEd = 75;        // picture width, mm
    double fSizeEd = 12;           // text size, points
    uint32_t fillCol1 = RGBColor(0, 0, 255);
    uint32_t fillCol2 = 0;
    uint32_t musterCol = 0;
    uint32_t fColor = 0;
    int32_t fillDirection = 0;     // item indices of the radio group and lists
    int32_t mTypBox = 0;
    int32_t mColBox = 0;
    int32_t mSizeBox = 0;
    int32_t mPosBox = 0;
    int32_t filterBox = 0;
    int32_t fColBox = 0;
    int32_t fSizeKBox = 0;
    int32_t fPosBox = 0;
    int32_t fKindBox = 0;
    std::string textEd = "Test";   // UTF-8, as the field shows it
    std::string fontBox = "Arial"; // UTF-8 family name

    friend bool operator==(const EditorValues&, const EditorValues&) = default;
};

struct ReadBackResult {
    bool kindChanged = false; // the list must be re-captioned
    std::string message;      // memory message of the picture copy, else empty
};

// Writes every value into the layer. Texts are stored as Windows-1252. When
// copyPicture is set, the layer's picture is replaced by a deep copy of
// editPicture (the window skips the copy when the layer already holds exactly
// that picture, which saves copying a large photo on every keystroke).
ReadBackResult ReadBackOptions(const EditorValues& values, TLayerRecord& layer, const TDibRecord& editPicture,
                               bool copyPicture);

// The controls' values for a layer: what SetOptionsNow shows. Whole-number
// fields come back as the record holds them; the widgets limit to their range.
EditorValues EditorValuesOf(const TLayerRecord& layer);

} // namespace zb
