#pragma once
// How a seamless sheet repeats as a tile (fabric, wallpaper and web
// backgrounds): the choice beside "Nahtlos kachelbar", with its captions and
// the names the command line takes.
#include <array>
#include <cstdint>
#include <string_view>

namespace zb {

enum RepeatMode : int32_t {
    kRepeatBasic = 0,    // "Gerade": tiles side by side and one above the other
    kRepeatHalfDrop = 1, // "Halb versetzt": each column of tiles lies half a tile lower than the one to its left
    kRepeatMirror = 2    // "Gespiegelt": every other tile mirrored, across and down
};
inline constexpr std::array<std::string_view, 3> kRepeatModeCaptions = {"Gerade", "Halb versetzt", "Gespiegelt"};
inline constexpr std::array<std::string_view, 3> kRepeatModeNames = {"basic", "half-drop", "mirror"};
// The window's words, as the command line takes them too.
inline constexpr std::array<std::string_view, 3> kRepeatModeWords = {"gerade", "halb-versetzt", "gespiegelt"};

// A value from a file or a command line outside the table counts as basic.
constexpr RepeatMode RepeatModeOf(int64_t value) {
    return value == kRepeatHalfDrop ? kRepeatHalfDrop : value == kRepeatMirror ? kRepeatMirror : kRepeatBasic;
}

} // namespace zb
