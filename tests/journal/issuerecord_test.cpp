// The Revistas row both journal readers leave behind.
#include "journal/IssueRecord.h"
#include "support/TestDb.h"

#include <gtest/gtest.h>

TEST(RecordIssue, AddsANewIssueNotYetAppliedAndKeepsTheFlagOfAnAppliedOne)
{
    TestDb t;
    RecordIssue(t.db(), 2500, QDate(2019, 1, 8));
    EXPECT_EQ(t.scalar("SELECT atualizado FROM Revistas WHERE revista=2500").toInt(), 0);
    EXPECT_EQ(t.scalar("SELECT rdata FROM Revistas WHERE revista=2500").toDate(), QDate(2019, 1, 8));

    t.db().execute("UPDATE Revistas SET atualizado=1 WHERE revista=2500");
    RecordIssue(t.db(), 2500, QDate(2019, 1, 9));
    EXPECT_EQ(t.count("Revistas"), 1);
    EXPECT_EQ(t.scalar("SELECT atualizado FROM Revistas WHERE revista=2500").toInt(), 1);
    EXPECT_EQ(t.scalar("SELECT rdata FROM Revistas WHERE revista=2500").toDate(), QDate(2019, 1, 9));
}

TEST(RecordIssue, AnIssueWithoutADateIsStoredWithNull)
{
    TestDb t;
    RecordIssue(t.db(), 2501, QDate());
    EXPECT_EQ(t.count("Revistas"), 1);
    EXPECT_TRUE(t.scalar("SELECT rdata FROM Revistas WHERE revista=2501").isNull());
}
