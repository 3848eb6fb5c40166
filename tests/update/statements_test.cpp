// Statements the transfer builds for one staged row, and the reading of
// attorney texts. No database needed.

#include "keys/Metaphone.h"
#include "update/Transfer.h"

#include <QDate>
#include <gtest/gtest.h>

using metaphonevar::CalcMetaphone;
using metaphonevar::LimpaTexto;

namespace {

StagedRow baseRow()
{
    StagedRow r;
    r.codigo = 1;
    r.processo = 81234567;
    r.revista = 2150;
    r.despacho = QStringLiteral("400");
    return r;
}

TransferOptions batchOptions()
{
    TransferOptions o;
    o.processCode = [](const QVariant&) { return QStringLiteral("F g\u0088"); };
    o.emptyKeysAsNull = true;
    o.absentTextsAsEmpty = true;
    o.niceClassClearsClasse = false;
    return o;
}

}  // namespace

TEST(AttorneyText, NullBlankAndSelf)
{
    EXPECT_EQ(ParseAttorney(QVariant()).kind, AttorneyName::None);
    EXPECT_EQ(ParseAttorney(QStringLiteral(".")).kind, AttorneyName::None);
    EXPECT_EQ(ParseAttorney(QStringLiteral("  .  ")).kind, AttorneyName::None);
    EXPECT_EQ(ParseAttorney(QStringLiteral("   ")).kind, AttorneyName::None);
    EXPECT_EQ(ParseAttorney(QStringLiteral("o próprio")).kind, AttorneyName::Self);
    EXPECT_EQ(ParseAttorney(QStringLiteral(" O PROPRIO")).kind, AttorneyName::Self);
    EXPECT_EQ(ParseAttorney(QStringLiteral("O PROPRIO E OUTROS LTDA")).kind, AttorneyName::Self);
    // Shorter than the nine characters compared: a name like any other.
    EXPECT_EQ(ParseAttorney(QStringLiteral("O PROPRI")).kind, AttorneyName::Name);
}

TEST(AttorneyText, StoredForm)
{
    AttorneyName a = ParseAttorney(QStringLiteral("  Alfa Marcas Ltda. "));
    EXPECT_EQ(a.kind, AttorneyName::Name);
    EXPECT_EQ(a.name, QStringLiteral("ALFA MARCAS LTDA"));
    EXPECT_EQ(ParseAttorney(QStringLiteral("D'ALFA.")).name, QStringLiteral("D'ALFA"));
    // Only one final stop goes.
    EXPECT_EQ(ParseAttorney(QStringLiteral("BETA..")).name, QStringLiteral("BETA."));
}

TEST(RefreshStatement, OnlyIssueDispatchAndAttorney)
{
    EXPECT_EQ(ProcessRefreshSql(baseRow(), QStringLiteral("ALFA"), 7, TransferOptions::textLayout()),
              QStringLiteral("UPDATE Processos SET Revista=2150,Despacho=400,codprocurador=7 Where processo = 81234567"));
    // No attorney: the stored one stays.
    EXPECT_EQ(ProcessRefreshSql(baseRow(), QStringLiteral("ALFA"), 0, TransferOptions::textLayout()),
              QStringLiteral("UPDATE Processos SET Revista=2150,Despacho=400 Where processo = 81234567"));
}

TEST(RefreshStatement, UnquotedPiecesTakeOnlyWholeNumbers)
{
    StagedRow r = baseRow();
    r.despacho = QStringLiteral("0,marca=''");
    EXPECT_EQ(ProcessRefreshSql(r, QVariant(), 0, TransferOptions::textLayout()),
              QStringLiteral("UPDATE Processos SET Revista=2150,Despacho='0,marca=''''' Where processo = 81234567"));
}

TEST(RefreshStatement, ClassPieces)
{
    StagedRow r = baseRow();
    r.nclver = 10;
    r.nclclasse = 25;
    const QString nice = ProcessRefreshSql(r, QVariant(), 0, TransferOptions::textLayout());
    EXPECT_TRUE(nice.contains(QStringLiteral(",nclver=10,NCLClasse=25,Classe=Null Where processo = 81234567"))) << nice.toStdString();

    // Both classes staged: the column gets the staged national class, once.
    r.classe = QStringLiteral("25.10;25.20");
    const QString both = ProcessRefreshSql(r, QVariant(), 0, TransferOptions::textLayout());
    EXPECT_TRUE(both.contains(QStringLiteral("NCLClasse=25,classe='25.10;25.20' Where"))) << both.toStdString();
    EXPECT_EQ(both.count(QStringLiteral("classe="), Qt::CaseInsensitive), 2);  // NCLClasse= and classe=

    // The batch run keeps the old national class when a Nice class arrives.
    r.classe = QVariant();
    const QString batch = ProcessRefreshSql(r, QVariant(), 0, batchOptions());
    EXPECT_TRUE(batch.endsWith(QStringLiteral("NCLClasse=25 Where processo = 81234567"))) << batch.toStdString();
}

TEST(RefreshStatement, EveryPieceInOrder)
{
    StagedRow r = baseRow();
    r.deposito = QDate(2010, 3, 5);
    r.concessao = QDate(2011, 1, 2);
    r.vigencia = QDate(2021, 1, 2);
    r.apresentacao = QStringLiteral("N");
    r.natureza = QStringLiteral("P");
    r.cferev = 5;
    r.cfe = QStringLiteral("26.1.1;27.5.1");
    r.marca = QStringLiteral("  Nova  ");
    r.titular = QStringLiteral("Tit \"A\" D'B");
    r.cgccpf = QStringLiteral("123");
    r.prioridadenum = QStringLiteral("US123");
    r.prioridadedata = QDate(2009, 12, 31);
    r.prioridadepais = QStringLiteral("US");
    r.titularpais = QStringLiteral("BR/SP");
    r.apostila = QStringLiteral("ap'o");
    r.especificacao = QStringLiteral("esp");
    const QString sql = ProcessRefreshSql(r, QStringLiteral("VELHA"), 3, TransferOptions::textLayout());
    const QString expected =
        QStringLiteral("UPDATE Processos SET Revista=2150,Despacho=400,codprocurador=3,deposito='05.03.2010',"
                       "concessao='02.01.2011',vigencia='02.01.2021',apresentacao='N',natureza='P',cferev=5,"
                       "cfe='26.1.1;27.5.1',Marca='Nova',MarcaClean='%1',marcaphon1='%2',marcaphon2='%3',"
                       "Titular='Tit A D''B',CGCCPF='123',prioridadenum='US123',prioridadedata='31.12.2009',"
                       "prioridadepais='US',titularpais='BR/SP',apostila='ap''o',especificacao='esp'"
                       " Where processo = 81234567")
            .arg(LimpaTexto(QStringLiteral("Nova")), CalcMetaphone(QStringLiteral("Nova"), 0, 0),
                 CalcMetaphone(QStringLiteral("Nova"), -1, 0));
    EXPECT_EQ(sql, expected);
}

TEST(RefreshStatement, MarkComparedTrimmed)
{
    StagedRow r = baseRow();
    r.marca = QStringLiteral("  ALFA ");
    EXPECT_FALSE(ProcessRefreshSql(r, QStringLiteral("ALFA"), 0, TransferOptions::textLayout()).contains(QStringLiteral("Marca")));
    // Blanks only: absent, the stored mark stays.
    r.marca = QStringLiteral("   ");
    EXPECT_FALSE(ProcessRefreshSql(r, QStringLiteral("ALFA"), 0, TransferOptions::textLayout()).contains(QStringLiteral("Marca")));
    EXPECT_FALSE(ProcessRefreshSql(r, QVariant(), 0, TransferOptions::textLayout()).contains(QStringLiteral("Marca")));
    // A stored Null mark takes the staged one.
    r.marca = QStringLiteral("D'ALFA");
    const QString sql = ProcessRefreshSql(r, QVariant(), 0, TransferOptions::textLayout());
    EXPECT_TRUE(sql.contains(QStringLiteral("Marca='D''ALFA',MarcaClean='") + LimpaTexto(QStringLiteral("D'ALFA")) + QLatin1Char('\'')))
        << sql.toStdString();
}

TEST(RefreshStatement, PetitionsQuoteDispatchAndKeepServiceCode)
{
    StagedRow r = baseRow();
    r.despacho = QStringLiteral("IPAS009");
    r.codserv = QStringLiteral("3371");
    EXPECT_EQ(ProcessRefreshSql(r, QVariant(), 5, TransferOptions::withPetitions()),
              QStringLiteral("UPDATE Processos SET Revista=2150,Despacho='IPAS009',codprocurador=5,codserv='3371' "
                             "Where processo = 81234567"));
    r.codserv = QVariant();
    EXPECT_EQ(ProcessRefreshSql(r, QVariant(), 0, TransferOptions::withPetitions()),
              QStringLiteral("UPDATE Processos SET Revista=2150,Despacho='IPAS009' Where processo = 81234567"));
}

TEST(FillStatement, OlderRowFillsOnlyNullColumns)
{
    StagedRow r = baseRow();
    r.despacho = QStringLiteral("IPAS024");
    r.codserv = QStringLiteral("3371");
    r.deposito = QDate(2010, 3, 5);
    r.concessao = QDate(2011, 1, 2);
    r.nclclasse = 9;
    r.classe = QStringLiteral("25.10");
    r.marca = QStringLiteral(" Velha ");
    r.titular = QStringLiteral("Tit D'B");
    r.especificacao = QStringLiteral("esp");
    StagedRow stored;
    stored.deposito = QDate(2010, 1, 1);
    stored.nclclasse = 25;
    stored.marca = QStringLiteral("NOVA");
    stored.titular = QStringLiteral("ALFA");
    const TransferOptions o = TransferOptions::withPetitions();

    // Never revista, despacho, codserv nor a held value; no national class
    // beside a Nice class; an attorney only where there is none.
    EXPECT_EQ(ProcessFillSql(r, stored, 4, 7, o),
              QStringLiteral("UPDATE Processos SET concessao='02.01.2011',especificacao='esp' Where processo = 81234567"));
    EXPECT_EQ(ProcessFillSql(r, stored, 0, 7, o),
              QStringLiteral("UPDATE Processos SET codprocurador=7,concessao='02.01.2011',especificacao='esp' "
                             "Where processo = 81234567"));

    // A process without a mark, a Nice class or a holder takes the row's,
    // the mark with its keys.
    stored.nclclasse = QVariant();
    stored.marca = QVariant();
    stored.titular = QVariant();
    stored.concessao = QDate(2011, 1, 1);
    stored.especificacao = QStringLiteral("x");
    EXPECT_EQ(ProcessFillSql(r, stored, 4, 0, o),
              QStringLiteral("UPDATE Processos SET NCLClasse=9,classe='25.10',Marca='Velha',MarcaClean='%1',"
                             "marcaphon1='%2',marcaphon2='%3',Titular='Tit D''B' Where processo = 81234567")
                  .arg(LimpaTexto(QStringLiteral("Velha")), CalcMetaphone(QStringLiteral("Velha"), 0, 0),
                       CalcMetaphone(QStringLiteral("Velha"), -1, 0)));

    // Nothing to fill: no statement.
    EXPECT_EQ(ProcessFillSql(baseRow(), stored, 4, 7, o), QString());
    EXPECT_TRUE(IsOlderIssue(2899, 2901));
    EXPECT_FALSE(IsOlderIssue(2901, 2901));
    EXPECT_FALSE(IsOlderIssue(2902, 2901));
    EXPECT_FALSE(IsOlderIssue(2899, QVariant()));
}

TEST(InsertStatement, ProcessWithoutMark)
{
    StagedRow r = baseRow();
    r.marca = QStringLiteral("  ");
    EXPECT_EQ(ProcessInsertSql(r, 0, TransferOptions::textLayout()),
              QStringLiteral("INSERT INTO Processos (processo,revista, despacho, deposito, vigencia, concessao, marcaclean, "
                             "apresentacao, natureza, nclver, nclclasse, cferev, cfe, classe, marca, codprocurador, titular, "
                             "cgccpf, prioridadenum, prioridadedata, prioridadepais, titularpais, especificacao, apostila, "
                             "marcaphon1,marcaphon2)  VALUES ('81234567','2150','400',Null,Null,Null,'',Null,Null,Null,"
                             "Null,Null,Null,Null,Null,'0',Null,Null,Null,Null,Null,Null,Null,Null,'','')"));
}

TEST(InsertStatement, ProcessWithEveryValue)
{
    StagedRow r = baseRow();
    r.deposito = QDate(2010, 3, 5);
    r.apresentacao = QStringLiteral("M");
    r.nclclasse = 25;
    r.marca = QStringLiteral(" Gama'S ");
    r.titular = QStringLiteral("T'");
    r.especificacao = QStringLiteral("E");
    r.apostila = QStringLiteral("A");
    r.codserv = QStringLiteral("3371");
    const QString sql = ProcessInsertSql(r, 12, TransferOptions::withPetitions());
    const QString mark = QStringLiteral("Gama'S");
    EXPECT_TRUE(sql.startsWith(QStringLiteral("INSERT INTO Processos (processo,revista, despacho,")));
    EXPECT_TRUE(sql.contains(QStringLiteral("marcaphon1,marcaphon2,codserv)  VALUES (")));
    EXPECT_TRUE(sql.endsWith(QStringLiteral("VALUES ('81234567','2150','400','05.03.2010',Null,Null,'%1','M',Null,Null,'25',"
                                            "Null,Null,Null,'Gama''S','12','T''',Null,Null,Null,Null,Null,'E','A','%2','%3','3371')")
                                 .arg(LimpaTexto(mark), CalcMetaphone(mark, 0, 0), CalcMetaphone(mark, -1, 0))))
        << sql.toStdString();
}

TEST(InsertStatement, BatchDifferences)
{
    const StagedRow r = baseRow();
    EXPECT_EQ(ProcessInsertSql(r, 0, batchOptions()),
              QStringLiteral("INSERT INTO Processos (processo,bcdproc, revista, despacho, deposito, vigencia, concessao, "
                             "marcaclean, apresentacao, natureza, nclver, nclclasse, cferev, cfe, classe, marca, "
                             "codprocurador, titular, cgccpf, prioridadenum, prioridadedata, prioridadepais, titularpais, "
                             "especificacao, apostila, marcaphon1,marcaphon2)  VALUES ('81234567','F g\u0088','2150','400',"
                             "Null,Null,Null,Null,Null,Null,Null,Null,Null,Null,Null,Null,'0','',Null,Null,Null,Null,Null,"
                             "'','',Null,Null)"));
    EXPECT_EQ(EntryInsertSql(r, 0, batchOptions()),
              QStringLiteral("INSERT INTO RevProcs (Processo, RPI, bcdproc, Despacho, complemento) VALUES "
                             "('81234567','2150','F g\u0088','400','')"));
}

TEST(InsertStatement, Entries)
{
    StagedRow r = baseRow();
    EXPECT_EQ(EntryInsertSql(r, 0, TransferOptions::textLayout()),
              QStringLiteral("INSERT INTO RevProcs (Processo, RPI, Despacho, complemento) VALUES ('81234567','2150','400',Null)"));
    r.despacho = QStringLiteral("IPAS009");
    r.protocolo = QStringLiteral("850110001234");
    r.dataprotocolo = QDate(2013, 7, 1);
    r.requerente = QStringLiteral("R'S \"X\" (BR/SP)");
    r.complemento = QStringLiteral("*texto");
    EXPECT_EQ(EntryInsertSql(r, 0, TransferOptions::withPetitions()),
              QStringLiteral("INSERT INTO RevProcs (Processo, RPI, Despacho, protocolo, dataprotocolo, codserv, requerente, "
                             "codprocuradorpeticao, complemento) VALUES ('81234567','2150','IPAS009','850110001234',"
                             "'01.07.2013',Null,'R''S X (BR/SP)','0','*texto')"));
}
