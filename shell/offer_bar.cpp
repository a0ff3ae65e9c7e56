#include "shell/offer_bar.h"

#include "shell/labels.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>

namespace palisade {

OfferBar::OfferBar(QWidget* parent) : QToolBar("Offers", parent)
{
    setObjectName("offerBar");
    setMovable(false);
    setFloatable(false);
    auto* strip = new QFrame(this);
    strip->setObjectName("offerStrip");
    strip->setStyleSheet("#offerStrip { background: #fff4c2; border-radius: 3px; }");
    strip->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    text_ = makeLabel(QString(), "offerText", strip);
    text_->setWordWrap(true);
    accept_ = new QPushButton("Accept", strip);
    accept_->setObjectName("offerAccept");
    decline_ = new QPushButton("Decline", strip);
    decline_->setObjectName("offerDecline");
    // The board keeps the keyboard: an offer must never take a key meant for a move.
    accept_->setFocusPolicy(Qt::NoFocus);
    decline_->setFocusPolicy(Qt::NoFocus);
    auto* row = new QHBoxLayout(strip);
    row->addWidget(text_, 1);
    row->addWidget(accept_);
    row->addWidget(decline_);
    addWidget(strip);
    connect(accept_, &QPushButton::clicked, this, [this] { answered(true); });
    connect(decline_, &QPushButton::clicked, this, [this] { answered(false); });
    clear();
}

void OfferBar::showOffer(const QString& text, std::function<void(bool)> answer)
{
    text_->setText(text);
    answer_ = std::move(answer);
    accept_->setVisible(bool(answer_));
    decline_->setVisible(bool(answer_));
    show();
}

void OfferBar::showNotice(const QString& text) { showOffer(text, {}); }

void OfferBar::clear()
{
    answer_ = {};
    text_->clear();
    hide();
}

QString OfferBar::text() const { return text_->text(); }

// The answer may replace this very offer, so it runs from a copy.
void OfferBar::answered(bool accept)
{
    const auto answer = std::move(answer_);
    clear();
    if (answer) answer(accept);
}

} // namespace palisade
