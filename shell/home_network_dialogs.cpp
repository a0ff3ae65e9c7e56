#include "shell/home_network_dialogs.h"

#include "network/direct_link.h"
#include "network/join_code.h"
#include "shell/labels.h"
#include "shell/remote_settings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace palisade {

namespace {

// The code is read out across a room: large, and in a typeface where no two
// characters look alike.
QFont codeFont(const QFont& base)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(base.pointSizeF() * 2.6);
    font.setBold(true);
    return font;
}

// "HOST" or "HOST:PORT"; an address with colons of its own (IPv6) may be put in brackets.
std::optional<std::pair<QString, quint16>> splitAddress(QString text)
{
    text = text.trimmed();
    if (text.isEmpty()) return std::nullopt;
    quint16 port = net::DirectLink::kDefaultPort;
    const int colon = text.lastIndexOf(':');
    const bool bracketed = text.startsWith('[');
    if (colon > 0 && (bracketed ? text.at(colon - 1) == ']' : text.count(':') == 1)) {
        bool ok = false;
        const uint number = text.mid(colon + 1).toUInt(&ok);
        if (!ok || number == 0 || number > 65535) return std::nullopt;
        port = quint16(number);
        text = text.left(colon);
    }
    if (bracketed) text = text.mid(1, text.size() - 2);
    if (text.isEmpty()) return std::nullopt;
    return std::pair{text, port};
}

} // namespace

HostDialog::HostDialog(QWidget* parent)
    : QDialog(parent),
      port_(quint16(RemoteSettings().value("homeNetwork/port", net::DirectLink::kDefaultPort).toUInt()))
{
    setObjectName("hostDialog");
    setWindowTitle("Host on Home Network");
    pages_ = new QStackedWidget(this);
    pages_->addWidget(buildChoices());
    pages_->addWidget(buildWaiting());
    auto* column = new QVBoxLayout(this);
    column->addWidget(pages_);
}

HostDialog::~HostDialog() = default;

QWidget* HostDialog::buildChoices()
{
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    side_ = makeChoice({"White", "Black"}, "hostSide", page);
    winOption_ = makeChoice({"Standard", "Destroy Both Kings!"}, "hostWinOption", page);
    start_ = makeChoice({"The standard position", "The game on the board"}, "hostStart", page);
    form->addRow("You play", side_);
    form->addRow("Win option", winOption_);
    form->addRow("Start from", start_);
    // A game on the board brings its own win option.
    connect(start_, &QComboBox::currentIndexChanged, this,
            [this](int index) { winOption_->setEnabled(index == 0); });
    problem_ = makeLabel(QString(), "hostProblem", page);
    problem_->setWordWrap(true);
    form->addRow(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, page);
    QPushButton* host = buttons->addButton("Host", QDialogButtonBox::AcceptRole);
    host->setObjectName("startHosting");
    connect(buttons, &QDialogButtonBox::accepted, this, &HostDialog::startHosting);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    return page;
}

QWidget* HostDialog::buildWaiting()
{
    auto* page = new QWidget(this);
    auto* column = new QVBoxLayout(page);
    column->addWidget(makeLabel(
        "Tell your opponent this computer's address and the join code:", "hostTell", page));
    addresses_ = makeLabel(QString(), "hostAddresses", page);
    addresses_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(addresses_);
    code_ = makeLabel(QString(), "joinCode", page);
    code_->setFont(codeFont(font()));
    code_->setAlignment(Qt::AlignCenter);
    code_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(code_);
    column->addWidget(makeLabel("Waiting for your opponent to join...", "hostWaiting", page));
    turnedAway_ = makeLabel(QString(), "hostTurnedAway", page);
    turnedAway_->setWordWrap(true);
    column->addWidget(turnedAway_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, page);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    return page;
}

void HostDialog::startHosting()
{
    const net::JoinCode code = net::JoinCode::generate();
    link_ = std::make_unique<net::DirectLink>();
    // Another program may hold the usual port: any free one does, shown with the address.
    if (!link_->host(port_, code) && (port_ == 0 || !link_->host(0, code))) {
        problem_->setText("This computer cannot take a connection: " + link_->errorString());
        link_.reset();
        return;
    }
    const quint16 port = link_->port();
    QStringList lines;
    for (const QString& address : net::DirectLink::localAddresses())
        lines << (port == net::DirectLink::kDefaultPort ? address : address + ":" + QString::number(port));
    if (lines.isEmpty()) lines << "This computer has no address on a home network.";
    addresses_->setText(lines.join('\n'));
    code_->setText(code.text());
    connect(link_.get(), &net::DirectLink::connected, this, &QDialog::accept);
    // A wrong code is turned away and the host goes on waiting; the player sees why.
    connect(link_.get(), &net::DirectLink::refused, turnedAway_, &QLabel::setText);
    pages_->setCurrentIndex(1);
}

void HostDialog::hostStoredGame()
{
    setWindowTitle("Host on Home Network: a game to go on with");
    startHosting();
}

HostedGame HostDialog::hostedGame() const
{
    return {side_->currentIndex() == 0 ? Side::White : Side::Black, winOption_->currentIndex(),
            start_->currentIndex() == 1};
}

std::unique_ptr<net::DirectLink> HostDialog::takeLink()
{
    if (link_) link_->disconnect(this);
    return std::move(link_);
}

QString HostDialog::codeText() const { return code_->text(); }

quint16 HostDialog::listeningPort() const { return link_ ? link_->port() : 0; }

JoinDialog::JoinDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("joinDialog");
    setWindowTitle("Join on Home Network");
    auto* form = new QFormLayout(this);
    address_ = new QLineEdit(this);
    address_->setObjectName("joinAddress");
    address_->setPlaceholderText("e.g. 192.168.1.20");
    code_ = new QLineEdit(this);
    code_->setObjectName("joinCodeEntry");
    code_->setFont(codeFont(font()));
    form->addRow("Host's address", address_);
    form->addRow("Join code", code_);
    status_ = makeLabel(QString(), "joinStatus", this);
    status_->setWordWrap(true);
    form->addRow(status_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    join_ = buttons->addButton("Join", QDialogButtonBox::AcceptRole);
    join_->setObjectName("startJoining");
    connect(buttons, &QDialogButtonBox::accepted, this, &JoinDialog::startJoining);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

JoinDialog::~JoinDialog() = default;

void JoinDialog::startJoining()
{
    const auto address = splitAddress(address_->text());
    if (!address) {
        status_->setText(
            "Type the address the host shows, e.g. 192.168.1.20 or 192.168.1.20:47532.");
        return;
    }
    const auto code = net::JoinCode::parse(code_->text());
    if (!code) {
        status_->setText("That is not a join code: type the groups the host shows.");
        return;
    }
    link_ = std::make_unique<net::DirectLink>();
    connect(link_.get(), &net::DirectLink::connected, this, &QDialog::accept);
    connect(link_.get(), &net::DirectLink::refused, this, &JoinDialog::failed);
    connect(link_.get(), &net::DirectLink::disconnected, this, &JoinDialog::failed);
    status_->setText("Connecting to " + address->first + "...");
    join_->setEnabled(false);
    link_->join(address->first, address->second, *code);
}

// The link that failed goes once its signal has returned; the player may try
// again. The first reason is the one that tells: a refused code closes the
// connection too.
void JoinDialog::failed(const QString& reason)
{
    if (!link_) return;
    status_->setText(reason);
    join_->setEnabled(true);
    link_.release()->deleteLater();
}

std::unique_ptr<net::DirectLink> JoinDialog::takeLink()
{
    if (link_) link_->disconnect(this);
    return std::move(link_);
}

QString JoinDialog::hostText() const
{
    const auto address = splitAddress(address_->text());
    return address ? address->first : address_->text().trimmed();
}

} // namespace palisade
