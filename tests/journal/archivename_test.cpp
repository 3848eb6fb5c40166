// Which archive names the reading dialog accepts, and the message for each
// rejected one.
#include "journal/ArchiveName.h"

#include <gtest/gtest.h>

namespace {
QString msg(const QString& path) { return CheckArchiveName(path).message; }
const QString kBadRm = QString::fromUtf8("Arquivo não é de Revista do INPI (RMxxxx.zip) !");
const QString kBadPdf = QString::fromUtf8("Arquivo não é do tipo RMPDFxxxx.zip !");
const QString kBadTxtPdf = QString::fromUtf8("Arquivo não é do tipo RMTXTPDFxxxx.zip !");
const QString kBadNumber = QString::fromUtf8("Número da Revista é inválido !");
}  // namespace

TEST(ArchiveName, ThreeFormsAnyLetterCase)
{
    ArchiveNameCheck c = CheckArchiveName("C:\\x\\rm2150.ZIP");
    EXPECT_TRUE(c.ok);
    EXPECT_EQ(c.digits, "2150");
    c = CheckArchiveName("/home/u/RMPDF2220.zip");
    EXPECT_TRUE(c.ok);
    EXPECT_EQ(c.digits, "2220");
    c = CheckArchiveName("/d/rmtxtpdf2199.Zip");
    EXPECT_TRUE(c.ok);
    EXPECT_EQ(c.digits, "2199");
}

TEST(ArchiveName, WrongShapeGivesTheFormsMessage)
{
    EXPECT_EQ(msg("/d/RMPDF123.zip"), kBadPdf);  // last 13 characters do not begin with RMPDF
    EXPECT_EQ(msg("/d/RMTXTPDF21990.zip"), kBadTxtPdf);
    EXPECT_EQ(msg("/d/revista.zip"), kBadRm);
    EXPECT_EQ(msg("/d/RM2150.rar"), kBadRm);
    EXPECT_EQ(msg("RM1.zip"), kBadRm);  // shorter than the form
    EXPECT_EQ(msg(""), kBadRm);
}

TEST(ArchiveName, FormIsChosenFromTheWholePath)
{
    // A folder named like the PDF form makes RMnnnn.zip a wrong PDF name.
    EXPECT_EQ(msg("/arquivos/rmpdf/RM2150.zip"), kBadPdf);
    // "RMTXTPDF" does not contain "RMPDF": it is its own form.
    EXPECT_TRUE(CheckArchiveName("/x/RMTXTPDF2150.zip").ok);
    // Folders holding "RMTXTPDF" make a plain RMnnnn name wrong too.
    EXPECT_EQ(msg("/rmtxtpdf/RM2150.zip"), kBadTxtPdf);
}

TEST(ArchiveName, DigitsMustBeDigits)
{
    EXPECT_EQ(msg("/d/RM21A0.zip"), kBadNumber);
    EXPECT_EQ(msg("/d/RMPDF 220.zip"), kBadNumber);
    EXPECT_EQ(msg("/d/RMTXTPDF219x.zip"), kBadNumber);
}
