#include "frmAtualizaBD.h"

#include "shell/OneLineBox.h"
#include "shell/OperationLock.h"
#include "shell/Ui.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Atualização de Banco de Dados");
const QString kQuestion = QStringLiteral("Atualiza Banco de Dados ?");

QString dateText(const QVariant& v)
{
    const QDate d = v.toDate();
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

}  // namespace

UpdateDialogState ReadUpdateDialogState(DbConnection& db)
{
    UpdateDialogState s;
    // What staging holds may change under another desk's read: that desk
    // is named first. A lock that cannot be looked at is reported by SIM.
    try {
        if (const auto holder = OperationLock::otherHolder(kApplyingIssue, db))
            s.busy = OperationLock::busyText(*holder);
    } catch (const DbError&) {
    }
    // The last issue applied.
    QVariant last;
    {
        Recordset rs = db.query(QStringLiteral("SELECT max(Revista) as revista FROM Revistas where atualizado=1"));
        if (rs.recordCount() > 0) {
            rs.moveFirst();
            last = rs.value(QStringLiteral("revista"));
        }
    }
    if (last.isNull()) {
        s.lblRpi = QStringLiteral("Última RPI atualizada : nenhuma");
    } else {
        QVariant date;
        Recordset rs = db.query(QStringLiteral("SELECT Revista,rdata FROM Revistas where revista=") +
                                QString::number(last.toInt()));
        if (rs.recordCount() > 0) {
            rs.moveFirst();
            date = rs.value(QStringLiteral("rdata"));
        }
        s.lblRpi = QStringLiteral("Última RPI atualizada : ") + QString::number(last.toInt()) + QStringLiteral(" de ") +
                   dateText(date);
    }

    // The staged issue, from its first staged row (an XML-layout issue may
    // have no row 1 when its first process has no dispatch).
    {
        Recordset rs = db.query(QStringLiteral("SELECT first 1 Revista FROM RPI order by codigo"));
        if (rs.recordCount() > 0) {
            rs.moveFirst();
            s.stagedIssue = rs.value(QStringLiteral("Revista"));
        }
    }
    if (s.stagedIssue.isNull()) {
        s.notice = QStringLiteral("Não há RPI lida para atualizar: leia uma revista antes.");
        return s;
    }
    const QString staged = QString::number(s.stagedIssue.toInt());
    Recordset rs = db.query(QStringLiteral("SELECT rdata FROM Revistas Where Revista=") + staged);
    if (rs.recordCount() == 0) {
        s.notice = QStringLiteral("A RPI %1 lida não está registrada em Revistas: leia a revista novamente.").arg(staged);
        return s;
    }
    rs.moveFirst();
    s.stagedDate = rs.value(QStringLiteral("rdata")).toDate();
    // Rows of more than one issue cannot be applied under one issue's
    // bookkeeping.
    const QStringList issues = StagedIssues(db);
    if (issues.size() > 1)
        s.notice = QStringLiteral("Os processos lidos são de mais de uma RPI (%1): leia a revista novamente.")
                       .arg(issues.join(QStringLiteral(", ")));
    return s;
}

frmAtualizaBD::frmAtualizaBD(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAtualizaBD"));
    setWindowTitle(kWindowTitle);
    setModal(true);

    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto box = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setStyleSheet(QStringLiteral("QLineEdit { background-color: #E0E0E0; }"));
        e->setMinimumWidth(110);
        OneLineBox(e);
        return e;
    };

    Label1 = label("Label1", QStringLiteral("Atualização do Banco de Dados"));
    QFont f1(QStringLiteral("Arial"));
    f1.setPointSize(12);
    Label1->setFont(f1);
    Label1->setAlignment(Qt::AlignCenter);
    LblRPI = label("LblRPI", QStringLiteral("Número da última RPI lida :"));
    LblRPI->setAlignment(Qt::AlignCenter);
    D = label("D", kQuestion);
    QFont f2 = D->font();
    f2.setPointSize(18);
    D->setFont(f2);
    D->setAlignment(Qt::AlignCenter);
    D->setWordWrap(true);

    SelecFile = new QPushButton(QStringLiteral("SIM"), this);
    SelecFile->setObjectName(QStringLiteral("SelecFile"));
    SelecFile->setAutoDefault(false);
    Cancelar = new QPushButton(QStringLiteral("NÃO"), this);
    Cancelar->setObjectName(QStringLiteral("Cancelar"));
    Cancelar->setAutoDefault(false);

    NumRevista = box("NumRevista");
    NumRevista->setReadOnly(true);
    DataRevista = box("DataRevista");
    ProcsAtualizar = box("ProcsAtualizar");
    NumProcs = box("NumProcs");
    NumNewProcs = box("NumNewProcs");
    NumProcuradores = box("NumProcuradores");
    NumProcsRef = box("NumProcsRef");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(LblRPI);
    layout->addSpacing(8);
    layout->addWidget(D);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SelecFile);
    buttons->addWidget(Cancelar);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addSpacing(8);
    auto* grid = new QGridLayout;
    const struct {
        const char* name;
        const char* text;
        QLineEdit* edit;
    } rows[] = {
        {"Label4", "Número da Revista :", NumRevista},
        {"Label2", "Data da Revista :", DataRevista},
        {"Label8", "Número de Processos a Atualizar :", ProcsAtualizar},
        {"Label3", "Número de Processos Atualizados :", NumProcs},
        {"Label5", "Número de Novos Processos :", NumNewProcs},
        {"Label6", "Número de Novos Procuradores :", NumProcuradores},
        {"Label7", "Num Processos referenciados :", NumProcsRef},
    };
    int r = 0;
    for (const auto& row : rows) {
        QLabel* l = label(row.name, QString::fromUtf8(row.text));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(l, r, 0);
        grid->addWidget(row.edit, r, 1);
        ++r;
    }
    layout->addLayout(grid);

    connect(SelecFile, &QPushButton::clicked, this, [this] { SelecFile_Click(); });
    connect(Cancelar, &QPushButton::clicked, this, [this] { Cancelar_Click(); });
}

void frmAtualizaBD::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A new showing starts with empty counters.
    for (QLineEdit* e : {ProcsAtualizar, NumProcs, NumNewProcs, NumProcuradores, NumProcsRef}) e->clear();
    lastResult_ = TransferResult::Cancelled;
    try {
        Form_Activate();
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("Erro ao ler as revistas do banco de dados:\n") + e.message(), vb::Critical, kTitle);
    }
}

void frmAtualizaBD::Form_Activate()
{
    const UpdateDialogState s = ReadUpdateDialogState();
    LblRPI->setText(s.lblRpi);
    showStaged({s.stagedIssue.isNull() ? 0 : s.stagedIssue.toInt(), s.stagedDate});
    D->setText(!s.busy.isEmpty() ? s.busy : s.canApply() ? kQuestion : s.notice);
}

void frmAtualizaBD::showStaged(const StagedIssue& staged)
{
    shown_ = staged;
    NumRevista->setText(staged.issue ? QString::number(staged.issue) : QString());
    DataRevista->setText(staged.date.isValid() ? staged.date.toString(QStringLiteral("dd/MM/yyyy")) : QString());
}

void frmAtualizaBD::SelecFile_Click()
{
    if (running_) return;
    // What staging holds, before the apply lock is taken and again once it
    // is held. Only the issue the boxes show is applied: another one is
    // shown and asked about first.
    auto check = [this] {
        StagedIssueCheck c;
        UpdateDialogState s;
        try {
            s = ReadUpdateDialogState();
        } catch (const DbError& e) {
            c.refusal = QStringLiteral("Erro ao ler as revistas do banco de dados:\n") + e.message();
            c.style = vb::Critical;
            return c;
        }
        if (!s.canApply()) {
            D->setText(s.notice);
            c.refusal = s.notice;
            c.style = vb::Exclamation;
            return c;
        }
        c.issue = s.stagedIssue.toInt();
        c.date = s.stagedDate;
        c.options = OptionsForIssue(c.issue);
        return c;
    };
    auto askAgain = [this](const StagedIssue& staged) {
        showStaged(staged);
        D->setText(kQuestion);
        const QString date =
            staged.date.isValid() ? staged.date.toString(QStringLiteral("dd/MM/yyyy")) : QStringLiteral("sem data");
        return MsgBox(QStringLiteral("A RPI lida não é mais a que esta tela mostrava: outra estação leu a RPI %1, de %2. "
                                     "Nada foi alterado no banco de dados.\n\nAtualiza Banco de Dados com a RPI %1 ?")
                          .arg(staged.issue)
                          .arg(date),
                      int(vb::YesNo) + vb::Question, kTitle) == vb::Yes;
    };

    running_ = true;
    sinceYield_.invalidate();
    SelecFile->setEnabled(false);
    Cancelar->setEnabled(false);
    IssueTransfer transfer(TransferOptions::textLayout(), this);
    const TransferResult result = transfer.run(kApplyingIssue, check, shown_, askAgain);
    running_ = false;
    SelecFile->setEnabled(true);
    Cancelar->setEnabled(true);
    if (result == TransferResult::Refused) return;
    lastResult_ = result;
    if (lastResult_ == TransferResult::Done) {
        accept();
    } else if (lastResult_ == TransferResult::Failed) {
        // Rolled back: the counts of the failed run were never written.
        for (QLineEdit* e : {NumProcs, NumNewProcs, NumProcuradores, NumProcsRef}) e->setText(QStringLiteral("0"));
    }
}

void frmAtualizaBD::Cancelar_Click()
{
    if (running_) return;
    QDialog::reject();
}

void frmAtualizaBD::reject()
{
    // Esc and the close box do nothing while a transfer runs.
    if (running_) return;
    QDialog::reject();
}

void frmAtualizaBD::closeEvent(QCloseEvent* event)
{
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

QLineEdit* frmAtualizaBD::box(TransferCounter counter) const
{
    switch (counter) {
    case TransferCounter::ProcsAtualizar: return ProcsAtualizar;
    case TransferCounter::NumProcs: return NumProcs;
    case TransferCounter::NumNewProcs: return NumNewProcs;
    case TransferCounter::NumProcuradores: return NumProcuradores;
    case TransferCounter::NumProcsRef: return NumProcsRef;
    }
    return NumProcs;
}

void frmAtualizaBD::setCounter(TransferCounter counter, int value)
{
    // Painted by the next yield, at most a few hundredths of a second later.
    box(counter)->setText(QString::number(value));
}

void frmAtualizaBD::yieldEvents()
{
    // Window messages (painting the counters included) run every 40 ms: once
    // per row they would cost as much as the transfer itself.
    if (sinceYield_.isValid() && sinceYield_.elapsed() < 40) return;
    QCoreApplication::processEvents();
    sinceYield_.start();
}
