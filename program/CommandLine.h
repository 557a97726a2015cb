#pragma once

// The command line as Linux programs have it: --help, --version and --history answer on
// standard output and end, without a window or a display.

#include <optional>

namespace program {

// The exit status when the command line asked for an answer rather than a game; none when the
// game is to start. Qt's own options (-platform, -style ...) are left for Qt.
std::optional<int> RunCommandLine(int argc, char** argv);

} // namespace program
