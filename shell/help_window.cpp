#include "shell/help_window.h"

#include "render/tutorial_pictures.h"
#include "shell/escape_key.h"

#include <QFile>
#include <QKeyEvent>
#include <QTextDocument>
#include <QUrl>
#include <array>

namespace palisade {

namespace {

using tutorial_pictures::Picture;

struct PagePicture {
    const char* name;
    Picture picture;
    int height; // as shown on the page
};

// The pictures the page asks for as "pictures/NAME.png".
constexpr std::array<PagePicture, 9> kPagePictures = {{
    {"start", Picture::StartPosition, 420},
    {"pawn", Picture::Pawn, 340},
    {"rook", Picture::Rook, 340},
    {"bishop", Picture::Bishop, 340},
    {"knight", Picture::Knight, 340},
    {"kingside", Picture::KingsideCastle, 340},
    {"kingside-castled", Picture::KingsideCastled, 340},
    {"queenside", Picture::QueensideCastle, 340},
    {"queenside-castled", Picture::QueensideCastled, 340},
}};

QString rulesPage()
{
    QFile file(":/help/rules.html");
    if (!file.open(QIODevice::ReadOnly)) return "<p>The rules page is missing from this build.</p>";
    return QString::fromUtf8(file.readAll());
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent)
{
    setObjectName("help");
    setWindowTitle("Palisade Brindle - Complete Rules");
    setOpenLinks(true);
    setOpenExternalLinks(false);
    document()->setDocumentMargin(18);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, QColor(0xfb, 0xf6, 0xea));
    setPalette(colours);
    setHtml(rulesPage());
    resize(820, 680);
}

QVariant HelpWindow::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::ImageResource) {
        for (const PagePicture& page : kPagePictures) {
            if (name.path() != QString("pictures/%1.png").arg(page.name)) continue;
            const QSizeF natural = tutorial_pictures::naturalSize(page.picture);
            const QSize size(qRound(natural.width() * page.height / natural.height()), page.height);
            return tutorial_pictures::pixmap(page.picture, size, devicePixelRatioF());
        }
    }
    return QTextBrowser::loadResource(type, name);
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (!hideOnEscape(*this, *event)) QTextBrowser::keyPressEvent(event);
}

} // namespace palisade
