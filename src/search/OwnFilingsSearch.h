#pragma once
// The own-filings search without its window: the processes whose attorney
// is the applicant itself (attorney key 1, "O PRÓPRIO"), narrowed by issue,
// dispatch codes and holder states. The checks of its boxes, the condition
// and select list it hands to the result grid, and its titles.

#include "SearchChecks.h"

#include <QString>
#include <QStringList>

namespace ownfilings {

// Titles of the first page's outcome messages, and of every other message.
inline const QString kOutcomeTitle = QStringLiteral("Pesquisa por Procurador 'O Próprio'");
inline const QString kTitle = QStringLiteral("Pesquisa por Procurador = 'O Próprio'");
inline const QString kHeading = QStringLiteral("Pesquisa por Procurador  \"O Próprio\"");

inline const QString kIssueNotNumeric = QStringLiteral("Número da Revista tem que ser numérico !");
inline const QString kDespRepeated = QStringLiteral("Despacho já selecionado !");
inline const QString kUfRepeated = QStringLiteral("Estado já selecionado !");
inline const QString kNoCriterion =
    QStringLiteral("Pelo menos um dos campos - Revista, Despacho ou Estado(UF), precisa estar preenchido !");

// The 27 federal units a holder can be chosen by, after the empty entry.
extern const QStringList kStates;

// The processes themselves (no issue, no code), and their journal entries
// (one row per entry). Each ends with "where ".
extern const QString kProcessSelectList;
extern const QString kEntrySelectList;

// What the boxes hold.
struct Criteria {
    QString numRevista;
    QStringList desp = QStringList(3);  // boxes 1 to 3, in order
    QStringList uf = QStringList(3);    // chosen codes, empty when none
};

// The control a refusal sends the focus to.
enum class Box { None, NumRevista, Desp, UF };

// index: 1 to 3 for Desp and UF.
using Refusal = searchchecks::ScreenRefusal<Box>;

// The checks of one box as the focus leaves it (index 1 to 3).
// The issue must be a plain whole number that fits 32 bits.
Refusal CheckNumRevista(const Criteria& c);
// The code is compared as it stands (the screen upper-cases it first);
// codes of digits only by their number ("003" is "3").
Refusal CheckDesp(const Criteria& c, int index);
Refusal CheckUf(const Criteria& c, int index);
// The box checks in screen order: issue, codes, states.
Refusal CheckBoxes(const Criteria& c);

// A search that passed every check.
struct Search {
    QString whereClause;
    QString selectList;
    QString despText;  // the codes used, joined with "/"
    QString ufText;    // "UF = BR/SP ou BR/RJ", empty when no state
};

struct Outcome {
    Refusal refusal;
    Search search;
};

// Everything Pesquisar does before the first page.
Outcome BuildSearch(const Criteria& c);

// Title of the export and of the print, from the issue box as it is now and
// the codes and states of the last search.
QString ExportTitle(const Criteria& c, const QString& despText, const QString& ufText);

}  // namespace ownfilings
