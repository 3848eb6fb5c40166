#include "keys/Metaphone.h"
#include "keys/Cp1252.h"
#include "keys/UpperCase.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable failures.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

using namespace metaphonevar;

namespace {

struct Keys {
    QString clean, phon1, phon2;
};

// The three keys every mark carries, computed the way callers do.
Keys keysOf(const QString& mark)
{
    const QString t = mark.trimmed();
    return {LimpaTexto(t), CalcMetaphone(t, 0, 0), CalcMetaphone(t, -1, 0)};
}

void expectKeys(const QString& mark, const char* clean, const char* phon1, const char* phon2)
{
    const Keys k = keysOf(mark);
    EXPECT_EQ(k.clean, QString::fromUtf8(clean)) << mark.toStdString();
    EXPECT_EQ(k.phon1, QString::fromUtf8(phon1)) << mark.toStdString();
    EXPECT_EQ(k.phon2, QString::fromUtf8(phon2)) << mark.toStdString();
}

}  // namespace

TEST(MarkKeys, WorkedKeys)
{
    expectKeys(u"Processo"_qs, "PROCESSO", "PROSESO", "PRS");
    expectKeys(u"Despacho"_qs, "DESPACHO", "DESPAXO", "DSPX");
    expectKeys(u"Pesquisas"_qs, "PESQUISAS", "PESKIZA", "PSKZ");
    expectKeys(u"Exportar"_qs, "EXPORTAR", "EKSPORTAR", "EKSPRTR");
    expectKeys(u"Excel"_qs, "EXCEL", "ESEL", "ESL");
    expectKeys(u"Próximo"_qs, "PRÓXIMO", "PROSIMO", "PRSM");
    expectKeys(u"O PRÓPRIO"_qs, "OPRÓPRIO", "OPROPRIO", "OPRPR");
    expectKeys(u"Escritório"_qs, "ESCRITÓRIO", "ESKRITORIO", "ESKRTR");
}

TEST(MarkKeys, TamanhoCutsAndPads)
{
    EXPECT_EQ(CalcMetaphone(u"Excel"_qs, 0, 6), u"ESEL00"_qs);
    EXPECT_EQ(CalcMetaphone(u"Processo"_qs, 0, 6), u"PROSES"_qs);
    EXPECT_EQ(CalcMetaphone(u"Excel"_qs, -1, 1), u"E"_qs);
    EXPECT_EQ(CalcMetaphone(u"Excel"_qs, 0, -3), u"ESEL"_qs);
    EXPECT_EQ(CalcMetaphone(QString(), 0, 3), u"000"_qs);
}

TEST(MarkKeys, LeadingVowelSurvivesVowelDropping)
{
    expectKeys(u"Amor"_qs, "AMOR", "AMOR", "AMR");
    expectKeys(u"Uva"_qs, "UVA", "UVA", "UV");
    // Any non-zero switch drops vowels.
    EXPECT_EQ(CalcMetaphone(u"Excel"_qs, 1, 0), u"ESL"_qs);
    // A silent initial H leaves the vowel in front.
    expectKeys(u"Hotel"_qs, "HOTEL", "OTEL", "OTL");
    // An accented letter is not a vowel: Ä at the start goes with the vowels.
    expectKeys(u"Äpfel"_qs, "ÄPFEL", "ÄPFEL", "PFL");
}

TEST(MarkKeys, CedillaIsDoubleS)
{
    // Never Z between vowels, and one S in the key.
    expectKeys(u"Caça"_qs, "CAÇA", "KASA", "KS");
    expectKeys(u"moça"_qs, "MOÇA", "MOSA", "MS");
    expectKeys(u"Açaí"_qs, "AÇAÍ", "ASAI", "AS");
    EXPECT_EQ(NormalizaMetaphone(u"Ação"_qs), u"ASSAO"_qs);
}

TEST(MarkKeys, FinalLetterRule)
{
    // Only the last S goes, after the initial-letter rule.
    expectKeys(u"Mattos"_qs, "MATTOS", "MATO", "MT");
    expectKeys(u"Has"_qs, "HAS", "A", "A");
    expectKeys(u"Ass"_qs, "ASS", "AS", "AS");
    expectKeys(u"S"_qs, "S", "", "");
    expectKeys(u"Bomb"_qs, "BOMB", "BOM", "BM");
    // Trailing blanks do not protect the S; blanks join the words.
    expectKeys(u"Pesquisas   "_qs, "PESQUISAS", "PESKIZA", "PSKZ");
    EXPECT_EQ(CalcMetaphone(u"  Pesquisas  "_qs, 0, 0), u"PESKIZA"_qs);
    EXPECT_EQ(CalcMetaphone(u"Casa Nos"_qs, 0, 0), u"KAZANO"_qs);
}

TEST(MarkKeys, Digits)
{
    expectKeys(u"Top 100"_qs, "TOP999", "TOP9", "TP9");
    expectKeys(u"3M"_qs, "9M", "9M", "9M");
    expectKeys(u"1 2 3"_qs, "999", "9", "9");
    expectKeys(u"A1B2"_qs, "A9B9", "A9B9", "A9B9");
}

TEST(MarkKeys, AtAndAmpersandAndSymbols)
{
    expectKeys(u"M&M"_qs, "MEM", "MEM", "M");
    expectKeys(u"@rte"_qs, "ARTE", "ARTE", "ART");
    expectKeys(u"Sol & Mar!"_qs, "SOLEMAR", "SOLEMAR", "SLMR");
    expectKeys(u"Café-Bar (R) #1"_qs, "CAFÉBARR9", "KAFEBAR9", "KFBR9");
    EXPECT_EQ(NormalizaMetaphone(u"A:B;C<D=E>F?G.H"_qs), u"ABCDEFGH"_qs);
}

TEST(MarkKeys, CaseDoesNotMatter)
{
    for (const QString& s : {u"Pão de Açúcar"_qs, u"Über Straße"_qs, u"Exame Ótimo"_qs,
                             u"Señor Ÿves"_qs, u"Œuvre Šimon"_qs, u"Whisky Filho"_qs}) {
        const Keys lo = keysOf(s.toLower());
        const Keys up = keysOf(s.toUpper());
        const Keys mixed = keysOf(s);
        EXPECT_EQ(lo.clean, mixed.clean) << s.toStdString();
        EXPECT_EQ(lo.phon1, mixed.phon1) << s.toStdString();
        EXPECT_EQ(lo.phon2, mixed.phon2) << s.toStdString();
        // Plain upper-casing turns ß into SS; keys keep the ß.
        if (!s.contains(u'ß')) {
            EXPECT_EQ(up.clean, mixed.clean) << s.toStdString();
            EXPECT_EQ(up.phon1, mixed.phon1) << s.toStdString();
            EXPECT_EQ(up.phon2, mixed.phon2) << s.toStdString();
        }
    }
}

TEST(MarkKeys, EmptyAndSymbolOnly)
{
    for (const QString& s : {QString(), u""_qs, u"    "_qs, u"!?.,;:-/\\()[]{}*+=#%$"_qs,
                             u"µ×÷§°¹²³½"_qs, u"\u03A9\u0414\u05D0"_qs}) {
        const Keys k = keysOf(s);
        EXPECT_TRUE(k.clean.isEmpty()) << s.toStdString();
        EXPECT_TRUE(k.phon1.isEmpty()) << s.toStdString();
        EXPECT_TRUE(k.phon2.isEmpty()) << s.toStdString();
        EXPECT_TRUE(NormalizaMetaphone(s).isEmpty()) << s.toStdString();
    }
}

TEST(TextOrder, CharacterClasses)
{
    using namespace textorder;
    for (char16_t c = u'0'; c <= u'9'; ++c) EXPECT_TRUE(isDigit(c));
    for (const char16_t c : u"¹²³¼½¾Aa٣") EXPECT_FALSE(c && isDigit(c)) << int(c);
    for (const char16_t c : u"AZazÁÇÜÄÑáçüäñÀÖØßöøÿŠšŒœŽžŸƒªº") {
        if (c) {
            EXPECT_TRUE(isLetter(c)) << int(c);
        }
    }
    for (const char16_t c : u" @&.,-_'\"!?µ×÷§°¤€‚„…†‡ˆ‰‹›™\u0081\u00A0\u03A9\u03B1\u0414\u05D0\u4E2D") {
        if (c) {
            EXPECT_FALSE(isLetter(c)) << int(c);
        }
    }
}

TEST(TextOrder, UpperCaseIsTheProgramsOneRule)
{
    using namespace textorder;
    EXPECT_EQ(toUpper(u'a'), u'A');
    EXPECT_EQ(toUpper(u'ç'), u'Ç');
    EXPECT_EQ(toUpper(u'ÿ'), u'Ÿ');
    EXPECT_EQ(toUpper(u'š'), u'Š');
    EXPECT_EQ(toUpper(u'ß'), u'ß');
    EXPECT_EQ(toUpper(u'ƒ'), u'\u0191');
    EXPECT_EQ(toUpper(u'ł'), u'Ł');
    EXPECT_EQ(toUpper(u'÷'), u'÷');
    // The keys' own table and the rule agree on every 16-bit character.
    for (char32_t c = 0; c <= 0xFFFF; ++c) ASSERT_EQ(char32_t(toUpper(char16_t(c))), textcase::upper(c)) << int(c);
    EXPECT_TRUE(equal(u'á', u'Á'));
    EXPECT_FALSE(equal(u'Á', u'A'));
    EXPECT_EQ(LimpaTexto(u"straße µ ÿ"_qs), u"STRAßEŸ"_qs);
    EXPECT_EQ(CalcMetaphone(u"straße"_qs, 0, 0), u"STRAßE"_qs);
}

TEST(TextOrder, OneRuleForTexts)
{
    EXPECT_EQ(textcase::upper(u"Jürgen Groß – Marcas"_qs), u"JÜRGEN GROß – MARCAS"_qs);
    EXPECT_EQ(textcase::upper(u"łódź ǆ µ ÿ"_qs), u"ŁÓDŹ Ǆ Μ Ÿ"_qs);
    // Surrogate pairs are one character; a lone half and other scripts' signs stay.
    const QString deseret = QString::fromUcs4(U"\U00010428x\U0001F600");
    EXPECT_EQ(textcase::upper(deseret), QString::fromUcs4(U"\U00010400X\U0001F600"));
    const QString lone = QString(QChar(0xD801)) + u"a"_qs + QChar(0xDC28);
    EXPECT_EQ(textcase::upper(lone), QString(QChar(0xD801)) + u"A"_qs + QChar(0xDC28));
}

TEST(MarkKeys, LatinLettersOutsideTheCodePageIgnoreCase)
{
    for (const auto& [a, b] : {std::pair{u"ŁÓDŹ"_qs, u"łódź"_qs}, std::pair{u"Čapek Ğ"_qs, u"čapek ğ"_qs},
                               std::pair{u"ǄEMAL Ƒ"_qs, u"ǆemal ƒ"_qs}}) {
        const Keys ka = keysOf(a), kb = keysOf(b);
        EXPECT_EQ(ka.clean, kb.clean) << a.toStdString();
        EXPECT_EQ(ka.phon1, kb.phon1) << a.toStdString();
        EXPECT_EQ(ka.phon2, kb.phon2) << a.toStdString();
    }
    EXPECT_EQ(LimpaTexto(u"łódź"_qs), u"ŁÓDŹ"_qs);
    EXPECT_EQ(CalcMetaphone(u"łódź"_qs, 0, 0), u"ŁODŹ"_qs);
    // Other scripts and emoji stay outside the keys.
    EXPECT_EQ(LimpaTexto(QString::fromUcs4(U"a\u03B1\U0001F600\U00010428b")), u"AB"_qs);
}

TEST(Vowels, EhVogalAndNaoVogal)
{
    for (const QString& v : {u"a"_qs, u"E"_qs, u"i"_qs, u"O"_qs, u"u"_qs}) {
        EXPECT_TRUE(EhVogal(v));
        EXPECT_FALSE(NaoVogal(v));
    }
    for (const QString& c : {u"Á"_qs, u"á"_qs, u"ü"_qs, u"Y"_qs, u"b"_qs, u"1"_qs, u" "_qs}) {
        EXPECT_FALSE(EhVogal(c)) << c.toStdString();
        EXPECT_TRUE(NaoVogal(c)) << c.toStdString();
    }
    EXPECT_FALSE(EhVogal(QString()));
    EXPECT_FALSE(NaoVogal(QString()));
}

TEST(Normalisation, FoldsAccentsAndKeepsOthers)
{
    EXPECT_EQ(NormalizaMetaphone(u"  áâãà éêè íîì óôõò úûù ñ"_qs), u"AAAAEEEIIIOOOOUUUN"_qs);
    EXPECT_EQ(NormalizaMetaphone(u"Bär Über Ÿ"_qs), u"BÄRÜBERŸ"_qs);
    const QString original = u"ação "_qs;
    NormalizaMetaphone(original);
    EXPECT_EQ(original, u"ação "_qs);
}

TEST(PhoneticRules, InitialLetters)
{
    EXPECT_EQ(CalcMetaphone(u"Knorr"_qs, 0, 0), u"NOR"_qs);
    EXPECT_EQ(CalcMetaphone(u"Gnomo"_qs, 0, 0), u"NOMO"_qs);
    EXPECT_EQ(CalcMetaphone(u"Mnemo"_qs, 0, 0), u"NEMO"_qs);
    EXPECT_EQ(CalcMetaphone(u"Pneu"_qs, 0, 0), u"NEU"_qs);
    EXPECT_EQ(CalcMetaphone(u"Ptolomeu"_qs, 0, 0), u"TOLOMEU"_qs);
    EXPECT_EQ(CalcMetaphone(u"Wrangler"_qs, 0, 0), u"RANGLER"_qs);
    EXPECT_EQ(CalcMetaphone(u"Whisky"_qs, 0, 0), u"UISKI"_qs);
    EXPECT_EQ(CalcMetaphone(u"Whisky"_qs, -1, 0), u"SK"_qs);
    EXPECT_EQ(CalcMetaphone(u"Exame"_qs, 0, 0), u"EZAME"_qs);
    EXPECT_EQ(CalcMetaphone(u"Exame"_qs, -1, 0), u"EZM"_qs);
    // H before a non-vowel stays.
    EXPECT_EQ(CalcMetaphone(u"Hzinho"_qs, 0, 0), u"HZINIO"_qs);
}

TEST(PhoneticRules, Letters)
{
    const struct {
        const char16_t* text;
        const char16_t* phon1;
        const char16_t* phon2;
    } cases[] = {
        {u"Filho", u"FILIO", u"FL"},      // LH
        {u"Manha", u"MANIA", u"MN"},      // NH
        {u"Thor", u"DOR", u"DR"},         // TH
        {u"Tchau", u"XAU", u"X"},         // TCH
        {u"Pharma", u"FARMA", u"FRM"},    // PH
        {u"Schin", u"SKIN", u"SKN"},      // SCH
        {u"Chopp", u"XOP", u"XP"},        // CH, doubled P
        {u"Bach", u"BAK", u"BK"},         // final CH
        {u"Chrome", u"KROME", u"KRM"},    // CHR
        {u"Cinema", u"SINEMA", u"SNM"},   // CI
        {u"Occidente", u"OKSIDENTE", u"OKSDNT"},  // CC does not fold
        {u"Jack", u"JAK", u"JK"},         // CK
        {u"Edge", u"EJE", u"EJ"},         // DGE
        {u"Gelo", u"JELO", u"JL"},
        {u"Guerra", u"GUERA", u"GR"},
        {u"Ignorar", u"INORAR", u"INR"},
        {u"Hugh", u"UG", u"UG"},          // GH at the end
        {u"Ghana", u"GANA", u"GN"},
        {u"Aghbar", u"ABAR", u"ABR"},     // GH before a non-vowel is silent
        {u"Quero", u"KERO", u"KR"},
        {u"Casa", u"KAZA", u"KZ"},
        {u"Yara", u"IARA", u"R"},
        {u"Walter", u"UALTER", u"LTR"},
        {u"Zezé", u"ZEZE", u"Z"},
        {u"Shop", u"XOP", u"XP"},
        {u"Max", u"MAKS", u"MKS"},        // final X
        {u"Axa", u"AKSA", u"AKS"},        // X after a first vowel
        {u"Táxi", u"TASI", u"TS"},        // X after vowel and non-vowel
        {u"Xuxa", u"XUSA", u"XS"},        // first X
        {u"Maxx", u"MASK", u"MSK"},       // doubled final X keeps the K only
        {u"Quxa", u"KSA", u"KS"},         // prev after a skip is the skipped U
    };
    for (const auto& c : cases) {
        const QString t = QString::fromUtf16(c.text);
        EXPECT_EQ(CalcMetaphone(t, 0, 0), QString::fromUtf16(c.phon1)) << t.toStdString();
        EXPECT_EQ(CalcMetaphone(t, -1, 0), QString::fromUtf16(c.phon2)) << t.toStdString();
    }
}

TEST(MarkKeys, EveryCharacterGivesWellFormedKeys)
{
    // Keys hold only "9" and letters already upper-cased; no character breaks them,
    // lone surrogates and unassigned code points included.
    auto wellFormed = [](const QString& key) {
        for (const QChar c : key) {
            const char16_t u = c.unicode();
            if (u != u'9' && !(textorder::isLetter(u) && textorder::toUpper(u) == u)) return false;
        }
        return true;
    };
    for (char32_t u = 0; u <= 0xFFFF; ++u) {
        const QString s = u"ax"_qs + QChar(char16_t(u)) + u"s"_qs;
        const Keys k = keysOf(s);
        ASSERT_TRUE(wellFormed(k.clean)) << int(u);
        ASSERT_TRUE(wellFormed(k.phon1)) << int(u);
        ASSERT_TRUE(wellFormed(k.phon2)) << int(u);
    }
}

TEST(MarkKeys, CodePageLettersMatchTheirOtherCase)
{
    // Each letter of the code page and its other case give the same keys.
    for (int b = 0; b < 256; ++b) {
        const QChar c = cp1252::toChar(static_cast<unsigned char>(b));
        const QChar other = c.isUpper() ? c.toLower() : c.toUpper();
        if (!cp1252::contains(other) || other == c) continue;
        const QString a = u"B"_qs + c + u"R"_qs;
        const QString o = u"b"_qs + other + u"r"_qs;
        EXPECT_EQ(LimpaTexto(a), LimpaTexto(o)) << b;
        EXPECT_EQ(CalcMetaphone(a, 0, 0), CalcMetaphone(o, 0, 0)) << b;
        EXPECT_EQ(CalcMetaphone(a, -1, 0), CalcMetaphone(o, -1, 0)) << b;
    }
}
