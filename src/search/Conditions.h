#pragma once
// Pieces of the conditions that several search screens build the same way:
// where a typed text must match, the comparison it gives, and the tax-id
// condition.

#include <QString>
#include <QStringList>

namespace conditions {

// The longest texts of the columns that typed names are compared with: a
// longer text could never match, and the database refuses it.
inline constexpr int kMarkLength = 250;  // Processos.marca
inline constexpr int kNameLength = 680;  // Processos.titular, Procuradores.procurador

// Where the typed text must match (OptLocation).
enum Location { Exata = 0, SoNoInicio = 1, EmQualquerParte = 2, SoNoFinal = 3 };

// The captions of the four options, in their order.
const QStringList& LocationCaptions();
// The caption of a location; "Exata" for a value out of range.
QString LocationCaption(int location);

// column = 'text', LIKE 'text%', LIKE '%text%' or LIKE '%text' by location
// (Exata for a value out of range); apostrophes in text are doubled.
QString MatchCondition(const QString& column, const QString& text, int location);

// The holder's tax id: r.cgccpf = 'T' (exact) or r.cgccpf LIKE '%T%'.
QString TaxIdCondition(const QString& taxId, bool exact);

// The dispatch codes given, each with the forms it is stored under:
// column ='A' for one value, column in ('A','B',...) for several.
QString DispatchCondition(const QString& column, const QStringList& codes);

// The Nice classes chosen: (r.nclclasse in(N,...)), or with the old national
// classification included (r.nclclasse in(N,...) OR (Classe is not null)).
QString ClassCondition(const QStringList& classes, bool afinidade);

}  // namespace conditions
