#include "frmDialogoLeitura.h"

#include "ArchiveName.h"
#include "TextReader.h"
#include "XmlReader.h"
#include "shell/BoxChecks.h"
#include "shell/DateBox.h"
#include "shell/Db.h"
#include "shell/OneLineBox.h"
#include "shell/Ui.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kDesignLblRPI = QStringLiteral("Número da última RPI lida :");

template <class W>
W* named(W* w, const char* name)
{
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

}  // namespace

frmDialogoLeitura::frmDialogoLeitura(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDialogoLeitura"));
    setWindowTitle(kWindowTitle);

    Label1 = named(new QLabel(QStringLiteral("Leitura da Revista de Marcas")), "Label1");
    QFont title(QStringLiteral("Arial"));
    title.setPointSize(14);
    title.setBold(true);
    Label1->setFont(title);
    Label1->setAlignment(Qt::AlignCenter);
    LblRPI = named(new QLabel(kDesignLblRPI), "LblRPI");
    SelecFile = named(new QPushButton(QStringLiteral("Selecionar Revista")), "SelecFile");
    NomeArq = named(new QLineEdit, "NomeArq");
    Label4 = named(new QLabel(QStringLiteral("Número da Revista :")), "Label4");
    NumRevista = named(new QLineEdit, "NumRevista");
    // Both come from the chosen archive's checked name; the user cannot change them.
    NomeArq->setReadOnly(true);
    NumRevista->setReadOnly(true);
    Label2 = named(new QLabel(QStringLiteral("Data da Revista :")), "Label2");
    DataRevista = named(new DateBox, "DataRevista");
    DataRevista->setInvalidMessage(kInvalidIssueDate, kArchiveNameTitle);
    Label3 = named(new QLabel(QStringLiteral("Número de Processos Lidos :")), "Label3");
    RegistrosLidos = named(new QLineEdit, "RegistrosLidos");
    for (QLineEdit* e : {NomeArq, NumRevista, RegistrosLidos}) OneLineBox(e);
    OK = named(new QPushButton(QStringLiteral("OK")), "OK");
    Cancelar = named(new QPushButton(QStringLiteral("Sair")), "Cancelar");
    OK->setAutoDefault(false);
    Cancelar->setAutoDefault(false);
    SelecFile->setAutoDefault(false);

    // Two decorative shapes: one around the archive, one around the issue.
    auto* Shape1 = named(new QFrame, "Shape1");
    Shape1->setFrameShape(QFrame::Box);
    auto* top = new QVBoxLayout(Shape1);
    top->addWidget(LblRPI);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(SelecFile);
    fileRow->addWidget(NomeArq, 1);
    top->addLayout(fileRow);

    auto* Shape2 = named(new QFrame, "Shape2");
    Shape2->setFrameShape(QFrame::Box);
    auto* grid = new QGridLayout(Shape2);
    grid->addWidget(Label4, 0, 0);
    grid->addWidget(NumRevista, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(DataRevista, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(RegistrosLidos, 2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OK);
    buttons->addWidget(Cancelar);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Shape1);
    layout->addWidget(Shape2);
    layout->addLayout(buttons);
    resize(560, 300);

    connect(SelecFile, &QPushButton::clicked, this, &frmDialogoLeitura::SelecFile_Click);
    connect(OK, &QPushButton::clicked, this, &frmDialogoLeitura::OK_Click);
    connect(Cancelar, &QPushButton::clicked, this, &frmDialogoLeitura::Cancelar_Click);
    // The date is checked as its box is left; Sair leaves without it.
    auto* checks = new BoxChecks(this);
    checks->add(DataRevista, [this] { return DataRevista_Validate(); });
    checks->exempt(Cancelar);
    resetControls();
}

void frmDialogoLeitura::resetControls()
{
    LblRPI->setText(kDesignLblRPI);
    NomeArq->setText(QStringLiteral("NomeArquivo"));
    NumRevista->clear();
    DataRevista->setDate(appClock().today());
    DataRevista->setEnabled(false);
    RegistrosLidos->clear();
    OK->setVisible(false);
}

void frmDialogoLeitura::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    resetControls();  // each opening starts afresh
    Form_Activate();
}

void frmDialogoLeitura::Form_Activate()
{
    try {
        DbConnection& db = DbConnection::instance();
        Recordset last = db.query(QStringLiteral("SELECT max(Revista) as revista FROM Revistas"));
        last.moveFirst();
        const QVariant revista = last.eof() ? QVariant() : last.value(QStringLiteral("revista"));
        if (revista.isNull()) {
            LblRPI->setText(QStringLiteral("Última RPI lida : nenhuma"));
            return;
        }
        Recordset row = db.query(QStringLiteral("SELECT Revista,rdata FROM Revistas where revista=") + revista.toString());
        row.moveFirst();
        QString text = QStringLiteral("Última RPI lida : ") + revista.toString() + QStringLiteral(" de ");
        if (!row.eof()) text += row.value(QStringLiteral("rdata")).toDate().toString(QStringLiteral("dd/MM/yyyy"));
        LblRPI->setText(text);
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("Não foi possível ler a última RPI lida.\nErro no banco de dados: ") + e.message(),
               vb::Critical, kArchiveNameTitle);
    }
}

void frmDialogoLeitura::SelecFile_Click()
{
    if (reading_) return;
    FileDialogRequest request;
    request.filter = QStringLiteral("*.zip|*.zip");
    request.defaultExt = QStringLiteral("*.zip");
    request.flags = 34822;
    request.title = QStringLiteral("|Selecione o Arquivo contendo a Revista a ser Lida");
    const QString path = ui().openFile(request);
    if (path.isEmpty()) return;
    const ArchiveNameCheck check = CheckArchiveName(path);
    if (!check.ok) {
        MsgBox(check.message, vb::Critical, kArchiveNameTitle);
        return;
    }
    NumRevista->setText(QStringLiteral("RPI ") + check.digits);
    NomeArq->setText(path);
    DataRevista->setDate(appClock().today());
    DataRevista->setEnabled(true);
    OK->setVisible(true);
    DataRevista->setFocus();
}

bool frmDialogoLeitura::DataRevista_Validate()
{
    if (DataRevista->date().isValid()) return true;
    MsgBox(kInvalidIssueDate, vb::Critical, kArchiveNameTitle);
    return false;
}

void frmDialogoLeitura::OK_Click()
{
    if (reading_) return;
    // The date typed must be a date: none is read under another one.
    if (!DataRevista_Validate()) {
        DataRevista->setFocus(Qt::OtherFocusReason);
        return;
    }
    const long long issue = LeadingNumber(NumRevista->text().mid(4, 4));
    const bool read = issue < 2220 ? LerRevistaTxt() : LerRevistaXml();
    // A refused read has said why and left staging as it was: the dialog
    // stays open for another archive.
    if (read) done(QDialog::Accepted);
}

void frmDialogoLeitura::Cancelar_Click()
{
    if (reading_) return;
    done(QDialog::Rejected);
}

void frmDialogoLeitura::reject()
{
    if (reading_) return;  // no closing in the middle of a read
    QDialog::reject();
}

void frmDialogoLeitura::closeEvent(QCloseEvent* event)
{
    if (reading_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmDialogoLeitura::setReading(bool on)
{
    reading_ = on;
    SelecFile->setEnabled(!on);
    OK->setEnabled(!on);
    Cancelar->setEnabled(!on);
    DataRevista->setEnabled(!on);
}

bool frmDialogoLeitura::LerRevistaTxt()
{
    TextReader reader;
    reader.showCount = [this](int n) {
        RegistrosLidos->setText(QString::number(n));
        RegistrosLidos->repaint();
    };
    reader.letEventsRun = [] { QCoreApplication::processEvents(); };
    const TxtReadRequest request{NomeArq->text(), NumRevista->text(), DataRevista->date(), TxtVariant::Dialog};
    setReading(true);
    const bool read = reader.LerRevistaTxt(request);
    setReading(false);
    return read;
}

bool frmDialogoLeitura::LerRevistaXml()
{
    // The reader takes the issue's number and date from the file and
    // writes them into the dialog's controls.
    class Target : public XmlReaderTarget {
    public:
        Target(QLineEdit* num, DateBox* date, QLineEdit* count) : num_(num), date_(date), count_(count) {}
        QString numRevista() const override { return num_->text(); }
        void setNumRevista(const QString& text) override { num_->setText(text); }
        QDate dataRevista() const override { return date_->date(); }
        void setDataRevista(const QDate& date) override { date_->setDate(date); }
        void setRegistrosLidos(int count) override
        {
            count_->setText(QString::number(count));
            if (!shown_.isValid() || shown_.elapsed() >= 50) {
                count_->repaint();
                shown_.start();
            }
        }

    private:
        QLineEdit* num_;
        DateBox* date_;
        QLineEdit* count_;
        QElapsedTimer shown_;
    };
    Target target(NumRevista, DataRevista, RegistrosLidos);
    XmlReader reader(target);
    reader.letEventsRun = [] { QCoreApplication::processEvents(); };
    setReading(true);
    const bool read = reader.LerRevistaXml(NomeArq->text());
    setReading(false);
    return read;
}
