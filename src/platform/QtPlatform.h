#pragma once
// Entry points of the Qt implementation of the core's platform interfaces.
// Programs create their Q(Gui)Application first, then use these.
namespace zb::platform {

// Directory of the running program (where the "texturen" folder lies).
const char* ProgramDirectory();

} // namespace zb::platform
