#include "network/xmpp_turn_watch.h"

#include <sys/socket.h>

namespace palisade::net {

XmppTurnWatch::XmppTurnWatch(std::chrono::milliseconds limit) : limit_(limit), thread_([this] { watch(); }) {}

XmppTurnWatch::~XmppTurnWatch() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_one();
    thread_.join();
}

void XmppTurnWatch::follow(int socket) {
    const std::lock_guard lock(mutex_);
    socket_ = socket;
}

void XmppTurnWatch::enter() {
    {
        const std::lock_guard lock(mutex_);
        started_ = std::chrono::steady_clock::now();
        ++turn_;
    }
    changed_.notify_one();
}

void XmppTurnWatch::leave() {
    const std::lock_guard lock(mutex_);
    ++turn_;
}

void XmppTurnWatch::watch() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (turn_ % 2 == 0) {
            changed_.wait(lock, [this] { return stopping_ || turn_ % 2 == 1; });
            continue;
        }
        const std::uint64_t turn = turn_;
        if (changed_.wait_until(lock, started_ + limit_, [&] { return stopping_ || turn_ != turn; })) {
            continue;
        }
        // Shut down, not closed: the number stays libstrophe's to close.
        if (socket_ >= 0) {
            ::shutdown(socket_, SHUT_RDWR);
            cut_ = true;
        }
        changed_.wait(lock, [&] { return stopping_ || turn_ != turn; });
    }
}

} // namespace palisade::net
