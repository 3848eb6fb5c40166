#include "ValiditySearch.h"

#include "SearchChecks.h"

using namespace searchchecks;

namespace validitysearch {

const QString kSelectList = QStringLiteral(
    " r.processo, cast(calc_cd(r.processo)as char(9))procdv, r.revista rpi, r.despacho as desp, r.codserv, "
    "(select rdata from Revistas rev where rev.revista = r.revista)datarpi, r.deposito, r.vigencia, r.marca, "
    "r.classe,r.titular,r.titularpais, r.cgccpf,cast(fmtinteger(r.nclclasse,2)as char(3))nclclasse,"
    "p.procurador from (Processos r left join Procuradores p on r.codprocurador=p.codprocurador) where ");

QString CheckPickerDate(const QDate& date, bool start)
{
    if (date.isValid()) return QString();
    return start ? kStartInvalid : kEndInvalid;
}

QString CheckPeriod(const QDate& s, const QDate& e)
{
    if (s.daysTo(e) < 0) return kStartAfterEnd;
    const int m = (e.year() * 12 + e.month()) - (s.year() * 12 + s.month());
    if (m > 2 || (m == 2 && e.day() > s.day())) return kOverTwoMonths;
    return QString();
}

QString CheckDesp(const QStringList& desp, int index)
{
    const QString t = desp.value(index - 1);
    if (t.isEmpty()) return QString();
    for (int i = 1; i <= desp.size(); ++i)
        if (i != index && SameDispatchCode(desp[i - 1], t)) return kDespRepeated;
    return QString();
}

Outcome BuildSearch(const Criteria& c)
{
    Outcome out;
    if (const QString m = CheckPeriod(c.dataInic, c.dataFinal); !m.isEmpty()) {
        out.refusal = Refusal{m, vb::Critical, Box::DataInic, 0, kErrorTitle};
        return out;
    }
    if (!c.numCnpj.isEmpty()) {
        QString m = CheckTaxIdDigits(c.numCnpj);
        if (m.isEmpty()) m = CheckTaxIdLength(c.numCnpj, c.cnpjExact);
        if (!m.isEmpty()) {
            out.refusal = Refusal{m, vb::Critical, Box::NumCNPJ, 0, kTitle};
            return out;
        }
    }
    if (!c.nomeProcurador.isEmpty() && c.location != Exata && c.nomeProcurador.size() < 4) {
        out.refusal = Refusal{kAttorneyTooShort, vb::Critical, Box::NomeProcurador, 0, kTitle};
        return out;
    }

    Search s;
    s.whereClause = QStringLiteral("(vigencia between '") + c.dataInic.toString(QStringLiteral("yyyy-MM-dd"))
                    + QStringLiteral("' and '") + c.dataFinal.toString(QStringLiteral("yyyy-MM-dd"))
                    + QStringLiteral("')");

    QStringList codes;
    for (const QString& d : c.desp)
        if (!d.isEmpty()) codes << d;
    if (!codes.isEmpty())
        s.whereClause += QStringLiteral(" AND ") + conditions::DispatchCondition(QStringLiteral("r.despacho"), codes);
    s.despText = codes.join(QLatin1Char('/'));

    if (!c.numCnpj.isEmpty()) s.whereClause += QStringLiteral(" AND ") + conditions::TaxIdCondition(c.numCnpj, c.cnpjExact);

    if (!c.nomeProcurador.isEmpty())
        s.whereClause += QStringLiteral(" AND ")
                         + conditions::MatchCondition(QStringLiteral("procurador"), UpperCase(c.nomeProcurador), c.location);
    out.search = s;
    return out;
}

QString Title(const Criteria& c, const QString& despText)
{
    const QString f = QStringLiteral("dd/MM/yyyy");
    QString t = QStringLiteral("Pesquisa por Data de Vigência entre ") + c.dataInic.toString(f) + QStringLiteral(" e ")
                + c.dataFinal.toString(f);
    if (!despText.isEmpty()) t += QStringLiteral("       Despacho = ") + despText;
    if (!c.numCnpj.isEmpty())
        t += QStringLiteral("       CNPJ/CPF/INPI = ") + c.numCnpj
             + (c.cnpjExact ? QStringLiteral(" Exato") : QStringLiteral(" Parcial"));
    if (!c.nomeProcurador.isEmpty())
        t += QStringLiteral("\r\n.") + QString(34, QLatin1Char(' ')) + QStringLiteral("Procurador = ") + c.nomeProcurador
             + (c.location == Exata ? QStringLiteral(" - Exato") : QStringLiteral(" - Parcial"));
    return t;
}

}  // namespace validitysearch
