#include "TaxIdSearch.h"

#include "Conditions.h"
#include "SearchChecks.h"

namespace taxidsearch {

bool HasNonDigit(const QString& text) { return !searchchecks::OnlyDigits(text); }

Outcome BuildSearch(const QString& t, bool exact)
{
    Outcome o;
    if (t.isEmpty()) {
        o.refusal = kRequired;
        return o;
    }
    if (HasNonDigit(t)) {
        o.refusal = searchchecks::kTaxIdDigits;
        return o;
    }
    o.pastDigits = true;
    o.refusal = searchchecks::CheckTaxIdLength(t, exact);
    if (!o.refusal.isEmpty()) return o;
    o.whereClause = conditions::TaxIdCondition(t, exact);
    return o;
}

QString ExportTitle(const QString& t, bool exact)
{
    return kTitle + QStringLiteral(" - ") + (exact ? QStringLiteral("Exata - ") : QStringLiteral("Parcial - "))
           + QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString PrintTitle(const QString& t, bool exact)
{
    return kTitle + QStringLiteral(" - ") + t + (exact ? QStringLiteral(" - Exato") : QStringLiteral(" - Parcial"));
}

}  // namespace taxidsearch
