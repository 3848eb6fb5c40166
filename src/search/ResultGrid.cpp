#include "ResultGrid.h"

#include "frmHistorico.h"
#include "output/ExportToExcel.h"
#include "output/rptGeral.h"
#include "shell/DBSpecifics.h"
#include "shell/Ui.h"
#include "shell/frmMenuPesquisas.h"

#include <QCloseEvent>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHash>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace resultgrid {

const QString kPlainSelectList = QStringLiteral(
    " r.processo, cast(calc_cd(r.processo)as char(9))procdv, r.revista rpi, r.despacho as desp, r.codserv, "
    "(select rdata from Revistas rev where rev.revista = r.revista)datarpi, r.deposito, r.vigencia, r.marca, "
    "r.classe,r.titular,r.titularpais, r.cgccpf,cast(fmtinteger(r.nclclasse,2)as char(3))nclclasse,"
    "(Select pc.procurador from Procuradores pc where pc.codprocurador=r.codprocurador)procurador "
    "from Processos r where ");

const QString kIssueJoinSelectList = QStringLiteral(
    " r.processo, cast(calc_cd(r.processo)as char(9))procdv, r.revista rpi, r.despacho as desp, r.codserv, "
    "(select rdata from Revistas rev where rev.revista = r.revista)datarpi, r.deposito, r.vigencia, r.marca, "
    "r.classe,r.titular,r.titularpais, r.cgccpf,cast(fmtinteger(r.nclclasse,2)as char(3))nclclasse,"
    "(Select pc.procurador from Procuradores pc where pc.codprocurador=r.codprocurador)procurador "
    "from (Processos r right join RevProcs rp on rp.processo = r.processo) where ");

QString PageQuery(qint32 offset, const QString& selectList, const QString& whereClause, const QString& orderBy)
{
    return QStringLiteral("SELECT first 1000 skip ") + QString::number(offset) + selectList + whereClause + orderBy;
}

Outcome FirstPageOutcome(int n)
{
    Outcome o;
    if (n <= 0) {
        o.status = kStatusZero;
        o.message = QStringLiteral("Não foi encontrada nenhum Processo que atendesse à pesquisa !");
        o.icon = 48;
        return o;
    }
    o.hasRows = true;
    if (n < kPageSize) {
        o.status = QStringLiteral("Mostrando Processos de ordem 1 a ") + QString::number(n);
        o.message = QStringLiteral("Foram encontrados ") + QString::number(n) + QStringLiteral(" Processos que atendem à pesquisa !");
    } else {
        o.status = QStringLiteral("Mostrando Processos de ordem 1 a 1000");
        o.message = QStringLiteral(
            "Foram encontrados mais de 1000 Processos que atendem à pesquisa, porém só estão sendo mostrados os primeiros 1000 !");
        o.nextVisible = true;
    }
    return o;
}

Outcome MovedPageOutcome(qint32 offset, int n)
{
    const qint64 o = offset;
    Outcome r;
    if (n <= 0) {
        r.status = kStatusZero;
        r.message = QStringLiteral("Foram encontrados ") + QString::number(o) + QStringLiteral(" Processos que atendem à pesquisa !");
        return r;
    }
    r.hasRows = true;
    if (n >= kPageSize) {
        r.status = QStringLiteral("Mostrando Processos de ordem ") + QString::number(o + 1) + QStringLiteral(" a ")
                   + QString::number(o + 1000);
        r.message = QStringLiteral("Foram encontrados mais de ") + QString::number(o + 1000)
                    + QStringLiteral(" Processos que atendem à pesquisa, porém só estão sendo mostrados os de ordem ")
                    + QString::number(o + 1) + QStringLiteral(" a ") + QString::number(o + 1000) + QStringLiteral(" !");
        r.nextVisible = true;
    } else {
        r.status = QStringLiteral("Mostrando Processos de ordem ") + QString::number(o + 1) + QStringLiteral(" a ")
                   + QString::number(o + n);
        r.message = QStringLiteral("Foram encontrados ") + QString::number(o + n) + QStringLiteral(" Processos que atendem à pesquisa !");
    }
    return r;
}

QVector<GridColumn> Columns(bool withVigencia)
{
    QVector<GridColumn> c = {
        {QStringLiteral("Processo"), QStringLiteral("procdv"), {}},
        {QStringLiteral("RPI"), QStringLiteral("RPI"), {}},
        {QStringLiteral("Data"), QStringLiteral("DataRPI"), {}},
        {QStringLiteral("Desp"), QStringLiteral("DESP"), {}},
        {QStringLiteral("CodServ"), QStringLiteral("codserv"), {}},
        {QStringLiteral("Depósito"), QStringLiteral("deposito"), {}},
        {QStringLiteral("Marca"), QStringLiteral("marca"), {}},
        {QStringLiteral("NCL"), QStringLiteral("NCLClasse"), {}},
        {QStringLiteral("Titular"), QStringLiteral("titular"), {}},
        {QStringLiteral("   UF"), QStringLiteral("Titularpais"), {}},
        {QStringLiteral("CGC/CPF/INPI"), QStringLiteral("cgccpf"), {}},
        {QStringLiteral("Procurador"), QStringLiteral("procurador"), {}},
        {QStringLiteral("ClasseAnt"), QStringLiteral("classe"), {}},
    };
    if (withVigencia) c.insert(6, {QStringLiteral("Vigência"), QStringLiteral("vigencia"), {}});
    return c;
}

QString SortSpec(const QString& field, bool descending, int column)
{
    const QString s = field + (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    return column == 0 ? s : s + QStringLiteral(",procdv");
}

QVector<int> FitWidths(const QVector<int>& own, const QVector<bool>& shares, int available, int least)
{
    QVector<int> w = own;
    int kept = 0, shared = 0, last = -1;
    for (int i = 0; i < own.size(); ++i) {
        if (shares.value(i)) {
            shared += own[i];
            last = i;
        } else {
            kept += own[i];
        }
    }
    if (last < 0 || shared <= 0) return w;
    const int room = available - kept;
    int given = 0;
    for (int i = 0; i < own.size(); ++i) {
        if (!shares.value(i)) continue;
        w[i] = std::max(least, int(qint64(room) * own[i] / shared));
        given += w[i];
    }
    // What rounding left over goes to the last sharing column.
    if (given < room) w[last] += room - given;
    return w;
}

}  // namespace resultgrid

using namespace resultgrid;

namespace {

void showPageReport(DataControl& source, const QString& title, int orientation)
{
    Report& r = rptGeral();
    r.setDataSource(source);
    r.title = title;
    r.orientation = orientation;
    r.show();
}

}  // namespace

std::function<void(const QString&)> SearchHooks::openHistory = ShowHistorico;
std::function<void(const QString&, Recordset&)> SearchHooks::exportToExcel = ExportToExcel;
std::function<void(DataControl&, const QString&, int)> SearchHooks::showReport = showPageReport;
std::function<void()> SearchHooks::showSearchMenu = ShowSearchMenu;

namespace {

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QPushButton* button(const QString& name, const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

// A cell whose text is cut shows the whole text as its tooltip.
class CutTextTips : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip || !view) return QStyledItemDelegate::helpEvent(event, view, option, index);
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        QStyle* style = view->style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const int width = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, view).width() - 2 * margin;
        if (!opt.text.isEmpty() && opt.fontMetrics.horizontalAdvance(opt.text) > width)
            QToolTip::showText(event->globalPos(), opt.text, view, opt.rect);
        else
            QToolTip::hideText();
        return true;
    }
};

// What a column usually holds, for its width. The mark, holder and
// attorney columns hold texts of any length: they share what the others
// leave, in the proportion of a number of characters.
struct ColumnNeed {
    QString sample;
    int shareChars = 0;
};

ColumnNeed columnNeed(const QString& field)
{
    static const QHash<QString, int> shares = {
        {QStringLiteral("marca"), 22}, {QStringLiteral("titular"), 25}, {QStringLiteral("procurador"), 20}};
    static const QHash<QString, QString> samples = {
        {QStringLiteral("procdv"), QStringLiteral("000000000")},
        {QStringLiteral("rpi"), QStringLiteral("0000")},
        {QStringLiteral("datarpi"), QStringLiteral("00/00/0000")},
        {QStringLiteral("desp"), QStringLiteral("IPAS000")},
        {QStringLiteral("codserv"), QStringLiteral("00000")},
        {QStringLiteral("deposito"), QStringLiteral("00/00/0000")},
        {QStringLiteral("vigencia"), QStringLiteral("00/00/0000")},
        {QStringLiteral("nclclasse"), QStringLiteral("00")},
        {QStringLiteral("titularpais"), QStringLiteral("BR/MG")},
        {QStringLiteral("cgccpf"), QStringLiteral("00000000000000")},
        {QStringLiteral("classe"), QStringLiteral("00.00.00")},
    };
    const QString f = field.toLower();
    return ColumnNeed{samples.value(f), shares.value(f)};
}

}  // namespace

struct SearchScreen::Snapshot {
    qint32 pageOffset;
    QString whereClause, selectList, status;
    qint16 hasResults, sortColumn, sortAscending;
    bool nextVisible, prevVisible;
    int pointer;
};

SearchScreen::SearchScreen(const Config& config, QWidget* parent) : QWidget(parent), config_(config)
{
    setObjectName(config.objectName);
    setWindowTitle(kWindowTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    marcaRevista_ = new DataControlObject(QStringLiteral("MarcaRevista"), this);

    label1_ = label(QStringLiteral("Label1"), config.heading, this);
    QFont hf = label1_->font();
    hf.setPointSizeF(hf.pointSizeF() * 1.5);
    hf.setBold(true);
    label1_->setFont(hf);
    auto* escritorio = label(QStringLiteral("Escritório"), OfficeName, this);
    QFont ef = escritorio->font();
    ef.setBold(true);
    escritorio->setFont(ef);
    escritorio->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    criteria_ = new QWidget(this);
    criteria_->setObjectName(QStringLiteral("criteria"));
    pesquisar_ = button(QStringLiteral("Pesquisar"), QStringLiteral("Pesquisar"), this);
    pesquisar_->setMinimumSize(110, 36);

    totProcLbl_ = label(QStringLiteral("TotProcLbl"), kStatusZero, this);
    QFont tf = totProcLbl_->font();
    tf.setBold(true);
    totProcLbl_->setFont(tf);

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("GridMarcaRevista"));
    model_ = new RecordsetModel(grid_);
    model_->setColumns(Columns(config.withVigencia));
    model_->setRecordset(&marcaRevista_->control.recordset());
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the grid for the next control; the arrows move between cells.
    grid_->setTabKeyNavigation(false);
    grid_->setSortingEnabled(false);
    grid_->setAlternatingRowColors(true);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->horizontalHeader()->setSectionsClickable(true);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->setItemDelegate(new CutTextTips(grid_));
    grid_->viewport()->installEventFilter(this);

    lblAviso_ = label(QStringLiteral("LblAviso"), kWaitNotice, this);
    lblAviso_->setAlignment(Qt::AlignCenter);
    QFont af = lblAviso_->font();
    af.setPointSizeF(af.pointSizeF() * 1.4);
    af.setBold(true);
    lblAviso_->setFont(af);
    lblAviso_->setStyleSheet(QStringLiteral("color: #b00000;"));
    lblAviso_->hide();

    auto* label2 = label(QStringLiteral("Label2"),
                         QStringLiteral("Dê um duplo clique em cima do Número do Processo para ver seus detalhes"), this);
    auto* sortHint = label(config.sortHintName, QStringLiteral("Dê um clique no cabeçalho da coluna para classificar a coluna"), this);
    for (QLabel* l : {label2, sortHint}) l->setStyleSheet(QStringLiteral("color: #1a3d8f;"));

    nextRegs_ = button(QStringLiteral("NextRegs"), QStringLiteral("Próximos 1000 registros"), this);
    prevRegs_ = button(QStringLiteral("PrevRegs"), QStringLiteral("1000 registros Anteriores"), this);
    exportar_ = button(QStringLiteral("Exportar"), QStringLiteral("Exportar para Excel"), this);
    visImp_ = button(QStringLiteral("VisImp"), QStringLiteral("Imprimir"), this);
    sair_ = button(QStringLiteral("Sair"), QStringLiteral("Sair"), this);
    for (QPushButton* b : {nextRegs_, prevRegs_, exportar_, visImp_, sair_}) b->setMinimumHeight(30);
    // Each page button keeps its place when the other one is hidden.
    for (QPushButton* b : {nextRegs_, prevRegs_}) {
        QSizePolicy p = b->sizePolicy();
        p.setRetainSizeWhenHidden(true);
        b->setSizePolicy(p);
    }
    nextRegs_->hide();
    prevRegs_->hide();

    // Layout: heading and office; criteria and Pesquisar; status; grid
    // (the notice in its place while a page is read); hints; buttons.
    auto* top = new QHBoxLayout;
    top->addWidget(label1_);
    top->addStretch(1);
    top->addWidget(escritorio);

    auto* search = new QHBoxLayout;
    search->addWidget(criteria_, 1);
    search->addWidget(pesquisar_, 0, Qt::AlignBottom);

    auto* gridArea = new QGridLayout;
    gridArea->addWidget(grid_, 0, 0);
    gridArea->addWidget(lblAviso_, 0, 0);
    gridArea->setRowStretch(0, 1);

    auto* hints = new QHBoxLayout;
    hints->addWidget(label2);
    hints->addSpacing(40);
    hints->addWidget(sortHint);
    hints->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(prevRegs_);
    buttons->addWidget(nextRegs_);
    buttons->addStretch(1);
    buttons->addWidget(exportar_);
    buttons->addWidget(visImp_);
    buttons->addWidget(sair_);

    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(search);
    main->addWidget(totProcLbl_);
    main->addLayout(gridArea, 1);
    main->addLayout(hints);
    main->addLayout(buttons);
    resize(1280, 760);

    connect(pesquisar_, &QPushButton::clicked, this, [this] { Pesquisar_Click(); });
    connect(nextRegs_, &QPushButton::clicked, this, &SearchScreen::NextRegs_Click);
    connect(prevRegs_, &QPushButton::clicked, this, &SearchScreen::PrevRegs_Click);
    connect(exportar_, &QPushButton::clicked, this, &SearchScreen::Exportar_Click);
    connect(visImp_, &QPushButton::clicked, this, &SearchScreen::VisImp_Click);
    connect(sair_, &QPushButton::clicked, this, &SearchScreen::Sair_Click);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, &SearchScreen::GridMarcaRevista_HeadClick);
    connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex&) { GridMarcaRevista_DblClick(); });

    Form_Load();
}

SearchScreen::~SearchScreen() = default;

void SearchScreen::Form_Load()
{
    DataControl& dc = MarcaRevista();
    dc.CommandType = DataControl::Text;
    dc.RecordSource = QStringLiteral("SELECT * FROM Processos WHERE Processo=0");
    dc.ConnectionString = BuildConnectionString();
    dc.CursorLocation = CursorLoc;
    try {
        dc.Refresh();
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("Erro ao abrir o Banco de Dados:\n") + e.message(), vb::Critical, config_.title);
    }
    model_->refresh();
    HasResults = 0;
}

void SearchScreen::Form_Unload()
{
    if (unloaded_) return;
    unloaded_ = true;
    if (SearchHooks::showSearchMenu) SearchHooks::showSearchMenu();
}

void SearchScreen::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void SearchScreen::Sair_Click() { close(); }

bool SearchScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grid_->viewport() && event->type() == QEvent::Resize) fitColumns();
    return QWidget::eventFilter(watched, event);
}

void SearchScreen::fitColumns()
{
    const QFontMetrics cell = grid_->fontMetrics();
    const QFontMetrics head = grid_->horizontalHeader()->fontMetrics();
    const int pad = 2 * (grid_->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, grid_) + 4);
    QVector<int> own;
    QVector<bool> shares;
    for (int c = 0; c < model_->columnCount(); ++c) {
        const ColumnNeed need = columnNeed(model_->field(c));
        const int heading = head.horizontalAdvance(model_->headerData(c, Qt::Horizontal).toString());
        const int w = need.shareChars > 0 ? cell.averageCharWidth() * need.shareChars : cell.horizontalAdvance(need.sample);
        own << std::max(w, heading) + pad;
        shares << (need.shareChars > 0);
    }
    const QVector<int> w = FitWidths(own, shares, grid_->viewport()->width(), cell.averageCharWidth() * 10);
    for (int c = 0; c < w.size(); ++c) grid_->setColumnWidth(c, w[c]);
}

SearchScreen::Snapshot SearchScreen::snapshot() const
{
    // The status of the page in hand, not what a search that stopped on
    // its way may have put in the status line since.
    return Snapshot{PageOffset, WhereClause, SelectList, pageStatus_, HasResults, SortColumn, SortAscending,
                    !nextRegs_->isHidden(), !prevRegs_->isHidden(), ui().pointer()};
}

void SearchScreen::restore(const Snapshot& s)
{
    PageOffset = s.pageOffset;
    WhereClause = s.whereClause;
    SelectList = s.selectList;
    totProcLbl_->setText(s.status);
    HasResults = s.hasResults;
    SortColumn = s.sortColumn;
    SortAscending = s.sortAscending;
    nextRegs_->setVisible(s.nextVisible);
    prevRegs_->setVisible(s.prevVisible);
    ui().setPointer(s.pointer);
}

int SearchScreen::readPage(const QString& sql)
{
    grid_->hide();
    lblAviso_->show();
    repaint();

    DataControl& dc = MarcaRevista();
    const QString previous = dc.RecordSource;
    dc.RecordSource = sql;
    try {
        dc.Refresh();
    } catch (const DbError& e) {
        dc.RecordSource = previous;
        grid_->show();
        lblAviso_->hide();
        ui().setPointer(vb::Default);
        MsgBox(QStringLiteral("Erro ao pesquisar o Banco de Dados:\n") + e.message(), vb::Critical, config_.title);
        return -1;
    }
    model_->refresh();
    grid_->show();
    lblAviso_->hide();
    const int n = dc.recordset().recordCount();
    ui().setPointer(vb::Default);
    return n;
}

void SearchScreen::tell(const Outcome& o, const QString& title)
{
    pageStatus_ = o.status;
    totProcLbl_->setText(o.status);
    if (o.hasRows) {
        HasResults = 1;
        SortAscending = 0;
        SortColumn = -1;
    }
    MsgBox(o.message, o.icon, title);
    grid_->setFocus();
}

bool SearchScreen::runFirstPage(const QString& whereClause, const QString& selectList)
{
    const Snapshot before = snapshot();
    totProcLbl_->setText(kStatusZero);
    if (config_.hourglassOnFirstPage) ui().setPointer(vb::Hourglass);
    HasResults = 0;
    PageOffset = 0;
    nextRegs_->hide();
    prevRegs_->hide();
    WhereClause = whereClause;
    SelectList = selectList;
    MarcaRevista().CursorLocation = 3;

    const QString sql = PageQuery(PageOffset, SelectList, WhereClause, config_.orderBy);
    beforeFirstPage(sql);
    const int n = readPage(sql);
    if (n < 0) {
        restore(before);
        return false;
    }
    const Outcome o = FirstPageOutcome(n);
    nextRegs_->setVisible(o.nextVisible);
    tell(o, config_.title);
    return true;
}

void SearchScreen::movePage(bool next)
{
    const Snapshot before = snapshot();
    ui().setPointer(vb::Hourglass);
    HasResults = 0;
    if (next) {
        PageOffset += kPageSize;
    } else {
        PageOffset -= kPageSize;
        if (PageOffset == 0) prevRegs_->hide();
        nextRegs_->show();
    }
    const int n = readPage(PageQuery(PageOffset, SelectList, WhereClause, config_.orderBy));
    if (n < 0) {
        restore(before);
        return;
    }
    if (next) prevRegs_->show();
    const Outcome o = MovedPageOutcome(PageOffset, n);
    nextRegs_->setVisible(o.nextVisible);
    const QString moveTitle = config_.pageMoveTitle.isEmpty() ? config_.title : config_.pageMoveTitle;
    const QString title = (next && n == 0 && !config_.emptyNextPageTitle.isEmpty()) ? config_.emptyNextPageTitle : moveTitle;
    tell(o, title);
}

void SearchScreen::NextRegs_Click() { movePage(true); }

void SearchScreen::PrevRegs_Click() { movePage(false); }

void SearchScreen::GridMarcaRevista_HeadClick(int colIndex)
{
    if (colIndex != SortColumn) {
        SortColumn = qint16(colIndex);
        SortAscending = 0;
    }
    bool descending;
    if (SortAscending != 0) {
        SortAscending = 0;
        descending = true;
    } else {
        SortAscending = -1;
        descending = false;
    }
    if (HasResults != 1 || colIndex < 0 || colIndex >= model_->columnCount()) return;
    try {
        MarcaRevista().recordset().setSort(SortSpec(model_->field(colIndex), descending, colIndex));
    } catch (const DbError& e) {
        MsgBox(QStringLiteral("Erro ao classificar a coluna:\n") + e.message(), vb::Critical, config_.title);
        return;
    }
    model_->refresh();
}

void SearchScreen::GridMarcaRevista_DblClick()
{
    const QModelIndex cur = grid_->currentIndex();
    if (!cur.isValid() || cur.column() != 0) return;
    const QString procdv = model_->data(model_->index(cur.row(), 0)).toString();
    if (procdv.isEmpty()) return;
    if (SearchHooks::openHistory) SearchHooks::openHistory(procdv);
}

void SearchScreen::Exportar_Click()
{
    Recordset& rs = MarcaRevista().recordset();
    if (rs.recordCount() == 0) {
        MsgBox(QStringLiteral("Nenhum Processo a ser exportado !"), vb::Exclamation, QStringLiteral("Exportação de tabela"));
        return;
    }
    ui().setPointer(vb::Hourglass);
    const QString title = exportTitle();
    try {
        if (SearchHooks::exportToExcel) SearchHooks::exportToExcel(title, rs);
        else ui().setPointer(vb::Default);
    } catch (const std::exception& e) {
        ui().setPointer(vb::Default);
        MsgBox(QStringLiteral("Erro ao exportar para o Excel:\n") + QString::fromLocal8Bit(e.what()), vb::Critical,
               QStringLiteral("Exportação de tabela"));
    }
    model_->refresh();
}

void SearchScreen::VisImp_Click()
{
    if (MarcaRevista().recordset().recordCount() == 0) {
        MsgBox(QStringLiteral("Nenhum Processo a ser impresso !"), vb::Exclamation, QStringLiteral("Impressão de tabela"));
        return;
    }
    const QString title = printTitle();
    try {
        if (SearchHooks::showReport) SearchHooks::showReport(MarcaRevista(), title, 2);
    } catch (const std::exception& e) {
        MsgBox(QStringLiteral("Erro ao imprimir:\n") + QString::fromLocal8Bit(e.what()), vb::Critical,
               QStringLiteral("Impressão de tabela"));
    }
}
