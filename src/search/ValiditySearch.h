#pragma once
// The validity-window search without its window: the check of the date
// window, the checks of its boxes, the condition and the title of its
// export and print.

#include "Conditions.h"
#include "SearchChecks.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace validitysearch {

inline const QString kTitle = QStringLiteral("Pesquisa por Data de Vigência do Processo");
inline const QString kErrorTitle = QStringLiteral("ÊRRO");

inline const QString kStartInvalid = QStringLiteral("Data Inicial inválida!");
inline const QString kEndInvalid = QStringLiteral("Data Final inválida!");
inline const QString kStartAfterEnd = QStringLiteral("Data inicial maior que data final !");
inline const QString kOverTwoMonths =
    QStringLiteral("Diferença entre data inicial e data final não pode ser maior que 2 meses !");
inline const QString kDespRepeated = QStringLiteral("Despacho já selecionado !");
inline const QString kAttorneyTooShort =
    QStringLiteral("Para pesquisas não exatas, é necessário um mínimo de 4 caracteres para o Nome do Procurador !");

// The page query's select list: the attorney by a left join.
extern const QString kSelectList;

// Attorney match types (OptLocation).
using conditions::Location;
using enum conditions::Location;

// What the pickers, boxes and options hold.
struct Criteria {
    QDate dataInic, dataFinal;
    QStringList desp = QStringList(3);  // boxes 1 to 3, in order
    QString numCnpj;
    bool cnpjExact = true;  // OptCNPJ(0) "Exato"
    QString nomeProcurador;
    int location = Exata;
};

// A picker's value: the message when it is not a date, else empty.
QString CheckPickerDate(const QDate& date, bool start);

// The window from S to E: the refusal (titled kErrorTitle), or empty when
// it is accepted (at most two calendar months, S not after E).
QString CheckPeriod(const QDate& s, const QDate& e);

// A dispatch box (index 1 to 3) against the other two, after it was
// upper-cased: the refusal, or empty. Codes of digits only are compared by
// their number ("003" is "3").
QString CheckDesp(const QStringList& desp, int index);

// The control a refusal sends the focus to.
enum class Box { None, DataInic, NumCNPJ, NomeProcurador };

// Every refusal carries its title: kErrorTitle for the window, else kTitle.
using Refusal = searchchecks::ScreenRefusal<Box>;

struct Search {
    QString whereClause;
    QString despText;  // the codes joined with "/"
};

struct Outcome {
    Refusal refusal;
    Search search;
};

// The window, then the tax id and the attorney checks; then the condition:
// window, dispatch codes, tax id, attorney.
Outcome BuildSearch(const Criteria& c);

// Title of the export and the print, from the pickers and boxes as they
// are now and the dispatch codes of the last search.
QString Title(const Criteria& c, const QString& despText);

}  // namespace validitysearch
