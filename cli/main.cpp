// palisade-cli: the game without a window, for scripts and tests.
//   palisade-cli show             the start position, one half-board a block
//   palisade-cli targets SQUARE   the targets of the piece on SQUARE (0..127)
//   palisade-cli play [--file FILE] [--answers LETTERS] [--save OUT] TOKEN...
//                                 plays a game through the game room
//   palisade-cli moves [--reference] [FILE]
//   palisade-cli perft DEPTH [--reference] [FILE]
//   palisade-cli divide DEPTH [--reference] [FILE]
//                                 the legal moves and the size of the tree below
//   palisade-cli peer OPTIONS TOKEN...
//                                 one side of a game played across two
//                                 computers, over XMPP or a home network
//   palisade-cli export-text FILE.brd
//   palisade-cli import-text FILE.txt --save OUT.brd
//                                 a saved game as plain text, and back

#include "cli/move_commands.h"
#ifdef PALISADE_PEER
#include "cli/peer.h"
#include <QCoreApplication>
#endif
#include "cli/play.h"
#include "cli/text_commands.h"
#include "engine/position.h"
#include "engine/targets.h"

#include <charconv>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace palisade;

constexpr std::string_view kPieceLetters = ".PNBRQKpnbrqk";

int usage()
{
    std::cerr << "usage: palisade-cli show\n"
                 "       palisade-cli targets SQUARE\n"
                 "       palisade-cli play [--file FILE] [--answers LETTERS] [--save OUT] TOKEN...\n"
                 "       palisade-cli moves [--reference] [FILE]\n"
                 "       palisade-cli perft DEPTH [--reference] [FILE]\n"
                 "       palisade-cli divide DEPTH [--reference] [FILE]\n"
#ifdef PALISADE_PEER
                 "       palisade-cli peer (--xmpp ADDRESS --password-file FILE [--ca FILE] [--server HOST:PORT]\n"
                 "                          (--invite ADDRESS | --accept) | --listen PORT --code CODE\n"
                 "                          | --connect HOST:PORT --code CODE) --side white|black\n"
                 "                         [--answers LETTERS] [--save OUT] [--win-option 0|1] [--file FILE]\n"
                 "                         [--timeout SECONDS] [--timing] TOKEN...\n"
#endif
                 "       palisade-cli export-text FILE.brd\n"
                 "       palisade-cli import-text FILE.txt --save OUT.brd\n";
    return 2;
}

// White in capitals, Black in small letters; colmn runs left to right.
void printBoard(const Position& position)
{
    for (int boards = 0; boards < 4; ++boards) {
        std::cout << "half-board " << boards + 1 << '\n';
        for (int rw = 0; rw < 4; ++rw) {
            std::cout << "  " << static_cast<char>('a' + rw) << ' ';
            for (int colmn = 0; colmn < 8; ++colmn) {
                std::cout << kPieceLetters[position.squares[indexOf(boards, rw, colmn)]];
            }
            std::cout << '\n';
        }
    }
}

int printTargets(const Position& position, std::string_view argument)
{
    int square = -1;
    const auto [end, error] = std::from_chars(argument.data(), argument.data() + argument.size(), square);
    if (error != std::errc() || end != argument.data() + argument.size() || !isSquare(square)) {
        std::cerr << "palisade-cli: not a square (0..127): " << argument << '\n';
        return 2;
    }
    for (const Target& target : generateTargets(position, square)) std::cout << target.square << '\n';
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const Position position = standardPosition();
    if (argc == 2 && std::string_view(argv[1]) == "show") {
        printBoard(position);
        return 0;
    }
    if (argc == 3 && std::string_view(argv[1]) == "targets") return printTargets(position, argv[2]);
    if (argc >= 2 && std::string_view(argv[1]) == "play") {
        return runPlay(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    }
#ifdef PALISADE_PEER
    // Only the game across two computers needs Qt's event loop.
    if (argc >= 2 && std::string_view(argv[1]) == "peer") {
        QCoreApplication application(argc, argv);
        return runPeer(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    }
#endif
    if (argc >= 2) {
        const std::string command = argv[1];
        if (command == "moves" || command == "perft" || command == "divide") {
            return runMoveCommand(command, std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
        }
        const std::vector<std::string> arguments(argv + 2, argv + argc);
        if (command == "export-text") return runExportText(arguments, std::cout, std::cerr);
        if (command == "import-text") return runImportText(arguments, std::cout, std::cerr);
    }
    return usage();
}
