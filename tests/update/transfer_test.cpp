// Applying a staged issue to the permanent tables, on a fresh database.

#include "Staging.h"
#include "support/TestDb.h"
#include "support/TestUi.h"
#include "keys/Metaphone.h"
#include "update/Transfer.h"

#include <QDate>
#include <gtest/gtest.h>

using metaphonevar::CalcMetaphone;
using metaphonevar::LimpaTexto;

namespace {

const QString kTitle = QStringLiteral("Atualização de Banco de Dados");

class Recorder : public TransferProgress {
public:
    int values[5] = {-1, -1, -1, -1, -1};
    int yields = 0;
    void setCounter(TransferCounter c, int v) override { values[int(c)] = v; }
    void yieldEvents() override { ++yields; }
};

void addProcess(int processo, Fields fields = {})
{
    QStringList cols{QStringLiteral("processo")};
    QStringList vals{QString::number(processo)};
    for (const auto& [name, value] : fields) {
        cols << QString::fromLatin1(name);
        vals << TestNull(value);
    }
    DbConnection::instance().execute(QStringLiteral("INSERT INTO Processos (%1) VALUES (%2)")
                                         .arg(cols.join(QLatin1Char(',')), vals.join(QLatin1Char(','))));
}

QVariant processValue(int processo, const char* column)
{
    return valueOf(QStringLiteral("SELECT %1 FROM Processos WHERE processo=%2").arg(QLatin1String(column)).arg(processo));
}

QVariant entryValue(int processo, const char* column)
{
    return valueOf(QStringLiteral("SELECT %1 FROM RevProcs WHERE processo=%2 ORDER BY codigo")
                       .arg(QLatin1String(column))
                       .arg(processo));
}

// A text-layout issue 2150: a known process, three new ones, the same new
// attorney twice and an entry citing one process twice.
void stageTextIssue()
{
    addProcess(81000001, {{"marca", QStringLiteral("ALFA")},
                          {"marcaclean", QStringLiteral("K1")},
                          {"marcaphon1", QStringLiteral("P1")},
                          {"marcaphon2", QStringLiteral("P2")},
                          {"codprocurador", 9},
                          {"classe", QStringLiteral("01.10")}});
    registerIssue(2150, QDate(2012, 4, 24));
    stageRow(1, 81000001, 2150, QStringLiteral("400"),
             {{"marca", QStringLiteral("ALFA")}, {"nclver", 10}, {"nclclasse", 25}});
    stageRow(2, 81000002, 2150, QStringLiteral("300"),
             {{"procurador", QStringLiteral(" Beta Marcas Ltda. ")}, {"deposito", QDate(2010, 3, 5)}});
    stageRow(3, 81000003, 2150, QStringLiteral("300"),
             {{"marca", QStringLiteral("   ")}, {"procurador", QStringLiteral("BETA MARCAS LTDA")}});
    stageRow(4, 81000004, 2150, QStringLiteral("100"),
             {{"marca", QStringLiteral(" Gama'S ")},
              {"procurador", QStringLiteral("o próprio")},
              {"titular", QStringLiteral("Tit D'Or")},
              {"especificacao", QStringLiteral("roupas")},
              {"apostila", QStringLiteral("sem direito")},
              {"complemento", QStringLiteral("*ver 810000011 e 810000011")}});
    stageCitation(1, 81000001, 4, 2150);
    stageCitation(2, 81000001, 4, 2150);
}

}  // namespace

TEST(Transfer, TextLayoutIssue)
{
    TestDb tdb;
    TestUi tui;
    stageTextIssue();
    Recorder rec;
    IssueTransfer t(TransferOptions::textLayout(), &rec);
    ASSERT_EQ(t.run(2150), TransferResult::Done);

    // Counters.
    EXPECT_EQ(rec.values[int(TransferCounter::ProcsAtualizar)], 4);
    EXPECT_EQ(rec.values[int(TransferCounter::NumProcs)], 4);
    EXPECT_EQ(rec.values[int(TransferCounter::NumNewProcs)], 3);
    EXPECT_EQ(rec.values[int(TransferCounter::NumProcuradores)], 1);
    EXPECT_EQ(rec.values[int(TransferCounter::NumProcsRef)], 1);
    EXPECT_EQ(rec.yields, 4 + 2);

    // The known process: refreshed, its mark and keys kept, its attorney kept,
    // the old national class cleared by the Nice class.
    EXPECT_EQ(processValue(81000001, "revista").toInt(), 2150);
    EXPECT_EQ(processValue(81000001, "despacho").toString(), QStringLiteral("400"));
    EXPECT_EQ(processValue(81000001, "marcaclean").toString(), QStringLiteral("K1"));
    EXPECT_EQ(processValue(81000001, "marcaphon2").toString(), QStringLiteral("P2"));
    EXPECT_EQ(processValue(81000001, "codprocurador").toInt(), 9);
    EXPECT_EQ(processValue(81000001, "nclclasse").toInt(), 25);
    EXPECT_TRUE(processValue(81000001, "classe").isNull());

    // New processes without a mark: Null mark, empty keys; the attorney added once.
    for (int p : {81000002, 81000003}) {
        EXPECT_TRUE(processValue(p, "marca").isNull()) << p;
        EXPECT_EQ(processValue(p, "marcaclean").toString(), QString()) << p;
        EXPECT_FALSE(processValue(p, "marcaclean").isNull()) << p;
        EXPECT_FALSE(processValue(p, "marcaphon1").isNull()) << p;
        EXPECT_FALSE(processValue(p, "marcaphon2").isNull()) << p;
        EXPECT_EQ(processValue(p, "codprocurador").toInt(), 2) << p;
    }
    EXPECT_EQ(processValue(81000002, "deposito").toDate(), QDate(2010, 3, 5));
    EXPECT_EQ(tdb.count(QStringLiteral("Procuradores")), 2);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT procurador FROM Procuradores WHERE codprocurador=2")).toString(),
              QStringLiteral("BETA MARCAS LTDA"));

    // A new process with a mark: trimmed, apostrophe kept single, keys of the trimmed mark.
    const QString mark = QStringLiteral("Gama'S");
    EXPECT_EQ(processValue(81000004, "marca").toString(), mark);
    EXPECT_EQ(processValue(81000004, "marcaclean").toString(), LimpaTexto(mark));
    EXPECT_EQ(processValue(81000004, "marcaphon1").toString(), CalcMetaphone(mark, 0, 0));
    EXPECT_EQ(processValue(81000004, "marcaphon2").toString(), CalcMetaphone(mark, -1, 0));
    EXPECT_EQ(processValue(81000004, "codprocurador").toInt(), 1);
    EXPECT_EQ(processValue(81000004, "titular").toString(), QStringLiteral("Tit D'Or"));
    EXPECT_EQ(processValue(81000004, "apostila").toString(), QStringLiteral("sem direito"));

    // Entries: one per staged row, consecutive keys in staging order.
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), 4);
    const int first = valueOf(QStringLiteral("SELECT min(codigo) FROM RevProcs")).toInt();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(valueOf(QStringLiteral("SELECT processo FROM RevProcs WHERE codigo=%1").arg(first + i)).toInt(), 81000001 + i);
    EXPECT_EQ(entryValue(81000004, "complemento").toString(), QStringLiteral("*ver 810000011 e 810000011"));
    EXPECT_TRUE(entryValue(81000001, "complemento").isNull());
    EXPECT_EQ(entryValue(81000003, "rpi").toInt(), 2150);

    // The issue is marked with its first entry's key.
    EXPECT_EQ(valueOf(QStringLiteral("SELECT atualizado FROM Revistas WHERE revista=2150")).toInt(), 1);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT codrevproc FROM Revistas WHERE revista=2150")).toInt(), first);

    // The process cited twice is linked once, from the citing entry.
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRef")), 1);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT codigo FROM RevProcRef WHERE refproc=81000001")).toInt(), first + 3);

    // The end: pointer restored, then the final message.
    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.lastMessage().text, QStringLiteral("Final de Atualização"));
    EXPECT_EQ(tui.lastMessage().style, 64);
    EXPECT_EQ(tui.lastMessage().title, kTitle);
    EXPECT_EQ(tui.pointerHistory, (QList<int>{11, 0}));
}

TEST(Transfer, RedoAfterCompletedRun)
{
    TestDb tdb;
    TestUi tui;
    stageTextIssue();
    ASSERT_EQ(IssueTransfer(TransferOptions::textLayout()).run(2150), TransferResult::Done);
    const int oldLast = valueOf(QStringLiteral("SELECT max(codigo) FROM RevProcs")).toInt();

    // Cancel: nothing written.
    tui.clear();
    tui.msgAnswers.push_back(vb::Cancel);
    Recorder cancelled;
    ASSERT_EQ(IssueTransfer(TransferOptions::textLayout(), &cancelled).run(2150), TransferResult::Cancelled);
    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.messages[0].text, QStringLiteral("RPI já foi atualizada anteriormente ! Refaz a atualização ?"));
    EXPECT_EQ(tui.messages[0].style, 1);
    EXPECT_EQ(tui.messages[0].title, kTitle);
    EXPECT_EQ(cancelled.values[int(TransferCounter::NumProcs)], -1);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT max(codigo) FROM RevProcs")).toInt(), oldLast);

    // OK: the issue's entries are replaced, with new keys.
    tui.clear();
    tui.msgAnswers.push_back(vb::OK);
    IssueTransfer redo(TransferOptions::textLayout());
    ASSERT_EQ(redo.run(2150), TransferResult::Done);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), 4);
    const int newFirst = valueOf(QStringLiteral("SELECT min(codigo) FROM RevProcs")).toInt();
    EXPECT_EQ(newFirst, oldLast + 1);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT codrevproc FROM Revistas WHERE revista=2150")).toInt(), newFirst);
    EXPECT_EQ(redo.counter(TransferCounter::NumNewProcs), 0);
    EXPECT_EQ(redo.counter(TransferCounter::NumProcuradores), 0);
    EXPECT_EQ(tdb.count(QStringLiteral("Procuradores")), 2);
    // The new entry is linked; the old entry's link went with it.
    EXPECT_EQ(redo.counter(TransferCounter::NumProcsRef), 1);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT count(*) FROM RevProcRef WHERE codigo=%1").arg(newFirst + 3)).toInt(), 1);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRef")), 1);
}

TEST(Transfer, PetitionIssueWithGapsInStaging)
{
    TestDb tdb;
    TestUi tui;
    registerIssue(2230, QDate(2013, 9, 3));
    // Process 82000001 with two dispatches (rows 1, 2), 82000002 without a
    // dispatch (codigo 3 unused), 82000003 with one (row 4).
    stageRow(1, 82000001, 2230, QStringLiteral("IPAS009"),
             {{"marca", QStringLiteral("DELTA")},
              {"codserv", QStringLiteral("3371")},
              {"protocolo", QStringLiteral("850130012345")},
              {"dataprotocolo", QDate(2013, 8, 1)},
              {"requerente", QStringLiteral("D'ELTA SA (BR/SP)")},
              {"procurador", QStringLiteral("ZETA ADVOGADOS")},
              {"procuradorpeticao", QStringLiteral("ZETA ADVOGADOS.")}});
    stageRow(2, 82000001, 2230, QStringLiteral("IPAS024"),
             {{"marca", QStringLiteral("DELTA")},
              {"procurador", QStringLiteral("ZETA ADVOGADOS")},
              {"procuradorpeticao", QStringLiteral("O PRÓPRIO")}});
    stageRow(4, 82000003, 2230, QStringLiteral("IPAS158"), {{"marca", QStringLiteral("EPSILON")}});
    stageCitation(1, 81111111, 1, 2230);
    stageCitation(2, 82222222, 3, 2230);  // the process without a dispatch
    stageCitation(3, 83333333, 4, 2230);

    Recorder rec;
    IssueTransfer t(TransferOptions::withPetitions(), &rec);
    ASSERT_EQ(t.run(2230), TransferResult::Done);
    EXPECT_EQ(rec.values[int(TransferCounter::NumProcs)], 3);
    EXPECT_EQ(rec.values[int(TransferCounter::NumNewProcs)], 2);
    // The same new name in both attorney fields of a row is added once.
    EXPECT_EQ(rec.values[int(TransferCounter::NumProcuradores)], 1);
    EXPECT_EQ(tdb.count(QStringLiteral("Procuradores")), 2);

    const int first = valueOf(QStringLiteral("SELECT min(codigo) FROM RevProcs")).toInt();
    auto entry = [&](int n, const char* column) {
        return valueOf(QStringLiteral("SELECT %1 FROM RevProcs WHERE codigo=%2").arg(QLatin1String(column)).arg(first + n));
    };
    EXPECT_EQ(entry(0, "despacho").toString(), QStringLiteral("IPAS009"));
    EXPECT_EQ(entry(0, "codprocuradorpeticao").toInt(), 2);
    EXPECT_EQ(entry(0, "codserv").toString(), QStringLiteral("3371"));
    EXPECT_EQ(entry(0, "protocolo").toString(), QStringLiteral("850130012345"));
    EXPECT_EQ(entry(0, "dataprotocolo").toDate(), QDate(2013, 8, 1));
    EXPECT_EQ(entry(0, "requerente").toString(), QStringLiteral("D'ELTA SA (BR/SP)"));
    EXPECT_EQ(entry(1, "codprocuradorpeticao").toInt(), 1);
    EXPECT_TRUE(entry(1, "codserv").isNull());
    // No attorney at all: 0, not Null.
    EXPECT_FALSE(entry(2, "codprocuradorpeticao").isNull());
    EXPECT_EQ(entry(2, "codprocuradorpeticao").toInt(), 0);
    EXPECT_EQ(entry(2, "processo").toInt(), 82000003);

    // The refresh by the second dispatch keeps the service code of the first
    // and stores the quoted dispatch code.
    EXPECT_EQ(processValue(82000001, "codserv").toString(), QStringLiteral("3371"));
    EXPECT_EQ(processValue(82000001, "despacho").toString(), QStringLiteral("IPAS024"));
    EXPECT_EQ(processValue(82000001, "codprocurador").toInt(), 2);
    EXPECT_TRUE(processValue(82000003, "codserv").isNull());
    EXPECT_EQ(processValue(82000003, "codprocurador").toInt(), 0);
    EXPECT_FALSE(processValue(82000002, "processo").isValid());

    // Links point at the entry made from the citing row; the citation of the
    // process without a dispatch has no entry and is skipped.
    EXPECT_EQ(rec.values[int(TransferCounter::NumProcsRef)], 2);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRef")), 2);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT codigo FROM RevProcRef WHERE refproc=81111111")).toInt(), first);
    EXPECT_EQ(valueOf(QStringLiteral("SELECT codigo FROM RevProcRef WHERE refproc=83333333")).toInt(), first + 2);
}

TEST(Transfer, ApostrophesInEveryQuotedPiece)
{
    TestDb tdb;
    TestUi tui;
    addProcess(84000001, {{"marca", QStringLiteral("X")}});
    registerIssue(2231, QDate(2013, 9, 10));
    stageRow(1, 84000001, 2231, QStringLiteral("IP'A"),
             {{"apresentacao", QStringLiteral("N'")},
              {"natureza", QStringLiteral("P'")},
              {"cfe", QStringLiteral("26.1'1")},
              {"classe", QStringLiteral("25'")},
              {"cgccpf", QStringLiteral("12'3")},
              {"prioridadenum", QStringLiteral("U'S1")},
              {"prioridadepais", QStringLiteral("U'")},
              {"titularpais", QStringLiteral("BR/S'P")},
              {"codserv", QStringLiteral("33'7")},
              {"marca", QStringLiteral("O'NEIL \"X\"")},
              {"procurador", QStringLiteral("D'ALFA.")}});
    ASSERT_EQ(IssueTransfer(TransferOptions::withPetitions()).run(2231), TransferResult::Done);
    EXPECT_EQ(processValue(84000001, "despacho").toString(), QStringLiteral("IP'A"));
    EXPECT_EQ(processValue(84000001, "apresentacao").toString(), QStringLiteral("N'"));
    EXPECT_EQ(processValue(84000001, "natureza").toString(), QStringLiteral("P'"));
    EXPECT_EQ(processValue(84000001, "cfe").toString(), QStringLiteral("26.1'1"));
    EXPECT_EQ(processValue(84000001, "classe").toString(), QStringLiteral("25'"));
    EXPECT_EQ(processValue(84000001, "cgccpf").toString(), QStringLiteral("12'3"));
    EXPECT_EQ(processValue(84000001, "prioridadenum").toString(), QStringLiteral("U'S1"));
    EXPECT_EQ(processValue(84000001, "prioridadepais").toString(), QStringLiteral("U'"));
    EXPECT_EQ(processValue(84000001, "titularpais").toString(), QStringLiteral("BR/S'P"));
    EXPECT_EQ(processValue(84000001, "codserv").toString(), QStringLiteral("33'7"));
    EXPECT_EQ(processValue(84000001, "marca").toString(), QStringLiteral("O'NEIL X"));
    EXPECT_EQ(entryValue(84000001, "codserv").toString(), QStringLiteral("33'7"));
    EXPECT_EQ(valueOf(QStringLiteral("SELECT procurador FROM Procuradores WHERE codprocurador=2")).toString(),
              QStringLiteral("D'ALFA"));
}

TEST(Transfer, StoredMarkRefresh)
{
    TestDb tdb;
    TestUi tui;
    addProcess(85000001);  // no mark stored
    addProcess(85000002, {{"marca", QStringLiteral("ALFA")}, {"marcaclean", QStringLiteral("K")}});
    addProcess(85000003, {{"marca", QStringLiteral("VELHA")}, {"classe", QStringLiteral("01.10")}});
    registerIssue(2151, QDate(2012, 5, 1));
    stageRow(1, 85000001, 2151, QStringLiteral("400"), {{"marca", QStringLiteral(" Nova ")}});
    stageRow(2, 85000002, 2151, QStringLiteral("400"), {{"marca", QStringLiteral("   ")}});
    stageRow(3, 85000003, 2151, QStringLiteral("400"),
             {{"marca", QStringLiteral("Nova")}, {"nclclasse", 25}, {"classe", QStringLiteral("25.10")}});
    ASSERT_EQ(IssueTransfer(TransferOptions::textLayout()).run(2151), TransferResult::Done);
    EXPECT_EQ(processValue(85000001, "marca").toString(), QStringLiteral("Nova"));
    EXPECT_EQ(processValue(85000001, "marcaclean").toString(), LimpaTexto(QStringLiteral("Nova")));
    EXPECT_EQ(processValue(85000001, "marcaphon1").toString(), CalcMetaphone(QStringLiteral("Nova"), 0, 0));
    EXPECT_EQ(processValue(85000002, "marca").toString(), QStringLiteral("ALFA"));
    EXPECT_EQ(processValue(85000002, "marcaclean").toString(), QStringLiteral("K"));
    EXPECT_EQ(processValue(85000003, "marca").toString(), QStringLiteral("Nova"));
    EXPECT_EQ(processValue(85000003, "nclclasse").toInt(), 25);
    EXPECT_EQ(processValue(85000003, "classe").toString(), QStringLiteral("25.10"));
}

TEST(Transfer, FailureRollsEverythingBack)
{
    TestDb tdb;
    TestUi tui;
    addProcess(86000001, {{"despacho", QStringLiteral("300")}});
    registerIssue(2152, QDate(2012, 5, 8));
    stageRow(1, 86000002, 2152, QStringLiteral("300"), {{"procurador", QStringLiteral("NOVO PROCURADOR")}});
    stageCitation(1, 86000001, 1, 2152);
    // A row without its issue number cannot be written.
    stageRow(2, 86000001, 2152, QStringLiteral("400"));
    tdb.db().execute(QStringLiteral("UPDATE RPI SET revista=Null WHERE codigo=2"));
    Recorder rec;
    ASSERT_EQ(IssueTransfer(TransferOptions::textLayout(), &rec).run(2152), TransferResult::Failed);

    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.lastMessage().icon(), 16);
    EXPECT_EQ(tui.lastMessage().title, kTitle);
    EXPECT_TRUE(tui.lastMessage().text.contains(QStringLiteral("2152")));
    EXPECT_EQ(tui.pointer(), 0);

    EXPECT_EQ(valueOf(QStringLiteral("SELECT atualizado FROM Revistas WHERE revista=2152")).toInt(), 0);
    EXPECT_TRUE(valueOf(QStringLiteral("SELECT codrevproc FROM Revistas WHERE revista=2152")).isNull());
    EXPECT_EQ(tdb.count(QStringLiteral("Processos")), 1);
    EXPECT_EQ(processValue(86000001, "despacho").toString(), QStringLiteral("300"));
    EXPECT_EQ(tdb.count(QStringLiteral("Procuradores")), 1);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcs")), 0);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRef")), 0);
    EXPECT_FALSE(tdb.db().inTransaction());

    // A later, sound run of the same issue asks no redo question.
    tui.clear();
    tdb.db().execute(QStringLiteral("UPDATE RPI SET revista=2152 WHERE codigo=2"));
    ASSERT_EQ(IssueTransfer(TransferOptions::textLayout()).run(2152), TransferResult::Done);
    ASSERT_EQ(tui.messages.size(), 1);
    EXPECT_EQ(tui.lastMessage().text, QStringLiteral("Final de Atualização"));
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRef")), 1);
}

TEST(Transfer, BatchOptions)
{
    TestDb tdb;
    TestUi tui;
    addProcess(87000001, {{"classe", QStringLiteral("01.10")}});
    registerIssue(2156, QDate(2012, 4, 24));
    stageRow(1, 87000002, 2156, QStringLiteral("300"), {{"complemento", QStringLiteral("*ver 870000011")}});
    stageRow(2, 87000001, 2156, QStringLiteral("300"), {{"nclclasse", 25}});
    stageCitation(1, 87000001, 1, 2156);
    TransferOptions o;
    o.processCode = [](const QVariant& p) { return QStringLiteral("C%1").arg(p.toInt() % 1000); };
    o.emptyKeysAsNull = true;
    o.absentTextsAsEmpty = true;
    o.niceClassClearsClasse = false;
    o.linkTable = QStringLiteral("RevProcRefProc");
    o.hourglass = false;
    o.countStaged = false;
    o.finalMessage = false;
    Recorder rec;
    ASSERT_EQ(IssueTransfer(o, &rec).run(2156), TransferResult::Done);
    EXPECT_TRUE(tui.messages.isEmpty());
    EXPECT_TRUE(tui.pointerHistory.isEmpty());
    EXPECT_EQ(rec.values[int(TransferCounter::ProcsAtualizar)], -1);
    EXPECT_EQ(processValue(87000002, "bcdproc").toString(), QStringLiteral("C2"));
    EXPECT_TRUE(processValue(87000002, "marcaclean").isNull());
    EXPECT_EQ(processValue(87000002, "titular").toString(), QString());
    EXPECT_FALSE(processValue(87000002, "titular").isNull());
    EXPECT_EQ(entryValue(87000001, "bcdproc").toString(), QStringLiteral("C1"));
    EXPECT_FALSE(entryValue(87000001, "complemento").isNull());
    EXPECT_EQ(processValue(87000001, "classe").toString(), QStringLiteral("01.10"));
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRef")), 0);
    EXPECT_EQ(tdb.count(QStringLiteral("RevProcRefProc")), 1);
    EXPECT_EQ(rec.values[int(TransferCounter::NumProcsRef)], 1);
}
