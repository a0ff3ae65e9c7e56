#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace palisade {

// palisade-cli export-text FILE.brd: the saved game as a game text.
int runExportText(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// palisade-cli import-text FILE.txt --save OUT.brd: a game text played through
// and saved.
int runImportText(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace palisade
