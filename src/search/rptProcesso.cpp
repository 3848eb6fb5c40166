#include "search/rptProcesso.h"

namespace {

// Printable width of an A4 portrait page within the report's margins.
constexpr int kWidth = 10460;

void layOut(Report& r)
{
    const QFont title(QStringLiteral("Arial"), 14, QFont::Bold);
    const QFont heading(QStringLiteral("Arial"), 9, QFont::Bold);
    const QFont text(QStringLiteral("Arial"), 9);

    r.caption = QStringLiteral("DataReport1");
    r.reportHeader.name = QStringLiteral("Section4");
    r.pageHeader.name = QStringLiteral("Section2");
    r.detail.name = QStringLiteral("Section1");
    r.pageFooter.name = QStringLiteral("Section3");
    r.reportFooter.name = QStringLiteral("Section5");

    ReportSection& h = r.reportHeader;
    ReportItem& t = h.addLabel(QStringLiteral("Label9"), QStringLiteral("%i"), 0, 0, kWidth, 420);
    t.font = title;
    t.alignment = Qt::AlignHCenter;
    // Long lines wrap rather than run off the paper.
    for (int i = 1; i <= 5; ++i) {
        ReportItem& line = h.addLabel(QStringLiteral("LblLinha%1").arg(i), QStringLiteral("Linha %1").arg(i), 0,
                                      540 + (i - 1) * 270, kWidth, 240);
        line.font = text;
        line.canGrow = true;
    }
    ReportItem& especLabel = h.addLabel(QStringLiteral("Label1"), QString::fromUtf8("Especificação :"), 0, 1890, 1300, 240);
    especLabel.font = heading;
    ReportItem& l6 = h.addLabel(QStringLiteral("LblLinha6"), QStringLiteral("Linha 6"), 1360, 1890, kWidth - 1360, 240);
    l6.font = text;
    l6.canGrow = true;
    ReportItem& l7 = h.addLabel(QStringLiteral("LblLinha7"), QStringLiteral("Linha 7"), 0, 2160, kWidth, 240);
    l7.font = text;
    l7.canGrow = true;

    struct Col {
        const char* label;
        const char* caption;
        const char* field;
        const char* text;
        int left, width;
    };
    const Col cols[] = {
        {"Label5", "Data RPI", "rdata", "Text5", 0, 1100},
        {"Label6", "Desp", "despacho", "Text6", 1160, 1100},
        {"Label4", "RPI", "revista", "Text4", 2320, 700},
        {"Label7", "Complemento", "complemento", "Text7", 3080, kWidth - 3080},
    };
    for (const Col& c : cols)
        h.addLabel(QLatin1String(c.label), QLatin1String(c.caption), c.left, 2460, c.width, 240).font = heading;
    h.addLine(QStringLiteral("Line1"), 0, 2730, kWidth);
    h.height = 2800;

    r.pageHeader.height = 0;
    r.pageFooter.height = 0;
    r.reportFooter.height = 0;

    ReportSection& d = r.detail;
    d.height = 250;
    for (const Col& c : cols) {
        ReportItem& f = d.addField(QLatin1String(c.text), QLatin1String(c.field), c.left, 0, c.width, 230);
        f.font = text;
    }
    // The whole complement is printed, over as many lines as it needs.
    d.control(QStringLiteral("Text7"))->canGrow = true;

    r.orientation = Report::Portrait;
}

}  // namespace

Report& rptProcesso()
{
    static Report report = [] {
        Report r(QStringLiteral("rptProcesso"));
        layOut(r);
        return r;
    }();
    return report;
}
