#pragma once
// The mark search without its window: the checks of its boxes, the
// condition it hands to the result grid and the title of its export and
// print.

#include "Conditions.h"
#include "SearchChecks.h"

#include <QString>
#include <QStringList>

namespace marksearch {

// Keys a mark is compared by (OPtFonetica) and match positions (OptLocation).
enum Key { Normal = 0, Limpa = 1, Fonetica1 = 2, Fonetica2 = 3 };
using conditions::Location;
using enum conditions::Location;

inline const QString kTitle = QStringLiteral("Pesquisa por Marca");

inline const QString kMarkRequired = QStringLiteral("Nome da Marca é obrigatório !");
inline const QString kRpiNotNumeric = QStringLiteral("RPI tem que ser numérico !");

// What the boxes and options hold.
struct Criteria {
    QString nomeMarca;
    int key = Normal;
    int location = Exata;
    QStringList ncl = QStringList(5);  // boxes 1 to 5, in order
    bool afinidade = false;
    QString numCnpj;
    bool cnpjExact = true;  // OptCNPJ(0) "Exato"; false for (1) "Parcial"
    QString rpi;
};

// The control a refusal sends the focus to.
enum class Box { None, NomeMarca, NCL, NumCNPJ, RPI };

// index: 1 to 5 when box is NCL.
using Refusal = searchchecks::ScreenRefusal<Box>;

// The check of one box as the focus leaves it (index 1 to 5 for NCL).
Refusal CheckNcl(const Criteria& c, int index);
Refusal CheckNumCnpj(const Criteria& c);
// Numeric, and a whole number that fits 32 bits (so "9e99" is refused too).
Refusal CheckRpi(const Criteria& c);
// The box checks in screen order: classes 1 to 5, tax id, issue.
Refusal CheckBoxes(const Criteria& c);

// The four keys of a mark: M (trimmed, upper case) and the three stored keys.
struct MarkKeys {
    QString normal, limpa, fonetica1, fonetica2;
};
MarkKeys ComputeKeys(const QString& nomeMarca);

// A search that passed every check.
struct Search {
    QString whereClause;
    QString nclText;  // the classes used, joined with "/"
    bool issueJoin = false;  // the condition filters on rp (RevProcs)
};

struct Outcome {
    Refusal refusal;
    Search search;
};

// Everything Pesquisar does before the first page: the box checks again,
// the mark, the keys, classes, tax id and issue, in that order; the
// condition in the order mark, classes, tax id, issue.
Outcome BuildSearch(const Criteria& c);

// Title of the export and of the print, from the boxes as they are now and
// the classes of the last search.
QString ExportTitle(const Criteria& c, const QString& nclText);

}  // namespace marksearch
