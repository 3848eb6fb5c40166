#include "frmHistoricoRef.h"

#include "ProcessNumber.h"
#include "shell/DBSpecifics.h"
#include "shell/RecordsetModel.h"
#include "shell/Ui.h"

#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

QString HistoricoRef::ReferencesSql(const QString& key)
{
    return QStringLiteral(
               "Select r.processo, cast(calc_cd(r.processo) as char(9)) Procdv, r.rpi revista, r.despacho as desp, "
               "r.codserv, (select rdata from Revistas rev where rev.revista=r.rpi) datarpi, r.complemento from "
               "RevProcRef rf inner join Revprocs r on r.codigo=rf.codigo where rf.refproc =")
        + key + QStringLiteral(" order by r.rpi desc, r.codigo desc");
}

frmHistoricoRef::frmHistoricoRef()
{
    setObjectName(QStringLiteral("frmHistóricoRef"));
    setWindowTitle(kWindowTitle);
    resize(860, 480);

    auto* top = new QVBoxLayout(this);
    auto* titleRow = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("Processos com despachos que referenciaram o Processo "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Numero_Processo = new QLabel(QStringLiteral("numproc"), this);
    Numero_Processo->setObjectName(QStringLiteral("Número_Processo"));
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 1.25);
    big.setBold(true);
    Label1->setFont(big);
    Numero_Processo->setFont(big);
    titleRow->addWidget(Label1);
    titleRow->addWidget(Numero_Processo);
    titleRow->addStretch();
    top->addLayout(titleRow);

    model = new RecordsetModel(this);
    model->setColumns({
        {QStringLiteral("Processo"), QStringLiteral("procdv"), {}},
        {QStringLiteral("Data"), QStringLiteral("datarpi"), {}},
        {QStringLiteral("RPI"), QStringLiteral("revista"), {}},
        {QStringLiteral("Desp"), QStringLiteral("desp"), {}},
        {QStringLiteral("CodServ"), QStringLiteral("codserv"), {}},
        {QStringLiteral("Complemento"), QStringLiteral("complemento"), {}},
    });
    model->setRecordset(&Historico.recordset());
    GridHistorico = ReadOnlyGrid(this, QStringLiteral("GridHistórico"), model, {90, 80, 55, 60, 80});
    top->addWidget(GridHistorico, 1);

    Label2 = new QLabel(
        QStringLiteral("Dê um duplo clique na coluna \"Complemento\" para ler o complemento inteiro do despacho"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    top->addWidget(Label2);

    auto* buttons = new QHBoxLayout;
    Sair = new QPushButton(QStringLiteral("Sair"), this);
    Sair->setObjectName(QStringLiteral("Sair"));
    Sair->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(Sair);
    top->addLayout(buttons);

    connect(GridHistorico, &QTableView::doubleClicked, this, [this] { GridHistorico_DblClick(); });
    connect(Sair, &QPushButton::clicked, this, [this] { Sair_Click(); });

    Form_Load();
}

void frmHistoricoRef::Form_Load()
{
    Historico.CommandType = DataControl::Text;
    Historico.ConnectionString = BuildConnectionString();
    Historico.CursorLocation = CursorLoc;
}

void frmHistoricoRef::Form_Activate()
{
    Historico.RecordSource = HistoricoRef::ReferencesSql(ProcessNumber::ProcessKey(Numero_Processo->text()));
    try {
        Historico.Refresh();
    } catch (const DbError& e) {
        model->refresh();
        MsgBox(QStringLiteral("Erro no banco de dados ao ler as referências do processo ") + Numero_Processo->text()
                   + QStringLiteral(":\n") + e.message(),
               vb::Critical, QStringLiteral("Histórico do Processo"));
        return;
    }
    model->refresh();
}

void frmHistoricoRef::GridHistorico_DblClick()
{
    const QModelIndex at = GridHistorico->currentIndex();
    if (!at.isValid() || at.column() != 5) return;
    ShowCellText(GridHistorico, *model, at, QStringLiteral("Texto completo do complemento"));
}

void frmHistoricoRef::Sair_Click() { closeAndUnload(); }

void frmHistoricoRef::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())  // shown by the program, not restored by the window system
        QMetaObject::invokeMethod(this, &frmHistoricoRef::Form_Activate, Qt::QueuedConnection);
}

