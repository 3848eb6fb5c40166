// The user list: checks of edited cells, writes by the row's hidden key,
// the row of a new user, deletion, failures of the database, and the grid
// walked and typed into with the keyboard.

#include "support/TestDb.h"
#include "support/TestUi.h"
#include "support/Typing.h"
#include "shell/frmUsuarios.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
void PrintTo(const QModelIndex& i, std::ostream* os) { *os << "cell (" << i.row() << ", " << i.column() << ")"; }

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

// The screen in front, clicked and typed into as a person does: every key
// goes to the widget with the focus.
class UsuariosKeys : public UsuariosScreen {
protected:
    void SetUp() override
    {
        UsuariosScreen::SetUp();
        activate();
    }
    void activate()
    {
        screen->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    }
    // Runs what the keys left queued (Enter commits once events run).
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void click(int row, int column)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          grid()->visualRect(model().index(row, column)).center());
        settle();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, mods);
        settle();
    }
    void type(const QString& text)
    {
        for (const QChar ch : text) {
            if (ch.unicode() < 0x80)
                QTest::keyClick(QApplication::focusWidget(), char(ch.unicode()));
            else  // a letter of the keyboard beyond ASCII: its key and its text
                QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(ch.toUpper().unicode()),
                                    QString(ch), Qt::NoModifier);
        }
        settle();
    }
    QModelIndex current() { return grid()->currentIndex(); }
    QStringList texts()
    {
        QStringList l;
        for (const RecordedMessage& m : testUi.messages) l << m.text;
        return l;
    }
    // The editor open on the current cell and holding the focus, or null.
    QLineEdit* editor()
    {
        auto* e = qobject_cast<QLineEdit*>(grid()->indexWidget(current()));
        return e && QApplication::focusWidget() == e ? e : nullptr;
    }
};

}  // namespace

TEST(CheckUsuarioCell, PasswordLengthIsCountedWithoutBlanksAndTheFlagIsOneSOrN)
{
    for (const QString& ok : {QStringLiteral("123456"), QStringLiteral("  123456  "), QStringLiteral("1234567890"),
                              QStringLiteral(" 12 34 5 "), QStringLiteral("a b c d e"), QStringLiteral("12345\u00A0"),
                              QStringLiteral("\t12345")})
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

TEST_F(UsuariosKeys, ARefusedPasswordKeepsItsCellWhatWasTypedAndTheNextKeys)
{
    // The message box takes the focus while it is up, as the real one does.
    testUi.onMessage = [](const RecordedMessage&) {
        QWidget box;
        box.show();
        box.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
    };
    click(1, 1);
    key(Qt::Key_F2);
    type(QStringLiteral("12345"));
    key(Qt::Key_Tab);
    activate();
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().text, kSenhaMsg);
    EXPECT_EQ(testUi.lastMessage().style, vb::Critical);
    EXPECT_EQ(testUi.lastMessage().title, QStringLiteral("ERRO"));
    EXPECT_EQ(current(), model().index(1, 1));
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->text(), QStringLiteral("12345"));
    EXPECT_EQ(editor()->selectedText(), QStringLiteral("12345"));
    // The next keys replace it, in the same cell.
    type(QStringLiteral("654321"));
    key(Qt::Key_Return);
    EXPECT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(stored(), (QStringList{"ana|senha01|S", "ana|654321|N", "bruno|senha03|n"}));
    EXPECT_EQ(current(), model().index(1, 1));
    EXPECT_FALSE(editor());

    // Typed straight onto the cell, with Enter; then an arrow, then a click
    // elsewhere: one message each, and the cell keeps its editor.
    testUi.onMessage = nullptr;
    testUi.clear();
    type(QStringLiteral("12345"));
    key(Qt::Key_Enter);
    type(QStringLiteral("1234"));
    key(Qt::Key_Down);
    click(2, 0);
    EXPECT_EQ(texts(), (QStringList{kSenhaMsg, kSenhaMsg, kSenhaMsg}));
    EXPECT_EQ(current(), model().index(1, 1));
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->text(), QStringLiteral("1234"));
    // Esc gives back what the cell held; the screen stays.
    key(Qt::Key_Escape);
    EXPECT_FALSE(editor());
    EXPECT_EQ(cell(1, 1), QStringLiteral("654321"));
    EXPECT_TRUE(screen->isVisible());
    // Backspace on the cell alone changes nothing; in its editor it empties
    // it, and empty is refused too.
    key(Qt::Key_Backspace);
    EXPECT_FALSE(editor());
    EXPECT_EQ(cell(1, 1), QStringLiteral("654321"));
    key(Qt::Key_F2);
    key(Qt::Key_Backspace);
    key(Qt::Key_Tab);
    EXPECT_EQ(testUi.messages.size(), 4);
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->text(), QString());
    key(Qt::Key_Escape);
    EXPECT_EQ(stored(), (QStringList{"ana|senha01|S", "ana|654321|N", "bruno|senha03|n"}));
}

TEST_F(UsuariosKeys, APastedPasswordLosesItsLineBreakAndExcluirKeepsARefusedCell)
{
    click(0, 1);
    key(Qt::Key_F2);
    typing::paste(QStringLiteral("segredo99\n"));
    key(Qt::Key_Return);
    // Excluir while a refused value is typed: the refusal, nothing deleted.
    click(1, 1);
    key(Qt::Key_F2);
    type(QStringLiteral("12345"));
    QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("Excluir")), Qt::LeftButton);
    EXPECT_EQ(texts(), QStringList{kSenhaMsg});
    EXPECT_EQ(stored(), (QStringList{"ana|segredo99|S", "ana|senha02|N", "bruno|senha03|n"}));
}

TEST_F(UsuariosKeys, ARefusedFlagOnTheLastRowsStaysThereAndANewUserIsStoredAsTyped)
{
    // The last stored user: Tab would go on to the new row.
    click(2, 2);
    type(QStringLiteral("SN"));
    key(Qt::Key_Tab);
    ASSERT_EQ(texts(), QStringList{kFlagMsg});
    EXPECT_EQ(current(), model().index(2, 2));
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->selectedText(), QStringLiteral("SN"));
    type(QStringLiteral("S"));
    key(Qt::Key_Tab);
    EXPECT_EQ(stored().at(2), QStringLiteral("bruno|senha03|S"));
    // On along the new row, typing without F2.
    EXPECT_EQ(current(), model().index(3, 0));
    type(QStringLiteral("ana d'ávila"));
    key(Qt::Key_Tab);
    type(QStringLiteral("abcdef"));
    key(Qt::Key_Tab);
    // The new row is the last: Tab would wrap to the first user's name.
    type(QStringLiteral("SN"));
    key(Qt::Key_Tab);
    EXPECT_EQ(testUi.messages.size(), 2);
    EXPECT_EQ(current(), model().index(3, 2));
    ASSERT_TRUE(editor());
    type(QStringLiteral("s"));
    key(Qt::Key_Tab);
    EXPECT_EQ(testUi.messages.size(), 2);
    EXPECT_EQ(stored(),
              (QStringList{"ana|senha01|S", "ana|senha02|N", "bruno|senha03|S", "ana d'ávila|abcdef|s"}));
    // Stored in place: the next Tab went on to the fresh new row.
    EXPECT_EQ(current(), model().index(4, 0));
    EXPECT_EQ(model().rowCount(), 5);
    EXPECT_EQ(cell(3, 0), QStringLiteral("ana d'ávila"));
}

TEST_F(UsuariosKeys, OnAnEmptyTableTheNewRowIsTheOnlyOneAndKeepsWhatWasTyped)
{
    delete screen.data();
    tdb.db().execute(QStringLiteral("DELETE FROM Usuarios"));
    screen = new frmUsuarios();
    screen->show();
    activate();
    ASSERT_EQ(model().rowCount(), 1);
    click(0, 0);
    type(QStringLiteral("ana d'ávila"));
    key(Qt::Key_Tab);
    type(QStringLiteral("12345"));
    key(Qt::Key_Tab);
    EXPECT_EQ(current(), model().index(0, 1));
    type(QStringLiteral("abcdef"));
    key(Qt::Key_Tab);
    // Refused on the last cell: Tab wrapping would land in the name.
    type(QStringLiteral("SN"));
    key(Qt::Key_Tab);
    EXPECT_EQ(texts(), (QStringList{kSenhaMsg, kFlagMsg}));
    EXPECT_EQ(current(), model().index(0, 2));
    type(QStringLiteral("s"));
    key(Qt::Key_Return);
    EXPECT_EQ(stored(), QStringList{"ana d'ávila|abcdef|s"});
    EXPECT_EQ(current(), model().index(0, 2));

    // Password and flag first: the message asks for the name and the grid is on it.
    click(1, 1);
    type(QStringLiteral("xyz123"));
    key(Qt::Key_Tab);
    type(QStringLiteral("N"));
    key(Qt::Key_Tab);
    EXPECT_EQ(testUi.lastMessage().text, QStringLiteral("Digite o nome do usuário !"));
    EXPECT_EQ(current(), model().index(1, 0));
    type(QStringLiteral("bia"));
    key(Qt::Key_Return);
    EXPECT_EQ(stored(), (QStringList{"ana d'ávila|abcdef|s", "bia|xyz123|N"}));
    EXPECT_EQ(testUi.messages.size(), 3);
}

TEST_F(UsuariosKeys, WalkingTheGridChangesNothingAndEditingKeysStayInTheirCell)
{
    // Tab over every cell, each opening its editor on what it holds, and
    // Shift+Tab back: nothing written, no message, and no wrap past the last
    // cell or the first.
    click(0, 0);
    key(Qt::Key_F2);
    for (int i = 0; i < 12; ++i) key(Qt::Key_Tab);
    EXPECT_EQ(current(), model().index(3, 2));
    ASSERT_TRUE(editor());
    for (int i = 0; i < 12; ++i) key(Qt::Key_Backtab);
    EXPECT_EQ(current(), model().index(0, 0));
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->selectedText(), QStringLiteral("ana"));
    key(Qt::Key_Escape);
    EXPECT_TRUE(testUi.messages.isEmpty());
    EXPECT_EQ(stored(), (QStringList{"ana|senha01|S", "ana|senha02|N", "bruno|senha03|n"}));
    EXPECT_FALSE(model().unsavedNewUser().has_value());
    // Backspace and Delete inside an editor edit its text, not the rows.
    key(Qt::Key_F2);
    key(Qt::Key_End);
    key(Qt::Key_Backspace);
    key(Qt::Key_Home);
    key(Qt::Key_Delete);
    type(QStringLiteral("iv"));
    key(Qt::Key_Down);
    EXPECT_EQ(stored().at(0), QStringLiteral("ivn|senha01|S"));
    EXPECT_EQ(current(), model().index(1, 0));
    EXPECT_EQ(tdb.count(QStringLiteral("Usuarios")), 3);
    // Delete on a cell removes its user (after asking); the grid stays on that row.
    testUi.msgAnswers.push_back(vb::Yes);
    key(Qt::Key_Delete);
    EXPECT_EQ(stored(), (QStringList{"ivn|senha01|S", "bruno|senha03|n"}));
    EXPECT_EQ(current(), model().index(1, 0));
    type(QStringLiteral("beto"));
    key(Qt::Key_Return);
    EXPECT_EQ(stored(), (QStringList{"ivn|senha01|S", "beto|senha03|n"}));
}

TEST_F(UsuariosKeys, LeavingWithACellBeingTypedCountsWhatItHolds)
{
    click(3, 0);
    type(QStringLiteral("rui"));
    testUi.msgAnswers.push_back(vb::No);
    screen->findChild<QPushButton*>(QStringLiteral("Sair"))->click();
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_TRUE(testUi.lastMessage().text.startsWith(QStringLiteral("O novo usuário \"rui\" não foi gravado")));
    EXPECT_TRUE(screen->isVisible());
    // A refused cell keeps the screen open, on it.
    click(0, 1);
    type(QStringLiteral("123"));
    screen->close();
    EXPECT_EQ(testUi.lastMessage().text, kSenhaMsg);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(current(), model().index(0, 1));
    EXPECT_EQ(stored().at(0), QStringLiteral("ana|senha01|S"));
}

TEST_F(UsuariosKeys, ACellTheDatabaseRefusesStaysCurrentWithWhatIsStored)
{
    tdb.db().execute(QStringLiteral("ALTER TABLE Usuarios ADD CONSTRAINT ck_teste CHECK (usuario <> 'proibido')"));
    click(1, 0);
    type(QStringLiteral("proibido"));
    key(Qt::Key_Tab);
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_TRUE(testUi.lastMessage().text.startsWith(QStringLiteral("Erro no banco de dados:\n")));
    EXPECT_EQ(current(), model().index(1, 0));
    EXPECT_EQ(cell(1, 0), QStringLiteral("ana"));
    // The next keys go into that cell again.
    type(QStringLiteral("ana b"));
    key(Qt::Key_Return);
    EXPECT_EQ(stored(), (QStringList{"ana|senha01|S", "ana b|senha02|N", "bruno|senha03|n"}));
    EXPECT_EQ(testUi.messages.size(), 1);
}
