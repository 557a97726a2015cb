#include "scores/Statistics.h"

namespace scores {

// Linked only into the installed program: it never writes into its own folder, so every player
// keeps their statistics and record in their own data folder, even root.
bool BuiltForInstalling()
{
    return true;
}

} // namespace scores
