// The link repair of the batch loader's citation table.
#include "support/TestDb.h"
#include "support/TestUi.h"
#include "update/RepairLinks.h"
#include "update/Staging.h"

#include <gtest/gtest.h>

namespace {

class RepairTest : public ::testing::Test {
protected:
    TestDb tdb;
    TestUi tui;

    // Applied entries of an issue, keyed from first onward.
    void applyEntries(int revista, int count, int firstKey)
    {
        tdb.db().execute(QStringLiteral("ALTER SEQUENCE codrevproc_gen RESTART WITH %1").arg(firstKey - 1));
        for (int i = 0; i < count; ++i)
            tdb.db().execute(QStringLiteral("INSERT INTO RevProcs (processo, rpi, despacho) VALUES (%1,%2,'0')")
                                 .arg(800000 + i)
                                 .arg(revista));
    }
    int links(int codigo, int refproc)
    {
        return valueOf(QStringLiteral("SELECT COUNT(*) FROM RevProcRefProc WHERE codigo=%1 AND refproc=%2")
                           .arg(codigo)
                           .arg(refproc))
            .toInt();
    }
};

TEST_F(RepairTest, LinksCitationsToTheirEntriesAndIsIdempotent)
{
    for (int c = 1; c <= 3; ++c) stageRow(c, 820000 + c, 2160, QStringLiteral("100"));
    applyEntries(2160, 3, 501);
    stageCitation(1, 812345, 3, 2160);
    stageCitation(2, 812345, 3, 2160);  // the same process cited twice
    stageCitation(3, 700001, 1, 2160);
    // A pair already there is left alone.
    tdb.db().execute(QStringLiteral("INSERT INTO RevProcRefProc (codigo, refproc) VALUES (501,700001)"));

    RepairOutcome first = RepairRevProcRefProc();
    EXPECT_TRUE(first.done);
    EXPECT_EQ(first.inserted, 1);
    EXPECT_EQ(links(503, 812345), 1);
    EXPECT_EQ(links(501, 700001), 1);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRefProc")), 2);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRef")), 0);
    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.lastMessage().text, QStringLiteral("FIM"));
    EXPECT_EQ(tui.lastMessage().style, 0);
    EXPECT_TRUE(tui.lastMessage().title.isEmpty());
    EXPECT_EQ(tui.pointerHistory.first(), int(vb::Hourglass));
    EXPECT_EQ(tui.pointer(), int(vb::Default));

    RepairOutcome second = RepairRevProcRefProc();
    EXPECT_TRUE(second.done);
    EXPECT_EQ(second.inserted, 0);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRefProc")), 2);
}

TEST_F(RepairTest, GapsInStagedNumbersDoNotShiftTheLinks)
{
    // XML staging skips a number for a process without a dispatch.
    stageRow(1, 820001, 2230, QStringLiteral("IPAS009"));
    stageRow(2, 820002, 2230, QStringLiteral("IPAS009"));
    stageRow(4, 820004, 2230, QStringLiteral("IPAS009"));
    // Entries of an earlier issue come first in key order.
    applyEntries(2229, 2, 401);
    applyEntries(2230, 3, 601);
    stageCitation(1, 812345, 4, 2230);
    stageCitation(2, 812346, 1, 2230);

    int yields = 0;
    RepairOutcome out = RepairRevProcRefProc([&] { ++yields; });
    EXPECT_TRUE(out.done);
    EXPECT_EQ(yields, 2);
    EXPECT_EQ(links(603, 812345), 1);
    EXPECT_EQ(links(601, 812346), 1);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRefProc")), 2);
}

TEST_F(RepairTest, RefusesWhenStagingAndEntriesDoNotMatch)
{
    // Nothing staged.
    EXPECT_FALSE(RepairRevProcRefProc().done);
    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.lastMessage().icon(), int(vb::Critical));
    EXPECT_EQ(tui.pointer(), int(vb::Default));

    // Staged but never applied.
    for (int c = 1; c <= 3; ++c) stageRow(c, 820000 + c, 2161, QStringLiteral("100"));
    stageCitation(1, 812345, 2, 2161);
    EXPECT_FALSE(RepairRevProcRefProc().done);
    ASSERT_EQ(tui.messages.size(), 2);
    EXPECT_TRUE(tui.lastMessage().text.contains(QStringLiteral("2161")));

    // Applied with a different number of entries.
    applyEntries(2161, 2, 501);
    EXPECT_FALSE(RepairRevProcRefProc().done);
    ASSERT_EQ(tui.messages.size(), 3);
    EXPECT_TRUE(tui.lastMessage().text.contains(QStringLiteral("3 registros lidos e 2 processos"))) << tui.lastMessage().text.toStdString();
    for (const auto& m : tui.messages) EXPECT_NE(m.text, QStringLiteral("FIM"));
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRefProc")), 0);
}

}  // namespace
