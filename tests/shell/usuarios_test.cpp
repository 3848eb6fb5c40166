// The user list: checks of edited cells, writes by the row's hidden key,
// the row of a new user, deletion and failures of the database.

#include "support/TestDb.h"
#include "support/TestUi.h"
#include "shell/frmUsuarios.h"

#include <QCoreApplication>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kSenhaMsg = QStringLiteral("Senha tem que ter um mínimo de 6 e um máximo de 10 caracteres !");
const QString kFlagMsg = QStringLiteral(" Digite apenas S ou N !");

class UsuariosScreen : public ::testing::Test {
protected:
    TestDb tdb;
    TestUi testUi;
    QPointer<frmUsuarios> screen;

    void SetUp() override
    {
        // Two users of one name, and a third.
        for (const char* values : {"'ana', 'senha01', 'S'", "'ana', 'senha02', 'N'", "'bruno', 'senha03', 'n'"})
            tdb.db().execute(QStringLiteral("INSERT INTO Usuarios (usuario, senha, livreacesso) VALUES (%1)")
                                 .arg(QString::fromLatin1(values)));
        screen = new frmUsuarios();
        screen->show();
    }
    void TearDown() override { delete screen.data(); }

    UsuariosModel& model() { return screen->model(); }
    QTableView* grid() { return screen->findChild<QTableView*>(QStringLiteral("GridUsuarios")); }
    bool edit(int row, int column, const QString& text)
    {
        return model().setData(model().index(row, column), text, Qt::EditRole);
    }
    QString cell(int row, int column) { return model().data(model().index(row, column)).toString(); }
    // The stored rows as "usuario|senha|livreacesso", in key order.
    QStringList stored()
    {
        QStringList out;
        const Recordset rs = tdb.db().query(QStringLiteral(
            "SELECT id, usuario, senha, livreacesso FROM Usuarios ORDER BY id"));
        for (int r = 0; r < rs.recordCount(); ++r)
            out << QStringList{rs.at(r, 1).toString(), rs.at(r, 2).toString(), rs.at(r, 3).toString()}.join('|');
        return out;
    }
};

}  // namespace

TEST(CheckUsuarioCell, PasswordLengthIsCountedWithoutBlanksAndTheFlagIsOneSOrN)
{
    for (const QString& ok : {QStringLiteral("123456"), QStringLiteral("  123456  "), QStringLiteral("1234567890"),
                              QStringLiteral(" 12 34 5 "), QStringLiteral("a b c d e")})
        EXPECT_FALSE(CheckUsuarioCell(1, ok).has_value()) << ok.toStdString();
    for (const QString& bad : {QStringLiteral("12345"), QStringLiteral("12345     "), QStringLiteral("   12345"),
                               QStringLiteral("12345678901"), QString(), QStringLiteral("          ")})
        EXPECT_EQ(CheckUsuarioCell(1, bad), kSenhaMsg) << bad.toStdString();
    for (const QString& ok : {QStringLiteral("S"), QStringLiteral("s"), QStringLiteral("N"), QStringLiteral("n")})
        EXPECT_FALSE(CheckUsuarioCell(2, ok).has_value()) << ok.toStdString();
    for (const QString& bad : {QStringLiteral("SN"), QString(), QStringLiteral("x"), QStringLiteral(" S"),
                               QStringLiteral("S "), QStringLiteral("Sim")})
        EXPECT_EQ(CheckUsuarioCell(2, bad), kFlagMsg) << bad.toStdString();
    // Any user name but a blank one, within the column's length.
    for (const QString& blank : {QString(), QStringLiteral("   ")})
        EXPECT_EQ(CheckUsuarioCell(0, blank), QStringLiteral("Digite o nome do usuário !"));
    EXPECT_FALSE(CheckUsuarioCell(0, QStringLiteral("d'Ávila")).has_value());
    EXPECT_FALSE(CheckUsuarioCell(0, QString(60, QLatin1Char('x')), 60).has_value());
    EXPECT_EQ(CheckUsuarioCell(0, QString(61, QLatin1Char('x')), 60),
              QStringLiteral("Nome do usuário tem no máximo 60 caracteres !"));
    EXPECT_EQ(CheckUsuarioCell(1, QStringLiteral("123456") + QString(60, QLatin1Char(' ')), 60),
              QStringLiteral("Senha tem no máximo 60 caracteres, brancos incluídos !"));
}

TEST_F(UsuariosScreen, ShowsTheWholeTableUnderItsCaptionsWithoutTheKey)
{
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Quorvanta - Sistema de Pesquisa de Marcas"));
    auto* heading = screen->findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_TRUE(heading);
    EXPECT_EQ(heading->text(), QStringLiteral("Usuários"));
    EXPECT_EQ(heading->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(screen->Usuarios().CommandType, DataControl::Table);
    EXPECT_EQ(screen->Usuarios().RecordSource, QStringLiteral("Usuarios"));
    ASSERT_EQ(model().columnCount(), 3);
    EXPECT_EQ(model().headerData(0, Qt::Horizontal).toString(), QStringLiteral("Usuário"));
    EXPECT_EQ(model().headerData(1, Qt::Horizontal).toString(), QStringLiteral("Senha"));
    EXPECT_EQ(model().headerData(2, Qt::Horizontal).toString(), QStringLiteral("Livre Acesso ?"));
    // Three users and the empty row of a new one.
    ASSERT_EQ(model().rowCount(), 4);
    EXPECT_EQ(cell(2, 0), QStringLiteral("bruno"));
    EXPECT_EQ(cell(2, 2), QStringLiteral("n"));
    EXPECT_EQ(cell(3, 0), QString());
    EXPECT_EQ(model().headerData(3, Qt::Vertical).toString(), QStringLiteral("*"));
    EXPECT_EQ(grid()->model(), &model());
}

TEST_F(UsuariosScreen, EditsGoToTheirOwnRowEvenWhenNamesRepeatOrChange)
{
    // The second "ana" only.
    EXPECT_TRUE(edit(1, 1, QStringLiteral("outra99")));
    EXPECT_EQ(stored(), (QStringList{"ana|senha01|S", "ana|outra99|N", "bruno|senha03|n"}));
    // Renaming, then editing the renamed row.
    EXPECT_TRUE(edit(0, 0, QStringLiteral("ana'maria")));
    EXPECT_TRUE(edit(0, 2, QStringLiteral("s")));
    EXPECT_FALSE(edit(1, 0, QStringLiteral("ana")));  // unchanged: nothing to write
    EXPECT_TRUE(testUi.messages.isEmpty());
    EXPECT_EQ(stored(), (QStringList{"ana'maria|senha01|s", "ana|outra99|N", "bruno|senha03|n"}));
    EXPECT_EQ(cell(0, 0), QStringLiteral("ana'maria"));
    // A password is stored as typed, blanks included.
    EXPECT_TRUE(edit(2, 1, QStringLiteral(" 123456 ")));
    EXPECT_EQ(stored().at(2), QStringLiteral("bruno| 123456 |n"));
}

TEST_F(UsuariosScreen, RefusedEditsShowTheirMessageAndLeaveTheStoredValue)
{
    const QStringList before = stored();
    struct Case {
        int column;
        QString text, message;
    };
    for (const Case& c : {Case{1, QStringLiteral("12345  "), kSenhaMsg}, Case{1, QStringLiteral("12345678901"), kSenhaMsg},
                          Case{2, QStringLiteral("SN"), kFlagMsg}, Case{2, QString(), kFlagMsg}}) {
        testUi.clear();
        EXPECT_FALSE(edit(0, c.column, c.text));
        ASSERT_EQ(testUi.messages.size(), 1);
        EXPECT_EQ(testUi.lastMessage().text, c.message);
        EXPECT_EQ(testUi.lastMessage().style, 16);
        EXPECT_EQ(testUi.lastMessage().title, QStringLiteral("ERRO"));
    }
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(cell(0, 1), QStringLiteral("senha01"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("S"));
}

TEST_F(UsuariosScreen, ANewUserIsWrittenOnceItsPasswordAndFlagPass)
{
    EXPECT_TRUE(edit(3, 0, QStringLiteral("carla")));
    EXPECT_EQ(cell(3, 0), QStringLiteral("carla"));
    EXPECT_FALSE(edit(3, 1, QStringLiteral("abc")));
    EXPECT_EQ(testUi.lastMessage().text, kSenhaMsg);
    EXPECT_TRUE(edit(3, 1, QStringLiteral("carla123")));
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 3);
    EXPECT_FALSE(edit(3, 2, QStringLiteral("x")));
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 3);
    EXPECT_TRUE(edit(3, 2, QStringLiteral("n")));
    EXPECT_EQ(stored().value(3), QStringLiteral("carla|carla123|n"));
    // The new row became a stored one and a fresh empty row follows it.
    ASSERT_EQ(model().rowCount(), 5);
    EXPECT_EQ(cell(3, 0), QStringLiteral("carla"));
    EXPECT_EQ(cell(4, 0), QString());
    // Its key was read back: editing it writes that row.
    EXPECT_TRUE(edit(3, 0, QStringLiteral("carla s.")));
    EXPECT_EQ(stored().value(3), QStringLiteral("carla s.|carla123|n"));
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 4);
}

TEST_F(UsuariosScreen, DeletingAsksFirstAndRemovesOnlyThatRow)
{
    grid()->setCurrentIndex(model().index(1, 0));
    testUi.msgAnswers.push_back(vb::No);
    screen->findChild<QPushButton*>(QStringLiteral("Excluir"))->click();
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 3);
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().buttons(), vb::YesNo);
    EXPECT_TRUE(testUi.lastMessage().text.contains(QStringLiteral("ana")));

    testUi.msgAnswers.push_back(vb::Yes);
    QTest::keyClick(grid(), Qt::Key_Delete);
    EXPECT_EQ(stored(), (QStringList{"ana|senha01|S", "bruno|senha03|n"}));
    EXPECT_EQ(model().rowCount(), 3);
    EXPECT_EQ(cell(1, 0), QStringLiteral("bruno"));

    // On the new row, deleting drops what was typed there, without asking.
    testUi.clear();
    EXPECT_TRUE(edit(2, 0, QStringLiteral("davi")));
    EXPECT_TRUE(model().deleteRow(2));
    EXPECT_EQ(cell(2, 0), QString());
    EXPECT_TRUE(testUi.messages.isEmpty());
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 2);
}

TEST_F(UsuariosScreen, TypingInTheGridWritesTheCell)
{
    const auto type = [this](int column, const QString& text, Qt::Key key) {
        grid()->setFocus();
        grid()->setCurrentIndex(model().index(3, column));
        grid()->edit(model().index(3, column));
        auto* editor = qobject_cast<QLineEdit*>(grid()->indexWidget(model().index(3, column)));
        ASSERT_TRUE(editor);
        editor->setText(text);
        QTest::keyClick(editor, key);  // commits once events run
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    type(1, QStringLiteral("nova1234"), Qt::Key_Tab);
    EXPECT_EQ(cell(3, 1), QStringLiteral("nova1234"));
    // Password and flag without a name: the row is refused, what was typed stays.
    type(2, QStringLiteral("S"), Qt::Key_Return);
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().text, QStringLiteral("Digite o nome do usuário !"));
    EXPECT_EQ(testUi.lastMessage().style, vb::Critical);
    EXPECT_EQ(testUi.lastMessage().title, QStringLiteral("ERRO"));
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 3);
    EXPECT_EQ(cell(3, 2), QStringLiteral("S"));
    type(0, QStringLiteral("davi"), Qt::Key_Return);
    EXPECT_EQ(stored().value(3), QStringLiteral("davi|nova1234|S"));
    EXPECT_EQ(model().rowCount(), 5);
    EXPECT_EQ(testUi.messages.size(), 1);
}

TEST_F(UsuariosScreen, BlankOrOverlongNamesAreRefusedWithTheirMessage)
{
    const QStringList before = stored();
    EXPECT_FALSE(edit(0, 0, QStringLiteral("  ")));
    EXPECT_EQ(testUi.lastMessage().text, QStringLiteral("Digite o nome do usuário !"));
    // The limit is the column's, as the database defines it.
    EXPECT_FALSE(edit(0, 0, QString(61, QLatin1Char('x'))));
    EXPECT_EQ(testUi.lastMessage().text, QStringLiteral("Nome do usuário tem no máximo 60 caracteres !"));
    EXPECT_EQ(testUi.lastMessage().title, QStringLiteral("ERRO"));
    EXPECT_FALSE(edit(3, 0, QString(61, QLatin1Char('y'))));
    EXPECT_EQ(testUi.messages.size(), 3);
    EXPECT_EQ(stored(), before);
    EXPECT_TRUE(edit(0, 0, QString(60, QLatin1Char('x'))));
    EXPECT_EQ(stored().at(0), QString(60, QLatin1Char('x')) + QStringLiteral("|senha01|S"));
}

TEST_F(UsuariosScreen, ANewUserNotWrittenIsNotDroppedWithoutSayingWhatIsMissing)
{
    EXPECT_TRUE(edit(3, 0, QStringLiteral("carla")));
    testUi.msgAnswers.push_back(vb::No);
    screen->findChild<QPushButton*>(QStringLiteral("Sair"))->click();
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().text,
              QStringLiteral("O novo usuário \"carla\" não foi gravado: falta informar a senha e o livre acesso (S ou N)."
                             "\nAbandonar o novo usuário ?"));
    EXPECT_EQ(testUi.lastMessage().style, int(vb::YesNo) + vb::Question);
    EXPECT_EQ(testUi.lastMessage().title, QStringLiteral("Usuários"));
    // Kept open, on the first cell missing.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(screen.isNull());
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(grid()->currentIndex(), model().index(3, 1));
    EXPECT_EQ(cell(3, 0), QStringLiteral("carla"));

    // Esc asks too; abandoning closes.
    EXPECT_TRUE(edit(3, 1, QStringLiteral("abcdef")));
    testUi.msgAnswers.push_back(vb::Yes);
    QTest::keyClick(screen, Qt::Key_Escape);
    EXPECT_EQ(testUi.messages.size(), 2);
    EXPECT_EQ(testUi.lastMessage().text,
              QStringLiteral("O novo usuário \"carla\" não foi gravado: falta informar o livre acesso (S ou N)."
                             "\nAbandonar o novo usuário ?"));
    EXPECT_FALSE(screen && screen->isVisible());
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 3);

    EXPECT_EQ(NewUserMissing(QString(), false, false, true),
              QStringLiteral("O novo usuário não foi gravado: falta informar o nome do usuário e a senha."
                             "\nAbandonar o novo usuário ?"));
    EXPECT_EQ(NewUserMissing(QStringLiteral("rui"), true, true, true),
              QStringLiteral("O novo usuário \"rui\" não foi gravado.\nAbandonar o novo usuário ?"));
    EXPECT_EQ(NewUserMissing(QString(), false, true, true),
              QStringLiteral("O novo usuário não foi gravado: falta informar o nome do usuário.\nAbandonar o novo usuário ?"));
}

TEST_F(UsuariosScreen, OneAnswerAbandonsTheNewUserWhicheverWayTheScreenCloses)
{
    EXPECT_TRUE(edit(3, 0, QStringLiteral("carla")));
    screen->findChild<QPushButton*>(QStringLiteral("Sair"))->click();
    EXPECT_EQ(testUi.messages.size(), 1);
    EXPECT_FALSE(screen && screen->isVisible());

    QPointer<frmUsuarios> again = new frmUsuarios();
    again->show();
    again->model().setData(again->model().index(3, 0), QStringLiteral("rui"), Qt::EditRole);
    again->close();  // the close box
    EXPECT_EQ(testUi.messages.size(), 2);
    EXPECT_FALSE(again && again->isVisible());
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 3);
    delete again.data();
}

TEST_F(UsuariosScreen, ADatabaseErrorIsShownAndTheGridShowsWhatIsStored)
{
    tdb.db().execute(QStringLiteral("ALTER TABLE Usuarios ADD CONSTRAINT ck_teste CHECK (usuario <> 'proibido')"));
    EXPECT_FALSE(edit(0, 0, QStringLiteral("proibido")));
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().style, 16);
    EXPECT_TRUE(testUi.lastMessage().text.startsWith(QStringLiteral("Erro no banco de dados:\n")));
    EXPECT_EQ(cell(0, 0), QStringLiteral("ana"));
    // A new user that cannot be written keeps what was typed, and nothing is added.
    EXPECT_TRUE(edit(3, 0, QStringLiteral("proibido")));
    EXPECT_TRUE(edit(3, 1, QStringLiteral("abcdef")));
    EXPECT_FALSE(edit(3, 2, QStringLiteral("S")));
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 3);
    EXPECT_EQ(model().rowCount(), 4);
    EXPECT_EQ(cell(3, 1), QStringLiteral("abcdef"));
    // The screen goes on: another name now goes through.
    EXPECT_TRUE(edit(3, 0, QStringLiteral("yara")));
    EXPECT_EQ(stored().value(3), QStringLiteral("yara|abcdef|S"));
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 4);
}

TEST(Usuarios, SairUnloadsTheScreen)
{
    TestDb tdb;
    QPointer<frmUsuarios> screen = new frmUsuarios();
    screen->show();
    screen->findChild<QPushButton*>(QStringLiteral("Sair"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(screen.isNull());
}
