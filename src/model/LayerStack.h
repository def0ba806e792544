#pragma once
// Operations of the layer list on a design: add, delete, move, select. The
// window calls them and shows the returned error text (empty on success) in
// an error box; a refused operation leaves the design exactly as it was.
#include <string>
#include <vector>

#include "model/Design.h"

namespace zb {

inline constexpr const char* kNoLayerSelected = "Keine Ebene ausgewählt!";
inline constexpr const char* kCannotDeleteLast = "Die letzte Ebene kann nicht gelöscht werden!";

// Adds a layer with the defaults on top of the stack (the selection stays).
// Its picture is a copy of textures[0] when the library holds one, else a new
// black 10 x 10 24-bit bitmap.
// Returns the memory message when the picture could not be copied (the layer
// then has no pixels), else empty.
std::string AddLayer(Design& design, const std::vector<DibPicture>& textures);

// New layer as the "Neue Ebene" button makes it: on top, selected.
std::string NewPlane(Design& design, const std::vector<DibPicture>& textures);

// selectedRow is the selected row of the list, or -1 when none is selected.
std::string DeletePlane(Design& design, int selectedRow);
std::string MovePlaneUp(Design& design, int selectedRow);
std::string MovePlaneDown(Design& design, int selectedRow);
// The lower of the two layers MovePlaneUp (step -1) or MovePlaneDown (+1) of
// `row` exchanges in a stack of `count` layers: the lowest layer whose place
// changes. `count` when the move changes nothing.
int LowerOfExchanged(int row, int step, int count);

// "Ebene duplizieren": a copy of layer `selectedRow` (settings, name,
// visibility, texts and picture) right above it, selected. Returns the memory
// message when the picture could not be copied (nothing changed then).
std::string DuplicatePlane(Design& design, int selectedRow);
// Moves layer `from` to place `to` (0 .. count - 1), the layers between
// shifting by one, as repeated moves up or down would; the moved layer stays
// selected. A place outside the stack changes nothing and says so.
std::string MovePlane(Design& design, int from, int to);

// Where a row dragged from `from` lands when dropped over row `overRow`
// (-1: below the last row), in its upper or `below` its lower half, in a list
// of `count` rows.
int DropPlace(int from, int overRow, bool below, int count);

// Keeps only record 0 ("Neu"): the others are removed from the top down.
void KeepBottomLayer(Design& design);

} // namespace zb
