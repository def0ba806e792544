#pragma once
// A design composed small, to fit a box: the pictures of a gallery of
// designs (templates, samples) that are not the design being edited.
#include <cstdint>
#include <string>

#include "model/Design.h"
#include "render/Compositor.h"
#include "render/DesignSize.h"
#include "render/FontEngine.h"

namespace zb {

// The zoom at which the design at `ppi` just fits into maxWidth x maxHeight
// pixels (for a design of the whole page, that page's).
double ZoomToFit(const PaperSettings& paper, const PrintablePage& page, int ppi, int maxWidth, int maxHeight);

// Composes `design` into `compositor` at ZoomToFit from generator state
// `seed`. Returns the compositor's message (empty on success).
std::string ComposePreview(const Design& design, const PrintablePage& page, int ppi, int maxWidth, int maxHeight,
                           uint32_t seed, FontEngine* fonts, Compositor& compositor);

} // namespace zb
