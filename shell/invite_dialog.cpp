#include "shell/invite_dialog.h"

#include "shell/labels.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

namespace palisade {

InviteDialog::InviteDialog(const QStringList& contacts, QWidget* parent) : QDialog(parent)
{
    setObjectName("inviteDialog");
    setWindowTitle("Invite");
    auto* form = new QFormLayout(this);
    contact_ = makeChoice(contacts, "inviteContact", this);
    side_ = makeChoice({"White", "Black"}, "inviteSide", this);
    winOption_ = makeChoice({"Standard", "Destroy Both Kings!"}, "inviteWinOption", this);
    start_ = makeChoice({"The standard position", "The game on the board", "A saved game..."}, "inviteStart",
                        this);
    connect(start_, &QComboBox::currentIndexChanged, this,
            [this](int index) { winOption_->setEnabled(index == 0); });
    form->addRow("Contact", contact_);
    form->addRow("You play", side_);
    form->addRow("Win option", winOption_);
    form->addRow("Start from", start_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* send = buttons->addButton("Invite", QDialogButtonBox::AcceptRole);
    send->setObjectName("sendInvite");
    send->setEnabled(!contacts.isEmpty());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QString InviteDialog::contact() const { return contact_->currentText(); }

remote::Invite InviteDialog::invite() const
{
    return {side_->currentIndex() == 0 ? Side::White : Side::Black, winOption_->currentIndex(), {}};
}

bool InviteDialog::fromBoard() const { return start_->currentIndex() == 1; }

bool InviteDialog::fromSavedGame() const { return start_->currentIndex() == 2; }

QString invitationText(const QString& from, const remote::Invite& invite)
{
    const QString side = invite.inviterSide == Side::White ? "Black" : "White";
    const QString option = invite.winOption == 0 ? "Standard" : "Destroy Both Kings!";
    const QString start = invite.savedGame.empty() ? "the standard position" : "a game they bring";
    return from + " invites you to a game: you play " + side + ", win option " + option + ", from "
           + start + ". Play?";
}

} // namespace palisade
