#include "frmUsuarios.h"

#include "DBSpecifics.h"
#include "DialogFrame.h"
#include "OneLineBox.h"
#include "Password.h"
#include "Ui.h"

#include <QCloseEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kErro = QStringLiteral("ERRO");
const QString kNomeMsg = QStringLiteral("Digite o nome do usuário !");
const QString kFields[3] = {QStringLiteral("usuario"), QStringLiteral("senha"), QStringLiteral("livreacesso")};

}  // namespace

std::optional<QString> CheckUsuarioCell(int column, const QString& value, int maxLength)
{
    if (column == 0) {
        if (value.trimmed().isEmpty()) return kNomeMsg;
        if (maxLength > 0 && value.size() > maxLength)
            return QStringLiteral("Nome do usuário tem no máximo %1 caracteres !").arg(maxLength);
    } else if (column == 1) {
        const qsizetype n = TrimBlanks(value).size();
        if (n < 6 || n > 10)
            return QStringLiteral("Senha tem que ter um mínimo de 6 e um máximo de 10 caracteres !");
        if (maxLength > 0 && value.size() > maxLength)
            return QStringLiteral("Senha tem no máximo %1 caracteres, brancos incluídos !").arg(maxLength);
    } else if (column == 2) {
        const QString flag = value.toUpper();
        if (flag != QLatin1String("S") && flag != QLatin1String("N")) return QStringLiteral(" Digite apenas S ou N !");
    }
    return std::nullopt;
}

QString NewUserMissing(const QString& name, bool hasName, bool hasPassword, bool hasFlag)
{
    QStringList missing;
    if (!hasName) missing << QStringLiteral("o nome do usuário");
    if (!hasPassword) missing << QStringLiteral("a senha");
    if (!hasFlag) missing << QStringLiteral("o livre acesso (S ou N)");
    QString list = missing.join(QStringLiteral(", "));
    if (missing.size() > 1) {
        const qsizetype last = list.lastIndexOf(QStringLiteral(", "));
        list.replace(last, 2, QStringLiteral(" e "));
    }
    QString text = hasName ? QStringLiteral("O novo usuário \"%1\"").arg(name) : QStringLiteral("O novo usuário");
    text += QStringLiteral(" não foi gravado");
    // Everything typed but refused by the database: nothing is missing.
    if (!missing.isEmpty()) text += QStringLiteral(": falta informar ") + list;
    return text + QStringLiteral(".\nAbandonar o novo usuário ?");
}

QVector<int> UsuariosColumnLengths(DbConnection& db)
{
    QVector<int> lengths(3, 0);
    try {
        const Recordset rs = db.query(QStringLiteral(
            "SELECT TRIM(r.RDB$FIELD_NAME) AS campo, f.RDB$CHARACTER_LENGTH AS tamanho "
            "FROM RDB$RELATION_FIELDS r JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = r.RDB$FIELD_SOURCE "
            "WHERE r.RDB$RELATION_NAME = 'USUARIOS'"));
        for (int i = 0; i < rs.recordCount(); ++i)
            for (int c = 0; c < 3; ++c)
                if (rs.at(i, 0).toString().compare(kFields[c], Qt::CaseInsensitive) == 0)
                    lengths[c] = rs.at(i, 1).toInt();
    } catch (const DbError&) {
        // Unknown lengths: the database refuses what does not fit.
    }
    return lengths;
}

// ------------------------------------------------------------------- model

UsuariosModel::UsuariosModel(DataControl& data, QObject* parent) : RecordsetModel(parent), data_(data)
{
    setColumns({{QStringLiteral("Usuário"), kFields[0], {}},
                {QStringLiteral("Senha"), kFields[1], {}},
                {QStringLiteral("Livre Acesso ?"), kFields[2], {}}});
    setRecordset(&data_.recordset());
    lengths_ = UsuariosColumnLengths(DbConnection::instance());
    onEdit = [this](int row, int column, const QString& text) { return edit(row, column, text); };
}

int UsuariosModel::newRow() const { return RecordsetModel::rowCount(); }

int UsuariosModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RecordsetModel::rowCount() + 1;
}

QVariant UsuariosModel::data(const QModelIndex& index, int role) const
{
    if (index.isValid() && isNewRow(index.row())) {
        if (role != Qt::DisplayRole && role != Qt::EditRole) return QVariant();
        const int c = index.column();
        return c >= 0 && c < 3 ? pending_[c] : QString();
    }
    return RecordsetModel::data(index, role);
}

QVariant UsuariosModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return isNewRow(section) ? QStringLiteral("*") : QString();
    return RecordsetModel::headerData(section, orientation, role);
}

bool UsuariosModel::edit(int row, int column, const QString& text)
{
    if (column < 0 || column > 2 || row < 0 || row > newRow()) return false;
    lastEdit_ = {row, column, EditResult::Unchanged};
    // Leaving a cell unchanged writes nothing and checks nothing.
    if (text == data(index(row, column), Qt::EditRole).toString()) return false;
    if (const auto refusal = CheckUsuarioCell(column, text, lengths_.value(column))) {
        lastEdit_.result = EditResult::Refused;
        MsgBox(*refusal, vb::Critical, kErro);
        return false;
    }
    if (isNewRow(row)) {
        pending_[column] = text;
        hasPending_[column] = true;
        lastEdit_.result = EditResult::Kept;
        if (!hasPending_[1] || !hasPending_[2]) return true;
        // The cell is kept; the row waits for its name.
        if (!hasPending_[0]) {
            lastEdit_.result = EditResult::NameMissing;
            MsgBox(kNomeMsg, vb::Critical, kErro);
            return true;
        }
        return insertPending();
    }
    Recordset& rs = data_.recordset();
    try {
        rs.setPosition(row);
        rs.setValue(kFields[column], text);
        rs.update();
    } catch (const DbError& e) {
        databaseFailure(e);
        return false;
    }
    lastEdit_.result = EditResult::Written;
    return true;
}

bool UsuariosModel::insertPending()
{
    Recordset& rs = data_.recordset();
    // The new row becomes the stored user and a fresh new row follows it;
    // the grid keeps its place (a reload would drop the current cell).
    const int row = newRow();
    beginInsertRows(QModelIndex(), row + 1, row + 1);
    try {
        rs.addNew();
        for (int c = 0; c < 3; ++c)
            if (hasPending_[c]) rs.setValue(kFields[c], pending_[c]);
        rs.update();  // reads the new row's key back
    } catch (const DbError& e) {
        endInsertRows();
        databaseFailure(e);  // what was typed stays in the new row
        return false;
    }
    clearPending();
    endInsertRows();
    emit dataChanged(index(row, 0), index(row, 2));
    emit headerDataChanged(Qt::Vertical, row, row + 1);
    lastEdit_.result = EditResult::Written;
    return true;
}

void UsuariosModel::clearPending()
{
    for (int c = 0; c < 3; ++c) {
        pending_[c].clear();
        hasPending_[c] = false;
    }
}

std::optional<QString> UsuariosModel::unsavedNewUser() const
{
    if (!hasPending_[0] && !hasPending_[1] && !hasPending_[2]) return std::nullopt;
    return NewUserMissing(pending_[0], hasPending_[0], hasPending_[1], hasPending_[2]);
}

int UsuariosModel::firstMissingColumn() const
{
    for (int c = 0; c < 3; ++c)
        if (!hasPending_[c]) return c;
    return 0;
}

bool UsuariosModel::deleteRow(int row)
{
    if (row < 0 || row > newRow()) return false;
    if (isNewRow(row)) {
        if (!hasPending_[0] && !hasPending_[1] && !hasPending_[2]) return false;
        clearPending();
        emit dataChanged(index(row, 0), index(row, 2));
        return true;
    }
    const QString name = value(row, 0).toString();
    if (MsgBox(QStringLiteral("Confirma a exclusão do usuário \"%1\" ?").arg(name), int(vb::YesNo) + vb::Question,
               QStringLiteral("Usuários")) != vb::Yes)
        return false;
    try {
        Recordset& rs = data_.recordset();
        rs.setPosition(row);
        rs.deleteCurrent();
    } catch (const DbError& e) {
        databaseFailure(e);
        return false;
    }
    refresh();
    return true;
}

void UsuariosModel::databaseFailure(const DbError& e)
{
    lastEdit_.result = EditResult::Failed;
    MsgBox(QStringLiteral("Erro no banco de dados:\n") + e.message(), vb::Critical);
    try {
        data_.Refresh();
    } catch (const DbError& again) {
        MsgBox(QStringLiteral("Erro no banco de dados:\n") + again.message(), vb::Critical);
    }
    refresh();
}

// ------------------------------------------------------------------- grid

namespace {

// An editor keeps what was typed while the focus is elsewhere (a button, a
// message box, another window): its value is committed by Tab, Enter, a
// change of cell or the screen's buttons, never by the focus leaving it.
class UsuariosDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) OneLineBox(line);
        return editor;
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) return false;
        return QStyledItemDelegate::eventFilter(object, event);
    }
};

}  // namespace

UsuariosGrid::UsuariosGrid(UsuariosModel* model, QWidget* parent) : QTableView(parent), model_(model)
{
    setModel(model);
    setItemDelegate(new UsuariosDelegate(this));
}

bool UsuariosGrid::finishEditing()
{
    if (state() != EditingState) return true;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor) return true;
    commitData(editor);
    const bool refused = editor == refused_;
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return !refused;
}

void UsuariosGrid::commitData(QWidget* editor)
{
    // Nothing commits again while the message of a refusal is up.
    if (committing_) return;
    committing_ = true;
    model_->takeLastEdit();  // what an edit before this one left
    QTableView::commitData(editor);
    committing_ = false;
    const UsuariosModel::LastEdit e = model_->takeLastEdit();
    const QModelIndex at = model_->index(e.row, e.column);
    switch (e.result) {
    case UsuariosModel::EditResult::Refused:
        if (indexWidget(at) == editor) {
            refused_ = editor;
            refusedAt_ = at;
        }
        break;
    case UsuariosModel::EditResult::Failed:
        // The table was read again, dropping the editor: the cell stays current.
        failedAt_ = at;
        if (!changingCell_) stayOn(at);
        break;
    case UsuariosModel::EditResult::NameMissing: nameMissing_ = editor; break;
    default: break;
    }
}

void UsuariosGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (committing_) return;
    if (editor == refused_) {
        // Refused: the cell keeps its editor and the keys, on what was typed.
        refused_ = nullptr;
        held_ = refusedAt_;
        editor->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(editor)) line->selectAll();
        return;
    }
    if (editor == nameMissing_) {
        // On to what the message asks for, the new user's name.
        nameMissing_ = nullptr;
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        if (!changingCell_) stayOn(model_->index(model_->newRow(), 0));
        return;
    }
    QTableView::closeEditor(editor, hint);
}

void UsuariosGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    const bool outer = !changingCell_;
    changingCell_ = true;
    held_ = failedAt_ = QPersistentModelIndex();
    QTableView::currentChanged(current, previous);  // commits the cell left
    if (!outer) return;
    changingCell_ = false;
    // Back to a refused cell, or to the one whose write failed.
    const QPersistentModelIndex back = held_.isValid() ? held_ : failedAt_;
    held_ = failedAt_ = QPersistentModelIndex();
    if (back.isValid()) stayOn(back);
}

void UsuariosGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    // A click or an arrow brings the focus here before the cell changes (and
    // commits); meanwhile, and when it does not change, the editor keeps the keys.
    if (state() == EditingState)
        if (QWidget* editor = indexWidget(currentIndex())) editor->setFocus();
}

void UsuariosGrid::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    // A click beside a refused cell leaves that cell the selected one.
    if (state() == EditingState && indexWidget(currentIndex()))
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
}

QModelIndex UsuariosGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Tab and Shift+Tab go along the rows without wrapping from the last
    // cell to the first or back.
    const QModelIndex at = currentIndex();
    const QModelIndex to = QTableView::moveCursor(action, modifiers);
    if (at.isValid() && ((action == MoveNext && to.row() < at.row()) || (action == MovePrevious && to.row() > at.row())))
        return at;
    return to;
}

void UsuariosGrid::stayOn(const QModelIndex& at)
{
    if (!at.isValid()) return;
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    if (state() != EditingState) setFocus();
}

// ------------------------------------------------------------------ screen

frmUsuarios::frmUsuarios(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUsuarios"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kWindowTitle);
    setModal(true);

    // Form_Load: the whole table, on the program's connection.
    Usuarios_.CommandType = DataControl::Table;
    Usuarios_.RecordSource = QStringLiteral("Usuarios");
    Usuarios_.ConnectionString = BuildConnectionString();
    Usuarios_.Refresh();

    auto* outer = DialogColumn(this, 14);
    AddDialogHeading(this, outer, QStringLiteral("Usuários"), 18);

    model_ = new UsuariosModel(Usuarios_, this);
    GridUsuarios_ = new UsuariosGrid(model_, this);
    GridUsuarios_->setObjectName(QStringLiteral("GridUsuarios"));
    GridUsuarios_->setSelectionMode(QAbstractItemView::SingleSelection);
    GridUsuarios_->setAlternatingRowColors(true);
    GridUsuarios_->verticalHeader()->setDefaultSectionSize(GridUsuarios_->fontMetrics().height() + 10);
    GridUsuarios_->verticalHeader()->setMinimumWidth(22);
    GridUsuarios_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    auto* h = GridUsuarios_->horizontalHeader();
    h->setSectionResizeMode(0, QHeaderView::Stretch);
    h->setSectionResizeMode(1, QHeaderView::Interactive);
    h->setSectionResizeMode(2, QHeaderView::Interactive);
    GridUsuarios_->setColumnWidth(1, 140);
    GridUsuarios_->setColumnWidth(2, 110);
    GridUsuarios_->setMinimumSize(460, 260);
    GridUsuarios_->installEventFilter(this);
    outer->addWidget(GridUsuarios_, 1);

    auto* buttons = new QHBoxLayout();
    auto* excluir = DialogButton(this, "Excluir", QStringLiteral("Excluir"), false);
    connect(excluir, &QPushButton::clicked, this, &frmUsuarios::Excluir_Click);
    buttons->addWidget(excluir);
    buttons->addStretch(1);
    auto* sair = DialogButton(this, "Sair", QStringLiteral("Sair"), false);
    connect(sair, &QPushButton::clicked, this, &frmUsuarios::Sair_Click);
    buttons->addWidget(sair);
    outer->addLayout(buttons);
}

// The grid goes before the table it shows (an open editor reads it to the end).
frmUsuarios::~frmUsuarios() { delete GridUsuarios_; }

void frmUsuarios::Sair_Click() { close(); }

bool frmUsuarios::mayLeave()
{
    // The cell being typed counts; a refused one keeps the screen open.
    if (!GridUsuarios_->finishEditing()) return false;
    const std::optional<QString> unsaved = model_->unsavedNewUser();
    if (!unsaved) return true;
    if (MsgBox(*unsaved, int(vb::YesNo) + vb::Question, QStringLiteral("Usuários")) == vb::Yes) {
        // Abandoned now: the rest of the closing (the close box goes on
        // through reject) finds nothing to ask about.
        model_->deleteRow(model_->newRow());
        return true;
    }
    // Back to the new row, on what is missing.
    const QModelIndex at = model_->index(model_->newRow(), model_->firstMissingColumn());
    GridUsuarios_->setCurrentIndex(at);
    GridUsuarios_->setFocus();
    return false;
}

void frmUsuarios::closeEvent(QCloseEvent* event)
{
    if (mayLeave())
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void frmUsuarios::reject()
{
    // Esc closes without a close event.
    if (mayLeave()) QDialog::reject();
}

void frmUsuarios::Excluir_Click()
{
    if (!GridUsuarios_->finishEditing()) return;
    const QModelIndex current = GridUsuarios_->currentIndex();
    if (!current.isValid()) return;
    const int row = current.row(), column = current.column();
    model_->deleteRow(row);
    // The table was read again: the grid stays where it was (on the next user).
    if (!GridUsuarios_->currentIndex().isValid())
        GridUsuarios_->setCurrentIndex(model_->index(qMin(row, model_->newRow()), column));
}

bool frmUsuarios::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == GridUsuarios_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        // Keys typed into an open cell editor go to the editor, not here.
        Excluir_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
