#include "frmUsuarios.h"

#include "DBSpecifics.h"
#include "DialogFrame.h"
#include "Ui.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kErro = QStringLiteral("ERRO");
const QString kFields[3] = {QStringLiteral("usuario"), QStringLiteral("senha"), QStringLiteral("livreacesso")};

}  // namespace

std::optional<QString> CheckUsuarioCell(int column, const QString& value)
{
    if (column == 1) {
        const qsizetype n = value.trimmed().size();
        if (n < 6 || n > 10)
            return QStringLiteral("Senha tem que ter um mínimo de 6 e um máximo de 10 caracteres !");
    } else if (column == 2) {
        const QString flag = value.toUpper();
        if (flag != QLatin1String("S") && flag != QLatin1String("N")) return QStringLiteral(" Digite apenas S ou N !");
    }
    return std::nullopt;
}

// ------------------------------------------------------------------- model

UsuariosModel::UsuariosModel(DataControl& data, QObject* parent) : RecordsetModel(parent), data_(data)
{
    setColumns({{QStringLiteral("Usuário"), kFields[0], {}},
                {QStringLiteral("Senha"), kFields[1], {}},
                {QStringLiteral("Livre Acesso ?"), kFields[2], {}}});
    setRecordset(&data_.recordset());
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
    // Leaving a cell unchanged writes nothing and checks nothing.
    if (text == data(index(row, column), Qt::EditRole).toString()) return false;
    if (const auto refusal = CheckUsuarioCell(column, text)) {
        MsgBox(*refusal, vb::Critical, kErro);
        return false;
    }
    if (isNewRow(row)) {
        pending_[column] = text;
        hasPending_[column] = true;
        if (hasPending_[1] && hasPending_[2]) return insertPending();
        return true;
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
    return true;
}

bool UsuariosModel::insertPending()
{
    Recordset& rs = data_.recordset();
    try {
        rs.addNew();
        for (int c = 0; c < 3; ++c)
            if (hasPending_[c]) rs.setValue(kFields[c], pending_[c]);
        rs.update();  // reads the new row's key back
    } catch (const DbError& e) {
        databaseFailure(e);  // what was typed stays in the new row
        return false;
    }
    clearPending();
    refresh();
    return true;
}

void UsuariosModel::clearPending()
{
    for (int c = 0; c < 3; ++c) {
        pending_[c].clear();
        hasPending_[c] = false;
    }
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
    MsgBox(QStringLiteral("Erro no banco de dados:\n") + e.message(), vb::Critical);
    try {
        data_.Refresh();
    } catch (const DbError& again) {
        MsgBox(QStringLiteral("Erro no banco de dados:\n") + again.message(), vb::Critical);
    }
    refresh();
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
    GridUsuarios_ = new QTableView(this);
    GridUsuarios_->setObjectName(QStringLiteral("GridUsuarios"));
    GridUsuarios_->setModel(model_);
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

void frmUsuarios::Sair_Click() { close(); }

void frmUsuarios::Excluir_Click()
{
    const QModelIndex current = GridUsuarios_->currentIndex();
    if (current.isValid()) model_->deleteRow(current.row());
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
