// The data-access layer against a real embedded database.
#include "support/TestDb.h"

#include <QDate>
#include <gtest/gtest.h>

TEST(Db, NullIsNotEmptyAndNamesIgnoreCase)
{
    TestDb t;
    t.db().execute("INSERT INTO Revistas (Revista, rdata, atualizado) VALUES ('2150', '05.03.2010', '0')");
    t.db().execute("INSERT INTO Usuarios (usuario, senha, livreacesso) VALUES ('', NULL, 'S')");
    Recordset rs = t.db().query("SELECT usuario, senha, livreacesso FROM Usuarios");
    ASSERT_EQ(rs.recordCount(), 1);
    rs.moveFirst();
    EXPECT_FALSE(rs.value("USUARIO").isNull());
    EXPECT_EQ(rs.value("Usuario").toString(), QString(""));
    EXPECT_TRUE(rs.value("senha").isNull());
    EXPECT_THROW(rs.value("nao_existe"), DbError);

    Recordset r = t.db().query("SELECT max(Revista) as revista, rdata FROM Revistas GROUP BY rdata");
    r.moveFirst();
    EXPECT_EQ(r.value("Revista").toInt(), 2150);
    EXPECT_EQ(r.value("RDATA").toDate(), QDate(2010, 3, 5));
}

TEST(Db, CharPadRemovedAndFunctionsOfTheSchema)
{
    TestDb t;
    EXPECT_EQ(t.scalar("SELECT cast(calc_cd(12345678)as char(9)) FROM RDB$DATABASE").toString(), "123456789");
    EXPECT_EQ(t.scalar("SELECT cast(calc_cd(0)as char(9)) FROM RDB$DATABASE").toString(), "000000000");
    // 10000001: 9*1 + 2*1 = 11, remainder 0 -> 0; 10000000: 9, remainder 9 -> 2;
    // 00000005: 2*5 = 10 -> 1; 00000010: 3*1 = 3 -> 8; 00000006: 12, remainder 1 -> 0.
    EXPECT_EQ(t.scalar("SELECT calc_cd(10000001) FROM RDB$DATABASE").toString(), "100000010");
    EXPECT_EQ(t.scalar("SELECT calc_cd(10000000) FROM RDB$DATABASE").toString(), "100000002");
    EXPECT_EQ(t.scalar("SELECT calc_cd(5) FROM RDB$DATABASE").toString(), "000000051");
    EXPECT_EQ(t.scalar("SELECT calc_cd(6) FROM RDB$DATABASE").toString(), "000000060");
    EXPECT_EQ(t.scalar("SELECT cast(fmtinteger(5,2)as char(3)) FROM RDB$DATABASE").toString(), "05");
    EXPECT_EQ(t.scalar("SELECT fmtinteger(35,2) FROM RDB$DATABASE").toString(), "35");
    EXPECT_TRUE(t.scalar("SELECT fmtinteger(NULL,2) FROM RDB$DATABASE").isNull());
}

TEST(Db, GeneratorsGiveConsecutiveKeysReadBackWithGenId)
{
    TestDb t;
    // Row 1 of Procuradores is seeded; the first attorney added gets 2.
    EXPECT_EQ(t.scalar("SELECT procurador FROM Procuradores WHERE codprocurador=1").toString(), QString("O PRÓPRIO"));
    t.db().execute("INSERT INTO Procuradores (procurador) VALUES ('ALFA')");
    EXPECT_EQ(t.scalar("SELECT gen_id(codprocurador_gen,0) FROM RDB$DATABASE").toInt(), 2);
    t.db().execute("INSERT INTO Procuradores (procurador) VALUES ('BETA')");
    EXPECT_EQ(t.scalar("SELECT codprocurador FROM Procuradores WHERE procurador='BETA'").toInt(), 3);

    const int before = t.scalar("SELECT gen_id(codrevproc_gen,0) FROM RDB$DATABASE").toInt();
    for (int i = 0; i < 3; ++i) t.db().execute("INSERT INTO RevProcs (Processo, RPI, Despacho) VALUES ('1','2150','400')");
    Recordset rs = t.db().query("SELECT codigo FROM RevProcs ORDER BY codigo");
    ASSERT_EQ(rs.recordCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(rs.at(i, "codigo").toInt(), before + 1 + i);
    EXPECT_EQ(t.scalar("SELECT gen_id(codrevproc_gen,0) FROM RDB$DATABASE").toInt(), before + 3);
}

TEST(Db, NameColumnsCompareWithoutCase)
{
    TestDb t;
    t.db().execute("INSERT INTO Processos (processo, marca, titular) VALUES ('1', 'Ação Bonita', 'Acme Ltda')");
    EXPECT_EQ(t.scalar("SELECT count(*) FROM Processos WHERE marca = 'AÇÃO BONITA'").toInt(), 1);
    EXPECT_EQ(t.scalar("SELECT count(*) FROM Processos WHERE titular LIKE 'ACME%'").toInt(), 1);
    // Accents still count.
    EXPECT_EQ(t.scalar("SELECT count(*) FROM Processos WHERE marca = 'ACAO BONITA'").toInt(), 0);
}

TEST(Db, LongTextLiteralsArriveWhole)
{
    TestDb t;
    QString text;
    for (int i = 0; i < 64000; ++i) text += QChar(u"abcdeçãoÉ'"[i % 10]);
    QString literal = text;
    literal.replace("'", "''");
    t.db().execute("INSERT INTO RPI (codigo, processo, especificacao, complemento) VALUES ('1','2','" + literal + "','*x')");
    EXPECT_EQ(t.scalar("SELECT especificacao FROM RPI WHERE codigo=1").toString(), text);
    t.db().execute("UPDATE RPI SET apostila='" + literal + "' WHERE codigo=1");
    EXPECT_EQ(t.scalar("SELECT apostila FROM RPI WHERE codigo=1").toString(), text);
    EXPECT_EQ(t.scalar("SELECT complemento FROM RPI WHERE codigo=1").toString(), QString("*x"));
}

TEST(Db, ErrorsCarryTheServerMessage)
{
    TestDb t;
    try {
        t.db().execute("INSERT INTO TabelaQueNaoExiste VALUES (1)");
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("TABELAQUENAOEXISTE", Qt::CaseInsensitive)) << e.message().toStdString();
    }
}

TEST(Db, TransactionsRollBackEverything)
{
    TestDb t;
    {
        DbTransaction tx;
        t.db().execute("INSERT INTO Revistas (revista) VALUES ('1')");
        t.db().execute("INSERT INTO Revistas (revista) VALUES ('2')");
    }  // no commit
    EXPECT_EQ(t.count("Revistas"), 0);
    {
        DbTransaction tx;
        t.db().execute("INSERT INTO Revistas (revista) VALUES ('3')");
        tx.commit();
    }
    EXPECT_EQ(t.count("Revistas"), 1);
}

TEST(Db, SortFindAndEdit)
{
    TestDb t;
    t.db().execute("INSERT INTO Processos (processo, marca, deposito, nclclasse) VALUES ('3','beta','01.02.2010','9')");
    t.db().execute("INSERT INTO Processos (processo, marca, deposito, nclclasse) VALUES ('1','Alfa','01.01.2011','10')");
    t.db().execute("INSERT INTO Processos (processo, marca, deposito, nclclasse) VALUES ('2','alfa',NULL,'9')");
    Recordset rs = t.db().query("SELECT processo, marca, deposito, nclclasse FROM Processos");
    rs.setSort("marca ASC,processo");
    EXPECT_EQ(rs.at(0, "processo").toInt(), 1);
    EXPECT_EQ(rs.at(1, "processo").toInt(), 2);
    EXPECT_EQ(rs.at(2, "processo").toInt(), 3);
    rs.setSort("nclclasse DESC,processo");  // numbers compare as numbers
    EXPECT_EQ(rs.at(0, "processo").toInt(), 1);
    rs.setSort("deposito ASC");  // dates as dates, Null first
    EXPECT_EQ(rs.at(0, "processo").toInt(), 2);
    EXPECT_EQ(rs.at(1, "processo").toInt(), 3);
    rs.setSort("");
    EXPECT_EQ(rs.at(0, "processo").toInt(), 3);

    // Accented letters go with their base letter, in either case.
    int n = 10;
    for (const QString& m : {u"TERRA"_qs, u"ÁGUA VIVA"_qs, u"TECH"_qs, u"CAÇA"_qs, u"Bola"_qs, u"agua"_qs, u"ÉDEN"_qs,
                             u"CACAU"_qs, u"água viva"_qs, u"EDITH"_qs, u"ZEBRA"_qs, u"ÓRION"_qs, u"OVO"_qs})
        t.db().execute(QStringLiteral("INSERT INTO Processos (processo, marca) VALUES ('%1','%2')").arg(++n).arg(m));
    Recordset marks = t.db().query("SELECT processo, marca FROM Processos WHERE processo > 10");
    marks.setSort("marca ASC,processo");
    QStringList order;
    for (int r = 0; r < marks.recordCount(); ++r) order << marks.at(r, "marca").toString();
    EXPECT_EQ(order.join('|'), u"agua|ÁGUA VIVA|água viva|Bola|CAÇA|CACAU|ÉDEN|EDITH|ÓRION|OVO|TECH|TERRA|ZEBRA"_qs);

    Recordset rev = t.db().openTable("Revistas");
    EXPECT_FALSE(rev.find("Revista=2150"));
    rev.addNew();
    rev.setValue("atualizado", 0);
    rev.setValue("Revista", 2150);
    rev.setValue("rdata", QDate(2012, 4, 24));
    rev.update();
    Recordset again = t.db().openTable("Revistas");
    again.moveFirst();
    ASSERT_TRUE(again.find("Revista=2150"));
    again.setValue("rdata", QDate(2012, 5, 1));
    again.update();
    EXPECT_EQ(t.scalar("SELECT rdata FROM Revistas WHERE revista=2150").toDate(), QDate(2012, 5, 1));

    // AddNew on a one-table query; the database gives the key.
    Recordset p = t.db().query("SELECT CodProcurador, Procurador FROM Procuradores WHERE Procurador='D''ALFA'");
    EXPECT_EQ(p.recordCount(), 0);
    p.addNew();
    p.setValue("Procurador", "D'ALFA");
    p.update();
    EXPECT_EQ(p.value("codprocurador").toInt(), 2);
    EXPECT_EQ(t.scalar("SELECT procurador FROM Procuradores WHERE codprocurador=2").toString(), QString("D'ALFA"));
}

// Statements that differ only in their literals run as cached prepared
// statements; they must give exactly what the text would have given.
TEST(Db, PreparedStatementsBehaveLikeTheText)
{
    TestDb t;
    auto insert = [&](int codigo, const QString& despacho, const QString& deposito, const QString& marca) {
        t.db().execute(QString("INSERT INTO RPI (codigo, processo,revista, despacho, deposito, marca, cgccpf)  VALUES ('%1','%2','2150',%3,%4,%5,'')")
                           .arg(codigo).arg(800000 + codigo).arg(despacho, deposito, marca));
    };
    {
        DbTransaction tx;
        insert(1, "'400'", "'05.03.2010'", "'Ação ''Um'''");
        insert(2, "'IPAS009'", "Null", "Null");
    t.db().execute("INSERT INTO RPI (codigo, processo,revista, despacho, deposito, marca, cgccpf)  VALUES ('6',Null,'2150','400',Null,Null,Null)");
        insert(3, "'400'", "'5.3.2010'", "'Três'");
        tx.commit();
    }
    // The same statement shape again, now in a new transaction and outside one.
    {
        DbTransaction tx;
        insert(4, "'401'", "'31.12.1999'", "'Quatro'");
        tx.commit();
    }
    insert(5, "'402'", "'01.01.2000'", "'Cinco'");

    Recordset rs = t.db().query("SELECT codigo, despacho, deposito, marca, cgccpf FROM RPI ORDER BY codigo");
    ASSERT_EQ(rs.recordCount(), 6);
    EXPECT_EQ(rs.at(0, "deposito").toDate(), QDate(2010, 3, 5));
    EXPECT_EQ(rs.at(0, "marca").toString(), QString("Ação 'Um'"));
    EXPECT_FALSE(rs.at(0, "cgccpf").isNull());
    EXPECT_EQ(rs.at(1, "despacho").toString(), QString("IPAS009"));
    EXPECT_TRUE(rs.at(1, "deposito").isNull());
    EXPECT_TRUE(rs.at(1, "marca").isNull());
    EXPECT_EQ(rs.at(2, "deposito").toDate(), QDate(2010, 3, 5));
    EXPECT_EQ(rs.at(3, "deposito").toDate(), QDate(1999, 12, 31));
    EXPECT_EQ(rs.at(4, "despacho").toString(), QString("402"));
    EXPECT_TRUE(t.scalar("SELECT processo FROM RPI WHERE codigo=6").isNull());
    EXPECT_TRUE(t.scalar("SELECT cgccpf FROM RPI WHERE codigo=6").isNull());
    t.db().execute("DELETE FROM RPI WHERE codigo=6");

    // Numbers written into text columns, and lookups by literal.
    t.db().execute("UPDATE RPI SET despacho=405, marca='Outra' WHERE codigo = 5");
    EXPECT_EQ(t.scalar("SELECT despacho FROM RPI WHERE codigo=5").toString(), QString("405"));
    EXPECT_EQ(t.scalar("SELECT codigo FROM RPI WHERE marca='OUTRA'").toInt(), 5);
    EXPECT_EQ(t.scalar("SELECT codigo FROM RPI WHERE codigo='3'").toInt(), 3);
    t.db().execute("DELETE FROM RPI WHERE codigo=2");
    EXPECT_EQ(t.count("RPI"), 4);

    // What the server refuses as text it still refuses: a text too long for
    // its column is not silently cut, an empty text is not a number, a bad
    // date is not a date.
    EXPECT_THROW(t.db().execute("UPDATE RPI SET despacho='12345678901' WHERE codigo=1"), DbError);
    EXPECT_THROW(t.db().execute("INSERT INTO RPI (codigo, processo) VALUES ('9','')"), DbError);
    EXPECT_THROW(t.db().execute("INSERT INTO RPI (codigo, deposito) VALUES ('9','31.02.2010')"), DbError);
    EXPECT_EQ(t.scalar("SELECT despacho FROM RPI WHERE codigo=1").toString(), QString("400"));
    EXPECT_EQ(t.count("RPI"), 4);
}

// A read repeated after a write sees the write, inside and outside a transaction.
TEST(Db, RepeatedReadsSeeEarlierWrites)
{
    TestDb t;
    const QString read = "select controle6 from Controle where codigo=1";
    EXPECT_EQ(t.scalar(read).toString(), QString("`rk]qlhmh"));
    t.db().execute("UPDATE Controle SET controle6='abc' Where codigo = 1");
    EXPECT_EQ(t.scalar(read).toString(), QString("abc"));
    Recordset rs = t.db().openTable("Controle");
    rs.moveFirst();
    rs.setValue("controle6", "def");
    rs.update();
    EXPECT_EQ(t.scalar(read).toString(), QString("def"));
    {
        DbTransaction tx;
        EXPECT_EQ(t.scalar(read).toString(), QString("def"));
        t.db().execute("UPDATE Controle SET controle6='ghi' Where codigo = 1");
        EXPECT_EQ(t.scalar(read).toString(), QString("ghi"));
        t.db().execute("UPDATE Controle SET controle6='jkl' Where codigo = 1");
        EXPECT_EQ(t.scalar(read).toString(), QString("jkl"));
        tx.commit();
    }
    EXPECT_EQ(t.scalar(read).toString(), QString("jkl"));
}
