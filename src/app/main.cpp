#include "App.h"
#include "shell/Globals.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (!Globals::Main()) return 1;
    App program;
    program.start();
    return app.exec();
}
