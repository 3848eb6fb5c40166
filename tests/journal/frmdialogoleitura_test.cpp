// The journal-reading dialog, driven as the user would with the seams
// scripted.
#include "fixtures/IssueGenerator.h"
#include "journal/TextReader.h"
#include "journal/frmDialogoLeitura.h"
#include "shell/Globals.h"
#include "support/TestDb.h"
#include "shell/DateBox.h"
#include "support/TestUi.h"
#include "support/Typing.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

void PrintTo(const QString& s, std::ostream* os) { *os << s.toStdString(); }

namespace {

template <class W>
W* child(QWidget& w, const char* name)
{
    W* c = w.findChild<W*>(QString::fromUtf8(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

QString text(QWidget& w, const char* name)
{
    if (auto* l = w.findChild<QLabel*>(QString::fromUtf8(name))) return l->text();
    if (auto* e = w.findChild<QLineEdit*>(QString::fromUtf8(name))) return e->text();
    if (auto* b = w.findChild<QPushButton*>(QString::fromUtf8(name))) return b->text();
    ADD_FAILURE() << "no control " << name;
    return QString();
}

}  // namespace

TEST(DialogoLeitura, ControlsAsDesigned)
{
    TestUi ui;
    TestClock clock;
    frmDialogoLeitura d;
    EXPECT_EQ(d.windowTitle(), "Quorvanta - Sistema de Pesquisa de Marcas");
    EXPECT_EQ(text(d, "Label1"), "Leitura da Revista de Marcas");
    EXPECT_EQ(text(d, "LblRPI"), QString::fromUtf8("Número da última RPI lida :"));
    EXPECT_EQ(text(d, "SelecFile"), "Selecionar Revista");
    EXPECT_EQ(text(d, "NomeArq"), "NomeArquivo");
    EXPECT_EQ(text(d, "Label4"), QString::fromUtf8("Número da Revista :"));
    EXPECT_EQ(text(d, "Label2"), "Data da Revista :");
    EXPECT_EQ(text(d, "Label3"), QString::fromUtf8("Número de Processos Lidos :"));
    EXPECT_EQ(text(d, "OK"), "OK");
    EXPECT_EQ(text(d, "Cancelar"), "Sair");
    DateBox* date = child<DateBox>(d, "DataRevista");
    EXPECT_EQ(date->displayFormat(), "dd/MM/yyyy");
    EXPECT_FALSE(date->isEnabled());
    EXPECT_TRUE(child<QPushButton>(d, "OK")->isHidden());
}

TEST(DialogoLeitura, LastIssueReadOrNone)
{
    TestDb db;
    TestUi ui;
    TestClock clock;
    frmDialogoLeitura d;
    d.Form_Activate();
    EXPECT_EQ(text(d, "LblRPI"), QString::fromUtf8("Última RPI lida : nenhuma"));
    db.db().execute("INSERT INTO Revistas (revista, rdata, atualizado) VALUES (2150, '24.04.2012', 0)");
    db.db().execute("INSERT INTO Revistas (revista, rdata, atualizado) VALUES (2149, '17.04.2012', 1)");
    d.Form_Activate();
    EXPECT_EQ(text(d, "LblRPI"), QString::fromUtf8("Última RPI lida : 2150 de 24/04/2012"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(DialogoLeitura, DatabaseErrorOnActivationIsShownAndTheDialogStaysUsable)
{
    TestUi ui;
    TestClock clock;
    DbConnection::instance().close();
    frmDialogoLeitura d;
    d.Form_Activate();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().icon(), vb::Critical);
    EXPECT_EQ(text(d, "LblRPI"), QString::fromUtf8("Número da última RPI lida :"));
    ui.fileAnswers.push_back("/d/RM2150.zip");
    d.SelecFile_Click();
    EXPECT_EQ(text(d, "NumRevista"), "RPI 2150");
}

TEST(DialogoLeitura, ChoosingTheArchive)
{
    TestUi ui;
    TestClock clock;
    clock.todayValue = QDate(2012, 5, 2);
    frmDialogoLeitura d;
    QPushButton* ok = child<QPushButton>(d, "OK");

    // Cancelled: nothing changes.
    d.SelecFile_Click();
    ASSERT_EQ(ui.fileRequests.size(), 1);
    const FileDialogRequest& r = ui.fileRequests[0];
    EXPECT_EQ(r.filter, "*.zip|*.zip");
    EXPECT_EQ(r.defaultExt, "*.zip");
    EXPECT_EQ(r.flags, 34822);
    EXPECT_EQ(r.title, "|Selecione o Arquivo contendo a Revista a ser Lida");
    EXPECT_EQ(text(d, "NomeArq"), "NomeArquivo");
    EXPECT_TRUE(ok->isHidden());
    EXPECT_TRUE(ui.messages.isEmpty());

    ui.fileAnswers.push_back("C:\\x\\rm2150.ZIP");
    d.SelecFile_Click();
    EXPECT_EQ(text(d, "NumRevista"), "RPI 2150");
    EXPECT_EQ(text(d, "NomeArq"), "C:\\x\\rm2150.ZIP");
    DateBox* date = child<DateBox>(d, "DataRevista");
    EXPECT_EQ(date->date(), QDate(2012, 5, 2));
    EXPECT_TRUE(date->isEnabled());
    EXPECT_FALSE(ok->isHidden());

    // The number and the path come from the checked name only: typing changes neither.
    for (const char* name : {"NumRevista", "NomeArq"}) {
        QLineEdit* box = child<QLineEdit>(d, name);
        box->selectAll();
        QTest::keyClicks(box, "RPI 21x0");
        QTest::keyClick(box, Qt::Key_Backspace);
    }
    EXPECT_EQ(text(d, "NumRevista"), "RPI 2150");
    EXPECT_EQ(text(d, "NomeArq"), "C:\\x\\rm2150.ZIP");

    // A wrong name afterwards keeps the earlier choice.
    ui.fileAnswers.push_back("/d/RM21A0.zip");
    d.SelecFile_Click();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().text, QString::fromUtf8("Número da Revista é inválido !"));
    EXPECT_EQ(ui.lastMessage().icon(), 16);
    EXPECT_EQ(ui.lastMessage().title, "Leitura de Revista INPI");
    EXPECT_EQ(text(d, "NumRevista"), "RPI 2150");
    EXPECT_EQ(text(d, "NomeArq"), "C:\\x\\rm2150.ZIP");
    EXPECT_FALSE(ok->isHidden());

    ui.fileAnswers.push_back("/arquivos/RMPDF/RM2160.zip");
    d.SelecFile_Click();
    EXPECT_EQ(ui.lastMessage().text, QString::fromUtf8("Arquivo não é do tipo RMPDFxxxx.zip !"));
    EXPECT_EQ(text(d, "NumRevista"), "RPI 2150");
}

class DialogoLeituraRead : public ::testing::Test {
protected:
    DialogoLeituraRead() { Globals::setProgramDir(program.path()); }
    ~DialogoLeituraRead() override { Globals::setProgramDir(QString()); }
    TestDb db;
    TestUi ui;
    TestClock clock;
    QTemporaryDir program, files;
};

TEST_F(DialogoLeituraRead, OkReadsATextIssueThenCloses)
{
    const fixtures::Issue issue = fixtures::GenerateIssue({2150, 25, 11, QDate(2012, 4, 24)});
    ui.fileAnswers.push_back(fixtures::WriteTextArchive(files.path(), issue));
    frmDialogoLeitura d;
    d.open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    EXPECT_EQ(text(d, "LblRPI"), QString::fromUtf8("Última RPI lida : nenhuma"));
    d.SelecFile_Click();
    typing::type("23042012");  // corrected by the user

    // While the reader runs, nothing else can be started or closed.
    bool checked = false;
    ui.onMessage = [&](const RecordedMessage& m) {
        if (m.text != "Final de Leitura") return;
        checked = true;
        EXPECT_TRUE(d.reading());
        EXPECT_FALSE(child<QPushButton>(d, "OK")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(d, "SelecFile")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(d, "Cancelar")->isEnabled());
        d.reject();
        d.Cancelar_Click();
        EXPECT_EQ(d.result(), QDialog::Rejected);  // still not done
    };
    d.OK_Click();
    EXPECT_TRUE(checked);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(text(d, "RegistrosLidos"), "25");
    EXPECT_EQ(db.count("RPI"), 25);
    EXPECT_EQ(db.scalar("SELECT rdata FROM Revistas WHERE revista = 2150").toDate(), QDate(2012, 4, 23));
    EXPECT_EQ(db.scalar("SELECT MIN(revista) FROM RPI").toInt(), 2150);
}

TEST_F(DialogoLeituraRead, TheDateIsStoredAsTyped)
{
    using namespace typing;
    const fixtures::Issue issue = fixtures::GenerateIssue({2150, 5, 1, QDate(2012, 4, 24)});
    ui.fileAnswers.push_back(fixtures::WriteTextArchive(files.path(), issue));
    frmDialogoLeitura d;
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    d.SelecFile_Click();
    ASSERT_EQ(focused(), child<DateBox>(d, "DataRevista"));

    // A day that does not exist is refused before anything is read.
    type("31/04/2012");
    ui.clear();
    QTest::mouseClick(child<QPushButton>(d, "OK"), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().text, kInvalidIssueDate);
    EXPECT_EQ(ui.lastMessage().title, "Leitura de Revista INPI");
    EXPECT_EQ(ui.lastMessage().style, 16);
    EXPECT_EQ(focused(), child<DateBox>(d, "DataRevista"));
    EXPECT_EQ(db.count("RPI"), 0);
    EXPECT_EQ(db.count("Revistas"), 0);

    // So is it as its box is left, and a paste holding no date.
    tab();
    paste("24 de abril");
    ASSERT_EQ(ui.messages.size(), 3);
    EXPECT_EQ(ui.messages[1].text, kInvalidIssueDate);
    EXPECT_EQ(ui.lastMessage().text, kInvalidIssueDate);
    EXPECT_EQ(focused(), child<DateBox>(d, "DataRevista"));

    paste(" 24-04-2012\r\n");
    QTest::mouseClick(child<QPushButton>(d, "OK"), Qt::LeftButton);
    EXPECT_EQ(ui.lastMessage().text, "Final de Leitura");
    EXPECT_EQ(db.scalar("SELECT rdata FROM Revistas WHERE revista = 2150").toDate(), QDate(2012, 4, 24));
}

TEST(DialogoLeitura, SairLeavesWhileTheDateIsRefused)
{
    TestUi ui;
    TestClock clock;
    frmDialogoLeitura d;
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    ui.fileAnswers.push_back("/d/RM2150.zip");
    d.SelecFile_Click();
    typing::type("31/04/2012");
    ui.clear();  // what the activation said without a database
    QTest::mouseClick(child<QPushButton>(d, "Cancelar"), Qt::LeftButton);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(d.isVisible());
}

TEST_F(DialogoLeituraRead, IssuesFrom2220AreReadAsXmlTakingNumberAndDateFromTheFile)
{
    const fixtures::Issue issue = fixtures::GenerateIssue({2220, 15, 3, QDate(2013, 7, 30)});
    const QString archive = fixtures::WriteXmlArchive(files.path(), issue);
    const QString renamed = QDir(files.path()).filePath("RMPDF2220.zip");
    ASSERT_TRUE(QFile::rename(archive, renamed));
    ui.fileAnswers.push_back(renamed);
    frmDialogoLeitura d;
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    d.SelecFile_Click();
    typing::type("01/01/2013");
    d.OK_Click();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().text, "Final de Leitura");
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(text(d, "NumRevista"), "RPI 2220");
    EXPECT_EQ(child<DateBox>(d, "DataRevista")->date(), QDate(2013, 7, 30));
    EXPECT_EQ(text(d, "RegistrosLidos"), "15");
    qsizetype dispatches = 0;
    for (const fixtures::Process& p : issue.processes) dispatches += p.dispatches.size();
    EXPECT_EQ(db.count("RPI"), dispatches);
    EXPECT_EQ(db.scalar("SELECT rdata FROM Revistas WHERE revista = 2220").toDate(), QDate(2013, 7, 30));
    EXPECT_EQ(clock.waits, QList<int>{5});
}

TEST_F(DialogoLeituraRead, ARefusedReadKeepsTheDialogOpenForAnotherArchive)
{
    const QString garbage = QDir(files.path()).filePath("RM2150.zip");
    fixtures::WriteZip(garbage, {{"rm2150.TXT", QByteArray("\x01\x02\xff garbage\r\nMarca: SEM PROCESSO\r\n")}});
    ui.fileAnswers.push_back(garbage);
    frmDialogoLeitura d;
    d.open();
    d.SelecFile_Click();
    d.OK_Click();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().icon(), 16);
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.reading());
    EXPECT_TRUE(child<QPushButton>(d, "SelecFile")->isEnabled());
    EXPECT_EQ(db.count("Revistas"), 0);

    const fixtures::Issue issue = fixtures::GenerateIssue({2151, 4, 1, QDate(2012, 5, 1)});
    ui.fileAnswers.push_back(fixtures::WriteTextArchive(files.path(), issue));
    d.SelecFile_Click();
    d.OK_Click();
    EXPECT_EQ(ui.lastMessage().text, "Final de Leitura");
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(db.count("RPI"), 4);
}
