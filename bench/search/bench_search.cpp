// First-page time of the mark search for every key and position, and the
// time to sort a full page, over an embedded database of generated
// processes (realistic marks and holders, keys computed by the program's
// own functions, the schema's indexes).
//
// Usage: bench_search [database file] [number of processes]
// The database is created and filled when the file does not exist yet, and
// reused as it is otherwise.
#include "BenchRng.h"
#include "search/MarkSearch.h"
#include "search/ResultGrid.h"
#include "shell/Db.h"
#include "shell/RecordsetModel.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

using bench::Rng;

const char16_t* const kWords[] = {
    u"SOL", u"MAR", u"CASA", u"AÇÃO", u"PÃO", u"AÇÚCAR", u"BRASIL", u"BRASILEIRA", u"NORTE", u"SUL", u"ESTRELA",
    u"OURO", u"PRATA", u"VERDE", u"AZUL", u"NOVA", u"ERA", u"TECH", u"SISTEMAS", u"SOLUÇÕES", u"COMÉRCIO",
    u"INDÚSTRIA", u"ALIMENTOS", u"BEBIDAS", u"CAFÉ", u"CHOCOLATE", u"EXPRESS", u"LOGÍSTICA", u"TRANSPORTES",
    u"SAÚDE", u"VIDA", u"FILHO", u"IRMÃOS", u"MODA", u"BELEZA", u"NATURAL", u"ORGÂNICO", u"PREMIUM", u"GOLD",
    u"PLUS", u"MAX", u"MEGA", u"SUPER", u"HIPER", u"MASTER", u"CLUB", u"SHOP", u"STORE", u"MARKET", u"FOOD",
    u"PIZZA", u"BURGER", u"GRILL", u"CHURRASCARIA", u"PADARIA", u"CONFEITARIA", u"DOCES", u"SABOR", u"GOSTO",
    u"TERRA", u"ÁGUA", u"FOGO", u"VENTO", u"LUA", u"CÉU", u"FLOR", u"ROSA", u"JASMIM", u"ORQUÍDEA", u"PALMEIRA",
    u"IPÊ", u"JACARANDÁ", u"ARAUCÁRIA", u"GUARANÁ", u"AÇAÍ", u"CAJU", u"MANGA", u"GOIABA", u"MARACUJÁ",
    u"LIMÃO", u"LARANJA", u"UVA", u"VINHO", u"CERVEJA", u"CACHAÇA", u"QUEIJO", u"LEITE", u"MEL", u"ARROZ",
    u"FEIJÃO", u"MILHO", u"TRIGO", u"SOJA", u"AGRO", u"RURAL", u"CAMPO", u"FAZENDA", u"SÍTIO", u"VALE", u"SERRA",
    u"MONTE", u"RIO", u"LAGO", u"PRAIA", u"ILHA", u"PORTO", u"CIDADE", u"CAPITAL", u"PAULISTA", u"CARIOCA",
    u"MINEIRA", u"GAÚCHA", u"BAIANA", u"NORDESTE", u"AMAZÔNIA", u"PANTANAL", u"CERRADO", u"ATLÂNTICO", u"TROPICAL",
    u"EQUADOR", u"AURORA", u"HORIZONTE", u"FUTURO", u"PROGRESSO", u"UNIÃO", u"ALIANÇA", u"PARCERIA", u"GRUPO",
    u"CENTRO", u"INSTITUTO", u"ACADEMIA", u"ESCOLA", u"COLÉGIO", u"FACULDADE", u"EDUCAÇÃO", u"CULTURA", u"ARTE",
    u"MÚSICA", u"DANÇA", u"TEATRO", u"CINEMA", u"FOTO", u"DIGITAL", u"NET", u"WEB", u"ONLINE", u"MOBILE", u"APP",
    u"DATA", u"INFO", u"SOFT", u"CLOUD", u"SMART", u"LINK", u"CONECTA", u"REDE", u"SINAL", u"ENERGIA", u"SOLAR",
    u"ELÉTRICA", u"ÓLEO", u"GÁS", u"PETRO", u"QUÍMICA", u"FARMA", u"MED", u"CLÍNICA", u"HOSPITAL", u"DENTAL",
    u"ÓTICA", u"VISÃO", u"CORPO", u"MENTE", u"ZEN", u"YOGA", u"FIT", u"ACADEMIA", u"SPORT", u"ESPORTE", u"BOLA",
    u"GOL", u"CAMPEÃO", u"VITÓRIA", u"TRIUNFO", u"GLÓRIA", u"FÊNIX", u"ÁGUIA", u"LEÃO", u"TIGRE", u"ONÇA",
    u"LOBO", u"URSO", u"FALCÃO", u"CONDOR", u"ARARA", u"TUCANO", u"BEIJA-FLOR", u"SABIÁ", u"CANÁRIO", u"PEIXE",
    u"BOI", u"CAVALO", u"POTRO", u"GATO", u"CÃO", u"PET", u"AMIGO", u"LAR", u"DOCE", u"LAR", u"FAMÍLIA", u"MÃE",
    u"PAI", u"BEBÊ", u"KIDS", u"BABY", u"TEEN", u"JOVEM", u"CHIC", u"LUXO", u"ELEGANCE", u"STYLE", u"DESIGN",
    u"ARQUITETURA", u"CONSTRUTORA", u"ENGENHARIA", u"IMÓVEIS", u"INVEST", u"CAPITAL", u"BANCO", u"CRÉDITO",
    u"SEGUROS", u"CONSULTORIA", u"ADVOCACIA", u"CONTÁBIL", u"GESTÃO", u"SERVIÇOS", u"LIMPEZA", u"SEGURANÇA",
};
constexpr int kWordCount = int(sizeof(kWords) / sizeof(kWords[0]));

const char* const kSyllables[] = {"BRA", "SI", "LA", "TE", "NO", "VI", "DA", "CHO", "LHA", "NHO", "QUE", "GUA",
                                  "ÇÃO", "MAR", "RI", "CO", "TU", "PE", "FA", "ZE", "XI", "KA", "LU", "MO", "RE",
                                  "SA", "TI", "VO", "GE", "JU", "CA", "BE", "DO", "FI", "HO", "PI", "RO", "ZA"};
constexpr int kSyllableCount = int(sizeof(kSyllables) / sizeof(kSyllables[0]));

const char* const kFirst[] = {"JOSÉ", "MARIA", "JOÃO", "ANA", "ANTÔNIO", "FRANCISCO", "CARLOS", "PAULO", "PEDRO",
                              "LUCAS", "LUIZ", "MARCOS", "GABRIEL", "RAFAEL", "FERNANDA", "PATRÍCIA", "ALINE"};
const char* const kLast[] = {"SILVA", "SANTOS", "OLIVEIRA", "SOUZA", "RODRIGUES", "FERREIRA", "ALVES", "PEREIRA",
                             "LIMA", "GOMES", "COSTA", "RIBEIRO", "MARTINS", "CARVALHO", "ALMEIDA", "LOPES",
                             "SOARES", "FERNANDES", "VIEIRA", "BARBOSA", "D'ÁVILA", "ARAÚJO"};
const char* const kUf[] = {"SP", "RJ", "MG", "RS", "PR", "SC", "BA", "PE", "CE", "GO", "DF", "ES", "AM", "PA"};
const char* const kDesp[] = {"IPAS009", "IPAS158", "IPAS400", "IPAS421", "IPAS024", "IPAS136", "IPAS270", "IPAS029"};

QString pick(const char* const* list, int n, Rng& r) { return QString::fromUtf8(list[r.below(n)]); }

QString word(Rng& r)
{
    // Most words are common ones; the rest are made-up names.
    if (r.below(10) < 7) return QString::fromUtf16(kWords[r.skewed(kWordCount)]);
    QString w;
    const int n = 2 + r.below(3);
    for (int i = 0; i < n; ++i) w += QString::fromUtf8(kSyllables[r.below(kSyllableCount)]);
    return w;
}

QString mark(Rng& r)
{
    const int n = 1 + r.skewed(4);
    QStringList w;
    for (int i = 0; i < n; ++i) w << word(r);
    return w.join(QLatin1Char(' '));
}

QString holder(Rng& r)
{
    if (r.below(3) == 0)
        return pick(kFirst, int(std::size(kFirst)), r) + QLatin1Char(' ') + pick(kLast, int(std::size(kLast)), r)
               + QLatin1Char(' ') + pick(kLast, int(std::size(kLast)), r);
    static const char* const kind[] = {" LTDA", " S.A.", " COMÉRCIO LTDA", " INDÚSTRIA E COMÉRCIO LTDA", " EIRELI"};
    return word(r) + QLatin1Char(' ') + word(r) + QString::fromUtf8(kind[r.below(5)]);
}

QString digits(Rng& r, int n)
{
    QString s;
    for (int i = 0; i < n; ++i) s += QChar(u'0' + r.below(10));
    return s;
}

double ms(QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

bool createDatabase(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(QStringLiteral(QUORVANTA_SOURCE_DIR "/scripts/create-db"), {path});
    return p.waitForFinished(-1) && p.exitCode() == 0;
}

void fill(DbConnection& db, int count)
{
    Rng r{20240601};
    QElapsedTimer t;
    t.start();
    {
        DbTransaction tx(db);
        for (int i = 2; i <= 60; ++i)
            db.execute(QStringLiteral("INSERT INTO Procuradores (procurador) VALUES ('%1')")
                           .arg(QString(holder(r)).replace(QLatin1Char('\''), QStringLiteral("''"))));
        for (int rev = 1500; rev <= 2400; ++rev)
            db.execute(QStringLiteral("INSERT INTO Revistas (revista, rdata, atualizado) VALUES (%1, '%2', 1)")
                           .arg(rev)
                           .arg(QDate(1980, 1, 1).addDays(7 * (rev - 1500)).toString(QStringLiteral("dd.MM.yyyy"))));
        tx.commit();
    }
    // The indexes of Processos are switched off while the rows go in and
    // rebuilt once at the end, as a bulk load does.
    const Recordset ix = db.query(QStringLiteral(
        "SELECT trim(rdb$index_name) n FROM rdb$indices WHERE rdb$relation_name = 'PROCESSOS' "
        "AND coalesce(rdb$unique_flag, 0) = 0 AND rdb$foreign_key IS NULL"));
    QStringList indexes;
    for (int i = 0; i < ix.recordCount(); ++i) indexes << ix.at(i, 0).toString();
    for (const QString& n : indexes) db.execute(QStringLiteral("ALTER INDEX %1 INACTIVE").arg(n));

    DbTransaction tx(db);
    QSqlQuery q(db.database());
    if (!q.prepare(QStringLiteral(
            "INSERT INTO Processos (processo, revista, despacho, deposito, vigencia, marca, marcaclean, marcaphon1, "
            "marcaphon2, nclver, nclclasse, classe, codprocurador, titular, cgccpf, titularpais, apresentacao, natureza) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"))) {
        std::fprintf(stderr, "prepare: %s\n", qPrintable(q.lastError().text()));
        std::exit(1);
    }
    const int first = 800000000 / 10;
    for (int i = 0; i < count; ++i) {
        const QString m = mark(r);
        const marksearch::MarkKeys k = marksearch::ComputeKeys(m);
        const QDate dep = QDate(1980, 1, 1).addDays(r.below(16000));
        const bool old = r.below(8) == 0;
        q.addBindValue(first + i * 7 + r.below(7));
        q.addBindValue(1500 + r.below(901));
        q.addBindValue(QString::fromUtf8(kDesp[r.below(int(std::size(kDesp)))]));
        q.addBindValue(dep);
        q.addBindValue(r.below(3) ? QVariant(dep.addYears(10)) : QVariant(QMetaType(QMetaType::QDate)));
        q.addBindValue(m);
        q.addBindValue(k.limpa);
        q.addBindValue(k.fonetica1);
        q.addBindValue(k.fonetica2);
        q.addBindValue(old ? QVariant(QMetaType(QMetaType::Int)) : QVariant(r.below(4) + 8));
        q.addBindValue(old ? QVariant(QMetaType(QMetaType::Int)) : QVariant(1 + r.below(45)));
        q.addBindValue(old ? QVariant(QStringLiteral("%1.%2").arg(1 + r.below(41)).arg(10 * (1 + r.below(9))))
                           : QVariant(QMetaType(QMetaType::QString)));
        q.addBindValue(r.below(4) ? r.below(61) : 0);
        q.addBindValue(holder(r));
        q.addBindValue(digits(r, r.below(3) ? 14 : 11));
        q.addBindValue(r.below(10) ? QStringLiteral("BR/") + pick(kUf, int(std::size(kUf)), r) : QStringLiteral("US"));
        q.addBindValue(QStringLiteral("NMFT").mid(r.below(4), 1));
        q.addBindValue(QStringLiteral("PSC").mid(r.below(3), 1));
        if (!q.exec()) {
            std::fprintf(stderr, "insert: %s\n", qPrintable(q.lastError().text()));
            std::exit(1);
        }
        if ((i + 1) % 100000 == 0) std::printf("  %d processes written (%.0f s)\n", i + 1, ms(t) / 1000), std::fflush(stdout);
    }
    q.finish();
    tx.commit();
    std::printf("filled %d processes in %.1f s\n", count, ms(t) / 1000);
    for (const QString& n : indexes) db.execute(QStringLiteral("ALTER INDEX %1 ACTIVE").arg(n));
    std::printf("indexes %s rebuilt, %.1f s in all\n", qPrintable(indexes.join(QLatin1Char(','))), ms(t) / 1000);
}

// One first page as the screen reads it: the query and the grid's model.
double firstPage(const QString& where, const QString& list, int* rows)
{
    DataControl dc;
    dc.CursorLocation = 3;
    dc.RecordSource = resultgrid::PageQuery(0, list, where);
    RecordsetModel model;
    model.setColumns(resultgrid::Columns(false));
    QElapsedTimer t;
    t.start();
    dc.Refresh();
    model.setRecordset(&dc.recordset());
    *rows = model.rowCount();
    return ms(t);
}

}  // namespace

int main(int argc, char** argv)
{
    // No windows are shown: without a platform of the caller's choice, none
    // is needed from the display either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath() + QStringLiteral("/quorvanta-bench/search.fdb");
    const int count = argc > 2 ? std::atoi(argv[2]) : 1000000;
    const bool fresh = !QFileInfo::exists(path);
    if (fresh && !createDatabase(path)) {
        std::fprintf(stderr, "could not create %s\n", qPrintable(path));
        return 1;
    }
    DbConnection& db = DbConnection::instance();
    try {
        db.open(QStringLiteral("DRIVER=Firebird/InterBase(r) driver;CHARSET=UTF8;UID=SYSDBA;PWD=plumbrask;DBNAME=") + path);
        if (fresh) fill(db, count);
        const int processes = db.query(QStringLiteral("SELECT count(*) n FROM Processos")).at(0, 0).toInt();
        std::printf("database %s: %d processes\n", qPrintable(path), processes);
        // Fresh statistics for the optimiser, as after a backup and restore.
        for (const char* ix : {"ix_processos_marca", "ix_processos_marcaclean", "ix_processos_marcaphon1", "ix_processos_marcaphon2"})
            db.execute(QStringLiteral("SET STATISTICS INDEX %1").arg(QLatin1String(ix)));

        // Terms as a user types them: a whole mark that exists, the start of
        // one, a word inside, an ending; and one that matches nothing.
        Recordset sample = db.query(QStringLiteral("SELECT first 1 skip %1 marca FROM Processos WHERE marca LIKE '% %'")
                                        .arg(std::min(4321, processes / 10)));
        if (sample.recordCount() == 0) {
            std::fprintf(stderr, "no mark of two words in %s\n", qPrintable(path));
            return 1;
        }
        const QString whole = sample.at(0, 0).toString();
        const QString start = whole.section(QLatin1Char(' '), 0, 0);
        const char* const posName[] = {"Exata", "Só no início", "Em qualquer parte", "Só no final"};
        const char* const keyName[] = {"Normal", "Limpa", "Fonética 1", "Fonética 2"};
        struct Term {
            const char* what;
            QString text;
        };
        const Term terms[] = {{"a whole mark", whole}, {"one word", start}, {"a common word", QStringLiteral("CHOCOLATE")},
                              {"nothing like it", QStringLiteral("GUAPIRANGABAL")}};
        std::printf("\nfirst page of the mark search (ms; rows), best of 3 after one warm-up\n");
        for (const Term& term : terms) {
            std::printf("term \"%s\" (%s)\n", qPrintable(term.text), term.what);
            for (int key = 0; key < 4; ++key) {
                std::printf("  %-11s", keyName[key]);
                for (int loc = 0; loc < 4; ++loc) {
                    marksearch::Criteria c;
                    c.nomeMarca = loc == 3 ? term.text.section(QLatin1Char(' '), -1) : term.text;
                    c.key = key;
                    c.location = loc;
                    const marksearch::Outcome o = marksearch::BuildSearch(c);
                    if (o.refusal) {
                        std::printf("  %s: refused", posName[loc]);
                        continue;
                    }
                    int rows = 0;
                    firstPage(o.search.whereClause, resultgrid::kPlainSelectList, &rows);
                    double best = 1e18;
                    for (int i = 0; i < 3; ++i) best = std::min(best, firstPage(o.search.whereClause, resultgrid::kPlainSelectList, &rows));
                    std::printf("  %s %8.1f (%4d)", posName[loc], best, rows);
                }
                std::printf("\n");
            }
        }

        // Sorting a full page by each column, as the header clicks do.
        DataControl dc;
        dc.RecordSource = resultgrid::PageQuery(0, resultgrid::kPlainSelectList, QStringLiteral("Marca LIKE '%A%'"));
        dc.Refresh();
        Recordset& rs = dc.recordset();
        std::printf("\nsorting a page of %d rows (ms, best of 5)\n", rs.recordCount());
        const QVector<GridColumn> cols = resultgrid::Columns(false);
        double worst = 0;
        for (int col = 0; col < cols.size(); ++col) {
            double best = 1e18;
            for (int i = 0; i < 5; ++i) {
                rs.setSort(QString());
                QElapsedTimer t;
                t.start();
                rs.setSort(resultgrid::SortSpec(cols[col].field, i % 2 == 1, col));
                best = std::min(best, ms(t));
            }
            worst = std::max(worst, best);
            std::printf("  %-13s %6.2f\n", qPrintable(cols[col].caption.trimmed()), best);
        }
        std::printf("slowest column: %.2f ms\n", worst);
    } catch (const DbError& e) {
        std::fprintf(stderr, "database error: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
