#pragma once
// Result pages for the output tests: processes written to a fresh database
// and read back with the result grid's select list.

#include "support/TestDb.h"

#include <QString>

namespace fixture {

inline const QString kPageSelect = QStringLiteral(
    "SELECT first 1000 skip 0 r.processo, cast(calc_cd(r.processo)as char(9))procdv, r.revista rpi, "
    "r.despacho as desp, r.codserv, (select rdata from Revistas rev where rev.revista = r.revista)datarpi, "
    "r.deposito, r.vigencia, r.marca, r.classe,r.titular,r.titularpais, r.cgccpf,"
    "cast(fmtinteger(r.nclclasse,2)as char(3))nclclasse,(Select pc.procurador from Procuradores pc "
    "where pc.codprocurador=r.codprocurador)procurador from Processos r where ");

// One process; empty texts are written as Null.
struct Process {
    int processo = 0;
    int revista = 2150;
    QString despacho = QStringLiteral("IPAS009");
    QString codserv = QStringLiteral("CODSERV-X");
    QString deposito = QStringLiteral("1999-12-31");  // yyyy-mm-dd or empty
    QString vigencia;
    QString marca = QStringLiteral("MARCA");
    QString classe;
    QString titular = QStringLiteral("TITULAR");
    QString titularpais = QStringLiteral("SP");
    QString cgccpf;
    int nclclasse = -1;  // -1 = Null
    int codprocurador = 0;
};

inline QString lit(const QString& s)
{
    return s.isEmpty() ? QStringLiteral("NULL") : QLatin1Char('\'') + QString(s).replace(QStringLiteral("'"), QStringLiteral("''")) + QLatin1Char('\'');
}

inline void addIssue(TestDb& t, int revista, const QString& date)
{
    t.db().execute(QStringLiteral("INSERT INTO Revistas (revista, rdata, atualizado) VALUES (%1, '%2', '1')")
                       .arg(revista)
                       .arg(date));
}

inline int addAttorney(TestDb& t, const QString& name)
{
    t.db().execute(QStringLiteral("INSERT INTO Procuradores (procurador) VALUES (%1)").arg(lit(name)));
    return t.scalar(QStringLiteral("SELECT codprocurador FROM Procuradores WHERE procurador=%1").arg(lit(name))).toInt();
}

inline void addProcess(TestDb& t, const Process& p)
{
    t.db().execute(
        QStringLiteral("INSERT INTO Processos (processo, revista, despacho, codserv, deposito, vigencia, marca, "
                       "classe, titular, titularpais, cgccpf, nclclasse, codprocurador) VALUES "
                       "(%1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, %13)")
            .arg(p.processo)
            .arg(p.revista)
            .arg(lit(p.despacho), lit(p.codserv), lit(p.deposito), lit(p.vigencia), lit(p.marca), lit(p.classe),
                 lit(p.titular), lit(p.titularpais), lit(p.cgccpf))
            .arg(p.nclclasse < 0 ? QStringLiteral("NULL") : QString::number(p.nclclasse))
            .arg(p.codprocurador ? QString::number(p.codprocurador) : QStringLiteral("NULL")));
}

// The page of every process, in process order.
inline Recordset page(TestDb& t, const QString& where = QStringLiteral("1=1 order by r.processo"))
{
    return t.db().query(kPageSelect + where);
}

}  // namespace fixture
