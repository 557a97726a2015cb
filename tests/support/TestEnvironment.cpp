// What every test program needs of its environment, set by the program itself so that CTest
// runs it as it is and a developer can run it by hand alike: no audio device, and the
// sanitizers' options in the sanitizer build.

#include <cstdlib>

extern "C" {

// Read by AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer at start; harmless
// without them.
const char* __asan_default_options()
{
    return "detect_leaks=1:abort_on_error=0";
}

const char* __ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}

// Leaks inside system libraries that the program cannot free (font and display caches).
const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\n"
           "leak:libfreetype\n"
           "leak:libglib\n"
           "leak:libdbus\n"
           "leak:libX11\n"
           "leak:libxcb\n"
           "leak:libSDL2\n"
           "leak:libpulse\n"
           "leak:libasound\n";
}
}

namespace {

// Before main: tunes go nowhere unless a test asks for a driver of its own.
const bool Silent = [] { return setenv("SDL_AUDIODRIVER", "dummy", 0) == 0; }();

} // namespace
