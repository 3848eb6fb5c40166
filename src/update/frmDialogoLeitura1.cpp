#include "frmDialogoLeitura1.h"

#include "journal/TextReader.h"
#include "shell/DateBox.h"
#include "shell/OneLineBox.h"
#include "shell/Ui.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmDialogoLeitura1::frmDialogoLeitura1(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDialogoLeitura1"));
    setWindowTitle(kWindowTitle);

    auto box = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setMinimumWidth(110);
        OneLineBox(e);
        return e;
    };

    Label1 = new QLabel(QStringLiteral("Leitura de Todas as RPIs de 1964 a 2180"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(12);
    Label1->setFont(f);
    Label1->setAlignment(Qt::AlignCenter);

    NumRevista = box("NumRevista");
    NumRevista->setReadOnly(true);
    DataRevista = new DateBox(this);
    DataRevista->setObjectName(QStringLiteral("DataRevista"));
    DataRevista->setDate(appClock().today());
    NomeArq = box("NomeArq");
    NomeArq->setVisible(false);
    RegistrosLidos = box("RegistrosLidos");
    NumProcs = box("NumProcs");
    NumNewProcs = box("NumNewProcs");
    NumProcuradores = box("NumProcuradores");
    NumProcsRef = box("NumProcsRef");

    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addSpacing(8);
    auto* grid = new QGridLayout;
    const struct {
        const char* name;
        const char* text;
        QWidget* edit;
    } rows[] = {
        {"Label2", "Número da Revista :", NumRevista},
        {"Label3", "Data da Revista :", DataRevista},
        {"Label4", "Número de Processos Lidos :", RegistrosLidos},
        {"Label5", "Número de Processos Atualizados :", NumProcs},
        {"Label6", "Número de Novos Processos :", NumNewProcs},
        {"Label7", "Número de Novos Procuradores :", NumProcuradores},
        {"Label8", "Num Processos referenciados :", NumProcsRef},
    };
    int r = 0;
    for (const auto& row : rows) {
        auto* l = new QLabel(QString::fromUtf8(row.text), this);
        l->setObjectName(QLatin1String(row.name));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(l, r, 0);
        grid->addWidget(row.edit, r, 1);
        ++r;
    }
    layout->addLayout(grid);
    layout->addWidget(NomeArq);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addStretch();
    layout->addLayout(buttons);

    connect(OK, &QPushButton::clicked, this, [this] { OK_Click(); });
}

void frmDialogoLeitura1::showText(QLineEdit* box, const QString& text)
{
    box->setText(text);
    box->repaint();
}

void frmDialogoLeitura1::OK_Click()
{
    // The reader and the transfer let events run: no second run inside one.
    if (running_) return;
    running_ = true;
    OK->setEnabled(false);

    bool stopped = false;
    QDate date = kBatchStartDate;
    for (int n = kBatchFirstIssue; n <= kBatchLastIssue; ++n) {
        NomeArq->setText(BatchArchivePath(n));
        showText(NumRevista, QStringLiteral("RPI ") + QString::number(n));
        date = date.addDays(7);
        DataRevista->setDate(date);
        DataRevista->repaint();

        if (!QFileInfo(NomeArq->text()).isFile()) {
            MsgBox(QStringLiteral("Arquivo da RPI %1 não encontrado:\n%2").arg(n).arg(NomeArq->text()), vb::Critical,
                   QStringLiteral("Leitura de Revista"));
            continue;
        }
        // An issue that was not read leaves staging with an earlier issue,
        // which must not be applied under this number.
        if (!LerRevistaTxt()) continue;
        if (AtualizaProcessos() == BatchIssueResult::Failed) {
            stopped = true;
            break;
        }
    }

    running_ = false;
    OK->setEnabled(true);
    if (!stopped) MsgBox(QStringLiteral("Final de Leituras e atualizações"));
}

bool frmDialogoLeitura1::LerRevistaTxt()
{
    TextReader reader;
    reader.showCount = [this](int count) { showText(RegistrosLidos, QString::number(count)); };
    reader.letEventsRun = [] { QCoreApplication::processEvents(); };
    TxtReadRequest request;
    request.archivePath = NomeArq->text();
    request.numRevista = NumRevista->text();
    request.issueDate = DataRevista->date();
    request.variant = TxtVariant::Batch;
    return reader.LerRevistaTxt(request);
}

BatchIssueResult frmDialogoLeitura1::AtualizaProcessos()
{
    return ApplyBatchIssue(BatchIssueNumber(NumRevista->text()), this);
}

void frmDialogoLeitura1::setCounter(TransferCounter counter, int value)
{
    QLineEdit* b = nullptr;
    switch (counter) {
    case TransferCounter::NumProcs: b = NumProcs; break;
    case TransferCounter::NumNewProcs: b = NumNewProcs; break;
    case TransferCounter::NumProcuradores: b = NumProcuradores; break;
    case TransferCounter::NumProcsRef: b = NumProcsRef; break;
    case TransferCounter::ProcsAtualizar: return;  // the loader has no such box
    }
    showText(b, QString::number(value));
}

void frmDialogoLeitura1::yieldEvents() { QCoreApplication::processEvents(); }

void frmDialogoLeitura1::reject()
{
    // Esc and the close box do nothing while the run goes on.
    if (running_) return;
    QDialog::reject();
}

void frmDialogoLeitura1::closeEvent(QCloseEvent* event)
{
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
