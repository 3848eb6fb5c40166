#include "frmHistorico.h"

#include "ProcessNumber.h"
#include "frmHistoricoRef.h"
#include "rptProcesso.h"
#include "shell/DBSpecifics.h"
#include "shell/RecordsetModel.h"
#include "shell/Ui.h"

#include <QCloseEvent>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace Historico {

QString ProcessSql(const QString& key)
{
    return QStringLiteral(
               "SELECT r.processo, cast(calc_cd(r.processo)as char(9))procdv, r.deposito, r.marca, "
               "r.classe,r.titular,r.cgccpf,r.concessao,r.vigencia,r.apresentacao,r.natureza,r.cfe,"
               "r.especificacao,r.apostila,r.prioridadenum,r.prioridadedata,r.prioridadepais,r.nclver ncl,"
               "cast(fmtinteger(r.nclclasse,2)as char(3))nclclasse,r.titularpais,(Select procurador from "
               "Procuradores where codprocurador=r.codprocurador)procurador from Processos r where processo=")
        + key;
}

QString HistorySql(const QString& key)
{
    return QStringLiteral(
               "Select a.rdata, r.rpi revista, r.despacho, r.codserv, r.protocolo, r.dataprotocolo, "
               "r.requerente, r.codprocuradorpeticao, r .complemento from RevProcs r left join revistas a on "
               "r.rpi = a.revista where r.processo=")
        + key + QStringLiteral(" order by r.rpi desc");
}

QString CountSql(const QString& key)
{
    return QStringLiteral(
               "Select count(*) qtde from RevProcRef rf inner join RevProcs r on r.codigo = rf.codigo "
               "where rf.refproc=")
        + key;
}

std::optional<QString> PresentationName(const QString& code)
{
    if (code == QLatin1String("N")) return QStringLiteral("Nominativa");
    if (code == QLatin1String("M")) return QStringLiteral("Mista");
    if (code == QLatin1String("F")) return QStringLiteral("Figurativa");
    if (code == QLatin1String("T")) return QStringLiteral("Tridimensional");
    return std::nullopt;
}

std::optional<QString> NatureName(const QString& code)
{
    static const std::pair<const char*, const char*> names[] = {
        {"C", "Certific"},    {"G", "Genérica"},    {"K", "Coletiva"},         {"P", "De Produto"},
        {"S", "De Serviço"},  {"E", "Específica"},  {"R", "Propaganda"},       {"D", "de certifi."},
        {"X", "exp. de pr."}, {"F", "de Certificação"},
    };
    for (const auto& [c, name] : names)
        if (code == QLatin1String(c)) return QString::fromUtf8(name);
    return std::nullopt;
}

QString Classification(const QString& ncl, const QString& nclClasse, const QString& classAntiga)
{
    if (ncl.isEmpty()) return classAntiga;
    bool ok = false;
    const double edition = ncl.trimmed().toDouble(&ok);
    if (ok && edition == 7) return QStringLiteral("NCL(7) ") + nclClasse;
    if (ok && edition == 8) return QStringLiteral("NCL(8) ") + nclClasse;
    return QStringLiteral("NCL(") + ncl + QStringLiteral(") ") + nclClasse;
}

QString ProcRefCaption(qint64 n)
{
    return QStringLiteral("Existem ainda ") + QString::number(n)
        + QStringLiteral(" Processos que referenciam este Processo. Clique aqui para ver estas referências !");
}

QStringList ReportLines(const Shown& s)
{
    const QString gap(10, QLatin1Char(' '));
    return {
        QStringLiteral("Titular : ") + s.titular + gap + QStringLiteral("País/UF : ") + s.titPais + gap
            + QStringLiteral("CGC/CPF/INPI : ") + s.cgccpf,
        QStringLiteral("Marca : ") + s.marca + gap + QStringLiteral("Apresentação : ") + s.apresentacao + gap
            + QStringLiteral("Natureza : ") + s.natureza,
        QStringLiteral("Classe : ") + s.classific + gap + QStringLiteral("C.F.E. : ") + s.cfe + gap
            + QStringLiteral("Procurador : ") + s.procurador,
        QStringLiteral("Depósito : ") + s.deposito + gap + QStringLiteral("Concessão : ") + s.concessao + gap
            + QStringLiteral("Vigência : ") + s.vigencia + gap + QStringLiteral("Prioridade (Num Data País) : ")
            + s.priorNum + QStringLiteral("  ") + s.priorData + QStringLiteral("  ") + s.priorPais,
        QStringLiteral("Apostila : ") + s.apostila,
        s.especificacao,
        QStringLiteral("  "),
    };
}

QString ReportTitle(const QString& numeroProcesso) { return QStringLiteral("Histórico do Processo ") + numeroProcesso; }

}  // namespace Historico

namespace {

const QString kMessageTitle = QStringLiteral("Histórico do Processo");

QLineEdit* box(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    return e;
}

QLineEdit* hiddenValue(QWidget* parent, const QString& name)
{
    auto* e = box(parent, name);
    e->hide();
    return e;
}

}  // namespace

frmHistorico::frmHistorico()
{
    setObjectName(QStringLiteral("frmHistórico"));
    setWindowTitle(kWindowTitle);
    resize(1000, 720);

    auto* top = new QVBoxLayout(this);

    auto* titleRow = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("Histórico do Processo"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Numero_Processo = new QLabel(QStringLiteral("numproc"), this);
    Numero_Processo->setObjectName(QStringLiteral("Número_Processo"));
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    Label1->setFont(big);
    Numero_Processo->setFont(big);
    Numero_Processo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    titleRow->addWidget(Label1);
    titleRow->addWidget(Numero_Processo);
    titleRow->addStretch();
    top->addLayout(titleRow);

    Titular = box(this, QStringLiteral("Titular"));
    TitPais = box(this, QStringLiteral("TitPais"));
    CGCCPF = box(this, QStringLiteral("CGCCPF"));
    Marca = box(this, QStringLiteral("Marca"));
    Apresentacao = box(this, QStringLiteral("Apresentação"));
    Natureza = box(this, QStringLiteral("Natureza"));
    Classific = box(this, QStringLiteral("Classific"));
    CFE = box(this, QStringLiteral("CFE"));
    Procurador = box(this, QStringLiteral("Procurador"));
    Deposito = box(this, QStringLiteral("Depósito"));
    Concessao = box(this, QStringLiteral("Concessão"));
    Vigencia = box(this, QStringLiteral("Vigência"));
    PriorNum = box(this, QStringLiteral("PriorNum"));
    PriorData = box(this, QStringLiteral("PriorData"));
    PriorPais = box(this, QStringLiteral("PriorPais"));
    Apostila = box(this, QStringLiteral("Apostila"));
    Especificacao = new QPlainTextEdit(this);
    Especificacao->setObjectName(QStringLiteral("Especificação"));
    Especificacao->setReadOnly(true);
    Especificacao->setFixedHeight(Especificacao->fontMetrics().lineSpacing() * 4 + 10);

    Apresent = hiddenValue(this, QStringLiteral("Apresent"));
    Natureza1 = hiddenValue(this, QStringLiteral("Natureza1"));
    NCL = hiddenValue(this, QStringLiteral("NCL"));
    NCLClasse = hiddenValue(this, QStringLiteral("NCLClasse"));
    ClassAntiga = hiddenValue(this, QStringLiteral("ClassAntiga"));
    Origem = hiddenValue(this, QStringLiteral("Origem"));

    // Three label/box pairs a row; the first box of a row is the widest.
    auto* form = new QGridLayout;
    form->setHorizontalSpacing(8);
    auto put = [&](int row, int pair, const QString& caption, QWidget* w, int span = 1) {
        auto* l = new QLabel(caption, this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setBuddy(w);
        form->addWidget(l, row, pair * 2);
        form->addWidget(w, row, pair * 2 + 1, 1, span * 2 - 1);
    };
    put(0, 0, QStringLiteral("Titular :"), Titular);
    put(0, 1, QStringLiteral("País/UF :"), TitPais);
    put(0, 2, QStringLiteral("CGC/CPF/INPI :"), CGCCPF);
    put(1, 0, QStringLiteral("Marca :"), Marca);
    put(1, 1, QStringLiteral("Apresentação :"), Apresentacao);
    put(1, 2, QStringLiteral("Natureza :"), Natureza);
    put(2, 0, QStringLiteral("Classe :"), Classific);
    put(2, 1, QStringLiteral("C.F.E. :"), CFE);
    put(2, 2, QStringLiteral("Procurador :"), Procurador);
    put(3, 0, QStringLiteral("Depósito :"), Deposito);
    put(3, 1, QStringLiteral("Concessão :"), Concessao);
    put(3, 2, QStringLiteral("Vigência :"), Vigencia);
    put(4, 0, QStringLiteral("Prioridade Num :"), PriorNum);
    put(4, 1, QStringLiteral("Prioridade Data :"), PriorData);
    put(4, 2, QStringLiteral("Prioridade País :"), PriorPais);
    put(5, 0, QStringLiteral("Apostila :"), Apostila, 3);
    put(6, 0, QStringLiteral("Especificação :"), Especificacao, 3);
    form->setColumnStretch(1, 3);
    form->setColumnStretch(3, 1);
    form->setColumnStretch(5, 2);
    top->addLayout(form);

    Label14 = new QLabel(QStringLiteral("Duplo clique no campo \"Requerente\" para ler o nome inteiro do requerente, "
                                        "ou no campo  \"Complemento\" para ler o complemento inteiro"),
                         this);
    Label14->setObjectName(QStringLiteral("Label14"));
    Label14->setWordWrap(true);
    top->addWidget(Label14);

    // The waiting label takes the grid's place while the screen queries.
    auto* gridArea = new QWidget(this);
    auto* stack = new QGridLayout(gridArea);
    stack->setContentsMargins(0, 0, 0, 0);
    historyModel = new RecordsetModel(this);
    historyModel->setColumns({
        {QStringLiteral("Data"), QStringLiteral("rdata"), {}},
        {QStringLiteral("RPI"), QStringLiteral("revista"), {}},
        {QStringLiteral("Despacho"), QStringLiteral("despacho"), {}},
        {QStringLiteral("Cod. Serviço"), QStringLiteral("codserv"), {}},
        {QStringLiteral("   Protocolo"), QStringLiteral("protocolo"), {}},
        {QStringLiteral(" Data Protocolo"), QStringLiteral("dataprotocolo"), {}},
        {QStringLiteral("Requerente"), QStringLiteral("requerente"), {}},
        {QStringLiteral("Complemento"), QStringLiteral("complemento"), {}},
    });
    historyModel->setRecordset(&Historico.recordset());
    GridHistorico =
        ReadOnlyGrid(gridArea, QStringLiteral("GridHistórico"), historyModel, {80, 55, 75, 95, 110, 110, 220});
    LblAviso = new QLabel(QStringLiteral("Aguarde - Pesquisando o Banco de Dados !"), gridArea);
    LblAviso->setObjectName(QStringLiteral("LblAviso"));
    LblAviso->setAlignment(Qt::AlignCenter);
    QFont warn = LblAviso->font();
    warn.setBold(true);
    warn.setPointSizeF(warn.pointSizeF() * 1.3);
    LblAviso->setFont(warn);
    LblAviso->setStyleSheet(QStringLiteral("color: #b00000;"));
    LblAviso->hide();
    stack->addWidget(GridHistorico, 0, 0);
    stack->addWidget(LblAviso, 0, 0);
    gridArea->setMinimumHeight(200);
    top->addWidget(gridArea, 1);

    ProcRef = new QPushButton(QStringLiteral("Existem ainda xx Processos que referenciam este Processo. Clique aqui "
                                             "para ver estas referências !"),
                              this);
    ProcRef->setObjectName(QStringLiteral("ProcRef"));
    ProcRef->hide();
    top->addWidget(ProcRef);

    auto* buttons = new QHBoxLayout;
    VisImp = new QPushButton(QStringLiteral("Imprimir"), this);
    VisImp->setObjectName(QStringLiteral("VisImp"));
    Sair = new QPushButton(QStringLiteral("Sair"), this);
    Sair->setObjectName(QStringLiteral("Sair"));
    VisImp->setAutoDefault(false);
    Sair->setAutoDefault(false);
    ProcRef->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(VisImp);
    buttons->addWidget(Sair);
    top->addLayout(buttons);

    connect(GridHistorico, &QTableView::doubleClicked, this, [this] { GridHistorico_DblClick(); });
    connect(ProcRef, &QPushButton::clicked, this, [this] { ProcRef_Click(); });
    connect(VisImp, &QPushButton::clicked, this, [this] { VisImp_Click(); });
    connect(Sair, &QPushButton::clicked, this, [this] { Sair_Click(); });

    Form_Load();
}

void frmHistorico::Form_Load()
{
    for (DataControl* d : {&Historico, &ProcessoAdodc}) {
        d->CommandType = DataControl::Text;
        d->ConnectionString = BuildConnectionString();
        d->CursorLocation = CursorLoc;
    }
    Origem->setText(QStringLiteral("0"));
}

void frmHistorico::showProcessRow()
{
    const Recordset& rs = ProcessoAdodc.recordset();
    const bool any = rs.recordCount() > 0;
    auto text = [&](const char* column) {
        return any && rs.hasColumn(QLatin1String(column)) ? FormatCell(rs.at(0, QLatin1String(column))) : QString();
    };
    const std::pair<QLineEdit*, const char*> bound[] = {
        {Titular, "titular"},      {TitPais, "titularpais"},       {CGCCPF, "cgccpf"},
        {Marca, "marca"},          {CFE, "cfe"},                   {Procurador, "procurador"},
        {Deposito, "deposito"},    {Concessao, "concessao"},       {Vigencia, "vigencia"},
        {PriorNum, "prioridadenum"}, {PriorData, "prioridadedata"}, {PriorPais, "prioridadepais"},
        {Apostila, "apostila"},    {Apresent, "apresentacao"},     {Natureza1, "natureza"},
        {NCL, "ncl"},              {NCLClasse, "nclclasse"},       {ClassAntiga, "classe"},
    };
    for (const auto& [w, column] : bound) {
        w->setText(text(column));
        w->setCursorPosition(0);
    }
    Especificacao->setPlainText(text("especificacao"));
}

void frmHistorico::failed(const QString& what, const DbError& e)
{
    LblAviso->hide();
    GridHistorico->show();
    ui().setPointer(vb::Default);
    MsgBox(QStringLiteral("Erro no banco de dados ao ") + what + QStringLiteral(" do processo ")
               + Numero_Processo->text() + QStringLiteral(":\n") + e.message(),
           vb::Critical, kMessageTitle);
}

void frmHistorico::Form_Activate()
{
    if (Origem->text() == QLatin1String("1")) return;
    const QString key = ProcessNumber::ProcessKey(Numero_Processo->text());

    GridHistorico->hide();
    LblAviso->show();

    try {
        ProcessoAdodc.RecordSource = Historico::ProcessSql(key);
        ProcessoAdodc.Refresh();
    } catch (const DbError& e) {
        failed(QStringLiteral("ler os dados"), e);
        return;
    }
    showProcessRow();

    if (auto name = Historico::PresentationName(Apresent->text())) Apresentacao->setText(*name);
    if (auto name = Historico::NatureName(Natureza1->text())) Natureza->setText(*name);
    Classific->setText(Historico::Classification(NCL->text(), NCLClasse->text(), ClassAntiga->text()));
    Classific->setCursorPosition(0);

    ui().setPointer(vb::Hourglass);
    repaint();

    Historico.CursorLocation = 3;
    Historico.RecordSource = Historico::HistorySql(key);
    try {
        Historico.Refresh();
    } catch (const DbError& e) {
        historyModel->refresh();
        failed(QStringLiteral("ler o histórico"), e);
        return;
    }
    historyModel->refresh();

    LblAviso->hide();

    // A whole number of any size: a much-cited process has more than 32,767.
    qint64 n = 0;
    try {
        const Recordset rs = DbConnection::instance().query(Historico::CountSql(key));
        if (rs.recordCount() > 0) n = rs.at(0, QStringLiteral("qtde")).toLongLong();
    } catch (const DbError& e) {
        ProcRef->hide();
        failed(QStringLiteral("contar as referências"), e);
        return;
    }

    GridHistorico->show();
    if (n != 0) {
        ProcRef->setText(Historico::ProcRefCaption(n));
        ProcRef->show();
    } else {
        ProcRef->hide();
    }
    ui().setPointer(vb::Default);
}

void frmHistorico::GridHistorico_DblClick()
{
    const QModelIndex at = GridHistorico->currentIndex();
    if (!at.isValid()) return;
    QString title;
    if (at.column() == 6)
        title = QStringLiteral("Nome do Requerente");
    else if (at.column() == 7)
        title = QStringLiteral("Texto completo do complemento");
    else
        return;
    ShowCellText(GridHistorico, *historyModel, at, title);
}

void frmHistorico::ProcRef_Click()
{
    frmHistoricoRef& ref = frmHistoricoRef::instance();
    ref.Numero_Processo->setText(Numero_Processo->text());
    ui().showModal(&ref);
    Origem->setText(QStringLiteral("1"));
}

Historico::Shown frmHistorico::shown() const
{
    return {Titular->text(),    TitPais->text(),   CGCCPF->text(),    Marca->text(),     Apresentacao->text(),
            Natureza->text(),   Classific->text(), CFE->text(),       Procurador->text(), Deposito->text(),
            Concessao->text(),  Vigencia->text(),  PriorNum->text(),  PriorData->text(), PriorPais->text(),
            Apostila->text(),   Especificacao->toPlainText()};
}

void frmHistorico::VisImp_Click()
{
    if (Numero_Processo->text().isEmpty()) {
        MsgBox(QStringLiteral("Nenhum Processo a ser impresso !"), vb::Exclamation,
               QStringLiteral("Impressão de tabela"));
        return;
    }
    Report& report = rptProcesso();
    report.setDataSource(Historico);
    ReportSection* header = report.section(QStringLiteral("Section4"));
    const QStringList lines = Historico::ReportLines(shown());
    for (int i = 0; i < lines.size(); ++i)
        header->control(QStringLiteral("LblLinha%1").arg(i + 1))->caption = lines[i];
    report.title = Historico::ReportTitle(Numero_Processo->text());
    report.orientation = Report::Portrait;
    report.show();
    // Back from the preview the screen is active again.
    Form_Activate();
}

void frmHistorico::Sair_Click() { closeAndUnload(); }

void frmHistorico::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // Activated once it is on screen, so the waiting label can be seen.
    if (!e->spontaneous())  // shown by the program, not restored by the window system
        QMetaObject::invokeMethod(this, &frmHistorico::Form_Activate, Qt::QueuedConnection);
}


void ShowHistorico(const QString& procdv)
{
    frmHistorico& f = frmHistorico::instance();
    f.Numero_Processo->setText(procdv);
    ui().showModal(&f);
}
