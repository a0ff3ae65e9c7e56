#include "shell/remote_games_dialog.h"

#include "shell/labels.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace palisade {

RemoteGamesDialog::RemoteGamesDialog(std::vector<remote::StoredGameSummary> games, QWidget* parent)
    : QDialog(parent), games_(std::move(games))
{
    setObjectName("remoteGamesDialog");
    setWindowTitle("Remote Games");
    auto* column = new QVBoxLayout(this);
    list_ = new QTreeWidget(this);
    list_->setObjectName("remoteGamesList");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({"Opponent", "You play", "Turn", "Played over"});
    for (const auto& game : games_) {
        auto* row = new QTreeWidgetItem(list_);
        row->setText(0, QString::fromStdString(game.opponent));
        row->setText(1, game.localSide == Side::White ? "White" : "Black");
        row->setText(2, QString::fromStdString(game.turnText));
        row->setText(3, game.carrier == remote::Carrier::Xmpp ? "XMPP" : "Home network");
        QFont font = row->font(2);
        font.setBold(game.localToMove);
        row->setFont(2, font);
    }
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    column->addWidget(list_, 1);
    if (games_.empty())
        column->addWidget(
            makeLabel("No remote games yet: invite a contact or host one.", "noRemoteGames", this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    open_ = buttons->addButton("Open", QDialogButtonBox::AcceptRole);
    open_->setObjectName("openRemoteGame");
    open_->setEnabled(false);
    connect(list_, &QTreeWidget::currentItemChanged, this,
            [this] { open_->setEnabled(list_->currentItem() != nullptr); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    resize(520, 320);
}

const remote::StoredGameSummary& RemoteGamesDialog::chosen() const
{
    return games_.at(std::size_t(list_->indexOfTopLevelItem(list_->currentItem())));
}

} // namespace palisade
