#include "frmPesqProc.h"

#include "ProcessNumber.h"
#include "frmHistorico.h"
#include "shell/DBSpecifics.h"
#include "shell/OneLineBox.h"
#include "shell/Ui.h"

#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const QString PesqProc::kTitle = QStringLiteral("Pesquisa por Processo");

QString PesqProc::CheckNumber(const QString& numProc)
{
    if (numProc.isEmpty()) return QString();
    if (numProc.size() != 9) return QStringLiteral("Número do Processo tem que ter 9 dígitos !");
    if (!ProcessNumber::AllDigits(numProc))
        return QStringLiteral("Número do Processo só pode ter caracteres entre 0 e 9 !");
    if (ProcessNumber::CheckDigit(numProc.left(8)) != numProc[8].unicode() - '0')
        return QStringLiteral("Número do Processo com dígito de verificação errado !");
    return QString();
}

QString PesqProc::LookupSql(const QString& key)
{
    return QStringLiteral(
               "SELECT r.processo, cast(calc_cd(r.processo)as char(9))procdv, r.deposito, r.marca, "
               "r.classe,r.titular,r.cgccpf,r.concessao,r.vigencia,r.apresentacao,r.natureza,r.cfe,"
               "r.especificacao,r.apostila,r.prioridadenum,r.prioridadedata,r.prioridadepais,r.nclver,"
               "cast(fmtinteger(r.nclclasse,2)as char(3))nclclasse,r.titularpais,(Select procurador from "
               "Procuradores where codprocurador=r.codprocurador)procurador from Processos r where processo=")
        + key;
}

frmPesqProc::frmPesqProc()
{
    setObjectName(QStringLiteral("frmPesqProc"));
    setWindowTitle(kWindowTitle);

    auto* top = new QVBoxLayout(this);
    top->setSpacing(12);
    top->setContentsMargins(16, 16, 16, 16);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    auto* head = new QVBoxLayout(Shape1);
    Label1 = new QLabel(QStringLiteral("Pesquisa por Número do Processo"), Shape1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(Label1->font().pointSizeF() * 1.5);
    f.setBold(true);
    Label1->setFont(f);
    Label1->setAlignment(Qt::AlignCenter);
    head->addWidget(Label1);
    top->addWidget(Shape1);

    Shape2 = new QFrame(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setFrameShape(QFrame::Box);
    auto* row = new QHBoxLayout(Shape2);
    row->setContentsMargins(16, 12, 16, 12);
    Label3 = new QLabel(QStringLiteral("Número do Processo :"), Shape2);
    Label3->setObjectName(QStringLiteral("Label3"));
    NumProc = new QLineEdit(Shape2);
    NumProc->setObjectName(QStringLiteral("NumProc"));
    NumProc->setMaxLength(9);
    OneLineBox(NumProc);
    NumProc->setFixedWidth(NumProc->fontMetrics().horizontalAdvance(QStringLiteral("000000000000")) + 16);
    Label3->setBuddy(NumProc);
    row->addStretch();
    row->addWidget(Label3);
    row->addWidget(NumProc);
    row->addStretch();
    top->addWidget(Shape2);

    auto* buttons = new QHBoxLayout;
    Pesquisar = new QPushButton(QStringLiteral("Pesquisar"), this);
    Pesquisar->setObjectName(QStringLiteral("Pesquisar"));
    Pesquisar->setDefault(true);
    Sair = new QPushButton(QStringLiteral("Sair"), this);
    Sair->setObjectName(QStringLiteral("Sair"));
    // Enter on the focused Sair closes the screen, as its click does; it
    // never runs the lookup through the default Pesquisar.
    Sair->setAutoDefault(true);
    buttons->addStretch();
    buttons->addWidget(Pesquisar);
    buttons->addWidget(Sair);
    buttons->addStretch();
    top->addLayout(buttons);

    connect(Pesquisar, &QPushButton::clicked, this, [this] { Pesquisar_Click(); });
    connect(Sair, &QPushButton::clicked, this, [this] { Sair_Click(); });

    Form_Load();
}

void frmPesqProc::Form_Load()
{
    ProcessoAdodc.CommandType = DataControl::Text;
    ProcessoAdodc.ConnectionString = BuildConnectionString();
    ProcessoAdodc.CursorLocation = CursorLoc;
}

short frmPesqProc::calc_check_digit() const
{
    const QString t = NumProc->text();
    if (t.size() != 9 || !ProcessNumber::AllDigits(t)) return 1;
    return ProcessNumber::CheckDigit(t.left(8)) == t[8].unicode() - '0' ? 0 : 1;
}

void frmPesqProc::Pesquisar_Click()
{
    const QString number = NumProc->text();
    if (number.isEmpty()) return;
    const QString problem = PesqProc::CheckNumber(number);
    if (!problem.isEmpty()) {
        MsgBox(problem, vb::Critical, PesqProc::kTitle);
        NumProc->setFocus();
        return;
    }

    BusyPointer busy;
    ProcessoAdodc.RecordSource = PesqProc::LookupSql(ProcessNumber::ProcessKey(number));
    try {
        ProcessoAdodc.Refresh();
    } catch (const DbError& e) {
        ui().setPointer(vb::Default);
        busy.release();
        MsgBox(QStringLiteral("Erro no banco de dados ao procurar o processo ") + number + QStringLiteral(":\n")
                   + e.message(),
               vb::Critical, PesqProc::kTitle);
        NumProc->setFocus();
        return;
    }
    if (ProcessoAdodc.recordset().recordCount() == 0) {
        ui().setPointer(vb::Default);
        busy.release();
        MsgBox(QStringLiteral("Processo não existente !"), vb::Information, PesqProc::kTitle);
        NumProc->selectAll();
        return;
    }
    // The history screen restores the pointer once it has loaded.
    busy.release();
    ShowHistorico(number);
    // The number looked up stays, selected: the next number typed replaces
    // it instead of being cut off by the full box.
    NumProc->selectAll();
}

void frmPesqProc::Sair_Click() { closeAndUnload(); }


void ShowPesqProc() { ui().showModal(&frmPesqProc::instance()); }
