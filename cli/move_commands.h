#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace palisade {

// `moves`, `perft` and `divide`: the legal moves of a position and the size of
// the tree below it. `arguments` follow the command's name. Returns the exit
// status: 0, or 2 after a message on `err`.
int runMoveCommand(const std::string& command, const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err);

} // namespace palisade
