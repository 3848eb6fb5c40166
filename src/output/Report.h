#pragma once
// A small banded report: report header, page header, detail (one per row of
// the data source), page footer and report footer. Positions are in twips
// (1440 to the inch): Left from the left margin, Top from the top of the
// band. Label captions may hold "%i" (the title), "%p" (the page number) and
// "%P" (the page count). An item that can grow wraps its text and pushes the
// items under it, and the band, down.

#include "shell/Db.h"

#include <QFont>
#include <QList>
#include <QString>

class QPagedPaintDevice;

// The title on one line (a window's title): each line break, CR LF, CR or
// LF, becomes one blank.
QString OneLineTitle(const QString& title);
// The name of the printed document, which the print dialog also offers as
// the file of a print to file: the title on one line with its blanks run
// together, every character no file name may hold ("/", "\", ":", "*",
// "?", quotes, "<", ">", "|", control characters) replaced by "-", cut to
// fit a file name, and ending in ".pdf" (so a dot inside the title is not
// taken for the start of an extension).
QString PrintDocumentName(const QString& title);

struct ReportItem {
    enum Kind { Label, Field, Line };
    Kind kind = Label;
    QString name;
    QString caption;    // labels
    QString dataField;  // fields: column name, any case
    int left = 0, top = 0, width = 0, height = 0;
    bool canGrow = false;  // otherwise one line, cut with an ellipsis
    Qt::Alignment alignment = Qt::AlignLeft;
    QFont font;  // its point size is used at any resolution
};

struct ReportSection {
    QString name;
    int height = 0;
    QList<ReportItem> items;

    ReportItem& addLabel(const QString& name, const QString& caption, int left, int top, int width, int height);
    ReportItem& addField(const QString& name, const QString& field, int left, int top, int width, int height);
    ReportItem& addLine(const QString& name, int left, int top, int width);
    // nullptr when the section has no item of that name.
    ReportItem* control(const QString& name);
};

class Report {
public:
    enum Orientation { Portrait = 1, Landscape = 2 };

    explicit Report(const QString& name);

    QString name;
    QString caption;  // preview window caption; the title when empty
    QString title;    // "%i"
    int orientation = Portrait;

    ReportSection reportHeader, pageHeader, detail, pageFooter, reportFooter;
    // A section by its name; nullptr when none has it.
    ReportSection* section(const QString& name);

    // The rows printed, copied in their current order.
    void setDataSource(const Recordset& rs) { rows_ = rs; }
    void setDataSource(const DataControl& dc) { rows_ = dc.recordset(); }
    const Recordset& dataSource() const { return rows_; }
    // Fields of the detail whose column the data source lacks.
    QStringList missingFields() const;

    // Draws every page on the device, with its current page size and
    // orientation; returns the number of pages (0 when painting failed).
    int render(QPagedPaintDevice& device) const;
    // Writes the report to a PDF file (A4, the report's orientation);
    // false when a field has no column or the file cannot be written.
    bool printToPdf(const QString& path) const;
    // Modal print preview, from which the user prints or saves a PDF.
    // A field without its column is reported and nothing is shown.
    void show();

private:
    Recordset rows_;
};
