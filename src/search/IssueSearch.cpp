#include "IssueSearch.h"

#include "Conditions.h"
#include "SearchChecks.h"

using namespace searchchecks;

namespace issuesearch {

const QString kSelectList = QStringLiteral(
    " rp.codigo,rp.processo,rp.rpi, rp.despacho as desp, r.codserv, cast(calc_cd(rp.processo)as char(9))procdv, "
    "(select rdata from Revistas rev where rev.revista = rp.rpi)datarpi, r.deposito, r.vigencia, r.marca, "
    "r.classe,r.titular,r.titularpais, r.cgccpf,cast(fmtinteger(r.nclclasse,2)as char(3))nclclasse,p.procurador "
    "from (Processos r right join revProcs rp on rp.processo = r.processo) left join Procuradores p on "
    "r.codprocurador=p.codprocurador where ");

namespace {

// The issue as a whole number, when the text is numeric and fits.
std::optional<qint32> issueNumber(const QString& text)
{
    const std::optional<double> v = NumericValue(text);
    if (!v) return std::nullopt;
    return RoundToInt32(*v);
}

QStringList filled(const QStringList& boxes)
{
    QStringList l;
    for (const QString& t : boxes)
        if (!t.isEmpty()) l << t;
    return l;
}

}  // namespace

Refusal CheckNumRevista(const Criteria& c)
{
    if (c.numRevista.isEmpty() || issueNumber(c.numRevista)) return {};
    return Refusal{kIssueNotNumeric, vb::Critical, Box::NumRevista};
}

Refusal CheckDesp(const Criteria& c, int index)
{
    const QString t = c.desp.value(index - 1);
    if (t.isEmpty()) return {};
    for (int i = 0; i < c.desp.size(); ++i)
        if (i != index - 1 && SameDispatchCode(c.desp[i], t))
            return Refusal{kDespRepeated, vb::Critical, Box::Desp, index};
    return {};
}

Refusal CheckNcl(const Criteria& c, int index)
{
    const QString t = c.ncl.value(index - 1);
    if (t.isEmpty()) return {};
    const std::optional<double> v = NumericValue(t);
    if (!v) return Refusal{kNclNotNumeric, vb::Critical, Box::NCL, index};
    // A class that rounds to 0 or below (-5, .4) would add no number.
    const std::optional<qint32> n = RoundToInt32(*v);
    if (!n) return Refusal{kNclNotNumeric, vb::Critical, Box::NCL, index};
    if (*n <= 0) return Refusal{kNclInvalid, vb::Critical, Box::NCL, index};
    const QString m = CheckNclBox(c.ncl, index - 1);
    if (!m.isEmpty()) return Refusal{m, vb::Critical, Box::NCL, index};
    return {};
}

Refusal CheckNumCnpj(const Criteria& c)
{
    const QString m = CheckTaxIdDigits(c.numCnpj);
    if (m.isEmpty()) return {};
    return Refusal{m, vb::Critical, Box::NumCNPJ};
}

Refusal CheckBoxes(const Criteria& c)
{
    if (Refusal r = CheckNumRevista(c)) return r;
    for (int i = 1; i <= 3; ++i)
        if (Refusal r = CheckDesp(c, i)) return r;
    for (int i = 1; i <= 3; ++i)
        if (Refusal r = CheckNcl(c, i)) return r;
    return CheckNumCnpj(c);
}

Outcome BuildSearch(const Criteria& c)
{
    Outcome out;
    if (c.numRevista.isEmpty()) {
        out.refusal = Refusal{kIssueRequired, vb::Critical, Box::NumRevista};
        return out;
    }
    if (Refusal r = CheckBoxes(c)) {
        out.refusal = r;
        return out;
    }
    Search s;
    s.whereClause = QStringLiteral(" rp.rpi = ") + QString::number(*issueNumber(c.numRevista));

    // Dispatch codes, in box order without gaps.
    const QStringList codes = filled(c.desp);
    if (!codes.isEmpty()) {
        s.whereClause += QStringLiteral(" AND ") + conditions::DispatchCondition(QStringLiteral("rp.despacho"), codes);
        s.despText = codes.join(QLatin1Char('/'));
    }

    // Classes above 0, in box order (the box checks refuse the others).
    QStringList numbers, texts;
    for (const QString& t : c.ncl) {
        if (t.isEmpty()) continue;
        const qint32 v = *RoundToInt32(*NumericValue(t));
        if (v <= 0) continue;
        numbers << QString::number(v);
        texts << t;
    }
    if (!numbers.isEmpty()) {
        s.whereClause += QStringLiteral(" AND ") + conditions::ClassCondition(numbers, c.afinidade);
        s.nclText = texts.join(QLatin1Char('/'));
    }

    if (!c.numCnpj.isEmpty()) {
        const QString m = CheckTaxIdLength(c.numCnpj, c.cnpjExact);
        if (!m.isEmpty()) {
            out.refusal = Refusal{m, vb::Critical, Box::NumCNPJ};
            return out;
        }
        s.whereClause += QStringLiteral(" AND ") + conditions::TaxIdCondition(c.numCnpj, c.cnpjExact);
    }

    if (!c.nomeProcurador.isEmpty()) {
        if (!c.attorneyExact && c.nomeProcurador.size() < 4) {
            out.refusal = Refusal{kAttorneyPartialLength, vb::Critical, Box::NomeProcurador};
            return out;
        }
        const QString a = DoubleApostrophes(UpperCase(c.nomeProcurador));
        s.whereClause += c.attorneyExact ? QStringLiteral(" AND procurador = '") + a + QLatin1Char('\'')
                                         : QStringLiteral(" AND procurador LIKE ") + QStringLiteral("'%") + a
                                               + QStringLiteral("%'");
    }
    out.search = s;
    return out;
}

QString ExportTitle(const Criteria& c, const QString& despText, const QString& nclText)
{
    QString t = QStringLiteral("Pesquisa por Revista - ") + c.numRevista;
    if (!despText.isEmpty()) t += QStringLiteral("       Despacho = ") + despText;
    if (!nclText.isEmpty()) t += QStringLiteral("       NCL = ") + nclText;
    if (c.afinidade) t += QStringLiteral("   Incluir Classes Antigas");
    if (!c.nomeProcurador.isEmpty())
        t += QStringLiteral("   Procurador = '") + c.nomeProcurador + QLatin1Char('\'')
             + (c.attorneyExact ? QStringLiteral(" Exato") : QStringLiteral(" Parcial"));
    if (!c.numCnpj.isEmpty())
        t += QStringLiteral("   CNPJ/CPF/INPI = ") + c.numCnpj
             + (c.cnpjExact ? QStringLiteral(" Exato") : QStringLiteral(" Parcial"));
    return t;
}

QString PrintTitle(const Criteria& c, const QString& despText, const QString& nclText)
{
    QString t = QStringLiteral("Pesquisa por Revista - RPI = ") + c.numRevista;
    if (!despText.isEmpty()) t += QStringLiteral("       Despacho = ") + despText;
    if (!nclText.isEmpty()) t += QStringLiteral("       NCL = ") + nclText;
    if (c.afinidade) t += QStringLiteral("   Incluir Classificação Antiga");
    if (!c.numCnpj.isEmpty())
        t += QStringLiteral("       CNPJ/CPF/INPI = ") + c.numCnpj
             + (c.cnpjExact ? QStringLiteral(" Exato") : QStringLiteral(" Parcial"));
    if (!c.nomeProcurador.isEmpty())
        t += QStringLiteral("\r\n.") + QString(34, QLatin1Char(' ')) + QStringLiteral("Procurador = ")
             + c.nomeProcurador + (c.attorneyExact ? QStringLiteral(" - Exato") : QStringLiteral(" - Parcial"));
    return t;
}

}  // namespace issuesearch
