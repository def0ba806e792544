#pragma once
// Qt's PDF engine reports a stream it could not compress for lack of memory
// only as a warning ("QPdfStream::writeCompressed: Error in compress()") and
// then writes the stream empty: the page silently loses a picture. This
// counts those warnings per thread (the engine compresses on the thread that
// paints), so painting code can report such a page as failed.
#include <cstdint>

namespace zb {

// Compression failures seen on the calling thread so far. The first call
// installs a message handler that passes every message on to the handler
// installed before it.
uint64_t PdfCompressionFailures();

} // namespace zb
