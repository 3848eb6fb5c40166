// The administrator password: its scrambled form and the check that grants
// the administrator right.

#include "support/TestDb.h"
#include "shell/Password.h"

#include <gtest/gtest.h>

namespace {

QList<int> codes(const QString& s)
{
    QList<int> out;
    for (QChar c : s) out << c.unicode();
    return out;
}

}  // namespace

TEST(ScramblePassword, ReversesAndLowersEachCodeByItsPosition)
{
    EXPECT_EQ(codes(ScramblePassword(QStringLiteral("abc")).value()), (QList<int>{98, 96, 94}));
    // The default password seeded in a new database.
    EXPECT_EQ(ScramblePassword(QStringLiteral("quorvanta")).value(), QStringLiteral("`rk]qlhmh"));
    EXPECT_EQ(ScramblePassword(QString()).value(), QString());
}

TEST(ScramblePassword, WorksOnWindows1252Codes)
{
    // é (0xE9) lowered by 1 is è (0xE8).
    EXPECT_EQ(ScramblePassword(QStringLiteral("é")).value(), QStringLiteral("è"));
    // š is 0x9A; 0x99 is the trade mark sign, not U+0099.
    EXPECT_EQ(ScramblePassword(QStringLiteral("š")).value(), QString(QChar(0x2122)));
    // € is 0x80: a code above 0x7F reaches a plain ASCII one.
    EXPECT_EQ(ScramblePassword(QStringLiteral("€")).value(), QString(QChar(0x7F)));
    // A result may be a control character; the code 0 is still a character.
    EXPECT_EQ(codes(ScramblePassword(QString(QChar(1))).value()), QList<int>{0});
}

TEST(ScramblePassword, ReportsWhatCannotBeScrambled)
{
    // Code 1 in position 2 would fall below zero.
    EXPECT_FALSE(ScramblePassword(QString(QChar(1)) + QLatin1Char('a')).has_value());
    // Outside Windows-1252.
    EXPECT_FALSE(ScramblePassword(QStringLiteral("senha\u4E2D")).has_value());
    EXPECT_FALSE(ScramblePassword(QStringLiteral("\U0001F600")).has_value());
}

class AdminPassword : public ::testing::Test {
protected:
    TestDb tdb;
};

TEST_F(AdminPassword, TheSeededPasswordGrantsTheRight)
{
    EXPECT_EQ(CheckAdminPassword(QStringLiteral("quorvanta")).outcome, AdminPasswordCheck::Granted);
}

TEST_F(AdminPassword, AnyOtherTextIsRefused)
{
    for (const QString& typed : {QStringLiteral("Quorvanta"), QStringLiteral("quorvanta "),
                                 QStringLiteral(" quorvanta"), QStringLiteral("quorvant"), QString(),
                                 QStringLiteral("`rk]qlhmh"), QStringLiteral("quorvanta\u4E2D")})
        EXPECT_EQ(CheckAdminPassword(typed).outcome, AdminPasswordCheck::WrongPassword) << typed.toStdString();
}

TEST_F(AdminPassword, AStoredPasswordWithAccentsAndApostrophesRoundTrips)
{
    const QString password = QStringLiteral("Ação'2013");
    QString stored = ScramblePassword(password).value();
    stored.replace(QLatin1Char('\''), QStringLiteral("''"));
    tdb.db().execute(QStringLiteral("UPDATE Controle SET controle6='") + stored + QStringLiteral("' Where codigo = 1"));
    EXPECT_EQ(CheckAdminPassword(password).outcome, AdminPasswordCheck::Granted);
    EXPECT_EQ(CheckAdminPassword(QStringLiteral("quorvanta")).outcome, AdminPasswordCheck::WrongPassword);
}

TEST_F(AdminPassword, ANullPasswordNeverMatches)
{
    tdb.db().execute(QStringLiteral("UPDATE Controle SET controle6=NULL WHERE codigo=1"));
    EXPECT_EQ(CheckAdminPassword(QStringLiteral("quorvanta")).outcome, AdminPasswordCheck::WrongPassword);
    EXPECT_EQ(CheckAdminPassword(QString()).outcome, AdminPasswordCheck::WrongPassword);
}

TEST_F(AdminPassword, AnEmptyStoredPasswordIsNotMatchedByAnEmptyText)
{
    tdb.db().execute(QStringLiteral("UPDATE Controle SET controle6='' WHERE codigo=1"));
    EXPECT_EQ(CheckAdminPassword(QString()).outcome, AdminPasswordCheck::WrongPassword);
}

TEST_F(AdminPassword, AMissingControlRowIsReportedAsSuch)
{
    tdb.db().execute(QStringLiteral("DELETE FROM Controle"));
    EXPECT_EQ(CheckAdminPassword(QStringLiteral("quorvanta")).outcome, AdminPasswordCheck::NoControlRow);
}

TEST_F(AdminPassword, ADatabaseFailureIsReportedWithItsText)
{
    tdb.db().close();
    const AdminPasswordResult r = CheckAdminPassword(QStringLiteral("quorvanta"));
    EXPECT_EQ(r.outcome, AdminPasswordCheck::DatabaseError);
    EXPECT_FALSE(r.errorText.isEmpty());
}
