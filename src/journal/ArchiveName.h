#pragma once
// Check of a journal archive's name. Three forms are accepted, letter case
// aside: RMPDFnnnn.zip, RMTXTPDFnnnn.zip and RMnnnn.zip, nnnn being the
// four-digit issue number. The form is chosen from the whole upper-cased
// path (folders included); the name is then checked at the end of the path.

#include <QString>

struct ArchiveNameCheck {
    bool ok = false;
    QString message;  // the error text when !ok
    QString digits;   // the four digits of the issue when ok
};

// Title of the messages of the name check.
inline const QString kArchiveNameTitle = QStringLiteral("Leitura de Revista INPI");

ArchiveNameCheck CheckArchiveName(const QString& path);
