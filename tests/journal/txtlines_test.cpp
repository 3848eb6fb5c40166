// The text layout's lines, parsed into the pending record, and the
// statements built from it.
#include "journal/TextReader.h"

#include <gtest/gtest.h>

namespace {

const QDate kIssue(2012, 4, 24);

TxtRecord parse(const QStringList& lines, TxtVariant v = TxtVariant::Dialog)
{
    TxtRecord r;
    for (const QString& l : lines) ParseTxtLine(l, r, kIssue, v);
    return r;
}

// "No." line with the process number, a date at 15..24 and the dispatch
// code in its last three characters.
QString numberLine(const QString& proc, const QString& date, int code)
{
    return QStringLiteral("No.%1  %2   %3").arg(proc, date).arg(code, 3, 10, QLatin1Char('0'));
}

}  // namespace

TEST(TxtLines, DatesFollowTheDispatchCode)
{
    TxtRecord r = parse({numberLine("820001234", "15/03/2010", 399)});
    EXPECT_EQ(r.procNum, "820001234");
    EXPECT_EQ(r.despacho, 399);
    EXPECT_EQ(r.deposito, "15.03.2010");
    EXPECT_TRUE(r.vigencia.isEmpty());
    EXPECT_TRUE(r.concessao.isEmpty());

    // 400..404: the issue date, whatever the line holds.
    r = parse({numberLine("820001234", "15/03/2010", 403)});
    EXPECT_EQ(r.concessao, "24.04.2012");
    EXPECT_EQ(r.vigencia, "24.04.2022");
    EXPECT_TRUE(r.deposito.isEmpty());
    r = parse({numberLine("820001234", "15/03/2010", 400)});
    EXPECT_EQ(r.concessao, "24.04.2012");

    r = parse({numberLine("820001234", "29/02/2008", 405)});
    EXPECT_EQ(r.vigencia, "28.02.2018");  // ten calendar years
    EXPECT_TRUE(r.deposito.isEmpty());
    EXPECT_TRUE(r.concessao.isEmpty());
}

TEST(TxtLines, ShortNumberLineSetsNoDateEvenForTheIssueDateCodes)
{
    // 27 characters: no date at all, not even the issue date of code 403.
    const QString line = QStringLiteral("No.820001234") + QString(12, QLatin1Char(' ')) + QStringLiteral("403");
    ASSERT_EQ(line.size(), 27);
    TxtRecord r = parse({line});
    EXPECT_EQ(r.despacho, 403);
    EXPECT_TRUE(r.concessao.isEmpty());
    EXPECT_TRUE(r.vigencia.isEmpty());
    EXPECT_TRUE(r.deposito.isEmpty());
    // A dispatch text that is no number gives 0; a date that is none is left out.
    r = parse({QStringLiteral("No.820001234  99/99/2010   IPAS")});
    EXPECT_EQ(r.despacho, 0);
    EXPECT_TRUE(r.deposito.isEmpty());
}

TEST(TxtLines, MarkIsTrimmedAndLongMarksCutTo200)
{
    EXPECT_EQ(parse({"Marca:   BOLA D'OURO  "}).marca, "BOLA D'OURO");
    const QString m250(250, QLatin1Char('A'));
    EXPECT_EQ(parse({"Marca: " + m250 + "   "}).marca, m250);
    EXPECT_EQ(parse({"Marca: " + m250 + "B"}).marca, QString(200, QLatin1Char('A')));
}

TEST(TxtLines, ClassMarkerInMarkAndCfeLines)
{
    TxtRecord r = parse({"Marca: SOL NASCENTE NCL(10) 25 Roupas e calçados"});
    EXPECT_EQ(r.marca, "SOL NASCENTE");
    EXPECT_EQ(r.nclver, 10);
    EXPECT_EQ(r.nclclasse, 25);
    EXPECT_EQ(r.especificacao, QString::fromUtf8("Roupas e calçados"));

    r = parse({"CFE(4) 26.1.1;27.5.1 ncl(10) 09"});
    EXPECT_EQ(r.cferev, 4);
    EXPECT_EQ(r.cfe, "26.1.1;27.5.1 ");
    EXPECT_EQ(r.nclclasse, 9);
    EXPECT_TRUE(r.especificacao.isEmpty());  // the marker part is only 10 characters

    // The later of "NCL(" and "Especific.:" gives the goods and services text.
    r = parse({"NCL(8) 35 Comércio", "Especific.: Publicidade"});
    EXPECT_EQ(r.nclver, 8);
    EXPECT_EQ(r.nclclasse, 35);
    EXPECT_EQ(r.especificacao, "Publicidade");
    r = parse({"Especific.: Publicidade", "NCL(8) 35 Comércio"});
    EXPECT_EQ(r.especificacao, QString::fromUtf8("Comércio"));
    EXPECT_TRUE(parse({"NCL(8) 35"}).especificacao.isEmpty());
}

TEST(TxtLines, HolderCountryFromTheLastParenthesis)
{
    TxtRecord r = parse({"Tit.JOÃO DA SILVA LTDA (BR/SP)"});
    EXPECT_EQ(r.titular, QString::fromUtf8("JOÃO DA SILVA LTDA"));
    EXPECT_EQ(r.titularpais, "BR/SP");
    r = parse({"Tit.ACME (USA) INC. ( US ) "});
    EXPECT_EQ(r.titular, "ACME (USA) INC.");
    EXPECT_EQ(r.titularpais, "US");
    // Without a parenthesis: the whole text, no country.
    r = parse({"Tit.  MARIA SOUZA  "});
    EXPECT_EQ(r.titular, "MARIA SOUZA");
    EXPECT_TRUE(r.titularpais.isEmpty());
    EXPECT_EQ(parse({"Tit." + QString(200, QLatin1Char('X')) + " (BR)"}).titular.size(), 180);
}

TEST(TxtLines, AttorneyKeepsItsLeadingBlank)
{
    EXPECT_EQ(parse({"Procurador: DANIEL & CIA"}).procurador, " DANIEL & CIA");
    EXPECT_EQ(parse({"Procurador: DANIEL endoffile lixo"}).procurador, " DANIEL ");
    EXPECT_EQ(parse({"Procurador:" + QString(300, QLatin1Char('P'))}).procurador.size(), 180);
}

TEST(TxtLines, ClassListIsRebuilt)
{
    EXPECT_EQ(parse({"Clas.Prod/Serv: 25.10, 25.20"}).classe, "25.10;25.20");
    EXPECT_EQ(parse({"Clas.Prod/Serv: 25"}).classe, "25.");
    EXPECT_EQ(parse({"Clas.Prod/Serv: 25.10"}).classe, "25.10");
    EXPECT_EQ(parse({"Clas.Prod/Serv: 01.10/02.20/03.30"}).classe, "01.10;02.20;03.30");
    // More digits than the buffer holds stop at its 17 characters.
    EXPECT_EQ(parse({"Clas.Prod/Serv: 01.10/02.20/03.30/04.40"}).classe, "01.10;02.20;03.30");
    // 16 characters: no class list.
    EXPECT_TRUE(parse({"Clas.Prod/Serv: "}).classe.isEmpty());
    // The batch loader keeps the list as published.
    EXPECT_EQ(parse({"Clas.Prod/Serv:  25.10, 25.20 "}, TxtVariant::Batch).classe, " 25.10, 25.20 ");
}

TEST(TxtLines, PresentationNatureCnpjPriorityComplement)
{
    TxtRecord r = parse({"Apres.: Mista ; Nat.: De Serviço"});
    EXPECT_EQ(r.apresentacao, "M");
    EXPECT_EQ(r.natureza, "S");
    r = parse({"Apresentação: FIGURATIVA  Natureza: COLETIVA"});
    EXPECT_EQ(r.apresentacao, "F");
    EXPECT_EQ(r.natureza, "K");
    r = parse({"Apres.: Tridimensional"});
    EXPECT_EQ(r.apresentacao, "T");
    EXPECT_EQ(r.natureza, "C");

    EXPECT_EQ(parse({"C.N.P.J./C.I.C./NºINPI : 12345678000195999999999"}).cgccpf, "12345678000195999999");

    r = parse({"Prior.:" + QString("US 78/123'456").leftJustified(17) + " 12/06/2009  US"});
    EXPECT_EQ(r.prioridadenum, "US 78/123'456    ");
    EXPECT_EQ(r.prioridadedata, "12.06.2009");
    EXPECT_EQ(r.prioridadepais, "US");

    r = parse({"*Primeira", "  nada  ", "* Ref. 820001234  "});
    EXPECT_EQ(r.complemento, "* Ref. 820001234");
    EXPECT_EQ(parse({"Apostila: sem direito"}).apostila, "sem direito");
}

TEST(TxtLines, TagsAreCaseSensitiveAndTestedInOrder)
{
    TxtRecord r = parse({"marca: X", "TIT.Y (BR)", "Procuradora: Z"});
    EXPECT_TRUE(r.marca.isEmpty());
    EXPECT_TRUE(r.titular.isEmpty());
    EXPECT_TRUE(r.procurador.isEmpty());
}

TEST(TxtLines, ShortLinesGiveEmptyParts)
{
    TxtRecord r = parse({"Apostila:", "Especific.:", "C.N.P.J.", "CFE(", "Prior.:", "Tit.", "No."});
    EXPECT_TRUE(r.apostila.isEmpty());
    EXPECT_TRUE(r.especificacao.isEmpty());
    EXPECT_TRUE(r.cgccpf.isEmpty());
    EXPECT_TRUE(r.cfe.isEmpty());
    EXPECT_EQ(r.cferev, 0);
    EXPECT_TRUE(r.prioridadedata.isEmpty());
    EXPECT_TRUE(r.titular.isEmpty());
    EXPECT_TRUE(r.procNum.isEmpty());
}

TEST(TxtLines, CitationsAreRunsOfExactlyNineDigits)
{
    EXPECT_EQ(CitedProcesses("*Ref. 820001234, 12345678 e 1234567890; 007654321"), (QList<int>{82000123, 765432}));
    // The asterisk itself is skipped; a run at the very end counts.
    EXPECT_EQ(CitedProcesses("*820001234"), (QList<int>{82000123}));
    // The first character is never part of a run.
    EXPECT_EQ(CitedProcesses("9820001234"), (QList<int>{82000123}));
    EXPECT_TRUE(CitedProcesses("").isEmpty());
    EXPECT_TRUE(DispatchCites(100) && DispatchCites(241) && DispatchCites(242) && DispatchCites(243));
    EXPECT_TRUE(DispatchCites(245) && DispatchCites(251) && DispatchCites(888));
    EXPECT_FALSE(DispatchCites(244) || DispatchCites(0) || DispatchCites(400));
}

TEST(TxtLines, LinesEndAtCrCrLfOrLf)
{
    EXPECT_EQ(SplitTxtLines("a\r\nb\rc\nd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTxtLines("a\r\n\r\nb\r\n"), (QStringList{"a", "", "b"}));
    EXPECT_TRUE(SplitTxtLines("").isEmpty());
}

TEST(TxtLines, RpiStatementText)
{
    TxtRecord r = parse({numberLine("820001234", "15/03/2010", 3), "Marca: D'OURO \"REAL\"", "NCL(9) 25 x",
                         "Prior.:AB'12", "*Ref."});
    const QString sql = BuildRpiInsert(r, 7, 2150);
    EXPECT_TRUE(sql.startsWith(
        "INSERT INTO RPI (codigo, processo,revista, despacho, deposito, vigencia, concessao, apresentacao, natureza, "
        "nclver, nclclasse, cferev, cfe, classe, marca, procurador, titular, cgccpf, prioridadenum, prioridadedata, "
        "prioridadepais, titularpais, especificacao, apostila, complemento)  VALUES ('7','82000123','2150','3',"
        "'15.03.2010',Null,Null,Null,Null,'9','25',Null,Null,Null,'D''OURO REAL',Null,Null,Null,'AB12"))
        << sql.toStdString();
    EXPECT_TRUE(sql.endsWith(",Null,Null,Null,'x',Null,'*Ref.')")) << sql.toStdString();
    EXPECT_EQ(r.marca, "D''OURO REAL");  // cleaned in place, as the helper leaves it

    EXPECT_EQ(BuildProcRefInsert(3, 82000123, 7, 100, 2150),
              "INSERT INTO PROCREFREVISTA (codigo, numproc,ordemproc, despacho, revista)  VALUES "
              "('3','82000123','7','100','2150')");
}

TEST(TxtLines, OverlongValuesAreCutToTheirColumns)
{
    TxtRecord r;
    r.titularpais = QString(100, QLatin1Char('B'));
    r.cfe = QString(2500, QLatin1Char('1'));  // a long text: kept whole
    r.especificacao = QString(70000, QLatin1Char('e'));
    const QString sql = BuildRpiInsert(r, 1, 2150);
    EXPECT_TRUE(sql.contains("'" + QString(60, QLatin1Char('B')) + "'"));
    EXPECT_FALSE(sql.contains(QString(61, QLatin1Char('B'))));
    EXPECT_TRUE(sql.contains("'" + QString(2500, QLatin1Char('1')) + "'"));
    EXPECT_EQ(r.especificacao.size(), 64000);
}
