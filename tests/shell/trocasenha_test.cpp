// Change of the administrator password: the refusals in their order, where
// the focus goes, what is stored, and failures of the database.

#include "support/TestDb.h"
#include "support/TestUi.h"
#include "support/Typing.h"
#include "shell/Password.h"
#include "shell/frmTrocaSenha.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const QString kInvalida = QStringLiteral("    Senha Inválida ! ");
const QString kSeeded = QStringLiteral("`rk]qlhmh");  // "quorvanta"

class TrocaSenhaScreen : public ::testing::Test {
protected:
    TestDb tdb;
    TestUi testUi;
    QPointer<frmTrocaSenha> screen = new frmTrocaSenha();

    void SetUp() override { screen->show(); }
    void TearDown() override { delete screen.data(); }

    QLineEdit* box(const char* name) { return screen->findChild<QLineEdit*>(QString::fromLatin1(name)); }

    // Types the three boxes and presses OK; returns the one message shown.
    RecordedMessage ok(const QString& atual, const QString& nova, const QString& nova1)
    {
        testUi.clear();
        box("SenhaAtual")->setText(atual);
        box("NovaSenha")->setText(nova);
        box("NovaSenha1")->setText(nova1);
        screen->findChild<QPushButton*>(QStringLiteral("SelecFile"))->click();
        EXPECT_EQ(testUi.messages.size(), 1);
        return testUi.messages.value(0);
    }
    QString focused() const { return screen->focusWidget() ? screen->focusWidget()->objectName() : QString(); }
    QVariant stored() { return tdb.scalar(QStringLiteral("select controle6 from Controle where codigo=1")); }
};

}  // namespace

TEST_F(TrocaSenhaScreen, EachRefusalInItsOrderWithItsFocusAndNothingWritten)
{
    struct Case {
        QString atual, nova, nova1, message, focus;
    };
    const QString q = QStringLiteral("quorvanta");
    const Case cases[] = {
        // The current password comes first, whatever else is typed.
        {QString(), QString(), QString(), kInvalida, QStringLiteral("SenhaAtual")},
        {QString(), QStringLiteral("abcdef"), QStringLiteral("abcdef"), kInvalida, QStringLiteral("SenhaAtual")},
        {QStringLiteral("quorvantA"), QString(), QString(), kInvalida, QStringLiteral("SenhaAtual")},
        // Not trimmed.
        {QStringLiteral("quorvanta "), QStringLiteral("abcdef"), QStringLiteral("abcdef"), kInvalida,
         QStringLiteral("SenhaAtual")},
        {QStringLiteral(" quorvanta"), QStringLiteral("abcdef"), QStringLiteral("abcdef"), kInvalida,
         QStringLiteral("SenhaAtual")},
        {q, QString(), QStringLiteral("abcdef"), QStringLiteral("Digite nova senha ! "), QStringLiteral("NovaSenha")},
        // Trimmed before its length is counted.
        {q, QStringLiteral("  abc12  "), QStringLiteral("abc12"),
         QStringLiteral(" Senha tem que ter um mínimo de 6 caracteres ! "), QStringLiteral("NovaSenha")},
        {q, QStringLiteral("      "), QString(), QStringLiteral(" Senha tem que ter um mínimo de 6 caracteres ! "),
         QStringLiteral("NovaSenha")},
        {q, QStringLiteral("abcdef"), QString(), QStringLiteral("Repita digitação da nova senha ! "),
         QStringLiteral("NovaSenha1")},
        {q, QStringLiteral("abcdef"), QStringLiteral("abcdeF"), QStringLiteral("Nova Senha digitada incorretamente ! "),
         QStringLiteral("NovaSenha1")},
        {q, QStringLiteral("abcdef"), QStringLiteral("abcdefg"),
         QStringLiteral("Nova Senha digitada incorretamente ! "), QStringLiteral("NovaSenha1")},
    };
    for (const Case& c : cases) {
        // The focus starts elsewhere so the move is seen.
        box(c.focus == QLatin1String("SenhaAtual") ? "NovaSenha1" : "SenhaAtual")->setFocus();
        const RecordedMessage m = ok(c.atual, c.nova, c.nova1);
        SCOPED_TRACE(c.message.toStdString() + " / " + c.atual.toStdString() + " / " + c.nova.toStdString());
        EXPECT_EQ(m.text, c.message);
        EXPECT_EQ(m.style, 0);
        EXPECT_TRUE(m.title.isEmpty());
        EXPECT_EQ(focused(), c.focus);
        EXPECT_EQ(box(c.focus.toLatin1().constData())->selectedText(), box(c.focus.toLatin1().constData())->text());
        EXPECT_EQ(stored().toString(), kSeeded);
    }
}

TEST_F(TrocaSenhaScreen, TheTrimmedNewPasswordIsStoredAndOpensTheAdministratorRight)
{
    const RecordedMessage m = ok(QStringLiteral("quorvanta"), QStringLiteral("  nova12 "), QStringLiteral("nova12   "));
    EXPECT_EQ(m.text, QStringLiteral("Senha Alterada com Sucesso ! "));
    EXPECT_EQ(m.style, 0);
    EXPECT_TRUE(m.title.isEmpty());
    EXPECT_EQ(stored().toString(), ScramblePassword(QStringLiteral("nova12")).value());
    EXPECT_EQ(CheckAdminPassword(QStringLiteral("nova12")).outcome, AdminPasswordCheck::Granted);
    EXPECT_EQ(CheckAdminPassword(QStringLiteral("quorvanta")).outcome, AdminPasswordCheck::WrongPassword);
    // The screen stays open and the next change starts from the new password.
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(ok(QStringLiteral("nova12"), QStringLiteral("0123456789"), QStringLiteral("0123456789")).text,
              QStringLiteral("Senha Alterada com Sucesso ! "));
    EXPECT_EQ(CheckAdminPassword(QStringLiteral("0123456789")).outcome, AdminPasswordCheck::Granted);
}

TEST_F(TrocaSenhaScreen, APasswordNeverSetLetsAnyCurrentPasswordThroughButNotAnEmptyOne)
{
    tdb.db().execute(QStringLiteral("UPDATE Controle SET controle6=NULL WHERE codigo=1"));
    EXPECT_EQ(ok(QString(), QStringLiteral("abcdef"), QStringLiteral("abcdef")).text, kInvalida);
    EXPECT_TRUE(stored().isNull());
    EXPECT_EQ(ok(QStringLiteral("x"), QStringLiteral("abcdef"), QStringLiteral("abcdef")).text,
              QStringLiteral("Senha Alterada com Sucesso ! "));
    EXPECT_EQ(CheckAdminPassword(QStringLiteral("abcdef")).outcome, AdminPasswordCheck::Granted);
}

TEST_F(TrocaSenhaScreen, ScrambledFormsWithApostrophesAndControlCharactersAreStoredIntact)
{
    // "(" in the last place becomes an apostrophe, "!" in the first a code 23.
    const QString tricky[] = {QStringLiteral("!abcdefgh("), QStringLiteral("d'Ávila'1"), QStringLiteral("''''''")};
    QString current = QStringLiteral("quorvanta");
    for (const QString& p : tricky) {
        EXPECT_EQ(ok(current, p, p).text, QStringLiteral("Senha Alterada com Sucesso ! ")) << p.toStdString();
        EXPECT_EQ(stored().toString(), ScramblePassword(p).value());
        EXPECT_EQ(CheckAdminPassword(p).outcome, AdminPasswordCheck::Granted) << p.toStdString();
        current = p;
    }
    EXPECT_EQ(ScramblePassword(tricky[0]).value().at(0), QLatin1Char('\''));
    EXPECT_EQ(ScramblePassword(tricky[0]).value().at(9).unicode(), 23);
}

TEST_F(TrocaSenhaScreen, MaskedBoxesSelectedOnFocusAndTheLook)
{
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Quorvanta - Sistema de Pesquisa de Marcas"));
    auto* heading = screen->findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_TRUE(heading);
    EXPECT_EQ(heading->text(), QStringLiteral("Troca de Senha"));
    EXPECT_EQ(heading->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Senha Atual :"));
    EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("Label3"))->text(), QStringLiteral("Nova Senha :"));
    EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("Label4"))->text(), QStringLiteral("Confirmar Nova Senha :"));
    EXPECT_EQ(screen->findChild<QPushButton*>(QStringLiteral("SelecFile"))->text(), QStringLiteral("OK"));
    EXPECT_EQ(screen->findChild<QPushButton*>(QStringLiteral("Cancelar"))->text(), QStringLiteral("Sair"));
    EXPECT_EQ(box("NovaSenha")->maxLength(), 10);
    for (const char* name : {"SenhaAtual", "NovaSenha", "NovaSenha1"}) {
        QLineEdit* e = box(name);
        EXPECT_EQ(e->echoMode(), QLineEdit::Password) << name;
        EXPECT_EQ(e->displayText(), QString()) << name;
        e->setText(QStringLiteral("abcdef"));
        EXPECT_EQ(e->displayText(), QStringLiteral("******")) << name;
        e->deselect();
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(e, &in);
        EXPECT_EQ(e->selectedText(), QStringLiteral("abcdef")) << name;
    }
}

TEST_F(TrocaSenhaScreen, TypedPasswordsLoseOnlyTheirBlanksAndEnterOnSairOnlyLeaves)
{
    using namespace typing;
    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    ASSERT_TRUE(box("SenhaAtual")->hasFocus());
    // Accents, a blank inside and a non-breaking space at the end are part
    // of the password; only the blanks at the ends go.
    const QString typed = QStringLiteral("ação 12\u00a0");
    type(QStringLiteral("quorvanta"));
    tab();
    type(QStringLiteral("  ") + typed);
    tab();
    type(typed + QStringLiteral("  "));
    press(Qt::Key_Return);
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().text, QStringLiteral("Senha Alterada com Sucesso ! "));
    EXPECT_EQ(stored().toString(), ScramblePassword(typed).value());
    EXPECT_EQ(CheckAdminPassword(typed).outcome, AdminPasswordCheck::Granted);
    EXPECT_EQ(CheckAdminPassword(QStringLiteral("ação 12")).outcome, AdminPasswordCheck::WrongPassword);

    // Enter on the focused Sair leaves; it does not press OK.
    tab(2);
    ASSERT_TRUE(screen->findChild<QPushButton*>(QStringLiteral("Cancelar"))->hasFocus());
    press(Qt::Key_Return);
    EXPECT_EQ(testUi.messages.size(), 1);
    EXPECT_FALSE(screen && screen->isVisible());
    EXPECT_EQ(stored().toString(), ScramblePassword(typed).value());
}

TEST_F(TrocaSenhaScreen, SairUnloadsTheScreen)
{
    screen->findChild<QPushButton*>(QStringLiteral("Cancelar"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(screen.isNull());
    EXPECT_TRUE(testUi.messages.isEmpty());
}

TEST(TrocaSenha, CharactersThatCannotBeScrambledAreRefusedAsInvalid)
{
    TestDb tdb;
    // A code that would fall below zero: "!" (33) forty places from the end.
    const QString longCurrent = QStringLiteral("!") + QString(39, QLatin1Char('z'));
    for (bool nullStored : {false, true}) {
        if (nullStored) tdb.db().execute(QStringLiteral("UPDATE Controle SET controle6=NULL WHERE codigo=1"));
        const TrocaSenhaResult r =
            TrocaSenha(longCurrent, QStringLiteral("abcdef"), QStringLiteral("abcdef"), tdb.db());
        EXPECT_FALSE(r.changed);
        EXPECT_EQ(r.message, kInvalida);
        EXPECT_EQ(r.focus, SenhaBox::SenhaAtual);
    }
    // A new password that cannot be scrambled is never stored.
    for (const QString& nova : {QString(QChar(1)) + QStringLiteral("abcdef"), QStringLiteral("abc\u4E2Ddef")}) {
        const TrocaSenhaResult r = TrocaSenha(QStringLiteral("x"), nova, nova, tdb.db());
        EXPECT_FALSE(r.changed);
        EXPECT_EQ(r.message, kInvalida);
        EXPECT_EQ(r.focus, SenhaBox::NovaSenha);
    }
    EXPECT_TRUE(tdb.scalar(QStringLiteral("select controle6 from Controle where codigo=1")).isNull());
}

TEST(TrocaSenha, AMissingControlRowIsReportedNotTakenForSuccess)
{
    TestDb tdb;
    tdb.db().execute(QStringLiteral("DELETE FROM Controle"));
    // An empty current password is still refused first.
    EXPECT_EQ(TrocaSenha(QString(), QString(), QString(), tdb.db()).message, kInvalida);
    const TrocaSenhaResult r =
        TrocaSenha(QStringLiteral("quorvanta"), QStringLiteral("abcdef"), QStringLiteral("abcdef"), tdb.db());
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.style, 16);
    EXPECT_EQ(r.message,
              QStringLiteral("Senha do administrador não encontrada: a tabela Controle não tem o registro 1 !"));
    EXPECT_EQ(tdb.count(QStringLiteral("Controle")), 0);
}

TEST(TrocaSenha, ADatabaseErrorIsShownAndTheScreenGoesOn)
{
    TestDb tdb;
    TestUi testUi;
    frmTrocaSenha screen;
    screen.findChild<QLineEdit*>(QStringLiteral("SenhaAtual"))->setText(QStringLiteral("quorvanta"));
    screen.findChild<QLineEdit*>(QStringLiteral("NovaSenha"))->setText(QStringLiteral("abcdef"));
    screen.findChild<QLineEdit*>(QStringLiteral("NovaSenha1"))->setText(QStringLiteral("abcdef"));
    const QString cs = tdb.connectionString();
    tdb.db().close();
    screen.SelecFile_Click();
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().style, 16);
    EXPECT_TRUE(testUi.lastMessage().text.startsWith(QStringLiteral("Erro no banco de dados:\n")));
    EXPECT_GT(testUi.lastMessage().text.size(), 24);
    // Once the database is back the same screen changes the password.
    tdb.db().open(cs);
    screen.SelecFile_Click();
    EXPECT_EQ(testUi.lastMessage().text, QStringLiteral("Senha Alterada com Sucesso ! "));
    EXPECT_EQ(CheckAdminPassword(QStringLiteral("abcdef")).outcome, AdminPasswordCheck::Granted);
}
