#include "NameSearch.h"

#include "ResultGrid.h"
#include "SearchChecks.h"

using namespace searchchecks;

namespace namesearch {

const QString kAttorneySelectList = QStringLiteral(
    " r.processo, cast(calc_cd(r.processo)as char(9))procdv, r.revista rpi, r.despacho as desp, r.codserv, "
    "(select rdata from Revistas rev where rev.revista = r.revista)datarpi, r.deposito, r.vigencia, r.marca, "
    "r.classe,r.titular,r.titularpais, r.cgccpf,cast(fmtinteger(r.nclclasse,2)as char(3))nclclasse,"
    "(Select pc.procurador from Procuradores pc where pc.codprocurador=r.codprocurador)procurador "
    "from Processos r inner join Procuradores p on r.codprocurador = p.codprocurador where ");

const NameSearchKind& Holder()
{
    static const NameSearchKind k{
        QStringLiteral("frmPesquisaTitular"),
        QStringLiteral("Pesquisa por Nome do Titular"),
        QStringLiteral("Titular :"),
        QStringLiteral("NomeTitular"),
        conditions::kNameLength,
        QStringLiteral("Pesquisa por Titularr"),
        QStringLiteral("Pesquisa por Titular"),
        QStringLiteral("Nome do Titular é obrigatório !"),
        QStringLiteral("Para pesquisas não exatas, é necessário um mínimo de 4 caracteres para o Nome do Titular !"),
        QStringLiteral("Pesquisa por Titular - "),
        QStringLiteral("r.titular"),
        QString(),
        resultgrid::kPlainSelectList,
    };
    return k;
}

const NameSearchKind& Attorney()
{
    static const NameSearchKind k{
        QStringLiteral("frmPesquisaProcurador"),
        QStringLiteral("Pesquisa por Nome do Procurador"),
        QStringLiteral("Procurador :"),
        QStringLiteral("NomeProcurador"),
        conditions::kNameLength,
        QStringLiteral("Pesquisa por Procurador"),
        QStringLiteral("Pesquisa por Procurador"),
        QStringLiteral("Nome do Procurador é obrigatório !"),
        QStringLiteral(
            "Para pesquisas não exatas, é necessário um mínimo de 4 caracteres para o Nome do Procurador !"),
        QStringLiteral("Pesquisa por Procurador - "),
        QStringLiteral("p.procurador"),
        QStringLiteral(" AND r.codprocurador > 0"),
        kAttorneySelectList,
    };
    return k;
}

Outcome BuildSearch(const NameSearchKind& kind, const QString& t, int location)
{
    if (t.isEmpty()) return {kind.nameRequired, {}};
    if (location != Exata && t.size() < 4) return {kind.tooShort, {}};
    return {QString(), conditions::MatchCondition(kind.column, UpperCase(t), location) + kind.condition};
}

QString ExportTitle(const NameSearchKind& kind, const QString& t, int location)
{
    return kind.titlePrefix + conditions::LocationCaption(location) + QStringLiteral(" - ") + QLatin1Char('\'')
           + UpperCase(t) + QLatin1Char('\'');
}

QString PrintTitle(const NameSearchKind& kind, const QString& t, int location)
{
    static const char* const text[] = {" - Exato", " - Só no início", " - Em qualquer parte", " - Só no final"};
    const int i = (location >= Exata && location <= SoNoFinal) ? location : Exata;
    return kind.titlePrefix + t + QString::fromUtf8(text[i]);
}

}  // namespace namesearch
