// libstrophe carries the XMPP stream: a small, maintained C library with
// OpenSSL TLS that takes a CA file and a mandatory-TLS flag, and whose
// non-blocking xmpp_run_once fits into Qt's event loop. (gloox brings its
// own loop and its last release is old; QXmpp in Debian is built with Qt 5.)
#include "network/xmpp_link.h"

#include <QHash>
#include <QPointer>
#include <QRegularExpression>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cstring>
#include <mutex>

namespace palisade::net {
namespace {

// libstrophe's certificate and socket callbacks name only the connection.
QHash<xmpp_conn_t*, XmppLink*>& linksByConnection() {
    static QHash<xmpp_conn_t*, XmppLink*> links;
    return links;
}

constexpr int kTickMilliseconds = 500;
// libstrophe reads 4 KiB a turn and a TLS record holds up to 16 KiB: the
// rest of a record waits inside TLS, where the socket cannot wake us.
constexpr int kTurnsPerWakeUp = 4;

QString streamErrorText(const xmpp_stream_error_t* streamError) {
    if (streamError == nullptr) {
        return {};
    }
    switch (streamError->type) {
    case XMPP_SE_CONFLICT:
        return XmppLink::tr("The account logged in from another place.");
    case XMPP_SE_SYSTEM_SHUTDOWN:
        return XmppLink::tr("The server shut down.");
    case XMPP_SE_NOT_AUTHORIZED:
        return XmppLink::tr("The server refused the address or the password.");
    case XMPP_SE_POLICY_VIOLATION:
    case XMPP_SE_RESOURCE_CONSTRAINT:
        return XmppLink::tr("The server refused what was sent (too much or too fast).");
    default:
        break;
    }
    if (streamError->text != nullptr && *streamError->text != '\0') {
        return XmppLink::tr("The server ended the connection: %1").arg(QString::fromUtf8(streamError->text));
    }
    return XmppLink::tr("The server ended the connection.");
}

// The usual reasons, in words; others by OpenSSL's name.
QString certificateWords(const QString& verifyResult) {
    static const QHash<QString, const char*> words{
        {QStringLiteral("X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT"), QT_TR_NOOP("it signed itself")},
        {QStringLiteral("X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN"), QT_TR_NOOP("its issuer is not trusted")},
        {QStringLiteral("X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY"), QT_TR_NOOP("its issuer is not known")},
        {QStringLiteral("X509_V_ERR_CERT_HAS_EXPIRED"), QT_TR_NOOP("it has expired")},
        {QStringLiteral("X509_V_ERR_CERT_NOT_YET_VALID"), QT_TR_NOOP("it is not valid yet")},
        {QStringLiteral("X509_V_ERR_HOSTNAME_MISMATCH"), QT_TR_NOOP("it names another server")},
    };
    const char* text = words.value(verifyResult);
    return text != nullptr ? XmppLink::tr(text) : verifyResult;
}

} // namespace

struct XmppLinkCallbacks {
    static void connection(xmpp_conn_t*, xmpp_conn_event_t event, int error, xmpp_stream_error_t* streamError,
                           void* userdata) {
        static_cast<XmppLink*>(userdata)->connectionEvent(event, error, streamError);
    }

    static int stanza(xmpp_conn_t*, xmpp_stanza_t* stanza, void* userdata) {
        auto* link = static_cast<XmppLink*>(userdata);
        if (link->onStanza_) {
            link->onStanza_(stanza);
        }
        return 1; // stay registered
    }

    static int socketOptions(xmpp_conn_t* conn, void* socket) {
        const int fd = *static_cast<int*>(socket);
        if (XmppLink* link = linksByConnection().value(conn)) {
            link->watchSocket(fd);
        }
        // Stanzas are small and each waits for an answer: without this, a
        // short write waits up to 40 ms for the last one's acknowledgement.
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        // A connection that silently vanished is found by TCP keepalive.
        return xmpp_sockopt_cb_keepalive(conn, socket);
    }

    // libstrophe tells why a login failed only in its log.
    static void log(void* userdata, xmpp_log_level_t level, const char* area, const char* message) {
        if (qEnvironmentVariableIsSet("PALISADE_XMPP_LOG")) {
            qDebug("xmpp %s: %s", area, message);
        }
        static_cast<XmppLink*>(userdata)->noteLibraryLog(level, QString::fromUtf8(message));
    }
};

XmppLink::XmppLink(QObject* parent) : QObject(parent) {
    static std::once_flag initialized;
    std::call_once(initialized, [] { xmpp_initialize(); });
    logger_.handler = &XmppLinkCallbacks::log;
    logger_.userdata = this;
    context_ = xmpp_ctx_new(nullptr, &logger_);
    tick_.setInterval(kTickMilliseconds);
    connect(&tick_, &QTimer::timeout, this, &XmppLink::pump);
}

XmppLink::~XmppLink() {
    onStanza_ = nullptr;
    stage_ = Stage::Idle;
    if (connection_ != nullptr) {
        linksByConnection().remove(connection_);
        xmpp_conn_release(connection_);
    }
    xmpp_ctx_free(context_);
}

void XmppLink::start(const XmppAccount::Settings& settings, StanzaHandler onStanza) {
    onStanza_ = std::move(onStanza);
    serverName_ = settings.host.isEmpty() ? settings.address.section(u'@', 1) : settings.host;
    connection_ = xmpp_conn_new(context_);
    linksByConnection().insert(connection_, this);
    // TLS or nothing; the stream's own resends are left to the game's.
    xmpp_conn_set_flags(connection_, XMPP_CONN_FLAG_MANDATORY_TLS | XMPP_CONN_FLAG_DISABLE_SM);
    if (!settings.caFile.isEmpty()) {
        xmpp_conn_set_cafile(connection_, settings.caFile.toLocal8Bit().constData());
    }
    // No certificate failure handler: a certificate the trusted ones do
    // not vouch for ends the login.
    xmpp_conn_set_sockopt_callback(connection_, &XmppLinkCallbacks::socketOptions);
    xmpp_conn_set_jid(connection_, settings.address.toUtf8().constData());
    xmpp_conn_set_pass(connection_, settings.password.toUtf8().constData());
    xmpp_handler_add(connection_, &XmppLinkCallbacks::stanza, nullptr, nullptr, nullptr, this);

    stage_ = Stage::LoggingIn;
    const QByteArray host = settings.host.toUtf8();
    const int started = xmpp_connect_client(connection_, host.isEmpty() ? nullptr : host.constData(), settings.port,
                                            &XmppLinkCallbacks::connection, this);
    if (started != XMPP_EOK) {
        stage_ = Stage::Idle;
        later([this] { emit loginFailed(tr("Could not reach the server %1.").arg(serverName_)); });
    } else {
        tick_.start();
    }
    schedulePump();
}

void XmppLink::leave() {
    if (stage_ == Stage::LoggingIn || stage_ == Stage::LoggedIn) {
        stage_ = Stage::Leaving;
        xmpp_disconnect(connection_);
        schedulePump();
    } else if (stage_ == Stage::Idle) {
        later([this] { emit closed(); });
        schedulePump();
    }
}

void XmppLink::send(xmpp_stanza_t* stanza) {
    if (stage_ == Stage::LoggedIn) {
        xmpp_send(connection_, stanza);
        schedulePump();
    }
    xmpp_stanza_release(stanza);
}

void XmppLink::later(std::function<void()> task) {
    laterTasks_.push_back(std::move(task));
}

void XmppLink::connectionEvent(xmpp_conn_event_t event, int error, const xmpp_stream_error_t* streamError) {
    const Stage stage = stage_;
    if (event == XMPP_CONN_CONNECT) {
        stage_ = Stage::LoggedIn;
        later([this] { emit loggedIn(); });
        return;
    }
    if (event != XMPP_CONN_DISCONNECT && event != XMPP_CONN_FAIL) {
        return;
    }
    stage_ = Stage::Idle;
    tick_.stop();
    forgetSocket();
    if (stage == Stage::LoggingIn) {
        const QString reason = loginFailure(error, streamError);
        later([this, reason] { emit loginFailed(reason); });
    } else if (stage == Stage::LoggedIn) {
        const QString reason = dropReason(error, streamError);
        later([this, reason] { emit dropped(reason); });
    } else if (stage == Stage::Leaving) {
        later([this] { emit closed(); });
    }
}

void XmppLink::noteLibraryLog(xmpp_log_level_t level, const QString& message) {
    static const QRegularExpression certificateFailure(QStringLiteral("Certificate verification FAILED, result=(\\w+)"));
    static const QRegularExpression connectFailure(QStringLiteral("connection failed, error (\\d+)"));
    if (const auto match = certificateFailure.match(message); match.hasMatch()) {
        certificateProblem_ = certificateWords(match.captured(1));
    } else if (const auto match = connectFailure.match(message); match.hasMatch()) {
        connectProblem_ = QString::fromLocal8Bit(std::strerror(match.captured(1).toInt()));
    } else if (message.contains(QStringLiteral("Cannot authenticate"))) {
        passwordRefused_ = true;
    } else if (level >= XMPP_LEVEL_WARN) {
        lastLibraryError_ = message;
    }
}

QString XmppLink::loginFailure(int error, const xmpp_stream_error_t* streamError) const {
    if (!certificateProblem_.isEmpty()) {
        return tr("The certificate of %1 is not trusted (%2): the login was refused.")
            .arg(serverName_, certificateProblem_);
    }
    if (passwordRefused_) {
        return tr("The server refused the address or the password.");
    }
    if (!connectProblem_.isEmpty()) {
        return tr("Could not reach the server %1: %2.").arg(serverName_, connectProblem_);
    }
    if (streamError != nullptr) {
        return streamErrorText(streamError);
    }
    if (error != 0) {
        return tr("Could not reach the server %1: %2.").arg(serverName_, QString::fromLocal8Bit(std::strerror(error)));
    }
    if (lastLibraryError_.contains(QStringLiteral("TLS"), Qt::CaseInsensitive)) {
        return tr("No secure connection with %1 (%2): the login was refused.").arg(serverName_, lastLibraryError_);
    }
    return tr("The server %1 ended the login. %2").arg(serverName_, lastLibraryError_);
}

QString XmppLink::dropReason(int error, const xmpp_stream_error_t* streamError) const {
    if (streamError != nullptr) {
        return streamErrorText(streamError);
    }
    if (error != 0) {
        return tr("The connection to %1 was lost: %2.").arg(serverName_, QString::fromLocal8Bit(std::strerror(error)));
    }
    return tr("The server %1 closed the connection.").arg(serverName_);
}

void XmppLink::watchSocket(int socket) {
    forgetSocket();
    readable_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
    writable_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Write);
    connect(readable_.get(), &QSocketNotifier::activated, this, &XmppLink::pump);
    connect(writable_.get(), &QSocketNotifier::activated, this, &XmppLink::pump);
}

// The notifiers may be the ones whose signal is being handled: let Qt
// delete them once that is over.
void XmppLink::forgetSocket() {
    for (auto* notifier : {&readable_, &writable_}) {
        if (*notifier) {
            (*notifier)->setEnabled(false);
            notifier->release()->deleteLater();
        }
    }
}

void XmppLink::schedulePump() {
    QMetaObject::invokeMethod(this, &XmppLink::pump, Qt::QueuedConnection);
}

void XmppLink::pump() {
    if (inTurn_) {
        return;
    }
    inTurn_ = true;
    for (int turn = 0; turn < kTurnsPerWakeUp; ++turn) {
        xmpp_run_once(context_, 0);
    }
    inTurn_ = false;
    if (writable_) {
        // Wanted while connecting and while anything waits to go out.
        writable_->setEnabled(connection_ != nullptr
                              && (xmpp_conn_is_connecting(connection_) || xmpp_conn_send_queue_len(connection_) > 0));
    }
    runLaterTasks();
}

// In order, also when a task's slot opens a nested event loop that pumps:
// the nested call only adds to the queue.
void XmppLink::runLaterTasks() {
    if (runningLaterTasks_) {
        return;
    }
    runningLaterTasks_ = true;
    const QPointer<XmppLink> alive(this);
    while (!laterTasks_.empty()) {
        auto task = std::move(laterTasks_.front());
        laterTasks_.pop_front();
        task();
        if (!alive) {
            return;
        }
    }
    runningLaterTasks_ = false;
}

} // namespace palisade::net
