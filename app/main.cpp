#include "render/pictures.h"
#include "shell/forms.h"
#include "shell/start_screen.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("palisade-brindle");
    QApplication::setApplicationDisplayName("Palisade Brindle");
    QApplication::setApplicationVersion("2.0");
    // Desktops match the window to its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName("palisade-brindle");
    QApplication::setWindowIcon(palisade::applicationIcon());

    palisade::Forms forms;
    forms.showStartScreen();
    // A saved game named on the command line opens at once, as a double click
    // on it in a file manager expects.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) forms.openSavedGame(arguments.at(1));
    return app.exec();
}
