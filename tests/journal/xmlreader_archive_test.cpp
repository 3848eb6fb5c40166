// The XML-layout reader on generated issues in the journal's current form,
// value by value against the model, and the whole read from an archive.
#include "fixtures/IssueGenerator.h"
#include "fixtures/XmlFixture.h"
#include "journal/XmlDecoder.h"
#include "journal/XmlReader.h"
#include "keys/Cp1252.h"
#include "keys/UpperCase.h"
#include "shell/Globals.h"
#include "support/TestDb.h"
#include "support/TestUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fixtures;

void PrintTo(const QString& s, std::ostream* os) { *os << s.toStdString(); }

namespace {

class XmlArchiveTest : public ::testing::Test {
protected:
    XmlArchiveTest() { Globals::setProgramDir(program.path()); }
    ~XmlArchiveTest() override { Globals::setProgramDir(QString()); }

    Recordset rows(const QString& sql)
    {
        Recordset r = db.db().query(sql);
        r.moveFirst();
        return r;
    }
    QStringList workFiles() const { return QDir(XmlReader::workDir()).entryList(QDir::Files); }

    TestDb db;
    TestUi ui;
    TestClock clock;
    QTemporaryDir program, files;
    XmlReaderValues target;
};

// A text as the reader stages it: written as UTF-8 with its entities, then
// decoded (a double quote comes back as an apostrophe).
QString staged(QString s)
{
    s.replace(QLatin1Char('"'), QLatin1Char('\''));
    return DecodificaTextoXml(cp1252::decode(s.toUtf8()));
}

QString stagedUpper(const QString& s) { return textcase::upper(staged(s)); }

// A column's value as text, "<Null>" for Null.
QString col(const QVariant& v)
{
    if (v.isNull()) return QStringLiteral("<Null>");
    if (v.typeId() == QMetaType::QDate) return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    return v.toString();
}
QString orNull(const QString& s) { return s.isEmpty() ? QStringLiteral("<Null>") : s; }
QString orNull(const QDate& d) { return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QStringLiteral("<Null>"); }
QString orNull(int n) { return n == 0 ? QStringLiteral("<Null>") : QString::number(n); }

QString code(const QString& word, const QStringList& words, const QString& letters)
{
    const qsizetype i = words.indexOf(word);
    return i < 0 ? word : letters.mid(i, 1);
}

// Checks every staged row and citation against the issue's model.
void expectStagedAsModelled(TestDb& db, const Issue& issue)
{
    Recordset r = db.db().query("SELECT * FROM RPI ORDER BY codigo");
    Recordset c = db.db().query("SELECT * FROM PROCREFREVISTA ORDER BY codigo");
    r.moveFirst();
    c.moveFirst();
    int counter = 0, citation = 0;
    for (const Process& p : issue.processes) {
        ++counter;
        const std::string where = ProcessText(p.number).toStdString();
        for (int s : p.suspenders) {
            ASSERT_FALSE(c.eof()) << where;
            EXPECT_EQ(c.value("codigo").toInt(), ++citation);
            EXPECT_EQ(c.value("numproc").toInt(), s) << where;
            EXPECT_EQ(c.value("ordemproc").toInt(), counter) << where;
            EXPECT_EQ(col(c.value("despacho")), p.dispatches.isEmpty() ? QString() : DispatchCode(p.dispatches[0].code));
            c.moveNext();
        }
        const Holder h = p.holders.value(0);
        QStringList items;
        for (const QString& s : p.subclasses) items << p.nationalClass + '.' + s;
        const bool granted = p.dispatches.value(0).code >= 400;
        const Priority pr = p.priorities.value(0);
        for (int i = 0; i < p.dispatches.size(); ++i, r.moveNext()) {
            ASSERT_FALSE(r.eof()) << where;
            const Dispatch& d = p.dispatches[i];
            EXPECT_EQ(r.value("codigo").toInt(), counter + i) << where;
            EXPECT_EQ(r.value("processo").toInt(), p.number) << where;
            EXPECT_EQ(r.value("revista").toInt(), issue.number);
            EXPECT_EQ(r.value("despacho").toString(), DispatchCode(d.code)) << where;
            EXPECT_EQ(col(r.value("deposito")), orNull(p.deposito)) << where;
            EXPECT_EQ(col(r.value("concessao")), orNull(granted ? p.concessao : QDate())) << where;
            EXPECT_EQ(col(r.value("vigencia")), orNull(granted ? p.concessao.addYears(10) : QDate())) << where;
            EXPECT_EQ(col(r.value("apresentacao")),
                      code(p.apresentacao, {"Nominativa", "Mista", "Figurativa", "Tridimensional"}, "NMFT"));
            EXPECT_EQ(col(r.value("natureza")),
                      code(p.natureza, {"De Produto", "De Serviço", "Coletiva", "Certificação"}, "PSKC"))
                << where;
            EXPECT_EQ(col(r.value("nclclasse")), orNull(p.nclclasse)) << where;
            EXPECT_EQ(col(r.value("nclver")), orNull(p.nclclasse ? p.nclver : 0)) << where;
            EXPECT_EQ(col(r.value("cferev")), orNull(p.vienna.isEmpty() ? 0 : p.cferev)) << where;
            EXPECT_EQ(col(r.value("cfe")), orNull(p.vienna.join(';'))) << where;
            EXPECT_EQ(col(r.value("classe")), orNull(items.join(';'))) << where;
            EXPECT_EQ(col(r.value("marca")), orNull(staged(p.mark))) << where;
            EXPECT_EQ(col(r.value("procurador")), orNull(stagedUpper(p.attorney))) << where;
            EXPECT_EQ(col(r.value("titular")), orNull(staged(h.name))) << where;
            EXPECT_EQ(col(r.value("titularpais")), h.country == "BR" ? "BR/" + h.state : h.country) << where;
            EXPECT_TRUE(r.isNull("cgccpf"));
            EXPECT_EQ(col(r.value("prioridadenum")), orNull(pr.number)) << where;
            EXPECT_EQ(col(r.value("prioridadedata")), orNull(pr.date)) << where;
            EXPECT_EQ(col(r.value("prioridadepais")), orNull(pr.country)) << where;
            EXPECT_EQ(col(r.value("especificacao")), orNull(staged(p.especificacao))) << where;
            EXPECT_EQ(col(r.value("apostila")), orNull(staged(p.apostila))) << where;
            EXPECT_EQ(col(r.value("protocolo")), orNull(d.protocolo)) << where;
            EXPECT_EQ(col(r.value("dataprotocolo")), orNull(d.protocolo.isEmpty() ? QDate() : d.dataProtocolo));
            EXPECT_EQ(col(r.value("codserv")), orNull(d.codServ)) << where;
            QString req;
            if (!d.protocolo.isEmpty()) {
                const Place at = RequerentePlace(d);
                req = staged(d.requerente);
                if (!at.pais.isEmpty()) req += " (" + at.pais + (at.uf.isEmpty() ? "" : "/" + at.uf) + ")";
            }
            EXPECT_EQ(col(r.value("requerente")), orNull(req)) << where;
            EXPECT_EQ(col(r.value("procuradorpeticao")), orNull(stagedUpper(d.procuradorPeticao))) << where;
            EXPECT_EQ(col(r.value("complemento")), orNull(staged(d.complement))) << where;
        }
        if (p.dispatches.size() > 1) counter += int(p.dispatches.size()) - 1;
    }
    EXPECT_TRUE(r.eof());
    EXPECT_TRUE(c.eof());
}

}  // namespace

TEST_F(XmlArchiveTest, CurrentFormIsStagedAsModelled)
{
    const Issue issue = GenerateIssue({2501, 300, 5, QDate(2018, 12, 18)});
    XmlReader reader(target);
    ASSERT_TRUE(reader.readIssue(InpiXmlLayout(issue))) << ui.messages.value(0).text.toStdString();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(target.registros, 300);
    EXPECT_EQ(target.num, QString("RPI 2501"));
    EXPECT_EQ(target.date, QDate(2018, 12, 18));
    expectStagedAsModelled(db, issue);
}

TEST_F(XmlArchiveTest, LfOnlyWrappedTextsAndSeveralNiceClassesGiveTheSameValues)
{
    const Issue issue = GenerateIssue({2502, 300, 9, QDate(2018, 12, 25)});
    XmlForm form;
    form.crlf = false;
    form.wrapAt = 9;
    form.extraNiceClass = true;
    XmlReader reader(target);
    ASSERT_TRUE(reader.readIssue(InpiXmlLayout(issue, form))) << ui.messages.value(0).text.toStdString();
    EXPECT_TRUE(ui.messages.isEmpty());
    expectStagedAsModelled(db, issue);
}

TEST_F(XmlArchiveTest, ReadFromTheArchiveIntoTheWorkFolderAndOut)
{
    const Issue issue = GenerateIssue({2503, 40, 3, QDate(2019, 1, 8)});
    const QString zip = WriteInpiXmlArchive(files.path(), issue);
    QDir().mkpath(XmlReader::workDir());
    QFile old(QDir(XmlReader::workDir()).filePath("RM2400.xml"));  // left by an earlier read
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("<?xml?>\r\n<revista numero=\"2400\">\r\n</revista>\r\n");
    old.close();

    target.num = "RPI 2503";
    XmlReader reader(target);
    bool checked = false;
    ui.onMessage = [&](const RecordedMessage& m) {
        checked = true;
        EXPECT_EQ(ui.pointer(), vb::Default);  // the hourglass is gone before the final message
        EXPECT_EQ(m.text, QString("Final de Leitura"));
    };
    ASSERT_TRUE(reader.LerRevistaXml(zip)) << ui.messages.value(0).text.toStdString();
    EXPECT_TRUE(checked);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().style, 0);
    EXPECT_EQ(ui.lastMessage().title, QString("Leitura de Revista"));
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(ui.pointerHistory.first(), vb::Hourglass);
    EXPECT_EQ(clock.waits, QList<int>{5});
    EXPECT_EQ(reader.processesWritten(), 40);
    EXPECT_TRUE(workFiles().isEmpty());
    expectStagedAsModelled(db, issue);
    EXPECT_EQ(db.scalar("SELECT rdata FROM Revistas WHERE revista=2503").toDate(), QDate(2019, 1, 8));
}

TEST_F(XmlArchiveTest, FailedReadsLeaveTheStagedIssueAndNoExtractedFile)
{
    const Issue first = GenerateIssue({2504, 10, 4, QDate(2019, 1, 15)});
    XmlReader reader(target);
    ASSERT_TRUE(reader.LerRevistaXml(WriteInpiXmlArchive(files.path(), first)));
    const int staged = db.count("RPI");
    ui.clear();

    // An archive that cannot be extracted: the missing issue file, with the
    // extraction's text as the one message's detail.
    EXPECT_FALSE(reader.LerRevistaXml(QDir(files.path()).filePath("RM2505.zip")));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].style, 16);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QString::fromUtf8("A revista não foi lida")));
    EXPECT_TRUE(ui.messages[0].text.contains("*.xml"));
    EXPECT_TRUE(ui.messages[0].text.contains(QString::fromUtf8("\n\nMensagem da extração:\nunzip: ")));
    EXPECT_EQ(db.count("RPI"), staged);
    EXPECT_EQ(ui.pointer(), vb::Default);

    // A layout error half way through an archive.
    ui.clear();
    QByteArray bytes = InpiXmlLayout(GenerateIssue({2506, 20, 6, QDate(2019, 1, 22)}));
    const qsizetype at = bytes.indexOf("<despachos>", bytes.size() / 2);
    ASSERT_GT(at, 0);
    bytes.insert(at, "<titular nome-razao-social=\"X\" pais=\"US\">\r\n");
    const QString zip = QDir(files.path()).filePath("RM2506.zip");
    WriteZip(zip, {{"RM2506.xml", bytes}});
    EXPECT_FALSE(reader.LerRevistaXml(zip));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.lastMessage().text.startsWith("Erro no layout do arquivo xml - Processo = "));
    EXPECT_NE(ui.lastMessage().text, QString("Erro no layout do arquivo xml - Processo = 999999999"));
    EXPECT_EQ(db.count("RPI"), staged);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Revistas WHERE revista=2506").toInt(), 0);
    EXPECT_TRUE(workFiles().isEmpty());
    EXPECT_EQ(ui.pointer(), vb::Default);
    EXPECT_EQ(ui.beeps, 0);  // no beep for a failed read

    // A work folder that cannot be made stops the read with its reason.
    ui.clear();
    ASSERT_TRUE(QDir(XmlReader::workDir()).removeRecursively());
    QFile blocker(XmlReader::workDir());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(reader.LerRevistaXml(WriteInpiXmlArchive(files.path(), first)));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.lastMessage().text.contains(QString::fromUtf8("não foi possível criar a pasta")));
    EXPECT_EQ(db.count("RPI"), staged);
}
