#pragma once

#include "remote/remote_store.h"

#include <QDialog>

#include <string>
#include <vector>

class QTreeWidget;
class QPushButton;

namespace palisade {

// Every stored remote game with whose turn it is; Open takes one up again.
class RemoteGamesDialog : public QDialog {
    Q_OBJECT
public:
    RemoteGamesDialog(std::vector<remote::StoredGameSummary> games, QWidget* parent = nullptr);

    // The game chosen, once accepted.
    const remote::StoredGameSummary& chosen() const;

private:
    std::vector<remote::StoredGameSummary> games_;
    QTreeWidget* list_ = nullptr;
    QPushButton* open_ = nullptr;
};

} // namespace palisade
