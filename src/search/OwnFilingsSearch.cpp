#include "OwnFilingsSearch.h"

#include "Conditions.h"
#include "SearchChecks.h"

#include <optional>

using namespace searchchecks;

namespace ownfilings {

const QStringList kStates = {
    QStringLiteral("AC"), QStringLiteral("AL"), QStringLiteral("AM"), QStringLiteral("AP"), QStringLiteral("BA"),
    QStringLiteral("CE"), QStringLiteral("DF"), QStringLiteral("ES"), QStringLiteral("GO"), QStringLiteral("MA"),
    QStringLiteral("MG"), QStringLiteral("MS"), QStringLiteral("MT"), QStringLiteral("PA"), QStringLiteral("PB"),
    QStringLiteral("PE"), QStringLiteral("PI"), QStringLiteral("PR"), QStringLiteral("RJ"), QStringLiteral("RN"),
    QStringLiteral("RO"), QStringLiteral("RR"), QStringLiteral("RS"), QStringLiteral("SC"), QStringLiteral("SE"),
    QStringLiteral("SP"), QStringLiteral("TO"),
};

const QString kProcessSelectList = QStringLiteral(
    " r.processo, cast(calc_cd(r.processo)as char(9))procdv, r.revista rpi, r.despacho as desp, r.codserv, "
    "(select rdata from Revistas rev where rev.revista = r.revista)datarpi, r.deposito, r.vigencia, r.marca, "
    "r.classe,r.titular,r.codprocurador,r.titularpais, r.cgccpf,cast(fmtinteger(r.nclclasse,2)as char(3))nclclasse,"
    "('O PRÓPRIO')procurador from Processos r where ");

const QString kEntrySelectList = QStringLiteral(
    " r.processo, cast(calc_cd(r.processo)as char(9))procdv, rp.rpi, rp.despacho as desp, r.codserv, "
    "(select rdata from Revistas rev where rev.revista = rp.rpi)datarpi, r.deposito, r.vigencia, r.marca, "
    "r.classe,r.titular,r.codprocurador,r.titularpais,r.cgccpf,cast(fmtinteger(r.nclclasse,2)as char(3))nclclasse,"
    "('O PRÓPRIO')procurador from (Processos r right join RevProcs rp on rp.processo = r.processo) where ");

namespace {

// A sign and digits only, blanks around allowed, within 32 bits.
std::optional<qint32> issueNumber(const QString& text)
{
    const QString t = text.trimmed();
    int i = (t.startsWith(u'+') || t.startsWith(u'-')) ? 1 : 0;
    if (i == t.size()) return std::nullopt;
    for (int j = i; j < t.size(); ++j)
        if (t[j] < u'0' || t[j] > u'9') return std::nullopt;
    bool ok = false;
    const qint32 n = t.toInt(&ok);
    if (!ok) return std::nullopt;
    return n;
}

QStringList filled(const QStringList& boxes)
{
    QStringList l;
    for (const QString& t : boxes)
        if (!t.isEmpty()) l << t;
    return l;
}

// "'A'" or "in ('A','B')" after the column and its blank or "=".
QString quotedList(const QStringList& values)
{
    QStringList q;
    for (const QString& v : values) q << QLatin1Char('\'') + DoubleApostrophes(v) + QLatin1Char('\'');
    return q.join(QLatin1Char(','));
}

Refusal repeated(const QStringList& boxes, int index, const QString& message, Box box,
                 bool (*same)(const QString&, const QString&))
{
    const QString t = boxes.value(index - 1);
    if (t.isEmpty()) return {};
    for (int i = 0; i < boxes.size(); ++i)
        if (i != index - 1 && same(boxes[i], t)) return Refusal{message, vb::Critical, box, index};
    return {};
}

bool sameText(const QString& a, const QString& b) { return a == b; }

}  // namespace

Refusal CheckNumRevista(const Criteria& c)
{
    if (c.numRevista.isEmpty() || issueNumber(c.numRevista)) return {};
    return Refusal{kIssueNotNumeric, vb::Critical, Box::NumRevista};
}

Refusal CheckDesp(const Criteria& c, int index)
{
    return repeated(c.desp, index, kDespRepeated, Box::Desp, SameDispatchCode);
}

Refusal CheckUf(const Criteria& c, int index) { return repeated(c.uf, index, kUfRepeated, Box::UF, sameText); }

Refusal CheckBoxes(const Criteria& c)
{
    if (Refusal r = CheckNumRevista(c)) return r;
    for (int i = 1; i <= 3; ++i)
        if (Refusal r = CheckDesp(c, i)) return r;
    for (int i = 1; i <= 3; ++i)
        if (Refusal r = CheckUf(c, i)) return r;
    return {};
}

Outcome BuildSearch(const Criteria& c)
{
    Outcome out;
    if (Refusal r = CheckBoxes(c)) {
        out.refusal = r;
        return out;
    }
    Search s;
    const bool issue = !c.numRevista.isEmpty();
    s.whereClause = issue ? QStringLiteral("rp.rpi = ") + QString::number(*issueNumber(c.numRevista))
                                + QStringLiteral(" AND r.codprocurador=1 AND ")
                          : QStringLiteral("r.codprocurador = 1 AND  ");

    const QStringList codes = filled(c.desp);
    if (!codes.isEmpty())
        s.whereClause += QLatin1Char(' ') + conditions::DispatchCondition(QStringLiteral("rp.despacho"), codes)
                         + QStringLiteral(" AND ");
    s.despText = codes.join(QLatin1Char('/'));

    QStringList states;
    for (const QString& uf : c.uf)
        if (!uf.isEmpty()) states << QStringLiteral("BR/") + uf;
    if (states.size() == 1)
        s.whereClause += QStringLiteral(" r.TitularPais=") + quotedList(states);
    else if (!states.isEmpty())
        s.whereClause += QStringLiteral(" r.TitularPais in (") + quotedList(states) + QLatin1Char(')');
    if (!states.isEmpty()) s.ufText = QStringLiteral("UF = ") + states.join(QStringLiteral(" ou "));

    if (codes.isEmpty() && states.isEmpty() && !issue) {
        out.refusal = Refusal{kNoCriterion, vb::Critical, Box::NumRevista};
        return out;
    }
    if (s.whereClause.endsWith(QStringLiteral("AND "))) s.whereClause.chop(5);

    // Codes name the journal entries, so they are searched over the entries
    // even without an issue (in any issue then).
    s.selectList = (issue || !codes.isEmpty()) ? kEntrySelectList : kProcessSelectList;
    out.search = s;
    return out;
}

QString ExportTitle(const Criteria& c, const QString& despText, const QString& ufText)
{
    QString t = QStringLiteral("Pesquisa por Procurador = 'O PRÓPRIO'");
    if (!c.numRevista.isEmpty()) t += QStringLiteral("       RPI = ") + c.numRevista;
    if (!despText.isEmpty()) t += QStringLiteral("       Despacho = ") + despText;
    if (!ufText.isEmpty()) t += QStringLiteral("       ") + ufText;
    return t;
}

}  // namespace ownfilings
