#pragma once
// Qt's own texts (standard buttons, input and file dialogs, print preview)
// and the locale of every widget in Brazilian Portuguese, whatever the
// machine's language settings say.

#include <QString>

// Loads qtbase_pt_BR and, when present, qt_pt_BR from a folder (by default
// Qt's translations folder) into the application. Returns how many were
// loaded; with none, Qt's texts stay in English and the program goes on.
int LoadQtTranslations(const QString& folder = QString());

// Makes Brazilian Portuguese the locale of every widget created afterwards:
// month and day names of the date boxes' calendars, and how they read dates.
void UseBrazilianLocale();
