#include "journal/SqlLiterals.h"
#include "journal/VbError.h"

#include <QDate>
#include <QDateTime>
#include <gtest/gtest.h>

namespace {
// A database Null as the data-access layer returns it.
QVariant dbNull() { return QVariant(QMetaType(QMetaType::QString)); }
}  // namespace

TEST(SqlLiterals, AbsentValues)
{
    for (const QVariant& absent : {QVariant(), dbNull()}) {
        QVariant v = absent;
        EXPECT_EQ(TestaNulo(v), "''");
        EXPECT_EQ(TestaZero(v), "''");
        EXPECT_EQ(TestaCampo(v), "''");
        EXPECT_EQ(TestaCampoTxt(v, AbsentGives::EmptyLiteral), "''");
        EXPECT_EQ(TestaCampoTxt(v, AbsentGives::Null), "Null");
        EXPECT_EQ(TestNull(v), "Null");
        EXPECT_EQ(TestDate(v), "Null");
        EXPECT_TRUE(isAbsent(TestaCampoTxt1(v)));
        EXPECT_EQ(TestaCampoTxt1(v).toString(), "");
        EXPECT_TRUE(isAbsent(v));
    }
}

TEST(SqlLiterals, EmptyTextIsNotAbsent)
{
    QVariant e = QString("");
    EXPECT_EQ(TestaNulo(e), "Null");
    EXPECT_EQ(TestaCampo(e), "Null");
    EXPECT_EQ(TestaCampoTxt(e, AbsentGives::EmptyLiteral), "Null");
    EXPECT_EQ(TestaCampoTxt(e, AbsentGives::Null), "Null");
    EXPECT_EQ(TestNull(e), "''");
    EXPECT_EQ(TestaCampoTxt1(e), QVariant(QString("")));
    EXPECT_FALSE(isAbsent(TestaCampoTxt1(e)));
    // A text made only of double quotes is not empty before cleaning.
    QVariant q = QString("\"\"");
    EXPECT_EQ(TestaCampoTxt(q, AbsentGives::Null), "''");
    EXPECT_EQ(q.toString(), "");
}

TEST(SqlLiterals, CleaningDoublesApostrophesOncePerCall)
{
    QVariant v = QString("A'B");
    EXPECT_EQ(TestaCampoTxt(v, AbsentGives::EmptyLiteral), "'A''B'");
    EXPECT_EQ(v.toString(), "A''B");
    EXPECT_EQ(TestaCampoTxt(v, AbsentGives::EmptyLiteral), "'A''''B'");
    EXPECT_EQ(v.toString(), "A''''B");

    QVariant w = QString("O \"BOM\" D''ARC'");
    EXPECT_EQ(TestaCampoTxt1(w).toString(), "O BOM D''''ARC''");
    EXPECT_EQ(w.toString(), "O BOM D''''ARC''");
}

TEST(SqlLiterals, QuotedValuesNeverEndTheLiteralEarly)
{
    const QVariant v = QString("D'AVILA");
    EXPECT_EQ(TestaNulo(v), "'D''AVILA'");
    EXPECT_EQ(TestNull(v), "'D''AVILA'");
    EXPECT_EQ(TestaZero(v), "'D''AVILA'");
    EXPECT_EQ(TestaNulo(QString("PLAIN \"X\"")), "'PLAIN \"X\"'");
    EXPECT_EQ(v.toString(), "D'AVILA");  // not changed by these three

    QVariant p = QString("12'34'");
    EXPECT_EQ(TestaCampo(p), "'1234'");
    EXPECT_EQ(p.toString(), "1234");
    QVariant dq = QString("A\"B");
    EXPECT_EQ(TestaCampo(dq), "'A\"B'");
}

TEST(SqlLiterals, NumbersAndZero)
{
    EXPECT_EQ(TestaZero(0), "Null");
    EXPECT_EQ(TestaZero(0.0), "Null");
    EXPECT_EQ(TestaZero(QString("0")), "Null");
    EXPECT_EQ(TestaZero(25), "'25'");
    EXPECT_EQ(TestaZero(QString("25")), "'25'");
    EXPECT_EQ(TestaZero(QString("")), "''");
    EXPECT_EQ(TestaNulo(0), "'0'");
    EXPECT_EQ(TestNull(-7), "'-7'");
    EXPECT_EQ(TestNull(2.5), "'2.5'");
    QVariant n = 12;
    EXPECT_EQ(TestaCampoTxt(n, AbsentGives::Null), "'12'");
    EXPECT_EQ(n.typeId(), QMetaType::Int);
}

TEST(SqlLiterals, Dates)
{
    EXPECT_EQ(TestDate(QDate(2010, 3, 5)), "'05.03.2010'");
    EXPECT_EQ(TestDate(QDateTime(QDate(2010, 3, 5), QTime(14, 30))), "'05.03.2010'");
    EXPECT_EQ(TestDate(QString("05/03/2010")), "'05.03.2010'");
    EXPECT_EQ(TestDate(QString("5.3.2010")), "'05.03.2010'");
    EXPECT_EQ(TestDate(QString("2010-03-05")), "'05.03.2010'");
    EXPECT_EQ(TestNull(QDate(2010, 3, 5)), "'05.03.2010'");
    EXPECT_EQ(TestaNulo(QDateTime(QDate(2010, 3, 5), QTime(0, 0))), "'05.03.2010'");
    try {
        TestDate(QString("31/02/2010"));
        FAIL() << "no error";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 13);
    }
}
