#pragma once

#include <QToolBar>

#include <functional>

class QLabel;
class QPushButton;

namespace palisade {

// A question from the opponent shown in a strip above the board: the board
// stays free to look at and click while it waits for Accept or Decline.
class OfferBar : public QToolBar {
    Q_OBJECT
public:
    explicit OfferBar(QWidget* parent = nullptr);

    // Shows `text`; `answer` gets true for Accept, false for Decline. Without
    // an answer the strip only tells (our own offer waiting for theirs).
    void showOffer(const QString& text, std::function<void(bool)> answer);
    void showNotice(const QString& text);
    void clear();
    QString text() const;

private:
    void answered(bool accept);

    QLabel* text_ = nullptr;
    QPushButton* accept_ = nullptr;
    QPushButton* decline_ = nullptr;
    std::function<void(bool)> answer_;
};

} // namespace palisade
