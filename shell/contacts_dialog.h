#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;

namespace palisade {

namespace net {
class XmppAccount;
}

// The account's contacts with who is online, and adding one: the contact
// must agree before either sees the other.
class ContactsDialog : public QDialog {
    Q_OBJECT
public:
    ContactsDialog(net::XmppAccount& account, QWidget* parent = nullptr);

private:
    void showContacts();
    void addContact();

    net::XmppAccount& account_;
    QListWidget* list_ = nullptr;
    QLineEdit* newContact_ = nullptr;
    QLabel* note_ = nullptr;
};

} // namespace palisade
