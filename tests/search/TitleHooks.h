#pragma once
// Catches what a search screen hands to the export and the print, and
// keeps the search menu from opening, for one test.

#include "search/ResultGrid.h"
#include "shell/Ui.h"

#include <QStringList>

struct TitleHooks {
    QStringList exportTitles, printTitles;
    int printOrientation = 0;
    int menus = 0;
    decltype(SearchHooks::exportToExcel) savedExport = SearchHooks::exportToExcel;
    decltype(SearchHooks::showReport) savedReport = SearchHooks::showReport;
    decltype(SearchHooks::showSearchMenu) savedMenu = SearchHooks::showSearchMenu;
    TitleHooks()
    {
        SearchHooks::exportToExcel = [this](const QString& title, Recordset&) {
            exportTitles << title;
            ui().setPointer(vb::Default);
        };
        SearchHooks::showReport = [this](DataControl&, const QString& title, int orientation) {
            printTitles << title;
            printOrientation = orientation;
        };
        SearchHooks::showSearchMenu = [this] { ++menus; };
    }
    ~TitleHooks()
    {
        SearchHooks::exportToExcel = savedExport;
        SearchHooks::showReport = savedReport;
        SearchHooks::showSearchMenu = savedMenu;
    }
};
