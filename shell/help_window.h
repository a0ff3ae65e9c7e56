#pragma once

#include <QTextBrowser>

namespace palisade {

// The complete rules, a page of headings and anchors with pictures drawn by
// the program itself. Esc hides it.
class HelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    QVariant loadResource(int type, const QUrl& name) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace palisade
