// The XML-layout reader on issue texts written here: what each element
// stages, the row per dispatch, the layout errors and the rollback.
#include "journal/XmlReader.h"
#include "support/TestDb.h"
#include "support/TestUi.h"

#include <QStringList>
#include <gtest/gtest.h>

void PrintTo(const QString& s, std::ostream* os) { *os << s.toStdString(); }

namespace {

const QString kHead = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>");

// An issue text as the journal writes it: UTF-8, CR LF.
QByteArray issue(const QStringList& body, int numero = 2500, const QString& data = QStringLiteral("11/12/2018"),
                 const char* eol = "\r\n")
{
    QStringList l;
    l << kHead << QStringLiteral("<revista numero=\"%1\" data=\"%2\">").arg(numero).arg(data);
    l << body << QStringLiteral("</revista>");
    return (l.join(QLatin1String(eol)) + QLatin1String(eol)).toUtf8();
}

// One process with the given inner lines.
QStringList processo(const QString& numero, const QStringList& inner,
                     const QString& attrs = QStringLiteral(" data-deposito=\"02/05/2008\""))
{
    QStringList l;
    l << QStringLiteral("<processo numero=\"%1\"%2>").arg(numero, attrs) << inner << QStringLiteral("</processo>");
    return l;
}

QStringList despachos(const QStringList& inner)
{
    return QStringList{"<despachos>"} + inner + QStringList{"</despachos>"};
}

const QString kSimpleDespacho = QStringLiteral("<despacho codigo=\"IPAS009\" nome=\"Publicação de pedido\"/>");

class XmlReaderTest : public ::testing::Test {
protected:
    bool read(const QByteArray& bytes)
    {
        XmlReader reader(target);
        return reader.readIssue(bytes);
    }
    Recordset rows(const QString& sql)
    {
        Recordset r = db.db().query(sql);
        r.moveFirst();
        return r;
    }
    Recordset rpi() { return rows("SELECT * FROM RPI ORDER BY codigo"); }
    QVariant one(const QString& column, int codigo = 1)
    {
        return db.scalar(QStringLiteral("SELECT %1 FROM RPI WHERE codigo=%2").arg(column).arg(codigo));
    }

    TestDb db;
    TestUi ui;
    TestClock clock;
    XmlReaderValues target;
};

std::string col(const QVariant& v) { return v.isNull() ? "<Null>" : v.toString().toStdString(); }

}  // namespace

TEST_F(XmlReaderTest, ThreeDispatchesGiveThreeRowsOfTheSameProcess)
{
    const QStringList body = processo(
        "829901234",
        despachos({"<despacho codigo=\"IPAS009\" nome=\"Publicação\"/>",
                   "<despacho codigo=\"IPAS423\" nome=\"Notificação de oposição\">",
                   "<protocolo numero=\"850180012345\" data=\"03/04/2018\" codigoServico=\"3361\">",
                   "<requerente nome-razao-social=\"JOÃO D'ÁVILA\" pais=\"BR\" uf=\"SP\"/>",
                   "<procurador>Maria Peçanha</procurador>",
                   "</protocolo>",
                   "<texto-complementar>Oposição de terceiro</texto-complementar>",
                   "</despacho>",
                   "<despacho codigo=\"IPAS158\" nome=\"Concessão\">",
                   "<texto-complementar/>",
                   "</despacho>"}) +
            QStringList{"<titulares>", "<titular nome-razao-social=\"CAFÉ D'OURO LTDA\" pais=\"BR\" uf=\"MG\"/>",
                        "</titulares>", "<marca apresentacao=\"Mista\" natureza=\"De Produto\">",
                        "<nome>Café d'Ouro</nome>", "</marca>", "<procurador>José da Silva</procurador>"});
    ASSERT_TRUE(read(issue(body))) << ui.messages.value(0).text.toStdString();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(target.registros, 1);
    EXPECT_EQ(target.num, QString("RPI 2500"));
    EXPECT_EQ(target.date, QDate(2018, 12, 11));

    Recordset r = rpi();
    ASSERT_EQ(r.recordCount(), 3);
    const char* codes[] = {"IPAS009", "IPAS423", "IPAS158"};
    for (int i = 0; i < 3; ++i, r.moveNext()) {
        EXPECT_EQ(r.value("codigo").toInt(), i + 1);
        EXPECT_EQ(r.value("processo").toInt(), 82990123);
        EXPECT_EQ(r.value("revista").toInt(), 2500);
        EXPECT_EQ(r.value("despacho").toString(), QString(codes[i]));
        EXPECT_EQ(r.value("marca").toString(), QString("CAFÉ D'OURO"));  // one apostrophe in every row
        EXPECT_EQ(r.value("titular").toString(), QString("CAFÉ D'OURO LTDA"));
        EXPECT_EQ(r.value("titularpais").toString(), QString("BR/MG"));
        EXPECT_EQ(r.value("procurador").toString(), QString("JOSÉ DA SILVA"));
        EXPECT_EQ(r.value("apresentacao").toString(), QString("M"));
        EXPECT_EQ(r.value("natureza").toString(), QString("P"));
        EXPECT_EQ(r.value("deposito").toDate(), QDate(2008, 5, 2));
        EXPECT_TRUE(r.isNull("cgccpf"));
        EXPECT_TRUE(r.isNull("prioridadenum"));
        EXPECT_TRUE(r.isNull("prioridadedata"));
        EXPECT_TRUE(r.isNull("prioridadepais"));
        if (i == 1) {
            EXPECT_EQ(r.value("protocolo").toString(), QString("850180012345"));
            EXPECT_EQ(r.value("dataprotocolo").toDate(), QDate(2018, 4, 3));
            EXPECT_EQ(r.value("codserv").toString(), QString("3361"));
            EXPECT_EQ(r.value("requerente").toString(), QString("JOÃO D'ÁVILA (BR/SP)"));
            EXPECT_EQ(r.value("procuradorpeticao").toString(), QString("MARIA PEÇANHA"));
            EXPECT_EQ(r.value("complemento").toString(), QString("Oposição de terceiro"));
        } else {
            EXPECT_TRUE(r.isNull("protocolo")) << i;
            EXPECT_TRUE(r.isNull("requerente")) << i;
            EXPECT_TRUE(r.isNull("complemento")) << i;  // <texto-complementar/> gives no text
        }
    }
    EXPECT_EQ(db.scalar("SELECT atualizado FROM Revistas WHERE revista=2500").toInt(), 0);
    EXPECT_EQ(db.scalar("SELECT rdata FROM Revistas WHERE revista=2500").toDate(), QDate(2018, 12, 11));
}

TEST_F(XmlReaderTest, CodigoFollowsTheDispatchesAndSkipsOneForAProcessWithout)
{
    QStringList body;
    body << processo("829900010", despachos({kSimpleDespacho, kSimpleDespacho}));
    body << processo("829900020", {"<sobrestadores>", "<sobrestador processo=\"811112223\" marca=\"X\"/>",
                                   "</sobrestadores>"});
    body << processo("829900030", despachos({"<despacho codigo=\"IPAS136\" nome=\"Sobrestamento\"/>"}) +
                                      QStringList{"<sobrestadores>",
                                                  "<sobrestador processo=\"822223334\" marca=\"Y\"/>",
                                                  "<sobrestador processo=\"003334445\" marca=\"Z\"/>",
                                                  "</sobrestadores>"});
    ASSERT_TRUE(read(issue(body)));
    EXPECT_EQ(target.registros, 3);
    Recordset r = rows("SELECT codigo, processo FROM RPI ORDER BY codigo");
    ASSERT_EQ(r.recordCount(), 3);
    EXPECT_EQ(r.at(0, "codigo").toInt(), 1);
    EXPECT_EQ(r.at(1, "codigo").toInt(), 2);
    EXPECT_EQ(r.at(2, "codigo").toInt(), 4);  // 3 is the process without a dispatch
    EXPECT_EQ(r.at(2, "processo").toInt(), 82990003);

    Recordset c = rows("SELECT * FROM PROCREFREVISTA ORDER BY codigo");
    ASSERT_EQ(c.recordCount(), 3);
    EXPECT_EQ(c.at(0, "numproc").toInt(), 81111222);
    EXPECT_EQ(c.at(0, "ordemproc").toInt(), 3);
    EXPECT_EQ(c.at(0, "despacho").toString(), QString());
    EXPECT_EQ(c.at(1, "codigo").toInt(), 2);
    EXPECT_EQ(c.at(1, "numproc").toInt(), 82222333);
    EXPECT_EQ(c.at(1, "ordemproc").toInt(), 4);
    EXPECT_EQ(c.at(1, "despacho").toString(), QString("IPAS136"));
    EXPECT_EQ(c.at(2, "numproc").toInt(), 333444);
    EXPECT_EQ(c.at(2, "revista").toInt(), 2500);
}

TEST_F(XmlReaderTest, DispatchClosesItselfOnlyWhenItsTagEndsSlashGt)
{
    // "e/ou" in the name does not close the dispatch: its text follows.
    QStringList body = processo(
        "829900010", despachos({"<despacho codigo=\"IPAS024\" nome=\"Indeferimento e/ou arquivamento\">",
                                "<texto-complementar>Ver parecer</texto-complementar>", "</despacho>",
                                "<despacho codigo=\"IPAS009\" nome=\"Publicação e/ou exame\"/>"}));
    ASSERT_TRUE(read(issue(body))) << ui.messages.value(0).text.toStdString();
    EXPECT_EQ(one("complemento").toString(), QString("Ver parecer"));
    EXPECT_EQ(one("despacho", 2).toString(), QString("IPAS009"));

    // A text after a dispatch that closed itself is out of place.
    body = processo("829900099", despachos({kSimpleDespacho, "<texto-complementar>x</texto-complementar>"}));
    EXPECT_FALSE(read(issue(body, 2501)));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.lastMessage().text, QString("Erro no layout do arquivo xml - Processo = 829900099"));
    EXPECT_EQ(ui.lastMessage().style, 16);
    EXPECT_EQ(ui.lastMessage().title, QString());
    // Rolled back: the issue staged before is still there, and no row of 2501.
    EXPECT_EQ(db.count("RPI"), 2);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Revistas WHERE revista=2501").toInt(), 0);
    EXPECT_EQ(target.registros, 0);
}

TEST_F(XmlReaderTest, PetitionsRequerentesAndTheirAttorneys)
{
    const QStringList body = processo(
        "829900010",
        despachos({"<despacho codigo=\"IPAS270\" nome=\"Anotação\">",
                   "<protocolo numero=\"810000000001\" data=\"01/02/2018\" codigoServico=\"349\"/>",
                   "<procurador>Ana Souza</procurador>",  // in the dispatch: the process's attorney
                   "</despacho>",
                   "<despacho codigo=\"IPAS271\" nome=\"Transferência\">",
                   "<protocolo numero=\"810000000002\" data=\"31/02/2018\" CODIGOSERVICO=\"350\">",
                   "<requerente nome-razao-social=\"ACME CORPORATION\"",
                   "pais=\"US\"/>",
                   "<cedente nome-razao-social=\"X\" pais=\"BR\" uf=\"RJ\"/>",
                   "<cessionario nome-razao-social=\"ACME CORPORATION\" pais=\"US\"/>",
                   "<procurador>Luís Araújo</procurador>",
                   "</protocolo>",
                   "</despacho>",
                   "<despacho codigo=\"IPAS272\" nome=\"Outra\">",
                   "<protocolo numero=\"810000000003\" codigoServico=\"351\">",
                   "<requerente nome-razao-social=\"SÓ NOME\"/>",
                   "</protocolo>",
                   "</despacho>"}));
    ASSERT_TRUE(read(issue(body))) << ui.messages.value(0).text.toStdString();
    Recordset r = rpi();
    ASSERT_EQ(r.recordCount(), 3);
    EXPECT_EQ(r.at(0, "protocolo").toString(), QString("810000000001"));
    EXPECT_EQ(r.at(0, "codserv").toString(), QString("349"));
    EXPECT_TRUE(r.at(0, "procuradorpeticao").isNull());
    EXPECT_EQ(r.at(0, "procurador").toString(), QString("ANA SOUZA"));
    EXPECT_EQ(r.at(1, "requerente").toString(), QString("ACME CORPORATION (US)"));
    EXPECT_EQ(r.at(1, "codserv").toString(), QString("350"));
    EXPECT_TRUE(r.at(1, "dataprotocolo").isNull()) << "31/02 is no date";
    EXPECT_EQ(r.at(1, "procuradorpeticao").toString(), QString("LUÍS ARAÚJO"));
    EXPECT_EQ(r.at(2, "requerente").toString(), QString("SÓ NOME"));
    EXPECT_TRUE(r.at(2, "dataprotocolo").isNull());
}

TEST_F(XmlReaderTest, HoldersPrioritiesAndClasses)
{
    QStringList body;
    // Holder without pais=: Brazilian, empty state. Two priorities: the first is staged.
    body << processo("829900010",
                     despachos({kSimpleDespacho}) +
                         QStringList{"<titulares>", "<titular nome-razao-social=\"JOSÉ / FILHOS\"/>",
                                     "<titular nome-razao-social=\"OUTRO\" pais=\"FR\"/>", "</titulares>",
                                     "<prioridade-unionista>",
                                     "<prioridade data=\"13/04/2017\" numero=\"302017000111\" pais=\"DE\"/>",
                                     "</prioridade-unionista>",
                                     "<prioridade-unionista>",
                                     "<prioridade data=\"14/04/2017\" numero=\"302017000222\" pais=\"FR\"/>",
                                     "</prioridade-unionista>",
                                     "<classes-vienna edicao=\"4\">", "<classe-vienna codigo=\"26.1.1\"/>",
                                     "<classe-vienna codigo=\"27.5.1\"/>", "</classes-vienna>",
                                     "<lista-classe-nice>", "<classe-nice codigo=\"09\">",
                                     "<especificacao>Aparelhos</especificacao>", "<status>Em vigor</status>",
                                     "</classe-nice>", "<classe-nice codigo=\"25\" edicao=\"11\">",
                                     "<especificacao>Roupas, calçados</especificacao>",
                                     "<status>Em vigor</status>", "</classe-nice>", "</lista-classe-nice>"});
    // A foreign holder first; the national class with its subclasses; the older priority form.
    body << processo("829900020",
                     despachos({kSimpleDespacho}) +
                         QStringList{"<titulares>", "<titular nome-razao-social=\"ACME\" pais=\"US\"/>",
                                     "</titulares>", "<prioridades>",
                                     "<prioridade-unionista numero=\"US-77\" data=\"01/01/2017\" pais=\"US\"/>",
                                     "</prioridades>", "<classe-nacional codigo=\"25\">",
                                     "<sub-classes-nacional>", "<sub-classe-nacional codigo=\"10\"/>",
                                     "<sub-classe-nacional codigo=\"20\"/>", "</sub-classes-nacional>",
                                     "</classe-nacional>"});
    // A holder written as an element directly in the process.
    body << processo("829900030",
                     despachos({kSimpleDespacho}) +
                         QStringList{"<titular pais=\"BR\" uf=\"RS\">",
                                     "<nome-razao-social>SIMÕES &amp; CIA</nome-razao-social>", "</titular>"});
    ASSERT_TRUE(read(issue(body))) << ui.messages.value(0).text.toStdString();
    Recordset r = rpi();
    ASSERT_EQ(r.recordCount(), 3);
    EXPECT_EQ(r.at(0, "titular").toString(), QString("JOSÉ / FILHOS"));
    EXPECT_EQ(r.at(0, "titularpais").toString(), QString("BR/"));
    EXPECT_EQ(r.at(0, "prioridadenum").toString(), QString("302017000111"));
    EXPECT_EQ(r.at(0, "prioridadedata").toDate(), QDate(2017, 4, 13));
    EXPECT_EQ(r.at(0, "prioridadepais").toString(), QString("DE"));
    EXPECT_EQ(r.at(0, "cfe").toString(), QString("26.1.1;27.5.1"));
    EXPECT_EQ(r.at(0, "cferev").toInt(), 4);
    EXPECT_EQ(r.at(0, "nclclasse").toInt(), 25);  // the last class of the list
    EXPECT_EQ(r.at(0, "nclver").toInt(), 11);
    EXPECT_EQ(r.at(0, "especificacao").toString(), QString("Roupas, calçados"));
    EXPECT_TRUE(r.at(0, "classe").isNull());

    EXPECT_EQ(r.at(1, "titularpais").toString(), QString("US"));
    EXPECT_EQ(r.at(1, "prioridadenum").toString(), QString("US-77"));
    EXPECT_EQ(r.at(1, "classe").toString(), QString("25.10;25.20"));
    EXPECT_TRUE(r.at(1, "cfe").isNull());
    EXPECT_TRUE(r.at(1, "nclclasse").isNull());
    EXPECT_TRUE(r.at(1, "cferev").isNull());

    EXPECT_EQ(r.at(2, "titular").toString(), QString("SIMÕES & CIA"));
    EXPECT_EQ(r.at(2, "titularpais").toString(), QString("BR/RS"));
}

TEST_F(XmlReaderTest, NaturezaAndApresentacaoAsTheJournalWritesThem)
{
    const QList<QPair<QString, QString>> cases = {
        {"apresentacao=\"Nominativa\" natureza=\"De Produto\"", "N|P"},
        {"apresentacao=\"Figurativa\" natureza=\"De Serviço\"", "F|S"},
        {"apresentacao=\"Tridimensional\" natureza=\"Certific.\"", "T|C"},
        {"apresentacao=\"Mista\" natureza=\"Certificação\"", "M|C"},
        {"apresentacao=\"Mista\" natureza=\"Coletiva\"", "M|K"},
        {"apresentacao=\"Sonora\" natureza=\"Indicação Geográfica\"", "Sonora|G"},
        {"apresentacao=\"\" natureza=\"Outra\"", "|P"},
        {"apresentacao=\"Mista\" natureza=\"\"", "M|"},
        {"apresentacao=\"Mista\"", "M|"},
    };
    QStringList body;
    for (int i = 0; i < cases.size(); ++i)
        body << processo(QStringLiteral("8299000%1").arg(i, 2, 10, QLatin1Char('0')),
                         despachos({kSimpleDespacho}) + QStringList{"<marca " + cases[i].first + "/>"});
    ASSERT_TRUE(read(issue(body))) << ui.messages.value(0).text.toStdString();
    Recordset r = rpi();
    ASSERT_EQ(r.recordCount(), cases.size());
    for (int i = 0; i < cases.size(); ++i) {
        const QStringList want = cases[i].second.split('|');
        EXPECT_EQ(r.at(i, "apresentacao").toString(), want[0]) << cases[i].first.toStdString();
        EXPECT_EQ(r.at(i, "natureza").toString(), want[1]) << cases[i].first.toStdString();
    }
}

TEST_F(XmlReaderTest, MarkNamesJoinsAndUpperCasing)
{
    QStringList body;
    body << processo("829900010",
                     despachos({kSimpleDespacho}) +
                         QStringList{"<marca apresentacao=\"Nominativa\" natureza=\"De Produto\">", "<nome>Ação",
                                     "Construção Úmida &amp; cia</nome>", "</marca>", "<lista-classe-nice>",
                                     "<classe-nice codigo=\"35\">", "<especificacao>Publici", "dade; gestão",
                                     "</especificacao>", "</classe-nice>", "</lista-classe-nice>",
                                     "<apostila>Sem direito", " ao uso</apostila>", "<procurador>Dr. Ju",
                                     "ca</procurador>"});
    body << processo("829900020", despachos({"<despacho codigo=\"IPAS400\" nome=\"Concessão\">",
                                              "<texto-complementar>primeira", "segunda",
                                              "</texto-complementar>", "</despacho>"}) +
                                      QStringList{"<marca apresentacao=\"Mista\" natureza=\"De Produto\">",
                                                  "<nome>Sol Nascente</nome>", "<traducao>Rising sun, große &amp; über</traducao>",
                                                  "</marca>"},
                     " data-deposito=\"02/05/2008\" data-concessao=\"10/12/2018\" data-vigencia=\"10/12/2028\"");
    ASSERT_TRUE(read(issue(body))) << ui.messages.value(0).text.toStdString();
    Recordset r = rpi();
    ASSERT_EQ(r.recordCount(), 2);
    // Upper-cased once decoded: accented letters get their capitals too.
    EXPECT_EQ(r.at(0, "marca").toString(), QString("AÇÃO CONSTRUÇÃO ÚMIDA & CIA"));
    EXPECT_EQ(r.at(0, "especificacao").toString(), QString("Publicidade; gestão"));
    EXPECT_EQ(r.at(0, "apostila").toString(), QString("Sem direito ao uso"));
    EXPECT_EQ(r.at(0, "procurador").toString(), QString("DR. JUCA"));
    // The translation replaces the name, upper-cased the same way ("ß" has no
    // single capital and stays).
    EXPECT_EQ(r.at(1, "marca").toString(), QString("RISING SUN, GROßE & ÜBER"));
    EXPECT_EQ(r.at(1, "complemento").toString(), QString("primeira segunda "));
    EXPECT_EQ(r.at(1, "concessao").toDate(), QDate(2018, 12, 10));
    EXPECT_EQ(r.at(1, "vigencia").toDate(), QDate(2028, 12, 10));
    EXPECT_EQ(r.at(1, "deposito").toDate(), QDate(2008, 5, 2));
}

TEST_F(XmlReaderTest, LfOnlyFilesReadLikeCrLfFiles)
{
    const QStringList body =
        processo("829900010", despachos({kSimpleDespacho}) +
                                  QStringList{"<marca apresentacao=\"Mista\" natureza=\"De Produto\">",
                                              "<nome>Lua</nome>", "</marca>"});
    ASSERT_TRUE(read(issue(body, 2500, "11/12/2018", "\n")));
    EXPECT_EQ(one("marca").toString(), QString("LUA"));
    EXPECT_EQ(db.count("RPI"), 1);
}

TEST_F(XmlReaderTest, ReReadingAnIssueKeepsItsAppliedFlagAndTakesTheNewDate)
{
    const QStringList body = processo("829900010", despachos({kSimpleDespacho}));
    ASSERT_TRUE(read(issue(body)));
    db.db().execute("UPDATE Revistas SET atualizado=1, codrevproc=77 WHERE revista=2500");
    ASSERT_TRUE(read(issue(body + processo("829900020", despachos({kSimpleDespacho})), 2500, "12/12/2018")));
    EXPECT_EQ(db.count("Revistas"), 1);
    EXPECT_EQ(db.scalar("SELECT atualizado FROM Revistas").toInt(), 1);
    EXPECT_EQ(db.scalar("SELECT codrevproc FROM Revistas").toInt(), 77);
    EXPECT_EQ(db.scalar("SELECT rdata FROM Revistas").toDate(), QDate(2018, 12, 12));
    EXPECT_EQ(db.count("RPI"), 2);
}

TEST_F(XmlReaderTest, NoFixedLimitsPerProcess)
{
    QStringList inner;
    for (int i = 1; i <= 35; ++i) inner << QStringLiteral("<despacho codigo=\"IPAS%1\" nome=\"x\"/>").arg(i, 3, 10, QLatin1Char('0'));
    QStringList more{"<titulares>"};
    for (int i = 1; i <= 33; ++i) more << QStringLiteral("<titular nome-razao-social=\"T%1\" pais=\"BR\" uf=\"SP\"/>").arg(i);
    more << "</titulares>" << "<sobrestadores>";
    for (int i = 1; i <= 120; ++i) more << QStringLiteral("<sobrestador processo=\"%1\"/>").arg(810000000 + i * 10);
    more << "</sobrestadores>";
    QStringList body = processo("829900010", despachos(inner) + more);
    body << processo("829900020", despachos({kSimpleDespacho}));
    ASSERT_TRUE(read(issue(body))) << ui.messages.value(0).text.toStdString();
    EXPECT_EQ(db.count("RPI"), 36);
    EXPECT_EQ(db.count("PROCREFREVISTA"), 120);
    EXPECT_EQ(one("despacho", 35).toString(), QString("IPAS035"));
    EXPECT_EQ(one("processo", 36).toInt(), 82990002);
    EXPECT_EQ(db.scalar("SELECT MAX(numproc) FROM PROCREFREVISTA").toInt(), 81000120);
}

TEST_F(XmlReaderTest, MissingOrOddAttributesAndOverlongValues)
{
    const QString longName(900, QLatin1Char('N'));
    const QStringList body = processo(
        "829900010",
        despachos({"<despacho codigo=\"IPAS1234567\"/>", "<despacho codigo=\"IP\"/>"}) +
            QStringList{"<titulares>", "<titular nome-razao-social=\"" + longName + "\" pais=\"BR\"/>", "</titulares>",
                        "<marca apresentacao=\"Nominativa\" natureza=\"De Produto\">",
                        "<nome>" + QString(300, QLatin1Char('m')) + "</nome>", "</marca>",
                        "<classes-vienna>", "<classe-vienna/>", "</classes-vienna>",
                        "<lista-classe-nice>", "<classe-nice>", "</classe-nice>", "</lista-classe-nice>"},
        " data-deposito=\"xx/05/2008\" data-concessao=\"\"");
    ASSERT_TRUE(read(issue(body))) << ui.messages.value(0).text.toStdString();
    Recordset r = rpi();
    ASSERT_EQ(r.recordCount(), 2);
    EXPECT_EQ(r.at(0, "despacho").toString(), QString("IPAS123"));
    EXPECT_EQ(r.at(1, "despacho").toString(), QString("IP"));
    EXPECT_TRUE(r.at(0, "deposito").isNull());
    EXPECT_TRUE(r.at(0, "concessao").isNull());
    EXPECT_EQ(r.at(0, "titular").toString(), longName.left(680));
    EXPECT_EQ(r.at(0, "titularpais").toString(), QString("BR/"));
    EXPECT_EQ(r.at(0, "marca").toString(), QString(250, QLatin1Char('M')));
    EXPECT_EQ(col(r.at(0, "cfe")), "<Null>");
    EXPECT_EQ(col(r.at(0, "cferev")), "<Null>");
    EXPECT_EQ(col(r.at(0, "nclclasse")), "<Null>");
}

TEST_F(XmlReaderTest, ValuesCutToTheirColumnsKeepWholeCharacters)
{
    // Characters outside the 16-bit range count as one and are never halved.
    const QString smile = QString::fromUcs4(U"\U0001F600");
    const QStringList body = processo(
        "829900010", despachos({kSimpleDespacho}) +
                         QStringList{"<titulares>",
                                     "<titular nome-razao-social=\"" + QString(679, QLatin1Char('N')) + smile + smile +
                                         "\" pais=\"BR\"/>",
                                     "</titulares>", "<marca apresentacao=\"Nominativa\">",
                                     "<nome>" + QString(249, QLatin1Char('m')) + smile + "x</nome>", "</marca>"});
    ASSERT_TRUE(read(issue(body))) << ui.messages.value(0).text.toStdString();
    EXPECT_EQ(one("marca").toString(), QString(249, QLatin1Char('M')) + smile);
    EXPECT_EQ(one("titular").toString(), QString(679, QLatin1Char('N')) + smile);
}

TEST_F(XmlReaderTest, LayoutErrorsRollBackAndNameTheProcess)
{
    ASSERT_TRUE(read(issue(processo("829900010", despachos({kSimpleDespacho})))));

    struct Case {
        QByteArray bytes;
        QString message;
    };
    const QString noEnd = "Erro no layout do arquivo xml - o arquivo termina sem a tag '</revista>'";
    const QString noRevista = "Erro no layout do arquivo xml - tag '<revista' não é a segunda linha do arquivo";
    const QString noDispatch = "A revista não foi lida; nada foi alterado no banco de dados.\n"
                               "Erro na leitura: o arquivo da revista não contém nenhum processo com despacho";
    QByteArray truncated = issue(processo("829900020", despachos({kSimpleDespacho})), 2600);
    truncated.chop(QByteArray("</revista>\r\n").size());
    QByteArray unclosed = issue(processo("829900020", despachos({kSimpleDespacho})) +
                                    QStringList{"<processo numero=\"829900030\">", "<apostila>sem fim"},
                                2600);
    const QList<Case> cases = {
        {issue({"<processo data-deposito=\"01/01/2010\">", "</processo>"}, 2600),
         "Erro no layout do arquivo xml - Processo = 999999999"},
        {issue(processo("829900020", despachos({"<despacho nome=\"sem codigo\"/>"})), 2600),
         "Erro no layout do arquivo xml - Processo = 829900020"},
        {issue(processo("829900020", {"<titulares>", "<titular nome-razao-social=\"A\" pais=\"US\">", "</titulares>"}),
               2600),
         "Erro no layout do arquivo xml - Processo = 829900020"},
        {issue({"<despachos>"}, 2600), "Erro no layout do arquivo xml - Processo = 999999999"},
        {truncated, noEnd},
        {unclosed, noEnd},
        {kHead.toUtf8() + "\r\n<revista numero=\"2600\" data=\"01/01/2019\">", noEnd},
        {kHead.toUtf8() + "\r\n<outra>\r\n</revista>\r\n", noRevista},
        {kHead.toUtf8(), noRevista},
        {QByteArray(), noRevista},
        // Nothing to stage: no process, or processes without a dispatch.
        {issue({}, 2600), noDispatch},
        {issue(processo("829900020", {"<marca apresentacao=\"Nominativa\">", "<nome>X</nome>", "</marca>"}), 2600),
         noDispatch},
    };
    for (const Case& c : cases) {
        ui.clear();
        target = XmlReaderValues();
        EXPECT_FALSE(read(c.bytes)) << c.message.toStdString();
        ASSERT_EQ(ui.messages.size(), 1) << c.message.toStdString();
        EXPECT_EQ(ui.lastMessage().text, c.message);
        EXPECT_EQ(ui.lastMessage().style, 16);
        EXPECT_EQ(db.count("RPI"), 1) << c.message.toStdString();
        EXPECT_EQ(one("processo").toInt(), 82990001);
        EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Revistas WHERE revista=2600").toInt(), 0);
    }
}
