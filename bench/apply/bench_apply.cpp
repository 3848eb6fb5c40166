// Applying journal issues to a database that already holds 500,000
// processes: builds that database (bulk inserts, keys computed by the
// program's own key functions), stages a generated text-layout issue of
// 40,000 records and an XML-layout-like issue of 50,000 dispatches, applies
// each with the program's transfer and prints staged rows per second and
// the peak resident memory of the process so far.
//
// Usage: bench_apply [processes] [text records] [xml dispatches]
// With QUORVANTA_BENCH_BASE=file the database holding the processes is kept
// in that file after it is built, and copied from it on later runs.

#include "BenchRng.h"
#include "BenchSetup.h"
#include "keys/Metaphone.h"
#include "shell/Db.h"
#include "shell/Ui.h"
#include "update/Transfer.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <ctime>
#include <cstdint>
#include <memory>
#include <cstdio>
#include <cstdlib>
#include <vector>

using metaphonevar::CalcMetaphone;
using metaphonevar::LimpaTexto;

namespace {

using bench::Rng;

// Answers OK to every message and prints it; nothing blocks.
class BenchUi : public Ui {
public:
    int msgBox(const QString& text, int style, const QString&) override
    {
        std::fprintf(stderr, "  [mensagem %d] %s\n", style, qPrintable(text));
        return vb::OK;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&, bool) override { return {}; }
    QString openFile(const FileDialogRequest&) override { return {}; }
    void setPointer(int p) override { pointer_ = p; }
    int pointer() const override { return pointer_; }
    bool openWithDesktop(const QString&) override { return false; }
    int showModal(QWidget*) override { return 0; }
    void beep() override {}

private:
    int pointer_ = 0;
};

const char* const kWords[] = {
    "SOL", "MAR", "CASA", "AÇÃO", "PÃO", "AÇÚCAR", "BRASIL", "NORTE", "SUL", "ESTRELA", "OURO", "PRATA",
    "VERDE", "AZUL", "NOVA", "ERA", "TECH", "SISTEMAS", "SOLUÇÕES", "COMÉRCIO", "ALIMENTOS", "BEBIDAS",
    "CAFÉ", "CHOCOLATE", "EXPRESS", "LOGÍSTICA", "SAÚDE", "VIDA", "FILHOS", "IRMÃOS", "GRUPO", "MASTER",
    "PLUS", "TOP", "MAX", "PHARMA", "SCHMIDT", "WHISKY", "THOR", "XUXA", "PRÓXIMO", "DOCE", "LAR",
    "PRÍNCIPE", "FAZENDA", "ESPERANÇA", "MINEIRA", "GAÚCHA", "CARIOCA", "IPÊ", "D'OURO", "JABUTICABA"};

QString word(Rng& r) { return QString::fromUtf8(kWords[r.below(int(std::size(kWords)))]); }

QString mark(Rng& r)
{
    QString m = word(r);
    const int extra = r.below(3);
    for (int i = 0; i < extra; ++i) m += QLatin1Char(' ') + word(r);
    return m;
}

QString text(Rng& r, int words)
{
    QString t;
    for (int i = 0; i < words; ++i) {
        if (i) t += QLatin1Char(' ');
        t += word(r).toLower();
    }
    return t;
}

QString attorneyName(int n) { return QStringLiteral("ESCRITÓRIO %1 MARCAS E PATENTES LTDA").arg(n, 5, 10, QLatin1Char('0')); }

void check(QSqlQuery& q, bool ok)
{
    if (!ok) {
        std::fprintf(stderr, "erro: %s\n", qPrintable(q.lastError().text()));
        std::exit(1);
    }
}

constexpr int kFirstProcess = 80000000;
constexpr int kAttorneys = 20000;

struct Base {
    std::vector<QString> marks;  // stored mark of process kFirstProcess + i
};

// The 500,000 processes (with one entry each) and 20,000 attorneys. With
// write false only the generator runs, giving the marks of a base built
// earlier with the same seed.
Base buildBase(DbConnection& db, int processes, bool write)
{
    Base base;
    base.marks.reserve(processes);
    Rng r{12345};
    std::unique_ptr<DbTransaction> tx;
    QSqlQuery q(db.database());
    QSqlQuery e(db.database());
    if (write) {
        tx = std::make_unique<DbTransaction>(db);
        check(q, q.prepare(QStringLiteral("INSERT INTO Procuradores (procurador) VALUES (?)")));
        for (int i = 1; i <= kAttorneys; ++i) {
            q.addBindValue(attorneyName(i));
            check(q, q.exec());
        }
        check(q, q.prepare(QStringLiteral(
                     "INSERT INTO Processos (processo, revista, despacho, deposito, marcaclean, apresentacao, natureza, "
                     "nclver, nclclasse, marca, codprocurador, titular, titularpais, especificacao, marcaphon1, "
                     "marcaphon2) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)")));
        check(e, e.prepare(QStringLiteral("INSERT INTO RevProcs (processo, rpi, despacho) VALUES (?,?,?)")));
    }
    const QDate day(2005, 1, 3);
    for (int i = 0; i < processes; ++i) {
        const QString m = mark(r);
        base.marks.push_back(m);
        const int nclclasse = 1 + r.below(45);
        const int attorney = 2 + r.below(kAttorneys);
        const QString titular = QStringLiteral("TITULAR ") + word(r) + QStringLiteral(" LTDA");
        const QString especificacao = text(r, 12);
        if (!write) continue;
        q.addBindValue(kFirstProcess + i);
        q.addBindValue(2100);
        q.addBindValue(QStringLiteral("400"));
        q.addBindValue(day.addDays(i % 3000));
        q.addBindValue(LimpaTexto(m));
        q.addBindValue(QStringLiteral("N"));
        q.addBindValue(QStringLiteral("P"));
        q.addBindValue(9);
        q.addBindValue(nclclasse);
        q.addBindValue(m);
        q.addBindValue(attorney);
        q.addBindValue(titular);
        q.addBindValue(QStringLiteral("BR/SP"));
        q.addBindValue(especificacao);
        q.addBindValue(CalcMetaphone(m, 0, 0));
        q.addBindValue(CalcMetaphone(m, -1, 0));
        check(q, q.exec());
        e.addBindValue(kFirstProcess + i);
        e.addBindValue(2100);
        e.addBindValue(QStringLiteral("400"));
        check(e, e.exec());
    }
    if (write) {
        q.finish();
        e.finish();
        db.execute(QStringLiteral("INSERT INTO Revistas (revista, rdata, atualizado) VALUES (2100, '01.01.2012', 1)"));
        tx->commit();
    }
    return base;
}

// The staged row fields the generator fills; Null where not set.
struct Staged {
    QVariant values[30];
};

const char* const kRpiColumns[] = {"codigo", "processo", "revista", "despacho", "deposito", "vigencia", "concessao",
                                   "apresentacao", "natureza", "nclver", "nclclasse", "cferev", "cfe", "classe",
                                   "marca", "procurador", "titular", "cgccpf", "prioridadenum", "prioridadedata",
                                   "prioridadepais", "titularpais", "especificacao", "apostila", "complemento",
                                   "protocolo", "dataprotocolo", "codserv", "requerente", "procuradorpeticao"};
enum Col {
    cCodigo, cProcesso, cRevista, cDespacho, cDeposito, cVigencia, cConcessao, cApresentacao, cNatureza, cNclver,
    cNclclasse, cCferev, cCfe, cClasse, cMarca, cProcurador, cTitular, cCgccpf, cPrioridadenum, cPrioridadedata,
    cPrioridadepais, cTitularpais, cEspecificacao, cApostila, cComplemento, cProtocolo, cDataprotocolo, cCodserv,
    cRequerente, cProcuradorpeticao
};

class Stager {
public:
    explicit Stager(DbConnection& db) : q_(db.database()), c_(db.database())
    {
        QStringList cols, marks;
        for (const char* c : kRpiColumns) {
            cols << QLatin1String(c);
            marks << QStringLiteral("?");
        }
        check(q_, q_.prepare(QStringLiteral("INSERT INTO RPI (%1) VALUES (%2)").arg(cols.join(','), marks.join(','))));
        check(c_, c_.prepare(QStringLiteral(
                      "INSERT INTO ProcRefRevista (codigo, numproc, ordemproc, despacho, revista) VALUES (?,?,?,?,?)")));
    }
    void row(const Staged& s)
    {
        for (const QVariant& v : s.values) q_.addBindValue(v);
        check(q_, q_.exec());
        ++rows;
    }
    void cite(int numproc, int ordemproc, const QString& despacho, int revista)
    {
        c_.addBindValue(++cites);
        c_.addBindValue(numproc);
        c_.addBindValue(ordemproc);
        c_.addBindValue(despacho);
        c_.addBindValue(revista);
        check(c_, c_.exec());
    }
    int rows = 0;
    int cites = 0;

private:
    QSqlQuery q_, c_;
};

// Fields shared by both layouts for one process.
void fillProcess(Staged& s, Rng& r, const Base& base, int processo, int& newAttorneys)
{
    const int i = processo - kFirstProcess;
    const bool known = i >= 0 && i < int(base.marks.size());
    if (known && r.chance(80)) s.values[cMarca] = base.marks[i];
    else if (r.chance(95)) s.values[cMarca] = mark(r);
    s.values[cDeposito] = QDate(2011, 1, 1).addDays(r.below(700));
    if (r.chance(50)) s.values[cApresentacao] = QStringLiteral("M");
    if (r.chance(50)) s.values[cNatureza] = QStringLiteral("S");
    if (r.chance(70)) {
        s.values[cNclver] = 10;
        s.values[cNclclasse] = 1 + r.below(45);
        s.values[cEspecificacao] = text(r, 20 + r.below(200));
    }
    if (r.chance(20)) {
        s.values[cCferev] = 5;
        s.values[cCfe] = QStringLiteral("26.1.1;27.5.1");
    }
    const int a = r.below(100);
    if (a < 88) s.values[cProcurador] = attorneyName(1 + r.below(kAttorneys));
    else if (a < 93) s.values[cProcurador] = QStringLiteral("NOVO PROCURADOR %1.").arg(++newAttorneys);
    else if (a < 96) s.values[cProcurador] = QStringLiteral("O PRÓPRIO");
    s.values[cTitular] = QStringLiteral("TITULAR ") + word(r) + QStringLiteral(" LTDA");
    s.values[cTitularpais] = QStringLiteral("BR/RJ");
    if (r.chance(5)) s.values[cApostila] = text(r, 10);
}

int pickProcess(Rng& r, const Base& base, int& nextNew)
{
    if (r.chance(60)) return kFirstProcess + r.below(int(base.marks.size()));
    return 90000000 + nextNew++;
}

void stageTextIssue(DbConnection& db, const Base& base, int revista, int records)
{
    Rng r{777};
    DbTransaction tx(db);
    db.execute(QStringLiteral("DELETE FROM RPI"));
    db.execute(QStringLiteral("DELETE FROM ProcRefRevista"));
    Stager st(db);
    int nextNew = 0, newAttorneys = 0;
    const int despachos[] = {300, 400, 100, 405, 390, 241, 600, 410};
    for (int codigo = 1; codigo <= records; ++codigo) {
        Staged s;
        const int processo = pickProcess(r, base, nextNew);
        const int d = despachos[r.below(int(std::size(despachos)))];
        s.values[cCodigo] = codigo;
        s.values[cProcesso] = processo;
        s.values[cRevista] = revista;
        s.values[cDespacho] = QString::number(d);
        fillProcess(s, r, base, processo, newAttorneys);
        if (r.chance(10)) {
            const int cited = kFirstProcess + r.below(int(base.marks.size()));
            s.values[cComplemento] = QStringLiteral("*ref. processo %1%2").arg(cited).arg(r.below(10));
            st.row(s);
            st.cite(cited, codigo, QString::number(d), revista);
        } else {
            st.row(s);
        }
    }
    db.execute(QStringLiteral("INSERT INTO Revistas (revista, rdata, atualizado) VALUES (%1, '03.07.2013', 0)").arg(revista));
    tx.commit();
}

void stageXmlIssue(DbConnection& db, const Base& base, int revista, int dispatches)
{
    Rng r{999};
    DbTransaction tx(db);
    db.execute(QStringLiteral("DELETE FROM RPI"));
    db.execute(QStringLiteral("DELETE FROM ProcRefRevista"));
    Stager st(db);
    int nextNew = 500000, newAttorneys = 100000;
    int counter = 0;  // the reader's process counter
    const char* const codes[] = {"IPAS009", "IPAS024", "IPAS136", "IPAS158", "IPAS270", "IPAS400", "IPAS029"};
    while (st.rows < dispatches) {
        ++counter;
        const int processo = pickProcess(r, base, nextNew);
        // A few processes come without a dispatch: their codigo stays unused.
        const int n = r.chance(2) ? 0 : (r.chance(75) ? 1 : 2 + r.below(2));
        Staged s;
        s.values[cProcesso] = processo;
        s.values[cRevista] = revista;
        fillProcess(s, r, base, processo, newAttorneys);
        if (r.chance(8))
            st.cite(kFirstProcess + r.below(int(base.marks.size())), counter, n ? QLatin1String(codes[0]) : QString(),
                    revista);
        for (int i = 1; i <= n && st.rows < dispatches; ++i) {
            Staged d = s;
            d.values[cCodigo] = counter - 1 + i;
            d.values[cDespacho] = QLatin1String(codes[r.below(int(std::size(codes)))]);
            if (r.chance(60)) {
                d.values[cProtocolo] = QStringLiteral("8501%1").arg(r.below(100000000), 8, 10, QLatin1Char('0'));
                d.values[cDataprotocolo] = QDate(2013, 1, 1).addDays(r.below(200));
                d.values[cCodserv] = QString::number(300 + r.below(100));
                d.values[cRequerente] = QStringLiteral("REQUERENTE ") + word(r) + QStringLiteral(" (BR/SP)");
                const int a = r.below(100);
                if (a < 85) d.values[cProcuradorpeticao] = attorneyName(1 + r.below(kAttorneys));
                else if (a < 90) d.values[cProcuradorpeticao] = d.values[cProcurador];
                else if (a < 95) d.values[cProcuradorpeticao] = QStringLiteral("O PRÓPRIO");
            }
            if (r.chance(30)) d.values[cComplemento] = text(r, 15);
            st.row(d);
        }
        if (n > 1) counter += n - 1;
    }
    db.execute(QStringLiteral("INSERT INTO Revistas (revista, rdata, atualizado) VALUES (%1, '03.09.2013', 0)").arg(revista));
    tx.commit();
}

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

double apply(int revista, int rows, const char* what)
{
    QElapsedTimer t;
    t.start();
    const double cpu0 = cpuSeconds();
    IssueTransfer transfer(OptionsForIssue(revista));
    const TransferResult result = transfer.run(revista);
    const double secs = t.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpu0;
    std::printf("%s RPI %d: %d linhas em %.2f s = %.0f linhas/s, CPU %.2f s (%s); novos processos %d, novos "
                "procuradores %d, referências %d; pico de memória %.0f MB\n",
                what, revista, rows, secs, rows / secs, cpu, result == TransferResult::Done ? "ok" : "FALHOU",
                transfer.counter(TransferCounter::NumNewProcs), transfer.counter(TransferCounter::NumProcuradores),
                transfer.counter(TransferCounter::NumProcsRef), bench::PeakMemoryMb());
    std::fflush(stdout);
    return secs;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int processes = argc > 1 ? std::atoi(argv[1]) : 500000;
    const int textRecords = argc > 2 ? std::atoi(argv[2]) : 40000;
    const int xmlDispatches = argc > 3 ? std::atoi(argv[3]) : 50000;
    BenchUi bui;
    setUi(&bui);

    const QString keep = qEnvironmentVariable("QUORVANTA_BENCH_BASE");
    const bool reuse = !keep.isEmpty() && QFile::exists(keep);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.fdb"));
    const QString source = reuse ? keep : QStringLiteral(QUORVANTA_TEMPLATE_DB);
    if (!bench::CopyDatabase(source, path)) {
        std::fprintf(stderr, "não foi possível copiar %s\n", qPrintable(source));
        return 1;
    }
    const QString connection = bench::EmbeddedConnection(path);
    DbConnection& db = DbConnection::instance();
    try {
        db.open(connection);
        QElapsedTimer t;
        t.start();
        const Base base = buildBase(db, processes, !reuse);
        if (reuse) {
            std::printf("base: %d processos copiados de %s\n", processes, qPrintable(keep));
        } else {
            std::printf("base: %d processos, %d procuradores, %d entradas em %.1f s\n", processes, kAttorneys,
                        processes, t.nsecsElapsed() / 1e9);
            if (!keep.isEmpty()) {
                db.close();
                QFile::copy(path, keep);
                db.open(connection);
            }
        }

        t.restart();
        stageTextIssue(db, base, 2200, textRecords);
        std::printf("RPI 2200 (texto) preparada: %d registros em %.1f s\n", textRecords, t.nsecsElapsed() / 1e9);
        apply(2200, textRecords, "texto");

        t.restart();
        stageXmlIssue(db, base, 2230, xmlDispatches);
        std::printf("RPI 2230 (XML) preparada: %d despachos em %.1f s\n", xmlDispatches, t.nsecsElapsed() / 1e9);
        apply(2230, xmlDispatches, "XML");
        apply(2230, xmlDispatches, "XML refeita");
    } catch (const DbError& e) {
        std::fprintf(stderr, "erro: %s\n%s\n", qPrintable(e.message()), qPrintable(e.sql()));
        return 1;
    }
    db.close();
    setUi(nullptr);
    return 0;
}
