// The program's windows: one instance per screen, failures while a screen
// loads shown as messages, and the main menu wired to the screens.

#include "app/App.h"
#include "app/Translations.h"
#include "shell/DBSpecifics.h"
#include "shell/DateBox.h"
#include "shell/Globals.h"
#include "shell/Db.h"
#include "shell/MenuGeral.h"
#include "shell/OneLineBox.h"
#include "support/TestDb.h"
#include "support/TestUi.h"
#include "support/Typing.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <QDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class ScreenA : public QWidget {
public:
    ScreenA() { setObjectName(QStringLiteral("ScreenA")); }
};

class ModalScreen : public QDialog {
public:
    ModalScreen() { setObjectName(QStringLiteral("ModalScreen")); }
};

int failingLoads = 0;
class FailingScreen : public QWidget {
public:
    FailingScreen()
    {
        ++failingLoads;
        throw DbError(QStringLiteral("tabela Processos inexistente"));
    }
};

}  // namespace

TEST(App, EachScreenExistsOnce)
{
    App app;
    ScreenA& a = app.screen<ScreenA>();
    EXPECT_EQ(&app.screen<ScreenA>(), &a);
    // A screen that deleted itself is made anew on the next use.
    delete &a;
    ScreenA& again = app.screen<ScreenA>();
    EXPECT_EQ(again.objectName(), QStringLiteral("ScreenA"));
    EXPECT_EQ(&app.screen<ScreenA>(), &again);
}

TEST(App, ScreensOpenModalThroughTheSeamAndModelessBesideTheMenu)
{
    TestUi testUi;
    App app;
    app.openModal<ModalScreen>();
    app.openModal<ModalScreen>();
    EXPECT_EQ(testUi.modalWindows, (QStringList{QStringLiteral("ModalScreen"), QStringLiteral("ModalScreen")}));
    app.openModeless<ScreenA>();
    EXPECT_TRUE(app.screen<ScreenA>().isVisible());
    EXPECT_TRUE(testUi.messages.isEmpty());
}

TEST(App, AScreenThatFailsToLoadIsReportedAndTheProgramGoesOn)
{
    TestUi testUi;
    App app;
    failingLoads = 0;
    app.openModeless<FailingScreen>();
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().style, vb::Critical);
    EXPECT_TRUE(testUi.lastMessage().text.contains(QStringLiteral("tabela Processos inexistente")));
    // Nothing half-built is kept: the next try loads again.
    app.openModal<FailingScreen>();
    EXPECT_EQ(failingLoads, 2);
    EXPECT_EQ(testUi.messages.size(), 2);
    EXPECT_TRUE(testUi.modalWindows.isEmpty());
}

TEST(App, StartShowsTheMainMenuAndEveryEntryIsWired)
{
    TestUi testUi;
    DBSpecifics::AdminFlag = 1;
    App app;
    app.start();
    EXPECT_TRUE(app.menuGeral().isVisible());
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    for (const char* name : {"AtualizarCadastros", "LeituraRPI", "TrocaSenha"})
        app.menuGeral().findChild<QPushButton*>(QString::fromLatin1(name))->click();
    app.menuGeral().Pesquisas_Click();
    EXPECT_FALSE(app.menuGeral().isVisible());
    EXPECT_TRUE(testUi.messages.isEmpty());
    DBSpecifics::AdminFlag = 0;
}

TEST(App, QtStandardButtonsReadInPortugueseAndTheProgramGoesOnWithout)
{
    const auto buttonTexts = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return QStringList{box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::No)->text(),
                           box.button(QMessageBox::Cancel)->text()};
    };
    QTemporaryDir empty;
    EXPECT_EQ(LoadQtTranslations(empty.path()), 0);
    EXPECT_EQ(buttonTexts(), (QStringList{"&Yes", "&No", "Cancel"}));

    EXPECT_GE(LoadQtTranslations(), 1);
    EXPECT_EQ(buttonTexts(), (QStringList{"&Sim", "&Não", "Cancelar"}));
    for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

TEST(App, TheProgramAsStartedIsPortugueseBeforeItsFirstMessage)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // a machine set to English
    QString yes;
    TestUi testUi;
    testUi.onMessage = [&](const RecordedMessage&) {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes);
        yes = box.button(QMessageBox::Yes)->text();
    };
    QTemporaryDir empty;  // no settings file: the program ends at its first message
    Globals::setProgramDir(empty.path());
    EXPECT_EQ(RunProgram(), 1);
    Globals::setProgramDir(QString());
    ASSERT_EQ(testUi.messages.size(), 1);
    EXPECT_EQ(testUi.lastMessage().text, QStringLiteral("Arquivo 'Quorvanta.Ini' está faltando !"));
    EXPECT_EQ(yes, QStringLiteral("&Sim"));
    EXPECT_EQ(QLocale().name(), QStringLiteral("pt_BR"));
    for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    QLocale::setDefault(before);
}

TEST(App, DateBoxesArePortugueseWhateverTheMachinesLanguage)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // a machine set to English
    UseBrazilianLocale();
    DateBox box;
    box.setDate(QDate(2026, 12, 9));
    QCalendarWidget* calendar = box.calendarWidget();
    box.showCalendar();
    auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->text().toLower(), QStringLiteral("dezembro"));
    EXPECT_EQ(calendar->locale().dayName(1, QLocale::ShortFormat).left(3).toLower(), QStringLiteral("seg"));

    // Typed day first.
    QTest::keyClick(calendar, Qt::Key_Escape);
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    box.setFocus(Qt::TabFocusReason);
    QTest::keyClicks(&box, QStringLiteral("01/04/2021"));
    EXPECT_EQ(box.date(), QDate(2021, 4, 1)) << box.text().toStdString();
    QLocale::setDefault(before);
}

TEST(App, NoOneLineBoxOfAnyScreenKeepsALineBreakOrATab)
{
    using namespace typing;
    const QString copied = QStringLiteral("\r\n\tab\r\ncd\t\r\n");
    // The input box (the administrator's password).
    QTimer::singleShot(0, [] {
        QWidget* box = QApplication::activeModalWidget();
        if (QTest::qWaitForWindowActive(box) && focused()) {
            paste(QStringLiteral("quorvanta\r\n"));
            press(Qt::Key_Return);
        }
        if (box->isVisible()) box->close();  // never left waiting
    });
    EXPECT_EQ(ui().inputBox(QStringLiteral("Senha :"), QString(), QString(), true), QStringLiteral("quorvanta"));

    // Every box of every screen the menus open: pasted into with the keys and
    // with the context menu, and given text by an input method.
    TestDb db;
    TestUi testUi;
    TestClock clock;
    DBSpecifics::AdminFlag = 1;
    QStringList walked;
    QList<QPointer<QWidget>> done;
    const auto walk = [&](QWidget* screen) {
        done << screen;
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
        if (auto* grid = screen->findChild<QTableView*>(QStringLiteral("GridUsuarios"))) {  // a cell typed
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(0, 0)).center());
            press(Qt::Key_F2);
        }
        for (QLineEdit* box : screen->findChildren<QLineEdit*>()) {
            if (!box->isVisible() || !box->isEnabled() || box->isReadOnly()) continue;
            const std::string name = (screen->objectName() + '.' + box->objectName()).toStdString();
            const bool date = qobject_cast<DateBox*>(box);
            const QString expected = date ? box->text() : QStringLiteral("ab cd").left(box->maxLength());
            box->setFocus(Qt::OtherFocusReason);
            for (bool fromMenu : {false, true}) {
                if (!date) box->clear();
                paste(copied, fromMenu);
                EXPECT_EQ(box->text(), expected) << name;
            }
            QInputMethodEvent composed;
            composed.setCommitString(copied);
            QApplication::sendEvent(box, &composed);
            EXPECT_EQ(OneLine(box->text()), box->text()) << name;
            walked << QString::fromStdString(name);
        }
    };
    testUi.onModal = [&](QWidget* w) {
        walk(w);
        w->hide();
        return 0;
    };
    {
        App app;
        for (int e = 0; e <= int(MenuEntry::Usuarios); ++e) {
            app.open(MenuEntry(e));
            QList<QPointer<QWidget>> shown;
            for (QWidget* w : QApplication::topLevelWidgets()) shown << w;
            for (const QPointer<QWidget>& w : shown)
                if (w && w->isVisible() && !done.contains(w) && !qobject_cast<QMenu*>(w.data())) walk(w);
        }
    }
    for (const char* box : {"frmAtualizaBD.NumProcs", "frmDialogoLeitura.RegistrosLidos", "frmTrocaSenha.NovaSenha",
                            "frmUsuarios.", "frmPesqProc.NumProc", "frmPesquisaMarca.NCL", "frmPesquisaVigencia.DataInic"})
        EXPECT_TRUE(walked.contains(QString::fromLatin1(box))) << box;
    DBSpecifics::AdminFlag = 0;
}
