#pragma once
// The user list: the table Usuarios in an editable grid. Each accepted cell
// is written at once to its row (found by the row's hidden key); the last,
// empty row takes a new user, written once its password and flag pass.

#include "Db.h"
#include "RecordsetModel.h"

#include <QDialog>
#include <QString>
#include <QVector>
#include <optional>

class QTableView;

// The check of an edited cell (column 0 usuario, 1 senha, 2 livreacesso):
// the refusal message, or nothing when the value may be written. A name must
// not be blank; maxLength > 0 is the most characters the column holds.
std::optional<QString> CheckUsuarioCell(int column, const QString& value, int maxLength = 0);

// The question asked before a new user that was not written is abandoned:
// what is missing (name, password, flag) and whether to abandon it.
QString NewUserMissing(const QString& name, bool hasName, bool hasPassword, bool hasFlag);

// The character lengths of the columns usuario, senha and livreacesso of
// Usuarios; 0 where it could not be read.
QVector<int> UsuariosColumnLengths(DbConnection& db);

// The grid's rows: the table's rows, then the row of a new user.
class UsuariosModel : public RecordsetModel {
    Q_OBJECT
public:
    explicit UsuariosModel(DataControl& data, QObject* parent = nullptr);

    // The row of a new user (always the last).
    int newRow() const;
    bool isNewRow(int row) const { return row == newRow(); }

    // When something was typed on the new row and not written: the question
    // of NewUserMissing for it.
    std::optional<QString> unsavedNewUser() const;
    // The first cell of the new row still empty.
    int firstMissingColumn() const;

    // Deletes a stored user after asking; on the new row it clears what was
    // typed there. Returns true when something was removed.
    bool deleteRow(int row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    DataControl& data_;
    QVector<int> lengths_;
    QString pending_[3];
    bool hasPending_[3] = {false, false, false};

    bool edit(int row, int column, const QString& text);
    bool insertPending();
    void clearPending();
    // Shows a failure of the database and reloads the table as stored.
    void databaseFailure(const DbError& e);
};

class frmUsuarios : public QDialog {
    Q_OBJECT
public:
    explicit frmUsuarios(QWidget* parent = nullptr);

    void Sair_Click();
    void Excluir_Click();

    DataControl& Usuarios() { return Usuarios_; }
    UsuariosModel& model() { return *model_; }

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Asks before a new user that was not written is dropped; false keeps
    // the screen open.
    bool mayLeave();

    DataControl Usuarios_;
    UsuariosModel* model_ = nullptr;
    QTableView* GridUsuarios_ = nullptr;
};
