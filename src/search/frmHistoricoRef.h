#pragma once
// The references screen: the dispatches of other processes that cite the
// process shown in the history screen. Opened only from that screen.

#include "shell/Db.h"
#include "shell/LoadedDialog.h"

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTableView;
class RecordsetModel;

namespace HistoricoRef {
// The citing dispatches of a process key, newest issue first, then the
// higher dispatch key first.
QString ReferencesSql(const QString& key);
}  // namespace HistoricoRef

class frmHistoricoRef : public LoadedDialog<frmHistoricoRef> {
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;
    QLabel* Numero_Processo = nullptr;
    QTableView* GridHistorico = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Sair = nullptr;

    DataControl Historico;
    RecordsetModel* model = nullptr;

    void Form_Load();
    void Form_Activate();
    void GridHistorico_DblClick();
    void Sair_Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    friend class LoadedDialog<frmHistoricoRef>;
    frmHistoricoRef();
};
