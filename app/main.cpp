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
    QApplication::setWindowIcon(palisade::applicationIcon());

    palisade::Forms forms;
    forms.showStartScreen();
    return app.exec();
}
