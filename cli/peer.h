#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace palisade {

// palisade-cli peer: one side of a game played across two computers, from a
// script. Needs a QCoreApplication; runs its event loop until the script is
// played and the game is over, and returns the exit status.
int runPeer(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace palisade
