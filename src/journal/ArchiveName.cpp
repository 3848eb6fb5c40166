#include "ArchiveName.h"

namespace {

struct Form {
    const char* prefix;
    int length;  // of the whole name
    const char16_t* message;
};

const Form kRmPdf{"RMPDF", 13, u"Arquivo não é do tipo RMPDFxxxx.zip !"};
const Form kRmTxtPdf{"RMTXTPDF", 16, u"Arquivo não é do tipo RMTXTPDFxxxx.zip !"};
const Form kRm{"RM", 10, u"Arquivo não é de Revista do INPI (RMxxxx.zip) !"};

}  // namespace

ArchiveNameCheck CheckArchiveName(const QString& path)
{
    ArchiveNameCheck r;
    const QString upper = path.toUpper();
    const Form& form = upper.contains(QLatin1String("RMPDF"))      ? kRmPdf
                       : upper.contains(QLatin1String("RMTXTPDF")) ? kRmTxtPdf
                                                                   : kRm;
    const QString prefix = QString::fromLatin1(form.prefix);
    const qsizetype plen = prefix.size();
    // The last characters of the path, as many as the form's length.
    const QString name = path.right(form.length).toUpper();
    if (name.size() < form.length || name.left(plen) != prefix ||
        name.mid(plen + 4, 4) != QLatin1String(".ZIP")) {
        r.message = QString::fromUtf16(form.message);
        return r;
    }
    const QString digits = name.mid(plen, 4);
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            r.message = QStringLiteral("Número da Revista é inválido !");
            return r;
        }
    }
    r.ok = true;
    r.digits = digits;
    return r;
}
