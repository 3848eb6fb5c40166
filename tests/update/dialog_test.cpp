// The database-update dialog: what it shows, the choice of transfer and
// what it refuses.

#include "Staging.h"
#include "support/TestDb.h"
#include "support/TestUi.h"
#include "update/frmAtualizaBD.h"

#include <QColor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString textOf(const frmAtualizaBD& f, const char* name)
{
    if (auto* l = f.findChild<QLabel*>(QLatin1String(name))) return l->text();
    if (auto* e = f.findChild<QLineEdit*>(QLatin1String(name))) return e->text();
    if (auto* b = f.findChild<QPushButton*>(QLatin1String(name))) return b->text();
    ADD_FAILURE() << "no control " << name;
    return QString();
}

const QString kTitle = QStringLiteral("Atualização de Banco de Dados");

}  // namespace

TEST(UpdateDialog, Controls)
{
    TestDb tdb;
    TestUi tui;
    frmAtualizaBD f;
    EXPECT_EQ(f.objectName(), QStringLiteral("frmAtualizaBD"));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Quorvanta - Sistema de Pesquisa de Marcas"));
    EXPECT_EQ(textOf(f, "Label1"), QStringLiteral("Atualização do Banco de Dados"));
    EXPECT_EQ(textOf(f, "D"), QStringLiteral("Atualiza Banco de Dados ?"));
    EXPECT_EQ(textOf(f, "SelecFile"), QStringLiteral("SIM"));
    EXPECT_EQ(textOf(f, "Cancelar"), QStringLiteral("NÃO"));
    EXPECT_EQ(textOf(f, "Label4"), QStringLiteral("Número da Revista :"));
    EXPECT_EQ(textOf(f, "Label2"), QStringLiteral("Data da Revista :"));
    EXPECT_EQ(textOf(f, "Label8"), QStringLiteral("Número de Processos a Atualizar :"));
    EXPECT_EQ(textOf(f, "Label3"), QStringLiteral("Número de Processos Atualizados :"));
    EXPECT_EQ(textOf(f, "Label5"), QStringLiteral("Número de Novos Processos :"));
    EXPECT_EQ(textOf(f, "Label6"), QStringLiteral("Número de Novos Procuradores :"));
    EXPECT_EQ(textOf(f, "Label7"), QStringLiteral("Num Processos referenciados :"));
    for (const char* name : {"NumRevista", "DataRevista", "ProcsAtualizar", "NumProcs", "NumNewProcs", "NumProcuradores",
                             "NumProcsRef"}) {
        auto* e = f.findChild<QLineEdit*>(QLatin1String(name));
        ASSERT_TRUE(e) << name;
        f.ensurePolished();
        e->ensurePolished();
        EXPECT_EQ(e->palette().color(QPalette::Base), QColor(0xE0, 0xE0, 0xE0)) << name;
    }
    EXPECT_TRUE(f.findChild<QLineEdit*>(QStringLiteral("NumRevista"))->isReadOnly());
}

TEST(UpdateDialog, ActivationShowsLastAppliedAndStagedIssue)
{
    TestDb tdb;
    TestUi tui;
    registerIssue(2150, QDate(2012, 4, 24));
    stageRow(1, 81000001, 2150, QStringLiteral("400"));
    frmAtualizaBD f;
    f.Form_Activate();
    EXPECT_EQ(textOf(f, "LblRPI"), QStringLiteral("Última RPI atualizada : nenhuma"));
    EXPECT_EQ(textOf(f, "NumRevista"), QStringLiteral("2150"));
    EXPECT_EQ(textOf(f, "DataRevista"), QStringLiteral("24/04/2012"));
    EXPECT_EQ(textOf(f, "D"), QStringLiteral("Atualiza Banco de Dados ?"));

    // The first issue can be applied; the dialog closes at the end.
    f.show();
    f.SelecFile_Click();
    EXPECT_EQ(f.lastResult(), TransferResult::Done);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(textOf(f, "NumProcs"), QStringLiteral("1"));
    EXPECT_EQ(textOf(f, "NumNewProcs"), QStringLiteral("1"));
    EXPECT_EQ(textOf(f, "ProcsAtualizar"), QStringLiteral("1"));
    // Shown again (the same window): counters start empty.
    f.show();
    EXPECT_EQ(textOf(f, "NumProcs"), QString());
    f.hide();

    // A new showing reads the database again: the issue is now the last
    // applied, and is still the staged one.
    frmAtualizaBD g;
    g.Form_Activate();
    EXPECT_EQ(textOf(g, "LblRPI"), QStringLiteral("Última RPI atualizada : 2150 de 24/04/2012"));
    EXPECT_EQ(textOf(g, "NumRevista"), QStringLiteral("2150"));
    EXPECT_TRUE(tui.messages.size() == 1 && tui.lastMessage().text == QStringLiteral("Final de Atualização"));
}

TEST(UpdateDialog, NothingToApply)
{
    TestDb tdb;
    TestUi tui;
    registerIssue(2150, QDate(2012, 4, 24), 1);
    frmAtualizaBD f;
    f.show();
    f.Form_Activate();
    EXPECT_EQ(textOf(f, "NumRevista"), QString());
    EXPECT_NE(textOf(f, "D"), QStringLiteral("Atualiza Banco de Dados ?"));
    f.SelecFile_Click();
    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.lastMessage().text, textOf(f, "D"));
    EXPECT_EQ(tui.lastMessage().title, kTitle);
    EXPECT_TRUE(f.isVisible());

    // Staged rows whose issue has no Revistas row.
    tui.clear();
    stageRow(1, 81000001, 2151, QStringLiteral("400"));
    f.Form_Activate();
    EXPECT_EQ(textOf(f, "NumRevista"), QStringLiteral("2151"));
    EXPECT_EQ(textOf(f, "DataRevista"), QString());
    EXPECT_TRUE(textOf(f, "D").contains(QStringLiteral("2151")));
    f.SelecFile_Click();
    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_TRUE(tui.lastMessage().text.contains(QStringLiteral("2151")));
    EXPECT_EQ(tdb.count(QStringLiteral("Processos")), 0);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), 0);
    EXPECT_TRUE(f.isVisible());
}

TEST(UpdateDialog, RefusesStagingOfMoreThanOneIssue)
{
    TestDb tdb;
    TestUi tui;
    registerIssue(2150, QDate(2012, 4, 24));
    registerIssue(2151, QDate(2012, 5, 1));
    stageRow(1, 81000001, 2150, QStringLiteral("400"));
    stageRow(2, 81000002, 2151, QStringLiteral("400"));
    const QString notice = QStringLiteral("Os processos lidos são de mais de uma RPI (2150, 2151): leia a revista novamente.");
    frmAtualizaBD f;
    f.show();
    f.Form_Activate();
    EXPECT_EQ(textOf(f, "NumRevista"), QStringLiteral("2150"));
    EXPECT_EQ(textOf(f, "D"), notice);
    f.SelecFile_Click();
    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.lastMessage().text, notice);
    EXPECT_EQ(tui.lastMessage().title, kTitle);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), 0);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT atualizado FROM Revistas WHERE revista=2150")).toInt(), 0);
    EXPECT_TRUE(f.isVisible());
}

TEST(UpdateDialog, ChoosesTransferByStagedIssue)
{
    // Below 2220 the text-layout transfer (no petition columns written);
    // from 2220 the petition transfer (the petition attorney key always set).
    for (int issue : {2219, 2220}) {
        TestDb tdb;
        TestUi tui;
        registerIssue(issue, QDate(2013, 7, 2));
        stageRow(1, 81000001, issue, QStringLiteral("400"), {{"codserv", QStringLiteral("3371")}});
        frmAtualizaBD f;
        f.Form_Activate();
        f.SelecFile_Click();
        ASSERT_EQ(f.lastResult(), TransferResult::Done) << issue;
        const QVariant key = valueOf(QStringLiteral("SELECT codprocuradorpeticao FROM RevProcs"));
        const QVariant codserv = valueOf(QStringLiteral("SELECT codserv FROM RevProcs"));
        if (issue == 2219) {
            EXPECT_TRUE(key.isNull());
            EXPECT_TRUE(codserv.isNull());
        } else {
            EXPECT_EQ(key.toInt(), 0);
            EXPECT_EQ(codserv.toString(), QStringLiteral("3371"));
        }
    }
}

TEST(UpdateDialog, TypedIssueNumberIsIgnored)
{
    TestDb tdb;
    TestUi tui;
    // Issue 2100 applied earlier, with an entry of its own.
    registerIssue(2100, QDate(2011, 6, 7), 1);
    tdb.db().execute(QStringLiteral("INSERT INTO RevProcs (processo, rpi, despacho) VALUES (81000009, 2100, '400')"));
    registerIssue(2150, QDate(2012, 4, 24));
    stageRow(1, 81000001, 2150, QStringLiteral("400"));
    frmAtualizaBD f;
    f.Form_Activate();
    f.findChild<QLineEdit*>(QStringLiteral("NumRevista"))->setText(QStringLiteral("2100"));
    f.SelecFile_Click();
    EXPECT_EQ(f.lastResult(), TransferResult::Done);
    // No redo question for 2100, its entry kept, 2150 applied.
    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.lastMessage().text, QStringLiteral("Final de Atualização"));
    EXPECT_EQ(valueOf(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi=2100")).toInt(), 1);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT count(*) FROM RevProcs WHERE rpi=2150")).toInt(), 1);
}

TEST(UpdateDialog, IgnoresButtonsCloseAndEscWhileRunning)
{
    TestDb tdb;
    TestUi tui;
    registerIssue(2150, QDate(2012, 4, 24), 1);
    stageRow(1, 81000001, 2150, QStringLiteral("400"));
    frmAtualizaBD f;
    f.show();
    f.Form_Activate();
    bool checked = false;
    // While the redo question is up, the transfer is running.
    tui.onMessage = [&](const RecordedMessage& m) {
        if (!m.text.startsWith(QStringLiteral("RPI já foi"))) return;
        EXPECT_TRUE(f.running());
        f.Cancelar_Click();
        f.reject();
        f.close();
        QTest::keyClick(&f, Qt::Key_Escape);
        f.SelecFile_Click();
        EXPECT_TRUE(f.isVisible());
        EXPECT_FALSE(f.findChild<QPushButton*>(QStringLiteral("SelecFile"))->isEnabled());
        checked = true;
    };
    tui.msgAnswers.push_back(vb::OK);
    f.SelecFile_Click();
    EXPECT_TRUE(checked);
    EXPECT_EQ(f.lastResult(), TransferResult::Done);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), 1);
    // Two messages only: the question and the final one.
    EXPECT_EQ(tui.messages.size(), 2);
}

TEST(UpdateDialog, CancelAtRedoQuestionKeepsDialogOpen)
{
    TestDb tdb;
    TestUi tui;
    registerIssue(2150, QDate(2012, 4, 24), 1);
    stageRow(1, 81000001, 2150, QStringLiteral("400"));
    frmAtualizaBD f;
    f.show();
    f.Form_Activate();
    tui.msgAnswers.push_back(vb::Cancel);
    f.SelecFile_Click();
    EXPECT_EQ(f.lastResult(), TransferResult::Cancelled);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.findChild<QPushButton*>(QStringLiteral("SelecFile"))->isEnabled());
    EXPECT_EQ(tdb.count(QStringLiteral("Processos")), 0);
    // NÃO closes it.
    f.Cancelar_Click();
    EXPECT_FALSE(f.isVisible());
}

TEST(UpdateDialog, FailedTransferStaysOpenWithNothingCounted)
{
    TestDb tdb;
    TestUi tui;
    registerIssue(2150, QDate(2012, 4, 24));
    stageRow(1, 81000001, 2150, QStringLiteral("400"), {{"procurador", QStringLiteral("NOVO")}});
    stageRow(2, 81000002, 2150, QStringLiteral("400"));
    // The links cannot be written: the run fails after every row was applied.
    stageCitation(1, 81000009, 2, 2150);
    tdb.db().execute(QStringLiteral("DROP TABLE RevProcRef"));
    frmAtualizaBD f;
    f.show();
    f.SelecFile_Click();
    EXPECT_EQ(f.lastResult(), TransferResult::Failed);
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.lastMessage().icon(), 16);
    EXPECT_EQ(textOf(f, "NumProcs"), QStringLiteral("0"));
    EXPECT_EQ(textOf(f, "NumNewProcs"), QStringLiteral("0"));
    EXPECT_EQ(textOf(f, "NumProcuradores"), QStringLiteral("0"));
    EXPECT_EQ(tdb.count(QStringLiteral("Processos")), 0);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT atualizado FROM Revistas WHERE revista=2150")).toInt(), 0);
    EXPECT_TRUE(f.findChild<QPushButton*>(QStringLiteral("SelecFile"))->isEnabled());
}
