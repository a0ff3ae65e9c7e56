#include "cli/peer.h"

#include "cli/peer_driver.h"

#include <QCoreApplication>

namespace palisade {

int runPeer(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    auto script = parsePeerScript(arguments);
    if (const auto* refusal = std::get_if<std::string>(&script)) {
        err << "palisade-cli peer: " << *refusal << '\n';
        return 2;
    }
    // Whoever reads the lines (a test, a second program) sees each at once.
    out.setf(std::ios::unitbuf);
    PeerDriver driver(std::get<PeerScript>(std::move(script)), out, err);
    if (!driver.start()) return 2;
    return QCoreApplication::exec();
}

} // namespace palisade
