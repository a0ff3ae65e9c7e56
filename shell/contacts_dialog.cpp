#include "shell/contacts_dialog.h"

#include "network/xmpp_account.h"
#include "shell/labels.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace palisade {

ContactsDialog::ContactsDialog(net::XmppAccount& account, QWidget* parent)
    : QDialog(parent), account_(account)
{
    setObjectName("contactsDialog");
    setWindowTitle("Contacts");
    auto* column = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName("contactList");
    column->addWidget(list_, 1);
    auto* addRow = new QHBoxLayout;
    newContact_ = new QLineEdit(this);
    newContact_->setObjectName("newContact");
    newContact_->setPlaceholderText("friend@example.org");
    auto* add = new QPushButton("Add", this);
    add->setObjectName("addContact");
    addRow->addWidget(newContact_, 1);
    addRow->addWidget(add);
    column->addLayout(addRow);
    note_ = makeLabel(QString(), "contactsNote", this);
    note_->setWordWrap(true);
    column->addWidget(note_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    connect(add, &QPushButton::clicked, this, &ContactsDialog::addContact);
    connect(newContact_, &QLineEdit::returnPressed, this, &ContactsDialog::addContact);
    connect(&account_, &net::XmppAccount::contactsChanged, this, &ContactsDialog::showContacts);
    connect(&account_, &net::XmppAccount::presenceChanged, this, &ContactsDialog::showContacts);
    showContacts();
}

void ContactsDialog::showContacts()
{
    list_->clear();
    for (const QString& contact : account_.contacts())
        list_->addItem(contact + (account_.contactOnline(contact) ? "  (online)" : "  (offline)"));
    if (!account_.isOnline())
        note_->setText("Log in (Account...) to see who is online and to add contacts.");
}

void ContactsDialog::addContact()
{
    const QString address = newContact_->text().trimmed();
    if (!address.contains('@') || address.contains(' ')) {
        note_->setText("Type the contact's address as name@server.");
        return;
    }
    if (!account_.isOnline()) {
        note_->setText("Log in first (Account...).");
        return;
    }
    account_.addContact(address);
    newContact_->clear();
    note_->setText("Asked " + address + "; they show here once they agree.");
}

} // namespace palisade
