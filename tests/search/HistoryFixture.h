#pragma once
// A database holding one process with its history and the dispatches that
// cite it, and the recording seams; screens left loaded are unloaded.

#include "search/frmHistorico.h"
#include "search/frmHistoricoRef.h"
#include "search/frmPesqProc.h"
#include "support/TestDb.h"
#include "shell/Globals.h"
#include "support/TestUi.h"

#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// Process 12345, shown as 000123455.
inline const QString kProcdv = QStringLiteral("000123455");

class HistoryTest : public ::testing::Test {
protected:
    TestDb t;
    TestUi u;

    HistoryTest()
    {
        t.writeIni(t.dir());
        Globals::IniFilePath = Globals::FindIniFile(t.dir());
        // A modal window is shown and its queued activation runs.
        u.onModal = [](QWidget* w) {
            show(w);
            return 0;
        };
    }
    ~HistoryTest() override
    {
        if (frmHistoricoRef::isLoaded()) frmHistoricoRef::instance().Sair_Click();
        if (frmHistorico::isLoaded()) frmHistorico::instance().Sair_Click();
        if (frmPesqProc::isLoaded()) frmPesqProc::instance().Sair_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static void show(QWidget* w)
    {
        w->show();
        QCoreApplication::processEvents();
    }

    void sql(const char* s) { t.db().execute(QString::fromUtf8(s)); }

    // Drops a table, so that statements on it fail (prepared statements
    // that hold it are let go first).
    void dropTable(const char* table)
    {
        DbTransaction tr;
        tr.commit();
        sql((std::string("DROP TABLE ") + table).c_str());
    }

    void fill()
    {
        sql("INSERT INTO Procuradores (codprocurador, procurador) VALUES (2, 'FULANO ADVOGADOS')");
        sql("INSERT INTO Revistas (revista, rdata, atualizado) VALUES (2100, '01.02.2011', 1)");
        sql("INSERT INTO Revistas (revista, rdata, atualizado) VALUES (2200, '15.03.2013', 1)");
        sql("INSERT INTO Processos (processo, revista, marca, titular, titularpais, cgccpf, apresentacao, natureza, "
            "nclver, nclclasse, classe, cfe, codprocurador, deposito, concessao, vigencia, prioridadenum, "
            "prioridadedata, prioridadepais, especificacao, apostila) VALUES (12345, 2200, 'ALFA', 'ALFA LTDA', "
            "'BR/SP', '12.345.678/0001-90', 'M', 'S', 10, 35, '40.15', '26.1.1', 2, '10.01.2010', '20.05.2012', "
            "'20.05.2022', '123', '01.01.2009', 'US', 'Serviços de comércio', 'Sem direito ao uso exclusivo')");
        // History: issue 2300 has no Revistas row; 2200 has two dispatches.
        sql("INSERT INTO RevProcs (codigo, processo, rpi, despacho) VALUES (1, 12345, 2100, 'IPAS009')");
        sql("INSERT INTO RevProcs (codigo, processo, rpi, despacho, codserv, protocolo, dataprotocolo, requerente, "
            "complemento) VALUES (2, 12345, 2200, 'IPAS158', '3371', '810000001', '01.03.2013', "
            "'EMPRESA REQUERENTE S.A.', 'Texto completo')");
        sql("INSERT INTO RevProcs (codigo, processo, rpi, despacho) VALUES (3, 12345, 2200, 'IPAS161')");
        sql("INSERT INTO RevProcs (codigo, processo, rpi, despacho) VALUES (4, 12345, 2300, 'IPAS400')");
        // Process 777 cites 12345 in two dispatches of one issue; a link
        // whose dispatch is gone is not counted.
        sql("INSERT INTO Processos (processo, marca) VALUES (777, 'BETA')");
        sql("INSERT INTO RevProcs (codigo, processo, rpi, despacho, complemento) VALUES (10, 777, 2200, 'IPAS024', "
            "'ver processo 000123455')");
        sql("INSERT INTO RevProcs (codigo, processo, rpi, despacho) VALUES (11, 777, 2200, 'IPAS025')");
        sql("INSERT INTO RevProcRef (codigo, refproc) VALUES (10, 12345)");
        sql("INSERT INTO RevProcRef (codigo, refproc) VALUES (11, 12345)");
        sql("INSERT INTO RevProcRef (codigo, refproc) VALUES (99, 12345)");
    }

    frmHistorico& openHistory(const QString& procdv = kProcdv)
    {
        ShowHistorico(procdv);
        return frmHistorico::instance();
    }
};
