#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int LoadQtTranslations(const QString& folder)
{
    const QString dir = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    int loaded = 0;
    for (const char* name : {"qtbase_pt_BR", "qt_pt_BR"}) {
        auto* t = new QTranslator(QCoreApplication::instance());
        if (t->load(QString::fromLatin1(name), dir) && QCoreApplication::installTranslator(t))
            ++loaded;
        else
            delete t;
    }
    return loaded;
}

void UseBrazilianLocale() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }
