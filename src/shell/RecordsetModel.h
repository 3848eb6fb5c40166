#pragma once
// A grid's view of a recordset: columns bound by field name (ignoring case),
// rows in the recordset's current order (so a client-side sort shows at
// once), dates shown as dd/MM/yyyy, Null as an empty cell. Editing is
// optional: a handler decides whether an edited cell is written.

#include "Db.h"

#include <QAbstractTableModel>
#include <QVector>
#include <functional>

class QTableView;
struct GridColumn {
    QString caption;
    QString field;
    // Optional own formatting of a value; the default is FormatCell.
    std::function<QString(const QVariant&)> format;
};

// Default cell text: dates dd/MM/yyyy, Null empty, texts as they are.
QString FormatCell(const QVariant& value);

class RecordsetModel;

// Double-click on a long cell: shows the cell's whole text in an information
// message titled `title` and gives the grid its focus back. A Null or empty
// cell shows nothing.
void ShowCellText(QTableView* grid, const RecordsetModel& model, const QModelIndex& at, const QString& title);

// A read-only grid named `name` showing `model`: one cell selected at a
// time, rows of one fixed height, no row header, the first columns as wide
// as `widths` and the last column stretched.
QTableView* ReadOnlyGrid(QWidget* parent, const QString& name, RecordsetModel* model, const QVector<int>& widths);

class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordsetModel(QObject* parent = nullptr);

    void setColumns(const QVector<GridColumn>& columns);
    const QVector<GridColumn>& columns() const { return columns_; }
    // The recordset shown; not owned. nullptr shows an empty grid.
    void setRecordset(Recordset* rs);
    Recordset* recordset() const { return rs_; }
    // Call after the recordset's rows or order changed.
    void refresh();

    // Bound field of a column (as given to setColumns).
    QString field(int column) const { return columns_.value(column).field; }
    // The value under a cell, in the recordset's current order.
    QVariant value(int row, int column) const;

    // Editing: when set, cells are editable and an edit calls this handler
    // (row, column, new text); it returns true when the value was written.
    std::function<bool(int, int, const QString&)> onEdit;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QVector<GridColumn> columns_;
    QVector<int> fieldIndex_;  // column -> recordset column, -1 when absent
    Recordset* rs_ = nullptr;
    void bindFields();
};
