#include "shell/account_dialog.h"

#include "network/xmpp_account.h"
#include "shell/labels.h"
#include "shell/password_keeper.h"
#include "shell/remote_settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace palisade {

AccountPlace loadAccountPlace()
{
    RemoteSettings settings;
    settings.beginGroup("account");
    return {settings.value("address").toString(), settings.value("host").toString(),
            quint16(settings.value("port", 0).toUInt())};
}

void saveAccountPlace(const AccountPlace& place)
{
    RemoteSettings settings;
    settings.beginGroup("account");
    settings.setValue("address", place.address);
    settings.setValue("host", place.host);
    settings.setValue("port", place.port);
}

// Tests run their own server with a certificate made for it; players trust
// the system's certificates and nothing else.
QString trustedCertificates() { return qEnvironmentVariable("PALISADE_TEST_CA_FILE"); }

AccountDialog::AccountDialog(net::XmppAccount& account, QWidget* parent)
    : QDialog(parent), account_(account)
{
    setObjectName("accountDialog");
    setWindowTitle("Account");
    auto* form = new QFormLayout(this);
    form->addRow(
        makeLabel("Play over any XMPP server with your account there (e.g. you@example.org).",
                  "accountHelp", this));
    const AccountPlace place = loadAccountPlace();
    address_ = new QLineEdit(place.address, this);
    address_->setObjectName("accountAddress");
    password_ = new QLineEdit(this);
    password_->setObjectName("accountPassword");
    password_->setEchoMode(QLineEdit::Password);
    form->addRow("Address", address_);
    form->addRow("Password", password_);
    remember_ = new QCheckBox("Keep the password in the desktop's keyring", this);
    remember_->setObjectName("rememberPassword");
    form->addRow(remember_);
    keyringNote_ = makeLabel(
        "Without a keyring on this desktop the password is never stored: you type it each time.",
        "keyringNote", this);
    keyringNote_->setWordWrap(true);
    form->addRow(keyringNote_);
    if (!place.address.isEmpty()) {
        PasswordKeeper::read(place.address, this, [this](std::optional<QString> kept) {
            if (!kept || !password_->text().isEmpty()) return;
            password_->setText(*kept);
            remember_->setChecked(true);
        });
    }
    state_ = makeLabel(QString(), "accountState", this);
    state_->setWordWrap(true);
    form->addRow(state_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    logIn_ = buttons->addButton("Log In", QDialogButtonBox::ActionRole);
    logIn_->setObjectName("logIn");
    logOut_ = buttons->addButton("Log Out", QDialogButtonBox::ActionRole);
    logOut_->setObjectName("logOut");
    connect(logIn_, &QPushButton::clicked, this, &AccountDialog::logIn);
    connect(logOut_, &QPushButton::clicked, &account_, &net::XmppAccount::logOut);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    connect(&account_, &net::XmppAccount::online, this, [this] { showState(); });
    connect(&account_, &net::XmppAccount::offline, this,
            [this](const QString& reason) { showState(reason); });
    connect(&account_, &net::XmppAccount::loginFailed, this,
            [this](const QString& reason) { showState("Could not log in: " + reason); });
    showState();
}

void AccountDialog::logIn()
{
    const QString address = address_->text().trimmed();
    if (!address.contains('@')) {
        showState("Type your address as name@server, e.g. you@example.org.");
        return;
    }
    AccountPlace place = loadAccountPlace();
    place.address = address;
    saveAccountPlace(place);
    if (!remember_->isChecked()) {
        PasswordKeeper::forget(address);
    } else {
        PasswordKeeper::write(address, password_->text(), this, [this](bool kept) {
            if (kept) return;
            keyringNote_->setText(
                "No keyring answers on this desktop: the password is not kept, and you type it "
                "each time.");
            remember_->setChecked(false);
        });
    }
    account_.logIn({address, password_->text(), trustedCertificates(), place.host, place.port});
    state_->setText("Logging in...");
    logIn_->setEnabled(false);
}

void AccountDialog::showState(const QString& problem)
{
    const bool online = account_.isOnline();
    logIn_->setEnabled(!online);
    logOut_->setEnabled(online);
    if (online) {
        state_->setText("Online as " + account_.address());
    } else {
        state_->setText(problem.isEmpty() ? QString("Offline") : problem);
    }
}

} // namespace palisade
