#include "Conditions.h"

#include "SearchChecks.h"

namespace conditions {

const QStringList& LocationCaptions()
{
    static const QStringList c = {QStringLiteral("Exata"), QStringLiteral("Só no início"),
                                  QStringLiteral("Em qualquer parte"), QStringLiteral("Só no final")};
    return c;
}

QString LocationCaption(int location)
{
    return LocationCaptions().value(location, LocationCaptions().first());
}

QString MatchCondition(const QString& column, const QString& text, int location)
{
    const QString t = searchchecks::DoubleApostrophes(text);
    switch (location) {
    case SoNoInicio: return column + QStringLiteral(" LIKE '") + t + QStringLiteral("%'");
    case EmQualquerParte: return column + QStringLiteral(" LIKE '%") + t + QStringLiteral("%'");
    case SoNoFinal: return column + QStringLiteral(" LIKE '%") + t + QStringLiteral("'");
    default: return column + QStringLiteral(" = '") + t + QStringLiteral("'");
    }
}

QString TaxIdCondition(const QString& taxId, bool exact)
{
    return MatchCondition(QStringLiteral("r.cgccpf"), taxId, exact ? Exata : EmQualquerParte);
}

QString DispatchCondition(const QString& column, const QStringList& codes)
{
    // Each code as given, followed by the other forms it is stored under.
    QStringList values;
    for (const QString& code : codes)
        for (const QString& f : searchchecks::DispatchCodeForms(code))
            if (!values.contains(f)) values << f;
    QStringList literals;
    for (const QString& v : values)
        literals << QLatin1Char('\'') + searchchecks::DoubleApostrophes(v) + QLatin1Char('\'');
    if (literals.size() == 1) return column + QStringLiteral(" =") + literals[0];
    return column + QStringLiteral(" in (") + literals.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString ClassCondition(const QStringList& classes, bool afinidade)
{
    return QStringLiteral("(r.nclclasse in(") + classes.join(QLatin1Char(','))
           + (afinidade ? QStringLiteral(") OR (Classe is not null))") : QStringLiteral("))"));
}

}  // namespace conditions
