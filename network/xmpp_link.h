#pragma once

#include "network/xmpp_account.h"

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <strophe.h>

#include <functional>
#include <memory>
#include <deque>

namespace palisade::net {

// One login to an XMPP server over libstrophe, driven from the Qt event
// loop: the socket wakes it, a slow timer serves libstrophe's own timeouts.
// Whatever libstrophe reports is handed on only after its turn has ended,
// so a slot may call back into the link (or log out) without nesting.
class XmppLink : public QObject {
    Q_OBJECT
public:
    using StanzaHandler = std::function<void(xmpp_stanza_t*)>;

    explicit XmppLink(QObject* parent = nullptr);
    ~XmppLink() override;

    // Starts logging in; every stanza after the login goes to `onStanza`,
    // which runs inside libstrophe's turn and must only read and send.
    void start(const XmppAccount::Settings& settings, StanzaHandler onStanza);
    // Closes the stream after everything queued has gone out; `closed` follows.
    void leave();
    bool isLoggedIn() const { return stage_ == Stage::LoggedIn; }

    xmpp_ctx_t* context() const { return context_; }
    // Queues a stanza (taking it over) and writes it out at once.
    void send(xmpp_stanza_t* stanza);
    // Runs `task` once libstrophe's current turn is over.
    void later(std::function<void()> task);

signals:
    void loggedIn();
    void loginFailed(const QString& reason);
    void dropped(const QString& reason);
    void closed();

private:
    enum class Stage { Idle, LoggingIn, LoggedIn, Leaving };

    void connectionEvent(xmpp_conn_event_t event, int error, const xmpp_stream_error_t* streamError);
    void noteLibraryLog(xmpp_log_level_t level, const QString& message);
    QString loginFailure(int error, const xmpp_stream_error_t* streamError) const;
    QString dropReason(int error, const xmpp_stream_error_t* streamError) const;
    void watchSocket(int socket);
    void schedulePump();
    void pump();
    void runLaterTasks();
    void forgetSocket();

    xmpp_ctx_t* context_ = nullptr;
    xmpp_conn_t* connection_ = nullptr;
    Stage stage_ = Stage::Idle;
    StanzaHandler onStanza_;
    QString lastLibraryError_;
    QString certificateProblem_;
    QString connectProblem_;
    bool passwordRefused_ = false;
    QString serverName_;
    std::unique_ptr<QSocketNotifier> readable_;
    std::unique_ptr<QSocketNotifier> writable_;
    QTimer tick_;
    xmpp_log_t logger_{};
    bool inTurn_ = false;
    bool runningLaterTasks_ = false;
    std::deque<std::function<void()>> laterTasks_;

    friend struct XmppLinkCallbacks;
};

} // namespace palisade::net
