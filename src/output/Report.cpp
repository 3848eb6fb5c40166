#include "output/Report.h"

#include "shell/Ui.h"

#include <QDate>
#include <QDateTime>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QScreen>
#include <QPrinter>
#include <QTextLayout>

#include <algorithm>
#include <memory>

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerPoint = 20.0;
// Paper margins on every side, in millimetres (half an inch).
constexpr double kMarginMm = 12.7;
constexpr double kRuleWidth = 12.0;
// Room left between a text and the next column.
constexpr double kFieldGap = 40.0;

// Fonts are drawn in twips: the painter is scaled from twips to device pixels.
QFont twipsFont(const QFont& f)
{
    QFont t(f);
    const double points = f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize() * 0.75;
    t.setPixelSize(std::max(1, qRound(points * kTwipsPerPoint)));
    return t;
}

QString fieldText(const QVariant& v)
{
    if (v.isNull()) return QString();
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.date().toString(QStringLiteral("dd/MM/yyyy"))
                                        : dt.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    }
    default:
        return v.toString();
    }
}

// "%i", "%p" and "%P" replaced in one pass, so a title holding "%p" stays as it is.
QString expand(const QString& caption, const QString& title, int page, int pages)
{
    QString out;
    out.reserve(caption.size());
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'%' && i + 1 < caption.size()) {
            const QChar c = caption[i + 1];
            if (c == u'i') {
                out += title;
                ++i;
                continue;
            }
            if (c == u'p' && page > 0) {
                out += QString::number(page);
                ++i;
                continue;
            }
            if (c == u'P' && pages > 0) {
                out += QString::number(pages);
                ++i;
                continue;
            }
        }
        out += caption[i];
    }
    return out;
}

// A wrapped text, laid out in twips.
std::unique_ptr<QTextLayout> wrapText(QString text, const QFont& font, double width, Qt::Alignment align,
                                      QPaintDevice* device)
{
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(u'\n', QChar::LineSeparator);
    text.replace(u'\r', QChar::LineSeparator);
    auto layout = std::make_unique<QTextLayout>(text, twipsFont(font), device);
    QTextOption option(align);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    double y = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    return layout;
}

// One instance of a band: where its items stand once grown items have
// pushed the ones under them down.
struct Band {
    const ReportSection* section = nullptr;
    int row = -1;
    double height = 0;
    QVector<double> tops, heights;                // per item
    QVector<QPair<double, double>> keepTogether;  // spans a page break must not cut
};

struct Placed {
    Band band;
    double origin = 0;  // page position of the band's top
    double from = 0, to = 0;  // part of the band shown on this page
};

class Engine {
public:
    Engine(const Report& report, QPaintDevice* device) : r_(report), device_(device)
    {
        const Recordset& rs = r_.dataSource();
        for (const ReportSection* s : sections())
            for (const ReportItem& item : s->items)
                if (item.kind == ReportItem::Field) columns_[&item] = rs.columnIndex(item.dataField);
    }

    QList<const ReportSection*> sections() const
    {
        return {&r_.reportHeader, &r_.pageHeader, &r_.detail, &r_.pageFooter, &r_.reportFooter};
    }

    double reportWidth() const
    {
        double w = 1;
        for (const ReportSection* s : sections())
            for (const ReportItem& item : s->items) w = std::max(w, double(item.left + item.width));
        return w;
    }

    QString text(const ReportItem& item, int row, int page = 0, int pages = 0) const
    {
        if (item.kind == ReportItem::Label) return expand(item.caption, r_.title, page, pages);
        if (item.kind != ReportItem::Field || row < 0) return QString();
        const int c = columns_.value(&item, -1);
        return c < 0 ? QString() : fieldText(r_.dataSource().at(row, c));
    }

    Band measure(const ReportSection& s, int row) const
    {
        Band b;
        b.section = &s;
        b.row = row;
        const int n = int(s.items.size());
        b.tops.resize(n);
        b.heights.resize(n);
        QVector<int> order(n);
        for (int i = 0; i < n; ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](int a, int c) { return s.items[a].top < s.items[c].top; });

        // A grown item pushes down every item that starts below its designed bottom.
        QVector<double> push(n, 0.0);
        double bandPush = 0, bottom = s.height;
        for (int i : order) {
            const ReportItem& item = s.items[i];
            double shift = 0;
            for (int j : order) {
                if (j == i) break;
                if (s.items[j].canGrow && s.items[j].top + s.items[j].height <= item.top) shift = std::max(shift, push[j]);
            }
            b.tops[i] = item.top + shift;
            b.heights[i] = item.height;
            if (item.canGrow && item.kind != ReportItem::Line) {
                auto layout = wrapText(text(item, row), item.font, item.width, item.alignment, device_);
                const double h = layout->boundingRect().height();
                b.heights[i] = std::max<double>(item.height, h);
                for (int l = 0; l < layout->lineCount(); ++l) {
                    const QTextLine line = layout->lineAt(l);
                    b.keepTogether.append({b.tops[i] + line.y(), b.tops[i] + line.y() + line.height()});
                }
            } else if (item.kind != ReportItem::Line) {
                b.keepTogether.append({b.tops[i], b.tops[i] + item.height});
            }
            push[i] = shift + (b.heights[i] - item.height);
            if (item.canGrow) bandPush = std::max(bandPush, push[i]);
            bottom = std::max(bottom, b.tops[i] + b.heights[i]);
        }
        b.height = std::max(s.height + bandPush, bottom);
        return b;
    }

    // The lowest place in (from, limit] where a page can end without cutting a line.
    double cut(const Band& b, double from, double limit) const
    {
        if (limit >= b.height) return b.height;
        QVector<double> candidates{limit};
        for (const auto& k : b.keepTogether) {
            if (k.first > from && k.first <= limit) candidates << k.first;
            if (k.second > from && k.second <= limit) candidates << k.second;
        }
        std::sort(candidates.begin(), candidates.end(), std::greater<double>());
        for (double c : candidates) {
            const bool inside = std::any_of(b.keepTogether.begin(), b.keepTogether.end(),
                                            [c](const QPair<double, double>& k) { return k.first < c && c < k.second; });
            if (!inside) return c;
        }
        return from;
    }

    // Lays every band out on pages of the given height.
    QList<QList<Placed>> paginate(double pageHeight)
    {
        header_ = measure(r_.pageHeader, -1);
        footer_ = measure(r_.pageFooter, -1);
        const double top = header_.height, bottom = std::max(top + 1, pageHeight - footer_.height);
        QList<QList<Placed>> pages{{}};
        double y = top;
        auto newPage = [&] {
            pages.append(QList<Placed>());
            y = top;
        };
        auto place = [&](const Band& b) {
            if (b.height <= 0) return;
            if (b.height > bottom - y && b.height <= bottom - top && y > top) newPage();
            double from = 0;
            while (true) {
                double to = cut(b, from, from + (bottom - y));
                if (to <= from) {
                    if (y > top) {
                        newPage();
                        continue;
                    }
                    to = std::min(b.height, from + (bottom - top));  // a line taller than a page
                }
                pages.last().append({b, y - from, from, to});
                y += to - from;
                from = to;
                if (from >= b.height) break;
                newPage();
            }
        };
        place(measure(r_.reportHeader, -1));
        const int rows = r_.dataSource().recordCount();
        for (int row = 0; row < rows; ++row) place(measure(r_.detail, row));
        place(measure(r_.reportFooter, -1));
        return pages;
    }

    void draw(QPainter& p, const Placed& placed, int page, int pages, bool clip) const
    {
        const Band& b = placed.band;
        p.save();
        if (clip) p.setClipRect(QRectF(-kTwipsPerInch, placed.origin + placed.from, reportWidth() + 2 * kTwipsPerInch,
                                       placed.to - placed.from));
        p.translate(0, placed.origin);
        // What a page shows of a band that runs over several: each line of
        // text or item on the page where its middle falls (the clip alone
        // would leave hidden text in a PDF).
        const auto shown = [&](double top, double height) {
            const double middle = top + height / 2;
            return middle >= placed.from && (middle < placed.to || placed.to >= b.height);
        };
        for (int i = 0; i < b.section->items.size(); ++i) {
            const ReportItem& item = b.section->items[i];
            const QRectF rect(item.left, b.tops[i], item.width, b.heights[i]);
            if (item.kind == ReportItem::Line) {
                if (!shown(rect.top(), 0)) continue;
                p.setPen(QPen(Qt::black, kRuleWidth));
                p.drawLine(QPointF(rect.left(), rect.top()), QPointF(rect.right(), rect.top()));
                continue;
            }
            const QString t = text(item, b.row, page, pages);
            if (t.isEmpty()) continue;
            p.setPen(Qt::black);
            if (item.canGrow) {
                const auto layout = wrapText(t, item.font, item.width, item.alignment, device_);
                for (int l = 0; l < layout->lineCount(); ++l) {
                    const QTextLine line = layout->lineAt(l);
                    if (shown(rect.top() + line.y(), line.height())) line.draw(&p, rect.topLeft());
                }
            } else if (shown(rect.top(), item.height)) {
                drawText(p, item, rect, t);
            }
        }
        p.restore();
    }

    // One line of text. A label may run past its box; a field too wide for
    // its box (less a small gap before the next column) is drawn smaller, on
    // the same baseline, down to three quarters of its size, and then cut
    // with an ellipsis. Right-aligned text keeps the same gap at its right.
    void drawText(QPainter& p, const ReportItem& item, QRectF rect, QString t) const
    {
        if (item.kind != ReportItem::Field) {
            // Labels keep their line breaks (a title of two lines prints
            // as two lines).
            t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            t.replace(u'\r', u'\n');
            if (t.contains(u'\n')) {
                p.setFont(twipsFont(item.font));
                p.drawText(rect, int(item.alignment | Qt::AlignTop | Qt::TextDontClip), t);
                return;
            }
        }
        t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        t.replace(u'\n', u' ');
        t.replace(u'\r', u' ');
        const QFont full = twipsFont(item.font);
        QFont f = full;
        if (item.kind == ReportItem::Field) {
            const double room = std::max(1.0, rect.width() - kFieldGap);
            while (QFontMetricsF(f, device_).horizontalAdvance(t) > room && f.pixelSize() * 4 > full.pixelSize() * 3)
                f.setPixelSize(f.pixelSize() - 2);
            t = QFontMetricsF(f, device_).elidedText(t, Qt::ElideRight, room);
            rect.translate(0, QFontMetricsF(full, device_).ascent() - QFontMetricsF(f, device_).ascent());
        }
        if (item.alignment & Qt::AlignRight) rect.adjust(0, 0, -kFieldGap, 0);
        p.setFont(f);
        p.drawText(rect, int(item.alignment | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip), t);
    }

    const Band& header() const { return header_; }
    const Band& footer() const { return footer_; }

private:
    const Report& r_;
    QPaintDevice* device_;
    QHash<const ReportItem*, int> columns_;
    Band header_, footer_;
};

}  // namespace

ReportItem& ReportSection::addLabel(const QString& name, const QString& caption, int left, int top, int width,
                                    int height)
{
    ReportItem item;
    item.kind = ReportItem::Label;
    item.name = name;
    item.caption = caption;
    item.left = left;
    item.top = top;
    item.width = width;
    item.height = height;
    items.append(item);
    return items.last();
}

ReportItem& ReportSection::addField(const QString& name, const QString& field, int left, int top, int width,
                                    int height)
{
    ReportItem& item = addLabel(name, QString(), left, top, width, height);
    item.kind = ReportItem::Field;
    item.dataField = field;
    return item;
}

ReportItem& ReportSection::addLine(const QString& name, int left, int top, int width)
{
    ReportItem& item = addLabel(name, QString(), left, top, width, 0);
    item.kind = ReportItem::Line;
    return item;
}

ReportItem* ReportSection::control(const QString& name)
{
    for (ReportItem& item : items)
        if (item.name.compare(name, Qt::CaseInsensitive) == 0) return &item;
    return nullptr;
}

Report::Report(const QString& n) : name(n)
{
    reportHeader.name = QStringLiteral("ReportHeader");
    pageHeader.name = QStringLiteral("PageHeader");
    detail.name = QStringLiteral("Detail");
    pageFooter.name = QStringLiteral("PageFooter");
    reportFooter.name = QStringLiteral("ReportFooter");
}

ReportSection* Report::section(const QString& n)
{
    for (ReportSection* s : {&reportHeader, &pageHeader, &detail, &pageFooter, &reportFooter})
        if (s->name.compare(n, Qt::CaseInsensitive) == 0) return s;
    return nullptr;
}

int Report::render(QPagedPaintDevice& device) const
{
    QPainter p;
    if (!p.begin(&device)) return 0;
    p.setRenderHint(QPainter::TextAntialiasing);
    Engine e(*this, &device);

    // Twips to device pixels, scaled down when the layout is wider than the paper.
    double k = device.logicalDpiX() / kTwipsPerInch;
    const double width = e.reportWidth();
    if (width * k > device.width()) k = device.width() / width;
    const double pageHeight = device.height() / k;

    const QList<QList<Placed>> pages = e.paginate(pageHeight);
    const int count = int(pages.size());
    for (int i = 0; i < count; ++i) {
        if (i > 0) device.newPage();
        p.save();
        p.scale(k, k);
        e.draw(p, {e.header(), 0, 0, e.header().height}, i + 1, count, false);
        for (const Placed& placed : pages[i])
            e.draw(p, placed, i + 1, count, placed.from > 0 || placed.to < placed.band.height);
        e.draw(p, {e.footer(), pageHeight - e.footer().height, 0, e.footer().height}, i + 1, count, false);
        p.restore();
    }
    p.end();
    return count;
}

namespace {

void setUp(QPagedPaintDevice& device, int orientation)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(orientation == Report::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

}  // namespace

QString OneLineTitle(const QString& title)
{
    QString t = title;
    t.replace(QLatin1String("\r\n"), QLatin1String(" "));
    t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return t;
}

QString PrintDocumentName(const QString& title)
{
    // Room for ".pdf" within the 255 bytes a file name may have.
    constexpr qsizetype kMaxBytes = 200;
    const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString name;
    for (const QChar c : OneLineTitle(title)) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0) || forbidden.contains(c))
            name += QLatin1Char(u == '\t' ? ' ' : '-');
        else
            name += c;
    }
    name = name.simplified();
    // Whole characters only: a surrogate pair is never split.
    while (name.toUtf8().size() > kMaxBytes) {
        name.chop(name.size() >= 2 && name.back().isLowSurrogate() ? 2 : 1);
    }
    // No hidden file, and no blank or dot before the extension.
    while (!name.isEmpty() && (name.front() == QLatin1Char('.') || name.front() == QLatin1Char(' '))) name.remove(0, 1);
    while (!name.isEmpty() && (name.back() == QLatin1Char('.') || name.back() == QLatin1Char(' '))) name.chop(1);
    if (name.isEmpty()) name = QStringLiteral("Relatório");
    return name + QStringLiteral(".pdf");
}

QStringList Report::missingFields() const
{
    QStringList missing;
    for (const ReportItem& item : detail.items)
        if (item.kind == ReportItem::Field && !rows_.hasColumn(item.dataField)) missing << item.dataField;
    return missing;
}

bool Report::printToPdf(const QString& path) const
{
    if (!missingFields().isEmpty()) return false;
    QPdfWriter pdf(path);
    pdf.setTitle(title);
    pdf.setCreator(kAppTitle);
    setUp(pdf, orientation);
    return render(pdf) > 0;
}

void Report::show()
{
    if (const QStringList missing = missingFields(); !missing.isEmpty()) {
        MsgBox(QStringLiteral("O relatório %1 não encontrou nos dados a coluna %2.").arg(name, missing.join(u',')),
               vb::Critical);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(PrintDocumentName(title));
    setUp(printer, orientation);
    QPrintPreviewDialog preview(&printer);
    preview.setObjectName(name);
    preview.setWindowTitle(OneLineTitle(caption.isEmpty() ? title : caption));
    // A starting size of its own, for desktops without a window manager
    // to maximise it; otherwise it opens maximised.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        preview.resize(screen->availableGeometry().size() * 0.9);
    else
        preview.resize(1100, 800);
    preview.setWindowState(Qt::WindowMaximized);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [this](QPrinter* pr) {
        if (render(*pr) == 0)
            MsgBox(QStringLiteral("Não foi possível desenhar o relatório %1.").arg(name), vb::Critical);
    });
    ui().showModal(&preview);
}
