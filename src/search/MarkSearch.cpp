#include "MarkSearch.h"

#include "SearchChecks.h"
#include "keys/Metaphone.h"

#include <cmath>

using namespace searchchecks;

namespace marksearch {

namespace {

const char* const kColumns[] = {"Marca", "MarcaClean", "MarcaPhon1", "MarcaPhon2"};

// The issue number as the condition writes it: a whole number in decimal,
// or the decimal value itself.
QString rpiNumber(double v)
{
    if (v == std::trunc(v)) return QString::number(qint64(v));
    return QString::number(v, 'g', 15);
}

}  // namespace

Refusal CheckNcl(const Criteria& c, int index)
{
    const QString m = CheckNclBox(c.ncl, index - 1);
    if (m.isEmpty()) return {};
    return Refusal{m, vb::Critical, Box::NCL, index};
}

Refusal CheckNumCnpj(const Criteria& c)
{
    const QString m = CheckTaxIdDigits(c.numCnpj);
    if (m.isEmpty()) return {};
    return Refusal{m, vb::Critical, Box::NumCNPJ};
}

Refusal CheckRpi(const Criteria& c)
{
    if (c.rpi.isEmpty()) return {};
    const std::optional<double> v = NumericValue(c.rpi);
    if (!v || !RoundToInt32(*v)) return Refusal{kRpiNotNumeric, vb::Critical, Box::RPI};
    return {};
}

Refusal CheckBoxes(const Criteria& c)
{
    for (int i = 1; i <= 5; ++i)
        if (Refusal r = CheckNcl(c, i)) return r;
    if (Refusal r = CheckNumCnpj(c)) return r;
    return CheckRpi(c);
}

MarkKeys ComputeKeys(const QString& nomeMarca)
{
    MarkKeys k;
    k.normal = UpperCase(TrimBlanks(nomeMarca));
    k.limpa = metaphonevar::LimpaTexto(k.normal);
    k.fonetica1 = metaphonevar::CalcMetaphone(k.normal, 0, 0);
    k.fonetica2 = metaphonevar::CalcMetaphone(k.normal, -1, 0);
    return k;
}

Outcome BuildSearch(const Criteria& c)
{
    Outcome out;
    if (Refusal r = CheckBoxes(c)) {
        out.refusal = r;
        return out;
    }
    if (TrimBlanks(c.nomeMarca).isEmpty()) {
        out.refusal = Refusal{kMarkRequired, vb::Critical, Box::NomeMarca};
        return out;
    }

    // Classes, in box order without gaps.
    QList<qint32> classes;
    QStringList classTexts;
    for (const QString& t : c.ncl) {
        if (t.isEmpty()) continue;
        const qint32 v = *RoundToInt32(*NumericValue(t));  // the box checks passed
        classes << v;
        classTexts << t;
    }

    const MarkKeys keys = ComputeKeys(c.nomeMarca);
    const int key = (c.key >= Normal && c.key <= Fonetica2) ? c.key : Normal;
    const QString k[] = {keys.normal, keys.limpa, keys.fonetica1, keys.fonetica2};
    if (k[key].isEmpty()) {
        static const QString empty[] = {QString(), QStringLiteral("Marca Limpa não tem caracter algum !"),
                                        QStringLiteral("Marca fonética 1 não tem caracter algum !"),
                                        QStringLiteral("Marca fonética 2 não tem caracter algum !")};
        out.refusal = Refusal{empty[key], vb::Exclamation, Box::None};
        return out;
    }
    Search s;
    s.whereClause = conditions::MatchCondition(QLatin1String(kColumns[key]), k[key], c.location);

    QStringList used, usedTexts;
    for (int i = 0; i < classes.size(); ++i) {
        if (classes[i] <= 0) continue;
        used << QString::number(classes[i]);
        usedTexts << classTexts[i];
    }
    if (!used.isEmpty()) {
        s.whereClause += QStringLiteral(" AND ") + conditions::ClassCondition(used, c.afinidade);
        s.nclText = usedTexts.join(QLatin1Char('/'));
    }

    if (!c.numCnpj.isEmpty()) {
        const QString m = CheckTaxIdLength(c.numCnpj, c.cnpjExact);
        if (!m.isEmpty()) {
            out.refusal = Refusal{m, vb::Critical, Box::NumCNPJ};
            return out;
        }
        s.whereClause += QStringLiteral(" AND ") + conditions::TaxIdCondition(c.numCnpj, c.cnpjExact);
    }

    if (!c.rpi.isEmpty()) {
        s.whereClause += QStringLiteral(" AND rp.rpi=") + rpiNumber(*NumericValue(c.rpi));
        s.issueJoin = true;
    }
    out.search = s;
    return out;
}

QString ExportTitle(const Criteria& c, const QString& nclText)
{
    static const char* const keyText[] = {"Normal/", "Limpa/", "Fonética1/", "Fonética2/"};
    QString t = QStringLiteral("Pesquisa por Marca - ");
    if (c.key >= 0 && c.key <= 3) t += QString::fromUtf8(keyText[c.key]);
    if (c.location >= Exata && c.location <= SoNoFinal) t += conditions::LocationCaption(c.location) + QStringLiteral(" - ");
    t += QLatin1Char('\'') + UpperCase(c.nomeMarca) + QLatin1Char('\'');
    if (!c.rpi.isEmpty()) t += QStringLiteral("       RPI = ") + c.rpi;
    if (!nclText.isEmpty()) t += QStringLiteral("       NCL = ") + nclText;
    if (c.afinidade) t += QStringLiteral("   Incluir Classes Antigas");
    if (!c.numCnpj.isEmpty())
        t += QStringLiteral("   CNPJ/CPF/INPI = ") + c.numCnpj + (c.cnpjExact ? QStringLiteral(" Exato") : QStringLiteral(" Parcial"));
    return t;
}

}  // namespace marksearch
