#pragma once
// Processes written into a test database for the search screens.

#include "search/MarkSearch.h"
#include "support/TestDb.h"

#include <QString>
#include <ostream>

// Readable texts in failure reports.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace searchfixture {

inline QString quoted(const QString& s)
{
    return s.isNull() ? QStringLiteral("NULL") : QLatin1Char('\'') + QString(s).replace(QStringLiteral("'"), QStringLiteral("''")) + QLatin1Char('\'');
}

struct Process {
    int processo = 0;
    QString marca = QStringLiteral("MARCA");
    int revista = 2100;
    QString despacho = QStringLiteral("IPAS009");
    QString deposito = QString();  // dd.mm.yyyy or null
    QString titular = QStringLiteral("TITULAR LTDA");
    QString titularpais = QStringLiteral("BR/SP");
    QString cgccpf = QString();
    int nclclasse = 0;  // 0 = Null
    QString classe = QString();
    int codprocurador = 0;
};

// One process with its mark keys computed by the program's own functions.
inline void addProcess(TestDb& t, const Process& p)
{
    const marksearch::MarkKeys k = marksearch::ComputeKeys(p.marca);
    t.db().execute(QStringLiteral("INSERT INTO Processos (processo, revista, despacho, deposito, marca, marcaclean, "
                                  "marcaphon1, marcaphon2, titular, titularpais, cgccpf, nclclasse, classe, codprocurador) "
                                  "VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, %13, %14)")
                       .arg(p.processo)
                       .arg(p.revista)
                       .arg(quoted(p.despacho), quoted(p.deposito), quoted(p.marca), quoted(k.limpa),
                            quoted(k.fonetica1), quoted(k.fonetica2), quoted(p.titular), quoted(p.titularpais),
                            quoted(p.cgccpf))
                       .arg(p.nclclasse ? QString::number(p.nclclasse) : QStringLiteral("NULL"))
                       .arg(quoted(p.classe))
                       .arg(p.codprocurador));
}

// count processes numbered from first, all of one mark, written by the
// database in one statement.
inline void addMany(TestDb& t, int first, int count, const QString& marca)
{
    const marksearch::MarkKeys k = marksearch::ComputeKeys(marca);
    t.db().execute(QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < %1) DO BEGIN "
                                  "INSERT INTO Processos (processo, revista, despacho, marca, marcaclean, marcaphon1, "
                                  "marcaphon2, titular, codprocurador) VALUES (%2 + :i, 2100, 'IPAS009', %3, %4, %5, %6, "
                                  "'TITULAR ' || :i, 0); i = i + 1; END END")
                       .arg(count)
                       .arg(first)
                       .arg(quoted(marca), quoted(k.limpa), quoted(k.fonetica1), quoted(k.fonetica2)));
}

}  // namespace searchfixture
