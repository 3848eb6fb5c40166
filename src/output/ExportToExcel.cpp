#include "output/ExportToExcel.h"

#include "shell/Db.h"
#include "shell/Ui.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <xlsxwriter.h>

#include <algorithm>
#include <array>

namespace {

const QString kExportTitle = QStringLiteral("Exportação de tabela");

struct Column {
    const char* heading;
    const char* field;
    bool date;
};

const std::array<Column, 13> kColumns = {{
    {"Processo", "procdv", false},
    {"RPI", "RPI", false},
    {"Data", "DataRPI", true},
    {"Despacho", "Desp", false},
    {"Depósito", "deposito", true},
    {"Vigência", "vigencia", true},
    {"Marca", "Marca", false},
    {"NCL", "NCLClasse", false},
    {"ClasseAntiga", "classe", false},
    {"Titular", "Titular", false},
    {"UF", "titularpais", false},
    {"CGC/CPF/INPI", "CGCCPF", false},
    {"Procurador", "Procurador", false},
}};

// Rows 1 and 2 are bold up to this column.
constexpr int kBoldColumns = 22;
// Excel's widest column.
constexpr double kMaxWidth = 255.0;

// Width of a text in Excel's column unit (one digit of the default font),
// estimated per character since there is no autofit to call.
double textWidth(const QString& text)
{
    double w = 0;
    for (const QChar c : text) {
        if (QStringLiteral("iljtfr.,:;!|' ").contains(c))
            w += 0.6;
        else if (c.isUpper() || c == u'm' || c == u'w')
            w += 1.2;
        else
            w += 1.0;
    }
    return w;
}

// The date a value holds; an invalid date when it holds none.
QDate dateOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
    if (v.typeId() == QMetaType::QDate) return v.toDate();
    return QDate();
}

// The spreadsheet's dates start in 1900.
bool fitsSheet(const QDate& d) { return d.isValid() && d.year() >= 1900 && d.year() <= 9999; }

const QString kDateShown = QStringLiteral("dd/MM/yyyy");

class Writer {
public:
    explicit Writer(const QString& path) : wb_(workbook_new(QFile::encodeName(path).constData()))
    {
        if (!wb_) return;
        ws_ = workbook_add_worksheet(wb_, nullptr);
        bold_ = workbook_add_format(wb_);
        format_set_bold(bold_);
        format_set_font_size(bold_, 10);
        date_ = workbook_add_format(wb_);
        format_set_num_format(date_, "dd/mm/yyyy");
    }
    ~Writer()
    {
        if (wb_) workbook_close(wb_);
    }
    bool ok() const { return wb_ && ws_ && err_ == LXW_NO_ERROR; }
    QString error() const
    {
        return err_ == LXW_NO_ERROR ? QStringLiteral("não foi possível criar a planilha")
                                    : QString::fromUtf8(lxw_strerror(err_));
    }

    void text(int row, int col, const QString& s, bool bold = false)
    {
        if (s.isEmpty() && !bold) return;
        check(worksheet_write_string(ws_, row, col, s.toUtf8().constData(), bold ? bold_ : nullptr));
    }
    void number(int row, int col, double d) { check(worksheet_write_number(ws_, row, col, d, nullptr)); }
    // A date cell shown dd/mm/yyyy.
    void date(int row, int col, const QDate& d)
    {
        lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0.0};
        check(worksheet_write_datetime(ws_, row, col, &dt, date_));
    }
    void blankBold(int row, int col) { check(worksheet_write_blank(ws_, row, col, bold_)); }
    void width(int col, double w) { check(worksheet_set_column(ws_, col, col, w, nullptr)); }

    // Writes the file; false with error() on failure.
    bool close()
    {
        lxw_workbook* wb = wb_;
        wb_ = nullptr;
        const lxw_error e = workbook_close(wb);
        if (err_ == LXW_NO_ERROR) err_ = e;
        return err_ == LXW_NO_ERROR;
    }

private:
    void check(lxw_error e)
    {
        if (err_ == LXW_NO_ERROR) err_ = e;
    }
    lxw_workbook* wb_;
    lxw_worksheet* ws_ = nullptr;
    lxw_format* bold_ = nullptr;
    lxw_format* date_ = nullptr;
    lxw_error err_ = LXW_NO_ERROR;
};

// Writes the sheet; returns an empty text, or what went wrong.
QString writeWorkbook(const QString& path, const QString& title, Recordset& rs)
{
    Writer w(path);
    if (!w.ok()) return w.error();

    std::array<int, 13> fields{};
    std::array<double, 13> widths{};
    for (size_t c = 0; c < kColumns.size(); ++c) {
        fields[c] = rs.columnIndex(QString::fromUtf8(kColumns[c].field));
        if (fields[c] < 0)
            throw DbError(QStringLiteral("Coluna inexistente: %1").arg(QString::fromUtf8(kColumns[c].field)));
        const QString heading = QString::fromUtf8(kColumns[c].heading);
        w.text(1, int(c), heading, true);
        widths[c] = textWidth(heading);
    }
    for (int c = 0; c < kBoldColumns; ++c) {
        if (c > 0) w.blankBold(0, c);
        if (c >= int(kColumns.size())) w.blankBold(1, c);
    }

    int row = 2;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext(), ++row) {
        for (size_t c = 0; c < kColumns.size(); ++c) {
            const QVariant v = rs.value(fields[c]);
            const QDate d = dateOf(v);
            QString shown;
            if (v.isNull()) {
            } else if (fitsSheet(d)) {
                w.date(row, int(c), d);
                shown = d.toString(kDateShown);
            } else if (d.isValid()) {
                // Before the sheet's first date: written as it is shown.
                shown = d.toString(kDateShown);
                w.text(row, int(c), shown);
            } else if (IsNumberValue(v) && !kColumns[c].date) {
                w.number(row, int(c), v.toDouble());
                shown = QString::number(v.toDouble(), 'g', 11);
            } else {
                shown = v.toString();
                w.text(row, int(c), shown);
            }
            widths[c] = std::max(widths[c], textWidth(shown));
        }
    }

    // Columns fitted to headings and data; the title goes in afterwards so
    // that a long one does not widen column A.
    for (size_t c = 0; c < kColumns.size(); ++c) w.width(int(c), std::min(kMaxWidth, widths[c] + 1.0));
    w.text(0, 0, title, true);
    if (!w.close()) return w.error();
    return QString();
}

}  // namespace

void ExportToExcel(const QString& title, Recordset& rs)
{
    // Qt gives an empty temporary path when TMPDIR names no folder.
    QString folder = QDir::tempPath();
    if (folder.isEmpty()) folder = qEnvironmentVariable("TMPDIR");
    QTemporaryFile tmp(folder + QStringLiteral("/Quorvanta-XXXXXX.xlsx"));
    tmp.setAutoRemove(false);
    if (!QFileInfo(folder).isDir() || !tmp.open()) {
        ui().setPointer(vb::Default);
        MsgBox(QStringLiteral("Não foi possível criar a planilha na pasta temporária %1 : %2")
                   .arg(QDir::toNativeSeparators(folder),
                        QFileInfo(folder).isDir() ? tmp.errorString() : QStringLiteral("a pasta não existe")),
               vb::Critical, kExportTitle);
        return;
    }
    const QString path = QDir::toNativeSeparators(tmp.fileName());
    tmp.close();

    QString failure;
    try {
        failure = writeWorkbook(tmp.fileName(), title, rs);
    } catch (const DbError& e) {
        failure = e.message();
    }
    rs.moveFirst();

    if (!failure.isEmpty()) {
        QFile::remove(tmp.fileName());
        ui().setPointer(vb::Default);
        MsgBox(QStringLiteral("Não foi possível gravar a planilha %1 : %2").arg(path, failure), vb::Critical,
               kExportTitle);
        return;
    }

    const bool opened = ui().openWithDesktop(tmp.fileName());
    ui().setPointer(vb::Default);
    if (!opened) {
        MsgBox(QStringLiteral("Os dados foram exportados para a planilha %1 , mas nenhum aplicativo pôde abri-la.")
                   .arg(path),
               vb::Exclamation, kExportTitle);
        return;
    }
    MsgBox(QStringLiteral("Dados exportados com sucesso !"), vb::Information);
}
