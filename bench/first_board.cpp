// Starts as the game does, enters the game room and quits as soon as the board
// has been drawn once.

#include "render/board_view.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace {

class QuitAfterPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) QTimer::singleShot(0, qApp, &QApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    palisade::Forms forms;
    forms.showStartScreen();
    forms.showGameRoom();
    QuitAfterPaint quitAfterPaint;
    forms.gameRoom()->boardView().installEventFilter(&quitAfterPaint);
    return app.exec();
}
