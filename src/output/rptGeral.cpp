#include "output/rptGeral.h"

namespace {

void layOut(Report& r)
{
    const QFont title(QStringLiteral("Arial"), 14, QFont::Bold);
    const QFont heading(QStringLiteral("Arial"), 8, QFont::Bold);
    const QFont text(QStringLiteral("Arial"), 8);

    r.reportHeader.height = 0;

    ReportSection& h = r.pageHeader;
    h.height = 1125;
    ReportItem& t = h.addLabel("Label9", "%i", 0, 0, 15300, 600);
    t.font = title;
    t.alignment = Qt::AlignHCenter;
    struct Col {
        const char* label;
        const char* caption;
        int left, width;
    };
    const Col cols[] = {
        {"Label1", "Processo", 0, 1140},  {"Label2", "RPI", 1134, 567},        {"Label4", "Desp", 1701, 570},
        {"Label3", "Data RPI", 2268, 1140}, {"Label5", "Depósito", 3402, 1140}, {"Label6", "Marca", 4535, 3402},
        {"Label7", "NCL", 7937, 555},     {"Label8", "Titular", 8504, 4535},   {"Label10", "UF", 13039, 570},
        {"Label11", "CGC/CPF/INPI", 13607, 1140},
    };
    for (const Col& c : cols) h.addLabel(c.label, QString::fromUtf8(c.caption), c.left, 767, c.width, 300).font = heading;
    h.addLine("Line1", 0, 1100, 14740);

    ReportSection& d = r.detail;
    d.height = 450;
    struct Field {
        const char* name;
        const char* field;
        int left, width, height;
    };
    const Field fields[] = {
        {"Text1", "procdv", 0, 1140, 200},       {"Text2", "rpi", 1134, 567, 200},
        {"Text4", "desp", 1701, 570, 195},       {"Text3", "datarpi", 2268, 1140, 195},
        {"Text5", "deposito", 3402, 1140, 195},  {"Text6", "marca", 4535, 3402, 200},
        {"Text7", "nclclasse", 7937, 570, 200},  {"Text8", "titular", 8504, 4535, 200},
        {"Text9", "titularpais", 13039, 570, 200}, {"Text10", "cgccpf", 13607, 1140, 200},
    };
    for (const Field& f : fields) d.addField(f.name, f.field, f.left, 0, f.width, f.height).font = text;
    // The two captions stand flush against their fields.
    ReportItem& attorney = d.addLabel("Label13", "Procurador :", 1701, 200, 1125, 200);
    attorney.font = heading;
    attorney.alignment = Qt::AlignRight;
    d.addField("Text11", "procurador", 2835, 200, 6240, 200).font = text;
    ReportItem& oldClass = d.addLabel("Label14", "Classe Antiga :", 11906, 200, 1125, 200);
    oldClass.font = heading;
    oldClass.alignment = Qt::AlignRight;
    d.addField("Text12", "classe", 13039, 200, 1140, 200).font = text;

    r.pageFooter.height = 255;
    ReportItem& page = r.pageFooter.addLabel("Label12", QString::fromUtf8("Página %p de %P"), 13039, 0, 1695, 200);
    page.font = text;
    page.alignment = Qt::AlignRight;

    r.reportFooter.height = 0;
    r.orientation = Report::Landscape;
}

}  // namespace

Report& rptGeral()
{
    static Report report = [] {
        Report r(QStringLiteral("rptGeral"));
        layOut(r);
        return r;
    }();
    return report;
}
