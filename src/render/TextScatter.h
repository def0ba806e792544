#pragma once
// Text layers: copies of the layer's text scattered over the raster.
#include "base/RasterView.h"
#include "base/SheetWindow.h"
#include "base/TileWrap.h"
#include "model/TLayerRecord.h"
#include "render/FontEngine.h"
#include "render/RandomInt.h"

namespace zb {

class TextWalkCache;

// Stamps copies of the layer's text into the raster (which already holds the
// ground fill). screenPpi is the horizontal pixels per inch of the target,
// zoom the zoom in percent. Random fonts come from fonts.FamiliesFor(text),
// the families that can write every character of the text.
//
// Per cell the draws are, in this order: font (random-font mode; drawn even
// when the list is empty, and then the layer's FontName is used), size
// (random-size mode), colour (three draws in mode 0, one in mode 1), position
// (x then y, random-position mode), density. An empty LayerText returns at
// once without drawing. A text that renders zero pixels wide advances its cell
// by one pixel. Character heights are capped at 16384 pixels. Each distinct
// (font, height) is rendered once per call, cut to the raster's size.
// With a wrap (a seamless tile) each copy is stamped wherever one of its
// copies reaches the raster, so a text cut by an edge continues on the
// opposite one; the draws are the same as without.
// With a window the raster is that part of the sheet: the cells, positions
// and rendered sizes are the whole sheet's and each copy is cut to the
// window, so the pixels and the draws are the sheet's. An empty raster without
// a window returns at once; through a window it walks the sheet's cells and
// stamps nothing (the draws of a window nobody sees).
// With `walks` (the sheet's, shared by its bands or tiles) the walk is kept
// there and a later call for the same sheet, layer and generator state only
// stamps its copies: the same pixels and the same draws, without the cell
// walk and the rendering.
void ScatterText(RasterView raster, const TLayerRecord& layer, double screenPpi, double zoom,
                 RandomInt& random, FontEngine& fonts, const TileWrap& wrap = {}, const SheetWindow& window = {},
                 TextWalkCache* walks = nullptr);

} // namespace zb
