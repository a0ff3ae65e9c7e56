#pragma once

#include "engine/piece.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace palisade {

namespace net {
class DirectLink;
}

// What the host chose for the game.
struct HostedGame {
    Side hostSide = Side::White;
    int winOption = 0;
    bool fromBoard = false; // the game on the board, else the standard position
};

// "Host on Home Network": the game's colours, win option and start; then
// this computer's addresses and the join code in large type, until a player
// joins with that code.
class HostDialog : public QDialog {
    Q_OBJECT
public:
    explicit HostDialog(QWidget* parent = nullptr);
    ~HostDialog() override;

    // A stored game goes on: there is nothing to choose, so hosting starts at once.
    void hostStoredGame();
    HostedGame hostedGame() const;
    // The connection to the player who joined, once the dialog is accepted.
    std::unique_ptr<net::DirectLink> takeLink();
    // The code as shown, once hosting.
    QString codeText() const;
    quint16 listeningPort() const;

private:
    QWidget* buildChoices();
    QWidget* buildWaiting();
    void startHosting();

    quint16 port_;
    QStackedWidget* pages_ = nullptr;
    QComboBox* side_ = nullptr;
    QComboBox* winOption_ = nullptr;
    QComboBox* start_ = nullptr;
    QLabel* problem_ = nullptr;
    QLabel* addresses_ = nullptr;
    QLabel* code_ = nullptr;
    QLabel* turnedAway_ = nullptr;
    std::unique_ptr<net::DirectLink> link_;
};

// "Join on Home Network": the host's address and the join code it shows.
class JoinDialog : public QDialog {
    Q_OBJECT
public:
    explicit JoinDialog(QWidget* parent = nullptr);
    ~JoinDialog() override;

    std::unique_ptr<net::DirectLink> takeLink();
    // The host as typed, to name the opponent by.
    QString hostText() const;

private:
    void startJoining();
    void failed(const QString& reason);

    QLineEdit* address_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* join_ = nullptr;
    std::unique_ptr<net::DirectLink> link_;
};

} // namespace palisade
