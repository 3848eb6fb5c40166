#pragma once
// The process history screen: one process's registry data, every dispatch
// published for it (newest issue first), the count of dispatches of other
// processes that cite it, and the printed history.
//
// Callers hand a process over with ShowHistorico: the 9-character number
// goes into the label Número_Processo and the screen is shown modally; it
// reads the process each time it is activated.

#include "shell/Db.h"
#include "shell/LoadedDialog.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class RecordsetModel;

namespace Historico {

// The statements of the screen, for a process key (ProcessNumber::ProcessKey).
QString ProcessSql(const QString& key);
QString HistorySql(const QString& key);
QString CountSql(const QString& key);

// Name of a presentation code ("N", "M", "F", "T"); none for any other code.
std::optional<QString> PresentationName(const QString& code);
// Name of a nature code; none for an unknown code.
std::optional<QString> NatureName(const QString& code);
// Classification text from the Nice edition, the Nice class and the old
// national class.
QString Classification(const QString& ncl, const QString& nclClasse, const QString& classAntiga);
// Caption of the references button for n citing dispatches.
QString ProcRefCaption(qint64 n);

// The texts of the screen that the printed history shows.
struct Shown {
    QString titular, titPais, cgccpf, marca, apresentacao, natureza, classific, cfe, procurador, deposito,
        concessao, vigencia, priorNum, priorData, priorPais, apostila, especificacao;
};
// The seven header lines of the printed history.
QStringList ReportLines(const Shown& s);
QString ReportTitle(const QString& numeroProcesso);

}  // namespace Historico

class frmHistorico : public LoadedDialog<frmHistorico> {
    Q_OBJECT
public:
    // Controls.
    QLabel* Label1 = nullptr;
    QLabel* Numero_Processo = nullptr;
    QLineEdit* Titular = nullptr;
    QLineEdit* TitPais = nullptr;
    QLineEdit* CGCCPF = nullptr;
    QLineEdit* Marca = nullptr;
    QLineEdit* Apresentacao = nullptr;
    QLineEdit* Natureza = nullptr;
    QLineEdit* Classific = nullptr;
    QLineEdit* CFE = nullptr;
    QLineEdit* Procurador = nullptr;
    QLineEdit* Deposito = nullptr;
    QLineEdit* Concessao = nullptr;
    QLineEdit* Vigencia = nullptr;
    QLineEdit* PriorNum = nullptr;
    QLineEdit* PriorData = nullptr;
    QLineEdit* PriorPais = nullptr;
    QLineEdit* Apostila = nullptr;
    QPlainTextEdit* Especificacao = nullptr;
    // Hidden values bound to the process row, and the flag Origem.
    QLineEdit* Apresent = nullptr;
    QLineEdit* Natureza1 = nullptr;
    QLineEdit* NCL = nullptr;
    QLineEdit* NCLClasse = nullptr;
    QLineEdit* ClassAntiga = nullptr;
    QLineEdit* Origem = nullptr;
    QTableView* GridHistorico = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* LblAviso = nullptr;
    QPushButton* ProcRef = nullptr;
    QPushButton* VisImp = nullptr;
    QPushButton* Sair = nullptr;

    DataControl ProcessoAdodc;
    DataControl Historico;
    RecordsetModel* historyModel = nullptr;

    void Form_Load();
    void Form_Activate();
    void GridHistorico_DblClick();
    void ProcRef_Click();
    void VisImp_Click();
    void Sair_Click();

    // Texts of the screen as the printed history uses them.
    Historico::Shown shown() const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    friend class LoadedDialog<frmHistorico>;
    frmHistorico();
    void showProcessRow();
    void failed(const QString& what, const DbError& e);
};

// Hands a process to the history screen: sets Número_Processo and shows
// the screen modally.
void ShowHistorico(const QString& procdv);
