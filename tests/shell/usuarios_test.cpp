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
    // Any user name.
    EXPECT_FALSE(CheckUsuarioCell(0, QString()).has_value());
    EXPECT_FALSE(CheckUsuarioCell(0, QStringLiteral("d'Ávila")).has_value());
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
    grid()->setFocus();
    grid()->setCurrentIndex(model().index(3, 1));
    grid()->edit(model().index(3, 1));
    auto* editor = qobject_cast<QLineEdit*>(grid()->indexWidget(model().index(3, 1)));
    ASSERT_TRUE(editor);
    editor->setText(QStringLiteral("nova1234"));
    // Tab writes the cell and opens the next one.
    QTest::keyClick(editor, Qt::Key_Tab);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(cell(3, 1), QStringLiteral("nova1234"));
    editor = qobject_cast<QLineEdit*>(grid()->indexWidget(model().index(3, 2)));
    ASSERT_TRUE(editor);
    editor->setText(QStringLiteral("S"));
    QTest::keyClick(editor, Qt::Key_Return);  // commits once events run
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(stored().value(3), QStringLiteral("|nova1234|S"));
    EXPECT_EQ(model().rowCount(), 5);
    EXPECT_TRUE(testUi.messages.isEmpty());
}

TEST_F(UsuariosScreen, ADatabaseErrorIsShownAndTheGridShowsWhatIsStored)
{
    // Longer than the column holds.
    EXPECT_FALSE(edit(0, 0, QString(80, QLatin1Char('x'))));
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().style, 16);
    EXPECT_TRUE(testUi.lastMessage().text.startsWith(QStringLiteral("Erro no banco de dados:\n")));
    EXPECT_EQ(cell(0, 0), QStringLiteral("ana"));
    // A new user that cannot be written keeps what was typed, and nothing is added.
    EXPECT_TRUE(edit(3, 0, QString(80, QLatin1Char('y'))));
    EXPECT_TRUE(edit(3, 1, QStringLiteral("abcdef")));
    EXPECT_FALSE(edit(3, 2, QStringLiteral("S")));
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 3);
    EXPECT_EQ(model().rowCount(), 4);
    EXPECT_EQ(cell(3, 1), QStringLiteral("abcdef"));
    // The screen goes on: a shorter name now goes through.
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
