#include "App.h"
#include "Translations.h"
#include "shell/Db.h"
#include "shell/Globals.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    UseBrazilianLocale();
    LoadQtTranslations();
    if (!Globals::Main()) return 1;
    int rc = 0;
    {
        App program;
        program.start();
        rc = app.exec();
    }
    // "Encerrar Programa" leaves the loop without closing the main window;
    // the connection is closed here, while the application still exists.
    DbConnection::instance().close();
    return rc;
}
