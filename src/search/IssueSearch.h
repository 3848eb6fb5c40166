#pragma once
// The journal-issue search without its window: the checks of its boxes, the
// condition and the page query it hands to the result grid, and the titles
// of its export and print.

#include "SearchChecks.h"

#include <QString>
#include <QStringList>

namespace issuesearch {

inline const QString kTitle = QStringLiteral("Pesquisa por Revista");

inline const QString kIssueRequired = QStringLiteral("Número da Revista é obrigatório !");
inline const QString kIssueNotNumeric = QStringLiteral("Número da Revista tem que ser numérico !");
inline const QString kDespRepeated = QStringLiteral("Despacho já selecionado !");
inline const QString kAttorneyPartialLength =
    QStringLiteral("Para pesquisas não exatas, é necessário um mínimo de 4 caracteres para o Nome do Procurador !");

// Every entry of the issue, one row per RevProcs row; ends with "where ".
extern const QString kSelectList;
inline const QString kOrderBy = QStringLiteral(" ORDER BY rp.codigo");

// What the boxes and options hold.
struct Criteria {
    QString numRevista;
    QStringList desp = QStringList(3);  // boxes 1 to 3, in order
    QStringList ncl = QStringList(3);   // boxes 1 to 3, in order
    bool afinidade = false;
    QString numCnpj;
    bool cnpjExact = true;  // OptCNPJ(0) "Exato"; false for (1) "Parcial"
    QString nomeProcurador;
    bool attorneyExact = true;  // OptLocation(0) "Exato"; false for (1) "Parcial"
};

// The control a refusal sends the focus to.
enum class Box { None, NumRevista, Desp, NCL, NumCNPJ, NomeProcurador };

// index: 1 to 3 for Desp and NCL.
using Refusal = searchchecks::ScreenRefusal<Box>;

// The checks of one box as the focus leaves it (index 1 to 3).
// The issue must be numeric and round to a 32-bit whole number.
Refusal CheckNumRevista(const Criteria& c);
// The code is compared as it stands (the screen upper-cases it first);
// codes of digits only by their number ("003" is "3").
Refusal CheckDesp(const Criteria& c, int index);
// Numeric, rounding to a class above 0, not repeated in another box.
Refusal CheckNcl(const Criteria& c, int index);
Refusal CheckNumCnpj(const Criteria& c);
// The box checks in screen order: issue, codes, classes, tax id.
Refusal CheckBoxes(const Criteria& c);

// A search that passed every check.
struct Search {
    QString whereClause;
    QString despText;  // the codes used, joined with "/"
    QString nclText;   // the classes used, joined with "/"
};

struct Outcome {
    Refusal refusal;
    Search search;
};

// Everything Pesquisar does before the first page: the issue (required),
// the box checks again, then codes, classes, tax id and attorney, in that
// order.
Outcome BuildSearch(const Criteria& c);

// Titles of the export and of the print, from the boxes as they are now and
// the codes and classes of the last search. The print title has a second
// line when an attorney is given.
QString ExportTitle(const Criteria& c, const QString& despText, const QString& nclText);
QString PrintTitle(const Criteria& c, const QString& despText, const QString& nclText);

}  // namespace issuesearch
