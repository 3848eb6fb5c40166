// The text-layout reader end to end: generated archives read into a fresh
// database, with the seams scripted.
#include "fixtures/IssueGenerator.h"
#include "ZipBuilder.h"
#include "journal/IssueRead.h"
#include "journal/TextReader.h"
#include "keys/Cp1252.h"
#include "shell/Globals.h"
#include "support/TestDb.h"
#include "support/TestUi.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fixtures;

void PrintTo(const QString& s, std::ostream* os) { *os << s.toStdString(); }

namespace {

class TextReaderTest : public ::testing::Test {
protected:
    TextReaderTest() { Globals::setProgramDir(program.path()); }
    ~TextReaderTest() override { Globals::setProgramDir(QString()); }

    bool read(const QString& archive, int issue, const QDate& date, TxtVariant v = TxtVariant::Dialog)
    {
        TextReader reader;
        reader.showCount = [this](int n) { shown << n; };
        TxtReadRequest req{archive, QStringLiteral("RPI %1").arg(issue), date, v};
        const bool ok = reader.LerRevistaTxt(req);
        written = reader.recordsWritten();
        return ok;
    }
    QString archiveOf(const QStringList& lines, int issue = 2150, const QString& member = QString())
    {
        const QString name = QStringLiteral("RM%1").arg(issue);
        const QString path = QDir(files.path()).filePath(name + ".zip");
        WriteZip(path, {{member.isEmpty() ? name + ".txt" : member, cp1252::encode(lines.join("\r\n"))}});
        return path;
    }
    Recordset rows(const QString& sql) { Recordset r = db.db().query(sql); r.moveFirst(); return r; }

    TestDb db;
    TestUi ui;
    TestClock clock;
    QTemporaryDir program, files;
    QList<int> shown;
    int written = 0;
};

QString letter(const QString& word, const QStringList& from, const QString& to)
{
    for (int i = 0; i < from.size(); ++i)
        if (word == from[i]) return to.mid(i, 1);
    return QString();
}

// A column's text as the test prints it, Null apart.
std::string col(const QVariant& v) { return v.isNull() ? "<Null>" : v.toString().toStdString(); }
std::string textOrNull(const QString& s) { return s.isEmpty() ? "<Null>" : s.toStdString(); }

QString noQuotes(QString s) { return s.remove(QLatin1Char('"')); }

}  // namespace

TEST_F(TextReaderTest, GeneratedIssueIsStagedAsPublished)
{
    const Issue issue = GenerateIssue({2150, 120, 7, QDate(2012, 4, 24)});
    const QDate date(2012, 4, 24);
    ASSERT_TRUE(read(WriteTextArchive(files.path(), issue), 2150, date));
    ASSERT_EQ(written, 120);
    ASSERT_EQ(db.count("RPI"), 120);
    EXPECT_EQ(shown.first(), 0);
    EXPECT_EQ(shown.last(), 120);

    Recordset r = rows("SELECT * FROM RPI ORDER BY codigo");
    Recordset c = rows("SELECT * FROM PROCREFREVISTA ORDER BY codigo");
    int citation = 0;
    for (int i = 0; i < 120; ++i, r.moveNext()) {
        const Process& p = issue.processes[i];
        const int code = p.dispatches[0].code;
        SCOPED_TRACE(QStringLiteral("record %1, dispatch %2").arg(i + 1).arg(code).toStdString());
        EXPECT_EQ(r.value("codigo").toInt(), i + 1);
        EXPECT_EQ(r.value("processo").toInt(), p.number);
        EXPECT_EQ(r.value("revista").toInt(), 2150);
        EXPECT_EQ(r.value("despacho").toString(), QString::number(code));
        if (code < 400) {
            EXPECT_EQ(r.value("deposito").toDate(), p.deposito);
            EXPECT_TRUE(r.isNull("vigencia") && r.isNull("concessao"));
        } else if (code <= 404) {
            EXPECT_EQ(r.value("concessao").toDate(), date);
            EXPECT_EQ(r.value("vigencia").toDate(), date.addYears(10));
            EXPECT_TRUE(r.isNull("deposito"));
        } else {
            EXPECT_EQ(r.value("vigencia").toDate(), p.concessao.addYears(10));
            EXPECT_TRUE(r.isNull("deposito") && r.isNull("concessao"));
        }
        EXPECT_EQ(r.value("apresentacao").toString(),
                  letter(p.apresentacao, {"Nominativa", "Mista", "Figurativa", "Tridimensional"}, "NMFT"));
        EXPECT_EQ(r.value("natureza").toString(),
                  letter(p.natureza, {"De Produto", QString::fromUtf8("De Serviço"), "Coletiva",
                                      QString::fromUtf8("Certificação")}, "PSKC"));
        EXPECT_EQ(col(r.value("marca")), textOrNull(noQuotes(p.mark)));
        EXPECT_EQ(r.value("nclver"), p.nclver ? QVariant(p.nclver) : QVariant());
        EXPECT_EQ(r.value("nclclasse"), p.nclclasse ? QVariant(p.nclclasse) : QVariant());
        EXPECT_EQ(col(r.value("especificacao")), textOrNull(noQuotes(p.especificacao)));
        QStringList items;
        for (const QString& s : p.subclasses) items << p.nationalClass + "." + s;
        EXPECT_EQ(col(r.value("classe")), textOrNull(items.join(";")));
        EXPECT_EQ(col(r.value("cfe")), textOrNull(p.vienna.join("; ")));
        EXPECT_EQ(r.value("cferev"), p.cferev ? QVariant(p.cferev) : QVariant());
        const Holder& h = p.holders.last();  // a later "Tit." line replaces the earlier
        EXPECT_EQ(r.value("titular").toString(), noQuotes(h.name));
        EXPECT_EQ(r.value("titularpais").toString(), h.state.isEmpty() ? h.country : h.country + "/" + h.state);
        EXPECT_EQ(col(r.value("procurador")), textOrNull(p.attorney.isEmpty() ? QString() : " " + p.attorney));
        EXPECT_EQ(col(r.value("cgccpf")), textOrNull(p.cnpj));
        if (p.priorities.isEmpty()) {
            EXPECT_TRUE(r.isNull("prioridadenum") && r.isNull("prioridadedata") && r.isNull("prioridadepais"));
        } else {
            const Priority& pr = p.priorities.last();
            EXPECT_EQ(r.value("prioridadenum").toString(), pr.number.leftJustified(17));
            EXPECT_EQ(r.value("prioridadedata").toDate(), pr.date);
            EXPECT_EQ(r.value("prioridadepais").toString(), pr.country);
        }
        EXPECT_EQ(col(r.value("apostila")), textOrNull(noQuotes(p.apostila)));
        const QString compl_ = p.dispatches[0].complement;
        EXPECT_EQ(col(r.value("complemento")), textOrNull(compl_.isEmpty() ? QString() : "*" + noQuotes(compl_)));
        EXPECT_TRUE(r.isNull("protocolo") && r.isNull("requerente") && r.isNull("codserv"));
        if (DispatchCites(code)) {
            for (int cited : p.dispatches[0].cited) {
                ASSERT_FALSE(c.eof());
                EXPECT_EQ(c.value("codigo").toInt(), ++citation);
                EXPECT_EQ(c.value("numproc").toInt(), cited);
                EXPECT_EQ(c.value("ordemproc").toInt(), i + 1);
                EXPECT_EQ(c.value("despacho").toString(), QString::number(code));
                EXPECT_EQ(c.value("revista").toInt(), 2150);
                c.moveNext();
            }
        }
    }
    EXPECT_TRUE(c.eof());
    EXPECT_GT(citation, 0);

    Recordset rev = rows("SELECT * FROM Revistas");
    ASSERT_EQ(rev.recordCount(), 1);
    EXPECT_EQ(rev.value("revista").toInt(), 2150);
    EXPECT_EQ(rev.value("rdata").toDate(), date);
    EXPECT_EQ(rev.value("atualizado").toInt(), 0);

    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().text, "Final de Leitura");
    EXPECT_EQ(ui.lastMessage().style, 0);
    EXPECT_EQ(ui.lastMessage().title, "Leitura de Revista");
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(clock.waits, QList<int>{5});
    EXPECT_EQ(ui.pointerHistory.first(), vb::Hourglass);
    EXPECT_EQ(ui.pointer(), vb::Default);
    EXPECT_TRUE(QDir(TextReader::workDir()).entryList({"*.txt"}, QDir::Files).isEmpty());
}

TEST_F(TextReaderTest, RereadingAnIssueKeepsItsUpdateMark)
{
    const Issue issue = GenerateIssue({2150, 10, 3, QDate(2012, 4, 24)});
    const QString zip = WriteTextArchive(files.path(), issue);
    ASSERT_TRUE(read(zip, 2150, QDate(2012, 4, 24)));
    db.db().execute("UPDATE Revistas SET atualizado = 1, codrevproc = 77");
    db.db().execute("INSERT INTO Revistas (revista, rdata, atualizado) VALUES (2149, '17.04.2012', 1)");
    ASSERT_TRUE(read(zip, 2150, QDate(2012, 4, 25)));
    EXPECT_EQ(db.count("RPI"), 10);  // emptied first, not added to
    Recordset rev = rows("SELECT * FROM Revistas WHERE revista = 2150");
    EXPECT_EQ(rev.value("rdata").toDate(), QDate(2012, 4, 25));
    EXPECT_EQ(rev.value("atualizado").toInt(), 1);
    EXPECT_EQ(rev.value("codrevproc").toInt(), 77);
    EXPECT_EQ(db.count("Revistas"), 2);
}

TEST_F(TextReaderTest, LinesBeforeTheFirstNumberFeedRecordOneAndTheLastLineIsRead)
{
    const QStringList lines{"Marca: ANTES", "No.820001234  15/03/2010  IPAS003", "Tit.A (BR/SP)",
                            "No.820001240  15/03/2011  IPAS100", "*Ref. 820001234 e 12345678",
                            QString::fromUtf8("Tit.ÚLTIMA LINHA (BR)")};
    // With and without a line break after the last line.
    for (const QString& end : {QString(), QStringLiteral("\r\n")}) {
        const QString zip = QDir(files.path()).filePath("RM2150.zip");
        WriteZip(zip, {{"rm2150.TXT", cp1252::encode(lines.join("\r\n") + end)}});
        ASSERT_TRUE(read(zip, 2150, QDate(2012, 4, 24)));
        Recordset r = rows("SELECT codigo, processo, marca, titular, titularpais FROM RPI ORDER BY codigo");
        ASSERT_EQ(r.recordCount(), 2);
        EXPECT_EQ(r.value("marca").toString(), "ANTES");
        EXPECT_EQ(r.value("titular").toString(), "A");
        r.moveNext();
        EXPECT_EQ(r.value("processo").toInt(), 82000124);
        EXPECT_EQ(r.value("titular").toString(), QString::fromUtf8("ÚLTIMA LINHA"));
        EXPECT_EQ(r.value("titularpais").toString(), "BR");
        EXPECT_EQ(db.scalar("SELECT numproc FROM PROCREFREVISTA").toInt(), 82000123);
        EXPECT_EQ(db.scalar("SELECT ordemproc FROM PROCREFREVISTA").toInt(), 2);
    }
}

TEST_F(TextReaderTest, AccentsApostrophesAndQuotesSurviveTheRoundTrip)
{
    const QString zip = archiveOf({"No.820001234  15/03/2010  IPAS003", QString::fromUtf8("Marca: PÃO D'OURO \"REAL\""),
                                   QString::fromUtf8("Tit.CONCEIÇÃO D'ÁVILA (BR/SP)"),
                                   QString::fromUtf8("Apostila: sem direito a \"d'ouro\""), "fim"});
    ASSERT_TRUE(read(zip, 2150, QDate(2012, 4, 24)));
    Recordset r = rows("SELECT marca, titular, apostila FROM RPI");
    EXPECT_EQ(r.value("marca").toString(), QString::fromUtf8("PÃO D'OURO REAL"));
    EXPECT_EQ(r.value("titular").toString(), QString::fromUtf8("CONCEIÇÃO D'ÁVILA"));
    EXPECT_EQ(r.value("apostila").toString(), "sem direito a d'ouro");
}

TEST_F(TextReaderTest, LongTextsArriveWhole)
{
    const QString spec = QString(63990, QLatin1Char('x')) + "'fim'" + QString(100, QLatin1Char('y'));
    const QString zip = archiveOf({"No.820001234  15/03/2010  IPAS003", "Especific.: " + spec, "fim"});
    ASSERT_TRUE(read(zip, 2150, QDate(2012, 4, 24)));
    const QString stored = db.scalar("SELECT especificacao FROM RPI").toString();
    EXPECT_EQ(stored.size(), 64000);
    EXPECT_EQ(stored, spec.left(64000));
}

TEST_F(TextReaderTest, FailuresLeaveTheStagedIssueAsItWas)
{
    const Issue before = GenerateIssue({2149, 5, 1, QDate(2012, 4, 17)});
    ASSERT_TRUE(read(WriteTextArchive(files.path(), before), 2149, QDate(2012, 4, 17)));
    auto unchanged = [&] {
        EXPECT_EQ(db.count("RPI"), 5);
        EXPECT_EQ(db.scalar("SELECT MAX(revista) FROM RPI").toInt(), 2149);
        EXPECT_EQ(db.count("Revistas"), 1);
        EXPECT_EQ(ui.lastMessage().icon(), vb::Critical);
        EXPECT_EQ(ui.pointer(), vb::Default);
    };

    // A damaged archive: one message, in Portuguese, the extraction's own
    // text after it as its detail.
    ui.clear();
    const QString damaged = QDir(files.path()).filePath("RM2150.zip");
    QFile f(damaged);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK\x03\x04 not really a zip");
    f.close();
    EXPECT_FALSE(read(damaged, 2150, QDate(2012, 4, 24)));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QString("Leitura de Revista"));
    const QString notRead = QString::fromUtf8("A revista não foi lida; nada foi alterado no banco de dados.\n");
    EXPECT_TRUE(ui.messages[0].text.startsWith(
        notRead + QString::fromUtf8("Erro na leitura: o arquivo %1 está danificado ou não é um arquivo zip\n\n"
                                    "Mensagem da extração:\nunzip: ")
                      .arg(damaged)))
        << ui.messages[0].text.toStdString();
    unchanged();

    // An archive holding no journal file.
    ui.clear();
    const QString pdfOnly = QDir(files.path()).filePath("RMPDF2150.zip");
    WriteZip(pdfOnly, {{"RM2150.pdf", QByteArray("%PDF-1.4")}});
    EXPECT_FALSE(read(pdfOnly, 2150, QDate(2012, 4, 24)));
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.lastMessage().text.contains("rm*.TXT"));
    unchanged();

    // A database failure in the middle of the read rolls everything back.
    ui.clear();
    db.db().execute("ALTER TABLE RPI ADD CONSTRAINT no_such_process CHECK (processo <> 82000124)");
    const QString zip = archiveOf({"No.820001234  15/03/2010  IPAS003", "No.820001240  15/03/2010  IPAS003", "fim"});
    EXPECT_FALSE(read(zip, 2150, QDate(2012, 4, 24)));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.lastMessage().text.contains("NO_SUCH_PROCESS", Qt::CaseInsensitive)) << ui.lastMessage().text.toStdString();
    EXPECT_EQ(written, 0);
    unchanged();
}

TEST_F(TextReaderTest, FilesWithoutARecordOrWithABadNumberAreRefused)
{
    const Issue before = GenerateIssue({2149, 5, 1, QDate(2012, 4, 17)});
    ASSERT_TRUE(read(WriteTextArchive(files.path(), before), 2149, QDate(2012, 4, 17)));
    const QString notRead = QString::fromUtf8("A revista não foi lida; nada foi alterado no banco de dados.\n");
    const QString noRecord = notRead + QString::fromUtf8(
        "Erro na leitura: o arquivo da revista não contém nenhum processo (nenhuma linha começa com \"No.\")");
    const QString badNumber =
        QString::fromUtf8("Erro no layout do arquivo txt - linha %1: o número do processo não tem nove dígitos");
    const struct {
        QByteArray bytes;
        QString message;
    } cases[] = {
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\xff\xfe No.820001234 IPAS003\r\n\x01\x02", 32), noRecord},
        {QByteArray(), noRecord},
        {QByteArray("Marca: SOZINHA"), noRecord},
        {QByteArray("Marca: X\r\n\r\nNo.82000A234  15/03/2010  IPAS003\r\nTit.A (BR)"), badNumber.arg(3)},
        {QByteArray("No.820001234  15/03/2010  IPAS003\r\nNo.1234"), badNumber.arg(2)},
        {QByteArray("No.82000123  15/03/2010  IPAS003"), badNumber.arg(1)},  // the ninth digit missing
    };
    for (const auto& c : cases) {
        ui.clear();
        const QString zip = QDir(files.path()).filePath("RM2150.zip");
        WriteZip(zip, {{"rm2150.TXT", c.bytes}});
        EXPECT_FALSE(read(zip, 2150, QDate(2012, 4, 24))) << c.message.toStdString();
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.lastMessage().text, c.message);
        EXPECT_EQ(ui.lastMessage().icon(), vb::Critical);
        EXPECT_EQ(ui.pointer(), vb::Default);
        EXPECT_EQ(db.count("RPI"), 5);
        EXPECT_EQ(db.scalar("SELECT MAX(revista) FROM RPI").toInt(), 2149);
        EXPECT_EQ(db.count("Revistas"), 1);
        EXPECT_EQ(shown.last(), 0);
    }

    // The journal file is there but cannot be extracted (no password given).
    ui.clear();
    const QString locked = QDir(files.path()).filePath("RM2151.zip");
    ASSERT_TRUE(writeZip(locked, {::ZipMember("RM2151.TXT", "No.820001234  15/03/2010  IPAS003", false, "segredo")}));
    EXPECT_FALSE(read(locked, 2151, QDate(2012, 5, 1)));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text,
              notRead + QString::fromUtf8("Erro na leitura: o arquivo da revista (rm*.TXT) contido em %1 não pôde ser "
                                          "extraído\n\nMensagem da extração:\nskipping: RM2151.TXT  (no password "
                                          "given)")
                            .arg(locked));
    EXPECT_EQ(db.count("RPI"), 5);

    // Running out of memory is told in Portuguese, as any other failure.
    ui.clear();
    IssueRead shared({"rm*.TXT", "*.txt", "nenhum"});
    EXPECT_FALSE(shared.fromBytes("x", [](const QByteArray&) -> StagedIssue { throw std::bad_alloc(); }));
    EXPECT_EQ(ui.lastMessage().text, notRead + QString::fromUtf8("Erro na leitura: memória insuficiente"));
    EXPECT_EQ(ui.lastMessage().title, "Leitura de Revista");
    EXPECT_EQ(db.count("RPI"), 5);
}

TEST_F(TextReaderTest, OtherMembersStayAndOldJournalFilesGo)
{
    QDir(program.path()).mkpath("txt");
    QFile old(QDir(TextReader::workDir()).filePath("RM2000.TXT"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("No.820009999  15/03/2010  IPAS003\r\nfim\r\n");
    old.close();
    const QString zip = QDir(files.path()).filePath("RMTXTPDF2150.zip");
    WriteZip(zip, {{"docs/RM2150.pdf", QByteArray("%PDF-1.4")},
                   {"rm2150.txt", cp1252::encode("No.820001234  15/03/2010  IPAS003\r\nfim\r\n")}});
    ASSERT_TRUE(read(zip, 2150, QDate(2012, 4, 24)));
    EXPECT_EQ(db.scalar("SELECT processo FROM RPI").toInt(), 82000123);
    const QStringList left = QDir(TextReader::workDir()).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList{"RM2150.pdf"});  // flat, and only *.txt deleted
}

TEST_F(TextReaderTest, BatchVariantKeepsTheClassListAndEndsQuietly)
{
    const QString zip = archiveOf({"No.820001234  15/03/2010  IPAS003", "Clas.Prod/Serv: 25.10, 25.20", "fim"});
    ASSERT_TRUE(read(zip, 2150, QDate(2012, 4, 24), TxtVariant::Batch));
    EXPECT_EQ(db.scalar("SELECT classe FROM RPI").toString(), "25.10, 25.20");
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(clock.waits, QList<int>{5});
    EXPECT_EQ(ui.pointer(), vb::Default);
    EXPECT_TRUE(QDir(TextReader::workDir()).entryList({"*.txt"}, QDir::Files).isEmpty());
}
