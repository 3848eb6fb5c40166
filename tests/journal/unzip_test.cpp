#include "ZipBuilder.h"
#include "journal/CGUnzipFiles.h"
#include "journal/CodeModule.h"
#include "journal/VbError.h"
#include "support/TestUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// Varied text that deflates well.
QByteArray journalText(int lines)
{
    QByteArray b;
    for (int i = 0; i < lines; ++i) b += "(Cd) 2150 " + QByteArray::number(i * 7919 % 100003) + " MARCA NOMINATIVA\n";
    return b;
}

class Unzip : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        zip = tmp.filePath("rm2150.zip");
        out = tmp.filePath("txt");
        ASSERT_TRUE(QDir().mkpath(out));
    }
    qint32 unzipFlat(const QString& archive)
    {
        CGUnzipFiles z;
        z.setZipFileName(archive);
        z.setExtractDir(out);
        z.setHonorDirectories(false);
        return z.Unzip(QString(), QString());
    }
    QStringList filesIn(const QString& dir) const
    {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    TestUi ui;
    QTemporaryDir tmp;
    QString zip, out;
};

}  // namespace

TEST(UnzipProperties, Defaults)
{
    CGUnzipFiles z;
    EXPECT_EQ(z.MessageLevel(), 2);
    EXPECT_TRUE(z.HonorDirectories());
    EXPECT_TRUE(z.OverWriteFiles());
    EXPECT_TRUE(z.CaseSensitive());
    EXPECT_FALSE(z.ExtractNewer() || z.SpaceToUnderScore() || z.PromptOverwrite() || z.WriteToStdOut() ||
                 z.TestZip() || z.ExtractOnlyNewer() || z.DisplayComment() || z.ConvertCRtoCRLF() || z.Verbose());
    EXPECT_EQ(z.ExtractList(), 0);
    EXPECT_EQ(z.Privilege(), 0);
    EXPECT_TRUE(z.ZipFileName().isEmpty());
    EXPECT_TRUE(z.ExtractDir().isEmpty());
    const UnzipOptions o = CodeModule::MakeOptions("a.zip", "dir", z.optionValues());
    const std::array<int32_t, 15> words = {0, 0, 0, 2, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 0};
    EXPECT_EQ(o.words, words);
    EXPECT_EQ(o.zipFileName, "a.zip");
    EXPECT_EQ(o.extractDir, "dir");
}

TEST(UnzipProperties, FlagsReadBackAndReachTheirOptionWords)
{
    struct Flag {
        void (CGUnzipFiles::*set)(bool);
        bool (CGUnzipFiles::*get)() const;
        int word;
    };
    const Flag flags[] = {
        {&CGUnzipFiles::setExtractNewer, &CGUnzipFiles::ExtractNewer, 7},
        {&CGUnzipFiles::setSpaceToUnderScore, &CGUnzipFiles::SpaceToUnderScore, 1},
        {&CGUnzipFiles::setPromptOverwrite, &CGUnzipFiles::PromptOverwrite, 2},
        {&CGUnzipFiles::setWriteToStdOut, &CGUnzipFiles::WriteToStdOut, 4},
        {&CGUnzipFiles::setTestZip, &CGUnzipFiles::TestZip, 5},
        {&CGUnzipFiles::setExtractOnlyNewer, &CGUnzipFiles::ExtractOnlyNewer, 0},
        {&CGUnzipFiles::setDisplayComment, &CGUnzipFiles::DisplayComment, 8},
        {&CGUnzipFiles::setHonorDirectories, &CGUnzipFiles::HonorDirectories, 9},
        {&CGUnzipFiles::setOverWriteFiles, &CGUnzipFiles::OverWriteFiles, 10},
        {&CGUnzipFiles::setConvertCRtoCRLF, &CGUnzipFiles::ConvertCRtoCRLF, 11},
        {&CGUnzipFiles::setVerbose, &CGUnzipFiles::Verbose, 12},
        {&CGUnzipFiles::setCaseSensitive, &CGUnzipFiles::CaseSensitive, 13},
    };
    for (const Flag& f : flags) {
        for (bool v : {true, false}) {
            CGUnzipFiles z;
            (z.*f.set)(v);
            EXPECT_EQ((z.*f.get)(), v) << f.word;
            EXPECT_EQ(CodeModule::MakeOptions({}, {}, z.optionValues()).words[f.word], v ? 1 : 0) << f.word;
        }
    }
    CGUnzipFiles z;
    z.setMessageLevel(-3);
    z.setExtractList(32767);
    z.setPrivilege(-32768);
    const UnzipOptions o = CodeModule::MakeOptions({}, {}, z.optionValues());
    EXPECT_EQ(o.words[3], -3);
    EXPECT_EQ(o.words[6], 32767);
    EXPECT_EQ(o.words[14], -32768);
}

TEST(UnzipProperties, NumberOutsideSixteenBitsIsAnOverflow)
{
    TestUi ui;
    for (int which = 0; which < 3; ++which) {
        CGUnzipFiles z;
        z.setZipFileName("never-opened.zip");
        if (which == 0) z.setMessageLevel(32768);
        if (which == 1) z.setExtractList(-32769);
        if (which == 2) z.setPrivilege(100000);
        try {
            z.Unzip();
            ADD_FAILURE() << "no error for " << which;
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), 6);
            EXPECT_EQ(e.description(), "Overflow");
            EXPECT_EQ(e.source(), "CGUnZipFiles::Unzip");
        }
    }
}

TEST(UnzipCallbacks, PrintTakesTextUpToNulOrLengthAndLineFeedBecomesCrLf)
{
    CodeModule::UnzipPrintText = "x";
    CodeModule::DllPrintCallback("ab\0cd", 5);
    CodeModule::DllPrintCallback("efgh", 2);
    EXPECT_EQ(CodeModule::UnzipPrintText, "xabef");
    CodeModule::DllPrintCallback("\ninflating: a", 13);
    EXPECT_EQ(CodeModule::UnzipPrintText, "xabef\r\n");
    EXPECT_EQ(CodeModule::UnzipLastMessage, "xabef\r\n");
    CodeModule::DllPrintCallback("\xe7\xe3o\n", 4);
    EXPECT_EQ(CodeModule::UnzipLastMessage, u"xabef\r\nção\n"_qs);
}

TEST(UnzipCallbacks, PasswordAnswerNeverPassesTheBuffer)
{
    TestUi ui;
    CodeModule::UnzipPasswordCancelled = 0;
    ui.inputAnswers = {QString("a-rather-long-password"), QString("")};
    char buf[12];
    std::memset(buf, 'Z', sizeof buf);
    EXPECT_EQ(CodeModule::DllPasswordCallback(buf, 8, "p", "n"), 0);
    EXPECT_STREQ(buf, "a-rathe");
    EXPECT_EQ(buf[8], 'Z');
    EXPECT_EQ(ui.inputPrompts, QStringList{"Please Enter The Password!"});
    // An empty answer ends the questions for this extraction.
    EXPECT_EQ(CodeModule::DllPasswordCallback(buf, 8, "p", "n"), 1);
    EXPECT_EQ(CodeModule::DllPasswordCallback(buf, 8, "p", "n"), 1);
    EXPECT_EQ(ui.inputPrompts.size(), 2);
    EXPECT_EQ(CodeModule::UnzipPasswordCancelled, 1);
}

TEST(UnzipCallbacks, ReplaceAsksAndMapsTheAnswers)
{
    TestUi ui;
    ui.msgAnswers = {vb::Yes, vb::No, vb::Cancel};
    char name[] = "rm2150.TXT";
    EXPECT_EQ(CodeModule::DllReplaceCallback(name), 102);
    EXPECT_EQ(CodeModule::DllReplaceCallback(name), 100);
    EXPECT_EQ(CodeModule::DllReplaceCallback(name), 104);
    ASSERT_EQ(ui.messages.size(), 3);
    EXPECT_EQ(ui.messages[0].text, "Overwrite rm2150.TXT?");
    EXPECT_EQ(ui.messages[0].style, 3 + 48);
    EXPECT_EQ(ui.messages[0].title, "VBUnZip32 - File Already Exists!");
}

TEST(UnzipCallbacks, ListingLineColumns)
{
    CodeModule::UnzipListCount = 0;
    CodeModule::UnzipListing.clear();
    CodeModule::DllListMessageCallback(1234, 500, 60, 3, 7, 2010, 9, 5, ' ', "rm2150.TXT", "Defl:N", 0, ' ');
    CodeModule::DllListMessageCallback(5, 5, 0, 12, 31, 99, 14, 30, ' ', "b", "Stored", 0, ' ');
    const QStringList lines = CodeModule::UnzipListing.split("\r\n");
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].size(), 80);
    EXPECT_EQ(lines[0].indexOf("Filename:"), 0);
    EXPECT_EQ(lines[0].indexOf("Size"), 52);
    EXPECT_EQ(lines[0].indexOf("Date"), 61);
    EXPECT_EQ(lines[0].indexOf("Time"), 70);
    EXPECT_EQ(lines[1].size(), 80);
    EXPECT_EQ(lines[1].left(10), "rm2150.TXT");
    EXPECT_EQ(lines[1].mid(50, 7), "   1234");
    EXPECT_EQ(lines[1].mid(59, 8), "03/07/10");
    EXPECT_EQ(lines[1].mid(69, 5), " 9:05");
    EXPECT_EQ(lines[2].mid(59, 8), "12/31/99");
    EXPECT_EQ(lines[2].mid(69, 5), "14:30");
    EXPECT_EQ(CodeModule::UnzipListCount, 2);
}

TEST_F(Unzip, FlatExtractionPrintsEachMember)
{
    const QByteArray text = journalText(500);
    ASSERT_TRUE(writeZip(zip, {{"RM2150/", {}}, {"RM2150/rm2150.TXT", text}, {"notes.txt", "n", true}}));
    EXPECT_EQ(unzipFlat(zip), 0);
    EXPECT_EQ(filesIn(out), QStringList({"notes.txt", "rm2150.TXT"}));
    EXPECT_TRUE(QDir(out).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_EQ(readFile(out + "/rm2150.TXT"), text);
    const QString msg = CodeModule::UnzipLastMessage;
    EXPECT_TRUE(msg.contains("  inflating: rm2150.TXT\n")) << msg.toStdString();
    EXPECT_TRUE(msg.contains(" extracting: notes.txt\n")) << msg.toStdString();
}

TEST_F(Unzip, HonoredFoldersAndArgumentsReplaceTheProperties)
{
    ASSERT_TRUE(writeZip(zip, {{"a/b/c.txt", "c"}}));
    const QString other = tmp.filePath("other.zip");
    ASSERT_TRUE(writeZip(other, {{"d.txt", "d"}}));
    CGUnzipFiles z;
    z.setZipFileName(tmp.filePath("missing.zip"));
    EXPECT_EQ(z.Unzip(zip, out), 0);
    EXPECT_EQ(z.ZipFileName(), zip);
    EXPECT_EQ(z.ExtractDir(), out);
    EXPECT_EQ(readFile(out + "/a/b/c.txt"), "c");
    EXPECT_EQ(z.Unzip(other, ""), 0);
    EXPECT_EQ(readFile(out + "/d.txt"), "d");
    EXPECT_EQ(z.Unzip(), 0);
    EXPECT_EQ(z.ZipFileName(), other);
}

TEST_F(Unzip, OverwriteFollowsTheOptions)
{
    ASSERT_TRUE(writeZip(zip, {{"a.txt", "new a"}, {"b.txt", "new b"}, {"c.txt", "new c"}}));
    for (const char* f : {"a.txt", "b.txt", "c.txt"}) writeFile(out + "/" + f, "old");

    CGUnzipFiles z;
    z.setHonorDirectories(false);
    z.setOverWriteFiles(false);
    EXPECT_EQ(z.Unzip(zip, out), 0);
    EXPECT_EQ(readFile(out + "/a.txt"), "old");

    z.setPromptOverwrite(true);
    ui.msgAnswers = {vb::No, vb::Yes, vb::No};
    EXPECT_EQ(z.Unzip(zip, out), 0);
    EXPECT_EQ(ui.messages.size(), 3);
    EXPECT_EQ(ui.messages[0].text, "Overwrite a.txt?");
    EXPECT_EQ(readFile(out + "/a.txt"), "old");
    EXPECT_EQ(readFile(out + "/b.txt"), "new b");

    // Cancel: no further questions, nothing more replaced.
    ui.clear();
    ui.msgAnswers = {vb::Cancel};
    EXPECT_EQ(z.Unzip(zip, out), 0);
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(readFile(out + "/c.txt"), "old");

    CGUnzipFiles plain;  // the readers' settings: overwrite without asking
    plain.setHonorDirectories(false);
    ui.clear();
    EXPECT_EQ(plain.Unzip(zip, out), 0);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(readFile(out + "/a.txt"), "new a");
    EXPECT_EQ(readFile(out + "/c.txt"), "new c");
    EXPECT_EQ(filesIn(out).size(), 3);  // no temporary file left behind
}

TEST_F(Unzip, HostileNamesStayInsideTheFolderWhenFlat)
{
    ASSERT_TRUE(writeZip(zip, {{"../evil.txt", "1"},
                               {"/abs.txt", "2"},
                               {"C:\\win\\drive.txt", "3"},
                               {"a/../../up.txt", "4"},
                               {"C:bare.txt", "5"},
                               {"x/..", "6"}}));
    EXPECT_NE(unzipFlat(zip), 0);  // "x/.." has no name of its own
    EXPECT_EQ(filesIn(out), QStringList({"abs.txt", "bare.txt", "drive.txt", "evil.txt", "up.txt"}));
    EXPECT_EQ(filesIn(tmp.path()), QStringList({"rm2150.zip"}));
    EXPECT_TRUE(CodeModule::UnzipLastMessage.contains("skipping: x/..")) << CodeModule::UnzipLastMessage.toStdString();
}

TEST_F(Unzip, HostileNamesAreRefusedWhenFoldersAreHonored)
{
    ASSERT_TRUE(writeZip(zip, {{"../evil.txt", "1"},
                               {"/abs.txt", "2"},
                               {"C:\\win\\drive.txt", "3"},
                               {"a/../../up.txt", "4"},
                               {"a/../ok.txt", "5"}}));
    CGUnzipFiles z;
    EXPECT_EQ(z.Unzip(zip, out), 1);
    EXPECT_EQ(readFile(out + "/abs.txt"), "2");
    EXPECT_EQ(readFile(out + "/win/drive.txt"), "3");
    EXPECT_EQ(readFile(out + "/ok.txt"), "5");
    EXPECT_EQ(filesIn(tmp.path()), QStringList({"rm2150.zip"}));
    EXPECT_FALSE(QFile::exists(tmp.filePath("evil.txt")));
    EXPECT_FALSE(QFile::exists(tmp.filePath("up.txt")));
    const QString msg = z.GetLastMessage();
    EXPECT_TRUE(msg.contains("skipping: ../evil.txt")) << msg.toStdString();
    EXPECT_TRUE(msg.contains("skipping: a/../../up.txt")) << msg.toStdString();
}

TEST_F(Unzip, BadArchivesGiveAResultAndAMessage)
{
    CGUnzipFiles z;
    z.setHonorDirectories(false);
    EXPECT_NE(z.Unzip(tmp.filePath("missing.zip"), out), 0);
    EXPECT_TRUE(z.GetLastMessage().contains("missing.zip"));

    const QString notZip = tmp.filePath("rm2151.zip");
    writeFile(notZip, "this is a text file, not an archive\n");
    EXPECT_NE(z.Unzip(notZip, out), 0);
    const QString msg = z.GetLastMessage();
    EXPECT_TRUE(msg.contains("rm2151.zip is not a zip archive")) << msg.toStdString();
    EXPECT_FALSE(msg.contains("missing.zip"));  // each extraction starts with an empty message
    EXPECT_FALSE(msg.startsWith("\r\n"));

    const QString empty = tmp.filePath("empty.zip");
    writeFile(empty, "");
    EXPECT_NE(z.Unzip(empty, out), 0);
    EXPECT_TRUE(filesIn(out).isEmpty());
}

TEST_F(Unzip, DamagedMemberLeavesNoPartialFile)
{
    const QByteArray text = journalText(3000);
    ASSERT_TRUE(writeZip(zip, {{"rm2150.TXT", text}, {"ok.txt", "fine"}}));
    QByteArray bytes = readFile(zip);
    const int nameLen = uchar(bytes[26]) | uchar(bytes[27]) << 8;
    const int extraLen = uchar(bytes[28]) | uchar(bytes[29]) << 8;
    const int data = 30 + nameLen + extraLen;
    for (int i = 200; i < 260; ++i) bytes[data + i] = char(bytes[data + i] ^ 0x5A);
    writeFile(zip, bytes);

    writeFile(out + "/rm2150.TXT", "previous");
    EXPECT_NE(unzipFlat(zip), 0);
    EXPECT_EQ(readFile(out + "/rm2150.TXT"), "previous");
    EXPECT_EQ(readFile(out + "/ok.txt"), "fine");
    EXPECT_EQ(filesIn(out), QStringList({"ok.txt", "rm2150.TXT"}));
    EXPECT_TRUE(CodeModule::UnzipLastMessage.contains("rm2150.TXT is damaged"))
        << CodeModule::UnzipLastMessage.toStdString();

    CGUnzipFiles t;
    t.setTestZip(true);
    EXPECT_NE(t.Unzip(zip, tmp.filePath("none")), 0);
    EXPECT_FALSE(QFile::exists(tmp.filePath("none")));
    EXPECT_TRUE(t.GetLastMessage().contains("    testing: ok.txt   OK\n"));
}

TEST_F(Unzip, WriteFailureStopsWithAMessage)
{
    ASSERT_TRUE(writeZip(zip, {{"big.txt", journalText(20000)}}));
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const qint32 result = unzipFlat(zip);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(result, 50);
    EXPECT_TRUE(CodeModule::UnzipLastMessage.contains("cannot write big.txt"))
        << CodeModule::UnzipLastMessage.toStdString();
    EXPECT_TRUE(filesIn(out).isEmpty());

    const QString file = tmp.filePath("a-file");
    writeFile(file, "x");
    CGUnzipFiles z;
    EXPECT_NE(z.Unzip(zip, file), 0);
    EXPECT_FALSE(z.GetLastMessage().isEmpty());
}

TEST_F(Unzip, PasswordsAreAskedThroughTheInputBox)
{
    ASSERT_TRUE(writeZip(zip, {{"a.txt", "secret a", false, "pw"}, {"b.txt", "secret b", false, "pw"}}));
    ui.inputAnswers = {QString("wrong"), QString("pw")};
    EXPECT_EQ(unzipFlat(zip), 0);
    EXPECT_EQ(readFile(out + "/a.txt"), "secret a");
    EXPECT_EQ(readFile(out + "/b.txt"), "secret b");
    EXPECT_EQ(ui.inputPrompts.size(), 2);  // the good password serves the next member too

    QDir(out).removeRecursively();
    ui.inputPrompts.clear();
    ui.inputAnswers = {QString("")};
    EXPECT_NE(unzipFlat(zip), 0);
    EXPECT_EQ(ui.inputPrompts.size(), 1);
    EXPECT_TRUE(filesIn(out).isEmpty());
    EXPECT_TRUE(CodeModule::UnzipLastMessage.contains("skipping: b.txt"));
}

TEST_F(Unzip, OtherOptions)
{
    ASSERT_TRUE(writeZip(zip, {{"a b.txt", "one\ntwo\r\nthree\n"}, {"c.txt", "c"}}));
    CGUnzipFiles z;
    z.setSpaceToUnderScore(true);
    z.setConvertCRtoCRLF(true);
    EXPECT_EQ(z.Unzip(zip, out), 0);
    EXPECT_EQ(readFile(out + "/a_b.txt"), "one\r\ntwo\r\nthree\r\n");

    CGUnzipFiles list;
    list.setExtractList(1);
    EXPECT_EQ(list.Unzip(zip, tmp.filePath("listed")), 0);
    EXPECT_EQ(CodeModule::UnzipListCount, 2);
    EXPECT_TRUE(CodeModule::UnzipListing.contains("a b.txt"));
    EXPECT_FALSE(QFile::exists(tmp.filePath("listed")));

    CGUnzipFiles stdOut;
    stdOut.setWriteToStdOut(true);
    EXPECT_EQ(stdOut.Unzip(zip, tmp.filePath("none")), 0);
    EXPECT_EQ(stdOut.GetLastMessage(), "one\ntwo\r\nthree\nc");
    EXPECT_FALSE(QFile::exists(tmp.filePath("none")));

    // Freshen: only files already there, and only when the member is newer.
    QDir(out).removeRecursively();
    QDir().mkpath(out);
    writeFile(out + "/c.txt", "old");
    QFile old(out + "/c.txt");
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    old.setFileTime(QDateTime(QDate(1990, 1, 1), QTime(0, 0)), QFileDevice::FileModificationTime);
    old.close();
    CGUnzipFiles fresh;
    fresh.setExtractNewer(true);
    EXPECT_EQ(fresh.Unzip(zip, out), 0);
    EXPECT_EQ(filesIn(out), QStringList({"c.txt"}));
    EXPECT_EQ(readFile(out + "/c.txt"), "c");
}
