#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace palisade {

namespace net {
class XmppAccount;
}

// The XMPP account: its address and password, logging in and out, and how it
// stands. The password goes to the desktop's keyring when the player wants
// and a keyring answers; otherwise it is asked each time.
class AccountDialog : public QDialog {
    Q_OBJECT
public:
    AccountDialog(net::XmppAccount& account, QWidget* parent = nullptr);

private:
    void logIn();
    void showState(const QString& problem = {});

    net::XmppAccount& account_;
    QLineEdit* address_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* remember_ = nullptr;
    QLabel* keyringNote_ = nullptr;
    QLabel* state_ = nullptr;
    QPushButton* logIn_ = nullptr;
    QPushButton* logOut_ = nullptr;
};

// The settings the account logs in with; the address is remembered between
// runs, the password never in a file.
struct AccountPlace {
    QString address;
    QString host;     // empty: found from the address
    quint16 port = 0; // 0: the standard one
};
AccountPlace loadAccountPlace();
void saveAccountPlace(const AccountPlace& place);
// The certificates to trust: the system's, unless a test names its own.
QString trustedCertificates();

} // namespace palisade
