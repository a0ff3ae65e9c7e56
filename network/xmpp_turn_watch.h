#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace palisade::net {

// libstrophe's TLS handshake waits for the server inside its turn, on the
// window's thread. A turn that lasts longer than the limit has a server
// that stopped answering: the watch shuts the socket down from its own
// thread, the handshake fails, and the turn returns.
class XmppTurnWatch {
public:
    explicit XmppTurnWatch(std::chrono::milliseconds limit);
    ~XmppTurnWatch();
    XmppTurnWatch(const XmppTurnWatch&) = delete;
    XmppTurnWatch& operator=(const XmppTurnWatch&) = delete;

    // The socket to shut down; -1: none (it was closed).
    void follow(int socket);
    void enter();
    void leave();
    // Whether the watch cut a turn short since the last call.
    bool takeCut() { return cut_.exchange(false); }

private:
    void watch();

    const std::chrono::milliseconds limit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    int socket_ = -1;
    std::uint64_t turn_ = 0; // odd while a turn runs
    std::chrono::steady_clock::time_point started_;
    std::atomic<bool> cut_{false};
    std::thread thread_;
};

} // namespace palisade::net
