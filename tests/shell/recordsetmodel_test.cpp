#include "shell/RecordsetModel.h"
#include "support/TestDb.h"

#include <gtest/gtest.h>

TEST(RecordsetModel, BindsByNameFormatsDatesAndFollowsTheSort)
{
    TestDb t;
    t.db().execute("INSERT INTO Processos (processo, marca, deposito) VALUES ('2','Beta','05.03.2010')");
    t.db().execute("INSERT INTO Processos (processo, marca, deposito) VALUES ('1','Alfa',NULL)");
    Recordset rs = t.db().query("SELECT processo, marca, deposito FROM Processos");
    RecordsetModel m;
    m.setColumns({{"Processo", "PROCESSO", {}}, {"Depósito", "deposito", {}}, {"Falta", "nao_existe", {}}});
    m.setRecordset(&rs);
    ASSERT_EQ(m.rowCount(), 2);
    EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), QString("Depósito"));
    rs.setSort("processo ASC");
    m.refresh();
    EXPECT_EQ(m.data(m.index(0, 0)).toString(), QString("1"));
    EXPECT_EQ(m.data(m.index(0, 1)).toString(), QString(""));
    EXPECT_EQ(m.data(m.index(1, 1)).toString(), QString("05/03/2010"));
    EXPECT_EQ(m.data(m.index(1, 2)).toString(), QString(""));
}
