#pragma once
// How the design goes on paper and into files, apart from what the design
// file keeps (its size and margins): one value, held by the workspace, set
// by the print page and by the command line's options, handed to every
// print and export job.
#include "render/PosterLayout.h"

namespace zb {

// "Anzahl Bogen:" 1 .. 100.
inline constexpr int kMaxSheets = 100;
// The export's resolution, dots per inch (the window's dialog offers 10 .. 2400).
inline constexpr int kMinExportDpi = 1;
inline constexpr int kMaxExportDpi = 100000;

struct PrintSettings {
    int sheets = 1;                       // "Anzahl Bogen:": different sheets in one job
    bool poster = false;                  // "Auf mehrere Seiten verteilen"
    double overlapCm = kDefaultOverlapCm; // "Klebekante:"
    // "Filter wie in der Vorschau": filter layers reach as far on paper as on
    // screen; off, they work pixel by pixel at the output's resolution.
    bool previewFilters = true;
    bool tiles3x3 = false;                // "Dazu 3 x 3 Kacheln": the export writes them too
    int exportDpi = 300;                  // the resolution the export asks with

    friend bool operator==(const PrintSettings&, const PrintSettings&) = default;
};

// The settings with every number inside its field's range (a value that is
// no number becomes the range's lower end).
PrintSettings Limited(PrintSettings settings);

} // namespace zb
