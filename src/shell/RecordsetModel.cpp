#include "RecordsetModel.h"

#include "Ui.h"

#include <QDate>
#include <QDateTime>
#include <QHeaderView>
#include <QTableView>

QString FormatCell(const QVariant& v)
{
    if (v.isNull() || !v.isValid()) return QString();
    switch (v.metaType().id()) {
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime: return v.toDateTime().date().toString(QStringLiteral("dd/MM/yyyy"));
    default: return v.toString();
    }
}

void ShowCellText(QTableView* grid, const RecordsetModel& model, const QModelIndex& at, const QString& title)
{
    const QVariant v = model.value(at.row(), at.column());
    const QString text = FormatCell(v);
    if (v.isNull() || text.isEmpty()) return;
    MsgBox(text, vb::Information, title);
    grid->setFocus();
}

QTableView* ReadOnlyGrid(QWidget* parent, const QString& name, RecordsetModel* model, const QVector<int>& widths)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the grid for the next control; the arrows move between cells.
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->hide();
    grid->setModel(model);
    for (int c = 0; c < widths.size(); ++c) grid->setColumnWidth(c, widths[c]);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

RecordsetModel::RecordsetModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordsetModel::setColumns(const QVector<GridColumn>& columns)
{
    beginResetModel();
    columns_ = columns;
    bindFields();
    endResetModel();
}

void RecordsetModel::setRecordset(Recordset* rs)
{
    beginResetModel();
    rs_ = rs;
    bindFields();
    endResetModel();
}

void RecordsetModel::refresh()
{
    beginResetModel();
    bindFields();
    endResetModel();
}

void RecordsetModel::bindFields()
{
    fieldIndex_.clear();
    for (const GridColumn& c : columns_) fieldIndex_ << (rs_ ? rs_->columnIndex(c.field) : -1);
}

QVariant RecordsetModel::value(int row, int column) const
{
    if (!rs_ || column < 0 || column >= fieldIndex_.size() || fieldIndex_[column] < 0) return QVariant();
    if (row < 0 || row >= rs_->recordCount()) return QVariant();
    return rs_->at(row, fieldIndex_[column]);
}

int RecordsetModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !rs_) return 0;
    return rs_->recordCount();
}

int RecordsetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

QVariant RecordsetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return QVariant();
    const QVariant v = value(index.row(), index.column());
    const GridColumn& c = columns_[index.column()];
    return c.format ? c.format(v) : FormatCell(v);
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Horizontal) return columns_.value(section).caption;
    return QVariant();
}

Qt::ItemFlags RecordsetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (onEdit) f |= Qt::ItemIsEditable;
    return f;
}

bool RecordsetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!onEdit || role != Qt::EditRole || !index.isValid()) return false;
    const bool ok = onEdit(index.row(), index.column(), value.toString());
    if (ok) emit dataChanged(index, index);
    return ok;
}
