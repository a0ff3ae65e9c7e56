#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace palisade {

// palisade-cli play [--file FILE] [--answers LETTERS] [--save OUT] TOKEN...
// Plays the tokens through the game room the window runs, writing a state
// line after the start and after each token. Returns the exit status.
int runPlay(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace palisade
