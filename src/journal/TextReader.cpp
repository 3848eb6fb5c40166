#include "TextReader.h"

#include "CGUnzipFiles.h"
#include "IssueRecord.h"
#include "SqlLiterals.h"
#include "VbError.h"
#include "keys/Cp1252.h"
#include "shell/Db.h"
#include "shell/Globals.h"
#include "shell/OperationLock.h"
#include "shell/Ui.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace {

// Column sizes of the staging table; longer values are cut to fit.
constexpr int kMarcaMax = 250, kMarcaCut = 200;
constexpr int kTitularMax = 180, kProcuradorMax = 180, kCgcMax = 20;
constexpr int kEspecificacaoMax = 64000;
constexpr int kCfeCol = 64000, kClasseCol = 64000, kPrioNumCol = 100, kPrioPaisCol = 10;
constexpr int kTitularPaisCol = 60, kApresentacaoCol = 100, kNaturezaCol = 10;

// 1-based substring, empty beyond the end.
QString mid(const QString& s, qsizetype start, qsizetype len = -1)
{
    if (start < 1 || start > s.size()) return QString();
    return s.mid(start - 1, len);
}

// Trim of blanks only (tabs and other spacing stay).
QString trimBlanks(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == QLatin1Char(' ')) ++b;
    while (e > b && s[e - 1] == QLatin1Char(' ')) --e;
    return s.mid(b, e - b);
}

QString dotted(const QDate& d) { return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QString(); }

// A dd/mm/yyyy text as a date (invalid when it is none).
QDate dayFirst(const QString& text)
{
    const QString t = trimBlanks(text);
    // The published form dd/mm/yyyy, read by hand (the common case).
    auto digit = [&](int i) { return t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9') ? t[i].unicode() - '0' : -1; };
    if (t.size() == 10 && t[2] == QLatin1Char('/') && t[5] == QLatin1Char('/')) {
        const int d1 = digit(0), d2 = digit(1), m1 = digit(3), m2 = digit(4);
        const int y1 = digit(6), y2 = digit(7), y3 = digit(8), y4 = digit(9);
        if (d1 >= 0 && d2 >= 0 && m1 >= 0 && m2 >= 0 && y1 >= 0 && y2 >= 0 && y3 >= 0 && y4 >= 0)
            return QDate(y1 * 1000 + y2 * 100 + y3 * 10 + y4, m1 * 10 + m2, d1 * 10 + d2);  // invalid when no date
    }
    for (const char* fmt : {"dd/MM/yyyy", "d/M/yyyy", "dd.MM.yyyy", "dd-MM-yyyy"}) {
        const QDate d = QDate::fromString(t, QLatin1String(fmt));
        if (d.isValid()) return d;
    }
    return QDate();
}

bool has(const QString& line, const char* what) { return line.contains(QLatin1String(what), Qt::CaseInsensitive); }

// "NCL(10)" inside a "Marca:" or "CFE(" line: the class and its
// goods and services text (especificação) are taken from it and the line is cut before it.
void splitClassMarker(QString& line, TxtRecord& rec)
{
    const qsizetype q = line.indexOf(QLatin1String("NCL(10)"), 0, Qt::CaseInsensitive);
    if (q < 0) return;
    const QString part = line.mid(q);
    line.truncate(q);
    rec.nclver = int(LeadingNumber(mid(part, 5, 2)));
    rec.nclclasse = int(LeadingNumber(mid(part, 9, 2)));
    if (part.size() > 10) rec.especificacao = mid(part, 12);
}

void parseNumberLine(const QString& line, TxtRecord& rec, const QDate& issueDate)
{
    rec.procNum = mid(line, 4, 9);
    rec.despacho = int(LeadingNumber(line.right(3)));
    if (line.size() <= 27) return;
    const QDate date = dayFirst(mid(line, 15, 10));
    const int d = rec.despacho;
    if (d < 400) {
        rec.deposito = dotted(date);
    } else if (d <= 404) {
        rec.concessao = dotted(issueDate);
        rec.vigencia = dotted(issueDate.isValid() ? issueDate.addYears(10) : QDate());
    } else {
        rec.vigencia = dotted(date.isValid() ? date.addYears(10) : QDate());
    }
}

struct ReadFailure : std::runtime_error {
    explicit ReadFailure(const QString& m) : std::runtime_error(m.toStdString()), message(m) {}
    QString message;
};

// Files of a folder matching a wildcard, letter case ignored, by name.
QStringList matching(const QString& dir, const QString& pattern)
{
    QDir d(dir);
    d.setNameFilters({pattern});
    d.setFilter(QDir::Files | QDir::Hidden);
    d.setSorting(QDir::Name | QDir::IgnoreCase);
    return d.entryList();  // QDir matches name filters without regard to case
}

void deleteMatching(const QString& dir, const QString& pattern)
{
    for (const QString& name : matching(dir, pattern)) {
        const QString path = QDir(dir).filePath(name);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        if (!QFile::remove(path)) throw ReadFailure(QStringLiteral("não foi possível apagar o arquivo %1").arg(path));
    }
}

}  // namespace

long long LeadingNumber(QStringView s)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    auto blank = [&](qsizetype k) {
        const QChar c = s[k];
        return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
    };
    while (i < n && blank(i)) ++i;
    bool negative = false;
    if (i < n && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) {
        negative = s[i] == QLatin1Char('-');
        ++i;
    }
    long long v = 0;
    for (; i < n; ++i) {
        if (blank(i)) continue;
        const QChar c = s[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        if (v < 100000000000000000LL) v = v * 10 + (c.unicode() - '0');
    }
    return negative ? -v : v;
}

QString RebuildClasse(const QString& textIn)
{
    QString buf(17, QLatin1Char(' '));
    int p = 1;
    for (QChar c : trimBlanks(textIn)) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) continue;
        if (p > 17) break;  // the buffer is full
        if (p == 6 || p == 12) buf[p++ - 1] = QLatin1Char(';');
        buf[p++ - 1] = c;
        if (p == 3 || p == 9 || p == 15) buf[p++ - 1] = QLatin1Char('.');
    }
    return buf.left(p - 1);
}

QList<int> CitedProcesses(const QString& complemento)
{
    QList<int> out;
    const qsizetype n = complemento.size();
    qsizetype run = 0;
    for (qsizetype i = 1; i <= n; ++i) {  // from the second character; the end counts as a non-digit
        const bool digit = i < n && complemento[i] >= QLatin1Char('0') && complemento[i] <= QLatin1Char('9');
        if (digit) {
            ++run;
            continue;
        }
        if (run == 9) out << int(LeadingNumber(QStringView(complemento).mid(i - 9, 8)));
        run = 0;
    }
    return out;
}

bool DispatchCites(int d) { return d == 100 || d == 241 || d == 242 || d == 243 || d == 245 || d == 251 || d == 888; }

QStringList SplitTxtLines(const QString& t)
{
    QStringList lines;
    const qsizetype n = t.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = t[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        lines << t.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < n && t[i + 1] == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < n) lines << t.mid(start);
    return lines;
}

void ParseTxtLine(const QString& lineIn, TxtRecord& rec, const QDate& issueDate, TxtVariant variant)
{
    QString line = lineIn;
    auto starts = [&](const char* tag) { return line.startsWith(QLatin1String(tag)); };
    if (starts("No.")) {
        parseNumberLine(line, rec, issueDate);
    } else if (starts("Marca:")) {
        splitClassMarker(line, rec);
        rec.marca = trimBlanks(mid(line, 7));
        if (rec.marca.size() > kMarcaMax) rec.marca.truncate(kMarcaCut);
    } else if (starts("Tit.")) {
        const qsizetype p = line.lastIndexOf(QLatin1Char('('));  // 0-based
        if (p < 0) {
            rec.titular = trimBlanks(mid(line, 5)).left(kTitularMax);
            rec.titularpais.clear();
        } else {
            rec.titular = trimBlanks(line.mid(4, p - 4)).left(kTitularMax);
            QString pais = trimBlanks(line.mid(p + 1));
            pais.chop(1);  // the closing parenthesis
            rec.titularpais = trimBlanks(pais);
        }
    } else if (starts("Procurador:")) {
        rec.procurador = mid(line, 12).left(kProcuradorMax);
        const qsizetype e = rec.procurador.indexOf(QLatin1String("ENDOFFILE"), 0, Qt::CaseInsensitive);
        if (e >= 0) rec.procurador.truncate(e);
    } else if (starts("NCL(")) {
        rec.nclver = int(LeadingNumber(mid(line, 5, 1)));
        rec.nclclasse = int(LeadingNumber(mid(line, 8, 2)));
        if (line.size() > 9) rec.especificacao = mid(line, 11);
    } else if (starts("Apostila:")) {
        rec.apostila = mid(line, 11);
    } else if (starts("Especific.:")) {
        rec.especificacao = mid(line, 13);
    } else if (starts("C.N.P.J.")) {
        rec.cgccpf = mid(line, 26).left(kCgcMax);
    } else if (starts("Clas.Prod/Serv:")) {
        if (line.size() >= 17) {
            const QString published = mid(line, 17).left(50);
            rec.classe = variant == TxtVariant::Batch ? published : RebuildClasse(trimBlanks(published));
        }
    } else if (starts("Apres")) {
        rec.apresentacao = has(line, "Nom")   ? QStringLiteral("N")
                           : has(line, "Mis") ? QStringLiteral("M")
                           : has(line, "Fig") ? QStringLiteral("F")
                                              : QStringLiteral("T");
        rec.natureza = has(line, "Prod")    ? QStringLiteral("P")
                       : has(line, "Serv")  ? QStringLiteral("S")
                       : has(line, "Colet") ? QStringLiteral("K")
                       : has(line, "Geog")  ? QStringLiteral("G")
                                            : QStringLiteral("C");
    } else if (starts("CFE(")) {
        splitClassMarker(line, rec);
        rec.cferev = int(LeadingNumber(mid(line, 5, 1)));
        rec.cfe = mid(line, 8);
    } else if (starts("Prior.:")) {
        rec.prioridadenum = mid(line, 8, 17);
        rec.prioridadedata = dotted(dayFirst(mid(line, 26, 10)));
        rec.prioridadepais = mid(line, 38, 2);
    } else if (starts("*")) {
        rec.complemento = trimBlanks(line);
    }
}

QString BuildRpiInsert(TxtRecord& rec, int codigo, int revista)
{
    if (rec.especificacao.size() > kEspecificacaoMax) rec.especificacao.truncate(kEspecificacaoMax);
    QVariant marca = TextValue(rec.marca, kMarcaMax), procurador = TextValue(rec.procurador, kProcuradorMax),
             titular = TextValue(rec.titular, kTitularMax), prioNum = TextValue(rec.prioridadenum, kPrioNumCol),
             espec = TextValue(rec.especificacao), apostila = TextValue(rec.apostila), complem = TextValue(rec.complemento);
    const QChar comma = QLatin1Char(',');
    QString s;
    s.reserve(600 + rec.especificacao.size() + rec.apostila.size() + rec.complemento.size());
    s += QStringLiteral(
        "INSERT INTO RPI (codigo, processo,revista, despacho, deposito, vigencia, concessao, apresentacao, natureza, "
        "nclver, nclclasse, cferev, cfe, classe, marca, procurador, titular, cgccpf, prioridadenum, prioridadedata, "
        "prioridadepais, titularpais, especificacao, apostila, complemento)  VALUES (");
    s += Quoted(QString::number(codigo)) + comma;
    s += Quoted(QString::number(LeadingNumber(rec.procNum.left(8)))) + comma;
    s += Quoted(QString::number(revista)) + comma;
    s += Quoted(QString::number(rec.despacho)) + comma;
    s += TestaNulo(TextValue(rec.deposito)) + comma;
    s += TestaNulo(TextValue(rec.vigencia)) + comma;
    s += TestaNulo(TextValue(rec.concessao)) + comma;
    s += TestaNulo(TextValue(rec.apresentacao, kApresentacaoCol)) + comma;
    s += TestaNulo(TextValue(rec.natureza, kNaturezaCol)) + comma;
    s += TestaZero(QVariant(rec.nclver)) + comma;
    s += TestaZero(QVariant(rec.nclclasse)) + comma;
    s += TestaZero(QVariant(rec.cferev)) + comma;
    s += TestaNulo(TextValue(rec.cfe, kCfeCol)) + comma;
    s += TestaNulo(TextValue(rec.classe, kClasseCol)) + comma;
    s += TestaCampoTxt(marca, AbsentGives::EmptyLiteral) + comma;
    s += TestaCampoTxt(procurador, AbsentGives::EmptyLiteral) + comma;
    s += TestaCampoTxt(titular, AbsentGives::EmptyLiteral) + comma;
    s += TestaNulo(TextValue(rec.cgccpf, kCgcMax)) + comma;
    s += TestaCampo(prioNum) + comma;
    s += TestaNulo(TextValue(rec.prioridadedata)) + comma;
    s += TestaNulo(TextValue(rec.prioridadepais, kPrioPaisCol)) + comma;
    s += TestaNulo(TextValue(rec.titularpais, kTitularPaisCol)) + comma;
    s += TestaCampoTxt(espec, AbsentGives::EmptyLiteral) + comma;
    s += TestaCampoTxt(apostila, AbsentGives::EmptyLiteral) + comma;
    s += TestaCampoTxt(complem, AbsentGives::EmptyLiteral) + QLatin1Char(')');
    // The helpers leave the cleaned texts behind, as the record's own.
    rec.marca = marca.toString();
    rec.procurador = procurador.toString();
    rec.titular = titular.toString();
    rec.prioridadenum = prioNum.toString();
    rec.especificacao = espec.toString();
    rec.apostila = apostila.toString();
    rec.complemento = complem.toString();
    return s;
}

QString BuildProcRefInsert(int codigo, int numproc, int ordemproc, int despacho, int revista)
{
    const QChar comma = QLatin1Char(',');
    return QStringLiteral("INSERT INTO PROCREFREVISTA (codigo, numproc,ordemproc, despacho, revista)  VALUES (") +
           Quoted(QString::number(codigo)) + comma + Quoted(QString::number(numproc)) + comma +
           Quoted(QString::number(ordemproc)) + comma + Quoted(QString::number(despacho)) + comma +
           Quoted(QString::number(revista)) + QLatin1Char(')');
}

// ------------------------------------------------------------------ the read

QString TextReader::workDir() { return QDir(Globals::programDir()).filePath(QStringLiteral("txt")); }

void TextReader::tick(bool force)
{
    static QElapsedTimer timer;
    if (!timer.isValid()) timer.start();
    const qint64 now = timer.elapsed();
    if (!force && now - lastTick_ < 50) return;
    lastTick_ = now;
    if (showCount) showCount(records_);
    if (letEventsRun) letEventsRun();
}

void TextReader::writeRecord(TxtRecord& rec, int revista)
{
    DbConnection& db = DbConnection::instance();
    const int codigo = records_ + 1;
    db.execute(BuildRpiInsert(rec, codigo, revista));
    if (DispatchCites(rec.despacho) && !rec.complemento.isEmpty()) {
        for (int numproc : CitedProcesses(rec.complemento))
            db.execute(BuildProcRefInsert(++citations_, numproc, codigo, rec.despacho, revista));
    }
    rec = TxtRecord();
    records_ = codigo;
}

void TextReader::readIssue(const QString& path, const TxtReadRequest& req, int revista)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw ReadFailure(QStringLiteral("não foi possível abrir o arquivo %1: %2").arg(path, f.errorString()));
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw ReadFailure(QStringLiteral("não foi possível ler o arquivo %1: %2").arg(path, f.errorString()));
    f.close();
    const QStringList lines = SplitTxtLines(cp1252::decode(bytes));

    TxtRecord rec;
    const qsizetype n = lines.size();
    for (qsizetype i = 0; i < n; ++i) {
        tick();
        const QString& line = lines[i];
        if (i == n - 1) {  // the last line is not parsed
            writeRecord(rec, revista);
            break;
        }
        if (line.startsWith(QLatin1String("No.")) && rec.procNum != TxtRecord::kNoProcess) writeRecord(rec, revista);
        ParseTxtLine(line, rec, req.issueDate, req.variant);
    }
}

bool TextReader::LerRevistaTxt(const TxtReadRequest& req)
{
    const OperationLock lock(kReadingIssue);
    if (!lock.held()) return false;
    records_ = 0;
    citations_ = 0;
    lastTick_ = 0;
    const bool batch = req.variant == TxtVariant::Batch;
    BusyPointer busy;
    const QString dir = workDir();
    QString failure;
    bool ok = false;
    try {
        if (!QDir().mkpath(dir)) throw ReadFailure(QStringLiteral("não foi possível criar a pasta %1").arg(dir));
        deleteMatching(dir, QStringLiteral("*.txt"));
        {
            CGUnzipFiles unzip;
            unzip.setZipFileName(req.archivePath);
            unzip.setExtractDir(dir);
            unzip.setHonorDirectories(false);
            if (unzip.Unzip(QString(), QString()) != 0) MsgBox(unzip.GetLastMessage());
        }
        // The extraction is synchronous: what is not there now never comes.
        const QStringList found = matching(dir, QStringLiteral("rm*.TXT"));
        if (found.isEmpty())
            throw ReadFailure(QStringLiteral("o arquivo %1 não contém o arquivo da revista (rm*.TXT)").arg(req.archivePath));
        const QString file = QDir(dir).filePath(found.first());
        const int revista = int(LeadingNumber(req.numRevista.right(4)));

        DbConnection& db = DbConnection::instance();
        DbTransaction transaction(db);
        db.execute(QStringLiteral("DELETE FROM RPI"));
        db.execute(QStringLiteral("DELETE FROM PROCREFREVISTA"));
        if (showCount) showCount(0);
        appClock().waitSeconds(5);
        if (letEventsRun) letEventsRun();

        readIssue(file, req, revista);

        RecordIssue(db, revista, req.issueDate);
        transaction.commit();
        ok = true;
    } catch (const DbError& e) {
        failure = QStringLiteral("Erro no banco de dados: ") + e.message();
    } catch (const VbError& e) {
        failure = QStringLiteral("Erro %1 (%2): %3").arg(e.number()).arg(e.source(), e.description());
    } catch (const ReadFailure& e) {
        failure = QStringLiteral("Erro na leitura: ") + e.message;
    } catch (const std::exception& e) {
        failure = QStringLiteral("Erro: ") + QString::fromLocal8Bit(e.what());
    }
    if (showCount) showCount(ok ? records_ : 0);
    if (!ok) records_ = 0;

    auto removeExtracted = [&] {
        try {
            deleteMatching(dir, QStringLiteral("*.txt"));
        } catch (const ReadFailure&) {
            // left for the next read, which deletes them first
        }
    };
    if (!batch) removeExtracted();
    busy.release();
    ui().setPointer(vb::Default);
    if (!ok) {
        MsgBox(QStringLiteral("A revista não foi lida; nada foi alterado no banco de dados.\n") + failure,
               vb::Critical, QStringLiteral("Leitura de Revista"));
        if (batch) removeExtracted();
        return false;
    }
    ui().beep();
    if (batch) {
        removeExtracted();
    } else {
        MsgBox(QStringLiteral("Final de Leitura"), vb::OKOnly, QStringLiteral("Leitura de Revista"));
    }
    return true;
}
