#pragma once
// The user list: the table Usuarios in an editable grid. Each accepted cell
// is written at once to its row (found by the row's hidden key); the last,
// empty row takes a new user, written once its password and flag pass.

#include "Db.h"
#include "RecordsetModel.h"

#include <QDialog>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QTableView>
#include <QVector>
#include <optional>
#include <utility>

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

    // What the last edit of a cell came to, and where it was; taking it
    // leaves nothing (row -1, Unchanged) until the next edit.
    enum class EditResult {
        Unchanged,    // the same text: nothing checked, nothing written
        Written,      // stored (on the new row: the new user was added)
        Kept,         // on the new row, waiting for the rest of the user
        NameMissing,  // on the new row, kept; password and flag wait for the name
        Refused,      // refused by its check; nothing changed
        Failed        // refused by the database; the table was read again
    };
    struct LastEdit {
        int row = -1;
        int column = -1;
        EditResult result = EditResult::Unchanged;
    };
    LastEdit takeLastEdit() { return std::exchange(lastEdit_, LastEdit()); }

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
    LastEdit lastEdit_;

    bool edit(int row, int column, const QString& text);
    bool insertPending();
    void clearPending();
    // Shows a failure of the database and reloads the table as stored.
    void databaseFailure(const DbError& e);
};

// The grid of users. A refused cell stays the current one, its editor open
// on what was typed, selected, whatever tried to leave it (Tab, Enter, an
// arrow, a click); the next keystrokes go into it and Esc gives back what it
// held. Nothing else commits an editor but Tab, Enter, a change of cell and
// finishEditing (the focus leaving it does not).
class UsuariosGrid : public QTableView {
public:
    UsuariosGrid(UsuariosModel* model, QWidget* parent);
    // Commits the cell being typed, if any; false when it was refused.
    bool finishEditing();

protected:
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    UsuariosModel* model_;
    bool committing_ = false;
    bool changingCell_ = false;
    QPointer<QWidget> refused_, nameMissing_;
    QPersistentModelIndex refusedAt_, held_, failedAt_;
    // Makes `at` the current cell, the grid keeping the focus.
    void stayOn(const QModelIndex& at);
};

class frmUsuarios : public QDialog {
    Q_OBJECT
public:
    explicit frmUsuarios(QWidget* parent = nullptr);
    ~frmUsuarios() override;

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
    UsuariosGrid* GridUsuarios_ = nullptr;
};
