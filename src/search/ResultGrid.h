#pragma once
// The result grid shared by the list searches: one page of at most 1000
// processes, the status line, the page buttons, sorting of the page by a
// header click, the double click into the process history, export and
// print of the page, and closing back to the search menu.
//
// A search screen derives from SearchScreen, puts its criteria into
// criteriaArea(), and when its own checks have passed hands its condition
// and select list to runFirstPage().

#include "shell/Db.h"
#include "shell/RecordsetModel.h"

#include <QString>
#include <QVector>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QTableView;
class QVBoxLayout;

namespace resultgrid {

inline constexpr int kPageSize = 1000;

// The two select lists; each ends with "where ".
extern const QString kPlainSelectList;
extern const QString kIssueJoinSelectList;

// "SELECT first 1000 skip " & offset & list & condition & orderBy.
QString PageQuery(qint32 offset, const QString& selectList, const QString& whereClause,
                  const QString& orderBy = QString());

// Status line, message and page state after a page was read.
struct Outcome {
    QString status;   // TotProcLbl
    QString message;  // shown with icon 64 or 48
    int icon = 64;
    bool hasRows = false;     // HasResults = 1 and the sort state reset
    bool nextVisible = false; // NextRegs shown afterwards
};
// n rows on the first page.
Outcome FirstPageOutcome(int n);
// n rows on a page reached by NextRegs or PrevRegs, offset o.
Outcome MovedPageOutcome(qint32 o, int n);

inline const QString kStatusZero = QStringLiteral("Total de Processos apresentados = 0");
inline const QString kWaitNotice = QStringLiteral("Aguarde - Pesquisando o Banco de Dados !");

// The grid's columns: the 13 of every screen, or 14 with "Vigência".
QVector<GridColumn> Columns(bool withVigencia);

// The recordset sort of a header click: field & direction & ",procdv",
// the field alone for column 0.
QString SortSpec(const QString& field, bool descending, int column);

// Widths of the grid's columns in a viewport `available` pixels wide. A
// column keeps its own width (`own`) unless it `shares`: the sharing
// columns divide what the others leave in proportion to their own widths,
// none narrower than `least` (the grid then scrolls sideways).
QVector<int> FitWidths(const QVector<int>& own, const QVector<bool>& shares, int available, int least);

}  // namespace resultgrid

// The neighbours the grid calls: the history screen, the spreadsheet
// export, the page report and the search menu. Tests replace them.
struct SearchHooks {
    // Opens the process history modally for a 9-character process number.
    static std::function<void(const QString& procdv)> openHistory;
    // Writes a page to a spreadsheet under a title; restores the pointer.
    static std::function<void(const QString& title, Recordset& rs)> exportToExcel;
    // Shows the page report modally: data source, title, orientation.
    static std::function<void(DataControl& source, const QString& title, int orientation)> showReport;
    // Shows the search menu again (modeless).
    static std::function<void()> showSearchMenu;
};

// The data control of a search screen, findable by its name.
class DataControlObject : public QObject {
public:
    explicit DataControlObject(const QString& name, QObject* parent) : QObject(parent) { setObjectName(name); }
    DataControl control;
};

class SearchScreen : public QWidget {
    Q_OBJECT
public:
    struct Config {
        QString objectName;         // "frmPesquisaMarca"
        QString heading;            // Label1
        QString title;              // message title of the first page and the page moves
        QString pageMoveTitle;      // when the page moves' messages differ (empty: title)
        QString emptyNextPageTitle; // NextRegs reaching no rows (empty: the page-move title)
        bool withVigencia = false;  // the 14th column "Vigência"
        QString sortHintName = QStringLiteral("Label3");
        QString orderBy;            // appended to every page query
        bool hourglassOnFirstPage = true;
    };

    explicit SearchScreen(const Config& config, QWidget* parent = nullptr);
    ~SearchScreen() override;

    // Result-grid state, one set per screen.
    qint32 PageOffset = 0;
    QString WhereClause;
    QString SelectList;  // chosen with WhereClause, reused by the page moves
    qint16 HasResults = 0;
    qint16 SortColumn = 0;
    qint16 SortAscending = 0;

    // Handlers.
    virtual void Pesquisar_Click() = 0;
    void NextRegs_Click();
    void PrevRegs_Click();
    void GridMarcaRevista_HeadClick(int colIndex);
    void GridMarcaRevista_DblClick();
    void Exportar_Click();
    void VisImp_Click();
    void Sair_Click();

    // Controls.
    DataControl& MarcaRevista() { return marcaRevista_->control; }
    QTableView* GridMarcaRevista() const { return grid_; }
    RecordsetModel* gridModel() const { return model_; }
    QLabel* TotProcLbl() const { return totProcLbl_; }
    QLabel* LblAviso() const { return lblAviso_; }
    QPushButton* NextRegs() const { return nextRegs_; }
    QPushButton* PrevRegs() const { return prevRegs_; }
    QPushButton* Exportar() const { return exportar_; }
    QPushButton* VisImp() const { return visImp_; }
    QPushButton* Sair() const { return sair_; }
    QPushButton* Pesquisar() const { return pesquisar_; }
    QLabel* Label1() const { return label1_; }

    const Config& config() const { return config_; }

protected:
    // The screen's criteria go here (above the grid, left of Pesquisar).
    QWidget* criteriaArea() const { return criteria_; }

    // The first page of a search whose checks passed: saves the condition
    // and the select list, reads the page and tells the outcome. Returns
    // false when the query failed; then everything is as it was before,
    // the status line of the page in hand included.
    bool runFirstPage(const QString& whereClause, const QString& selectList);

    // Titles of the export and the print.
    virtual QString exportTitle() const = 0;
    virtual QString printTitle() const { return exportTitle(); }
    // Called with the complete first-page query before it runs.
    virtual void beforeFirstPage(const QString& sql) {}

    // Load: the data control on an empty result, connected.
    void Form_Load();
    // Unload: the search menu comes back.
    void Form_Unload();
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Snapshot;
    Snapshot snapshot() const;
    void restore(const Snapshot& s);
    // Steps common to every page: hide the grid, show the notice, query,
    // show the grid. Returns the row count, or -1 when the query failed
    // (the failure was shown).
    int readPage(const QString& sql);
    void movePage(bool next);
    void tell(const resultgrid::Outcome& o, const QString& title);
    // The columns fitted to the grid's width.
    void fitColumns();

    Config config_;
    DataControlObject* marcaRevista_ = nullptr;
    RecordsetModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QLabel* totProcLbl_ = nullptr;
    QLabel* lblAviso_ = nullptr;
    QLabel* label1_ = nullptr;
    QPushButton* nextRegs_ = nullptr;
    QPushButton* prevRegs_ = nullptr;
    QPushButton* exportar_ = nullptr;
    QPushButton* visImp_ = nullptr;
    QPushButton* sair_ = nullptr;
    QPushButton* pesquisar_ = nullptr;
    QWidget* criteria_ = nullptr;
    bool unloaded_ = false;
    // The status line of the rows in hand, given back when a page fails.
    QString pageStatus_ = resultgrid::kStatusZero;
};
