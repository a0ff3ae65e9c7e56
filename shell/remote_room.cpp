#include "shell/remote_room.h"

#include "gameroom/game_room.h"
#include "remote/remote_answers.h"
#include "render/board_view.h"
#include "shell/board_events.h"
#include "shell/labels.h"
#include "shell/offer_bar.h"
#include "shell/remote_carrier.h"

#include <QApplication>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QTimer>
#include <QVBoxLayout>

namespace palisade {

namespace {

// What the opponent has not acknowledged goes again this often.
constexpr int kResendIntervalMs = 3000;
constexpr int kChatLinesKept = 50;

bool startsAClick(const QEvent& event)
{
    return event.type() == QEvent::MouseButtonPress || event.type() == QEvent::KeyPress;
}

QString offerText(remote::OfferKind kind, const QString& opponent)
{
    switch (kind) {
    case remote::OfferKind::Draw: return opponent + " offers a draw.";
    case remote::OfferKind::TakeBack: return opponent + " asks to take back their last move.";
    case remote::OfferKind::NewGame: return opponent + " proposes a new game, colours swapped.";
    }
    return {};
}

QString ownOfferText(remote::OfferKind kind, const QString& opponent)
{
    switch (kind) {
    case remote::OfferKind::Draw: return "You offered a draw; waiting for " + opponent + ".";
    case remote::OfferKind::TakeBack:
        return "You asked to take back your move; waiting for " + opponent + ".";
    case remote::OfferKind::NewGame:
        return "You proposed a new game; waiting for " + opponent + ".";
    }
    return {};
}

} // namespace

RemoteRoom::RemoteRoom(const RemoteRoomParts& parts, remote::RemoteRecord record,
                       std::unique_ptr<RemoteCarrier> carrier)
    : parts_(parts), record_(std::move(record)), carrier_(std::move(carrier))
{
    game_ = std::make_unique<remote::RemoteGame>(parts_.room, parts_.answers,
                                                 static_cast<RemoteListener&>(*this), record_.setup,
                                                 record_.session);
    lastHalfMoveSeen_ = parts_.room.halfMoves();

    connect(carrier_.get(), &RemoteCarrier::up, this, [this] {
        game_->linkUp();
        showState();
    });
    connect(carrier_.get(), &RemoteCarrier::down, this, [this] {
        game_->linkDown();
        showState();
    });
    connect(carrier_.get(), &RemoteCarrier::received, this, [this](const std::string& message) {
        game_->received(message);
        showState();
    });
    resendTimer_ = new QTimer(this);
    resendTimer_->setInterval(kResendIntervalMs);
    connect(resendTimer_, &QTimer::timeout, this, [this] { game_->resendDue(); });
    resendTimer_->start();

    buildOfferStrip();
    buildPanel();
    parts_.board.installEventFilter(this);
    showState();
}

// The game stays stored as it is; only this window stops showing it.
RemoteRoom::~RemoteRoom()
{
    parts_.board.removeEventFilter(this);
    game_.reset();
    delete dock_;
    delete offerBar_;
}

void RemoteRoom::invite(const remote::Invite& invite)
{
    game_->sendInvite(invite);
    storeGame();
    resume();
}

void RemoteRoom::acceptInvitation(std::uint32_t sequence)
{
    game_->acceptInvite(sequence);
    storeGame();
    resume();
}

void RemoteRoom::resume()
{
    if (carrier_->isUp()) game_->linkUp();
    showState();
}

QString RemoteRoom::opponent() const { return QString::fromStdString(game_->setup().opponent); }

bool RemoteRoom::unfinished() const
{
    return sideToMove(parts_.room.position().status).has_value();
}

void RemoteRoom::localInput(const std::function<void()>& input)
{
    {
        remote::RemoteGame::LocalInput guard(*game_);
        input();
    }
    showState();
}

void RemoteRoom::requestTakeBack()
{
    game_->requestTakeBack();
    showState();
}

void RemoteRoom::offerDraw()
{
    game_->offerDraw();
    showState();
}

void RemoteRoom::proposeNewGame()
{
    game_->proposeNewGame();
    showState();
}

void RemoteRoom::resign()
{
    game_->resign();
    showState();
}

// The invitation fixed the win option for both sides.
void RemoteRoom::winOptionAsked() { parts_.message("Can't Change Now!"); }

void RemoteRoom::send(const std::string& message) { carrier_->send(message); }

void RemoteRoom::remoteChanged() { showState(); }

void RemoteRoom::agreedGameChanged()
{
    storeGame();
    const int halfMoves = parts_.room.halfMoves();
    if (halfMoves > lastHalfMoveSeen_ && game_->localTurn())
        tellInBackground(opponent() + " moved.");
    lastHalfMoveSeen_ = halfMoves;
    showState();
}

void RemoteRoom::chatArrived(std::string_view text)
{
    addChatLine(opponent() + ": " + QString::fromUtf8(text.data(), qsizetype(text.size())));
    tellInBackground(opponent() + " wrote to you.");
}

void RemoteRoom::refused(std::string_view reason)
{
    const QString text = "Refused from " + opponent() + ": "
                         + QString::fromUtf8(reason.data(), qsizetype(reason.size()));
    addChatLine(text);
    parts_.notice(text);
}

void RemoteRoom::resyncProposed()
{
    resyncShown_ = true;
    showOffers();
}

void RemoteRoom::newGameStarted()
{
    record_.setup = game_->setup();
    lastHalfMoveSeen_ = parts_.room.halfMoves();
    const QString side = game_->setup().localSide == Side::White ? "White" : "Black";
    addChatLine("A new game: you play " + side + ".");
    storeGame();
    showState();
}

void RemoteRoom::inviteAnswered(bool accepted)
{
    if (accepted) {
        addChatLine(opponent() + " accepted the game.");
        showState();
        return;
    }
    parts_.notice(opponent() + " declined the game.");
    emit gameOver();
}

// Clicks on the board reach the room only on the local player's turn, and
// then inside the session's guard, so that what they play is sent.
bool RemoteRoom::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &parts_.board || passingClick_ || !clicksTheBoard(*event))
        return QObject::eventFilter(watched, event);
    if (!game_->localTurn()) {
        const QString waiting = QString::fromStdString(game_->waitingText());
        if (startsAClick(*event) && !waiting.isEmpty()) parts_.notice(waiting);
        return true;
    }
    passingClick_ = true;
    localInput([&] { static_cast<QObject&>(parts_.board).event(event); });
    passingClick_ = false;
    return true;
}

void RemoteRoom::buildOfferStrip()
{
    offerBar_ = new OfferBar(&parts_.window);
    parts_.window.addToolBar(Qt::TopToolBarArea, offerBar_);
}

void RemoteRoom::buildPanel()
{
    dock_ = new QDockWidget("Remote Game", &parts_.window);
    dock_->setObjectName("remoteGame");
    dock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    auto* panel = new QWidget(dock_);
    auto* column = new QVBoxLayout(panel);
    opponentLabel_ = makeLabel(QString(), "remoteOpponent", panel);
    QFont bold = opponentLabel_->font();
    bold.setBold(true);
    opponentLabel_->setFont(bold);
    connectionLabel_ = makeLabel(QString(), "remoteConnection", panel);
    connectionLabel_->setWordWrap(true);
    turnLabel_ = makeLabel(QString(), "remoteTurn", panel);
    chatLines_ = new QListWidget(panel);
    chatLines_->setObjectName("chatLines");
    chatLines_->setFocusPolicy(Qt::NoFocus);
    chatLines_->setWordWrap(true);
    chatEntry_ = new QLineEdit(panel);
    chatEntry_->setObjectName("chatEntry");
    chatEntry_->setPlaceholderText("Say something to your opponent");
    chatEntry_->setMaxLength(int(remote::kMaxChatBytes));
    connect(chatEntry_, &QLineEdit::returnPressed, this, &RemoteRoom::sendChat);
    column->addWidget(opponentLabel_);
    column->addWidget(connectionLabel_);
    column->addWidget(turnLabel_);
    column->addWidget(chatLines_, 1);
    column->addWidget(chatEntry_);
    dock_->setWidget(panel);
    parts_.window.addDockWidget(Qt::RightDockWidgetArea, dock_);
}

void RemoteRoom::showState()
{
    const QString side = game_->setup().localSide == Side::White ? "White" : "Black";
    opponentLabel_->setText("Playing " + side + " against " + opponent());
    connectionLabel_->setText(carrier_->stateText());
    QString turn = QString::fromStdString(game_->waitingText());
    if (game_->opponentLeft())
        turn = opponent() + " left the game.";
    else if (!game_->started())
        turn = "Waiting for " + opponent() + " to accept the game";
    else if (turn.isEmpty() && game_->localTurn())
        turn = "Your move";
    turnLabel_->setText(turn);
    showOffers();
}

// The opponent's question first; our own waiting offer only tells.
void RemoteRoom::showOffers()
{
    if (resyncShown_ && game_->proposedGame()) {
        offerBar_->showOffer(opponent() + "'s game differs from this one. Take theirs?",
                             [this](bool accept) {
                                 resyncShown_ = false;
                                 accept ? game_->acceptResync() : game_->declineResync();
                                 showState();
                             });
        return;
    }
    if (const auto& offer = game_->opponentOffer()) {
        offerBar_->showOffer(offerText(offer->kind, opponent()), [this](bool accept) {
            game_->answerOffer(accept);
            showState();
        });
    } else if (const auto& own = game_->ownOffer()) {
        offerBar_->showNotice(ownOfferText(own->kind, opponent()));
    } else {
        offerBar_->clear();
    }
}

void RemoteRoom::addChatLine(const QString& line)
{
    chatLines_->addItem(line);
    while (chatLines_->count() > kChatLinesKept) delete chatLines_->takeItem(0);
    chatLines_->scrollToBottom();
}

void RemoteRoom::sendChat()
{
    const QString text = chatEntry_->text().trimmed();
    if (text.isEmpty()) return;
    QByteArray bytes = text.toUtf8();
    // Cut whole characters only, so the line stays valid text.
    for (QString shorter = text; bytes.size() > qsizetype(remote::kMaxChatBytes);
         bytes = shorter.toUtf8())
        shorter.chop(1);
    game_->sendChat(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    addChatLine("You: " + text);
    chatEntry_->clear();
}

void RemoteRoom::storeGame()
{
    record_.setup = game_->setup();
    record_.session = game_->state();
    if (const auto error = parts_.store.store(parts_.room.savedGame(), record_)) {
        parts_.notice("The remote game could not be stored: "
                      + QString::fromStdString(error->reason));
    }
}

// A player looking at another window learns that the game wants them.
void RemoteRoom::tellInBackground(const QString& what)
{
    if (parts_.window.isActiveWindow()) return;
    QApplication::alert(&parts_.window);
    parts_.notice(what);
}

} // namespace palisade
