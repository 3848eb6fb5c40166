#include "XmlReader.h"

#include "IssueRead.h"
#include "SqlLiterals.h"
#include "TextReader.h"
#include "XmlDecoder.h"
#include "keys/Cp1252.h"
#include "keys/UpperCase.h"
#include "shell/Db.h"

#include <QList>
#include <QStringList>
#include <array>
#include <string_view>

namespace {

const QString kLayoutError = QStringLiteral("Erro no layout do arquivo xml - Processo = ");
const QString kNoRevistaLine =
    QStringLiteral("Erro no layout do arquivo xml - tag '<revista' não é a segunda linha do arquivo");
const QString kNoRevistaEnd =
    QStringLiteral("Erro no layout do arquivo xml - o arquivo termina sem a tag '</revista>'");
const IssueFileKind kXmlIssueFile{QStringLiteral("*.xml"), QStringLiteral("*.xml"),
                                  QStringLiteral("o arquivo da revista não contém nenhum processo com despacho")};
const QString kNoProcess = QStringLiteral("999999999");

// Column sizes of the staging tables; longer values are cut to fit.
constexpr int kMarcaMax = 250, kNameCol = 680, kEspecificacaoMax = 64000;
constexpr int kDespachoCol = 10, kApresentacaoCol = 100, kNaturezaCol = 10;
constexpr int kCfeCol = 64000, kClasseCol = 64000, kPrioNumCol = 100, kPrioPaisCol = 10;
constexpr int kTitularPaisCol = 60, kProtocoloCol = 60, kCodServCol = 60, kRequerenteCol = 64000;

enum State {
    Outside, Process, DispatchList, Dispatch, Petition, HolderList, Holder, LoneHolder, Mark, PriorityList,
    Priority, ViennaList, NiceClass, NationalClass, SubclassList, SuspenderList
};
constexpr unsigned bit(State s) { return 1u << s; }
constexpr unsigned kAnyState = 0xFFFFu;

enum Tag {
    TProcesso, TDespachos, TDespacho, TTextoComplementar, TProtocolo, TRequerente, TCedente, TCessionario,
    TProtocoloEnd, TDespachoEnd, TDespachosEnd, TTitulares, TTitularAttr, TTitular, TNomeRazaoSocial,
    TTitularEnd, TTitularesEnd, TMarca, TNome, TTraducao, TMarcaEnd, TPrioridades, TPrioridadeNumero,
    TPrioridadesEnd, TPrioridadeUnionista, TPrioridadeData, TPrioridadeUnionistaEnd, TClassesVienna,
    TClasseVienna, TClassesViennaEnd, TClasseNice, TEspecificacao, TClasseNiceEnd, TClasseNacional,
    TSubClassesNacional, TSubClasseNacional, TSubClassesNacionalEnd, TClasseNacionalEnd, TApostila,
    TProcurador, TSobrestadores, TSobrestador, TSobrestadoresEnd, TProcessoEnd, TagCount
};

struct TagRow {
    std::string_view text;  // lower case; matched ignoring letter case
    unsigned accepted;
};

// The tags in the order they are tested: the first one a line holds decides.
constexpr std::array<TagRow, TagCount> kTags = {{
    {"<processo", bit(Outside)},
    {"<despachos>", bit(Process)},
    {"<despacho", bit(DispatchList)},
    {"<texto-complementar", bit(Dispatch)},
    {"<protocolo", bit(Dispatch)},
    {"<requerente", bit(Petition)},
    {"<cedente", bit(Petition)},
    {"<cessionario", bit(Petition)},
    {"</protocolo>", bit(Petition)},
    {"</despacho>", bit(Dispatch)},
    {"</despachos>", bit(DispatchList) | bit(Dispatch)},
    {"<titulares>", bit(Process)},
    {"<titular nome-razao-social", bit(HolderList)},
    {"<titular", bit(HolderList) | bit(Process)},
    {"<nome-razao-social", bit(Holder) | bit(LoneHolder)},
    {"</titular>", bit(Holder) | bit(LoneHolder)},
    {"</titulares>", bit(HolderList)},
    {"<marca", kAnyState},
    {"<nome>", bit(Mark)},
    {"<traducao>", bit(Mark)},
    {"</marca>", bit(Mark)},
    {"<prioridades>", bit(Process)},
    {"<prioridade-unionista numero", bit(PriorityList) | bit(Process)},
    {"</prioridades>", bit(PriorityList)},
    {"<prioridade-unionista>", bit(Process)},
    {"<prioridade data", bit(Priority) | bit(Process)},
    {"</prioridade-unionista>", bit(Priority)},
    {"<classes-vienna", bit(Process)},
    {"<classe-vienna", bit(ViennaList) | bit(Process)},
    {"</classes-vienna>", bit(ViennaList)},
    {"<classe-nice", bit(Process)},
    {"<especificacao>", bit(NiceClass) | bit(NationalClass)},
    {"</classe-nice>", bit(NiceClass)},
    {"<classe-nacional", bit(Process)},
    {"<sub-classes-nacional>", bit(NationalClass)},
    {"<sub-classe-nacional", bit(SubclassList)},
    {"</sub-classes-nacional>", bit(SubclassList)},
    {"</classe-nacional>", bit(NationalClass)},
    {"<apostila>", bit(Process)},
    {"<procurador>", bit(Process) | bit(Dispatch) | bit(Petition)},
    {"<sobrestadores>", bit(Process)},
    {"<sobrestador", bit(SuspenderList) | bit(Process)},
    {"</sobrestadores>", bit(SuspenderList)},
    {"</processo>", bit(Process)},
}};

struct XmlDispatch {
    QString codigo, complemento, protocolo, dataProtocolo, codServ, requerente, procuradorPeticao;
};
struct XmlHolder {
    QString nome, pais, uf;
};
struct XmlPriority {
    QString numero, data, pais;
};

// The values of the process being read.
struct XmlProcess {
    QString procNum = kNoProcess;
    QString deposito, concessao, vigencia;
    QList<XmlDispatch> dispatches;
    QList<XmlHolder> holders;
    QList<XmlPriority> priorities;
    int viennaCount = 0;
    QString cfe;
    int cferev = 0;
    QString apresentacao, natureza, marca;
    int nclclasse = 0, nclver = 0;
    QString especificacao, apostila, procurador;
    QString nationalClass, classe;
    int subclassCount = 0;
    QStringList suspenders;

    void clear()
    {
        const QString num = procNum;
        *this = XmlProcess();
        procNum = num;
    }
};

// ---- bytes of one line -------------------------------------------------

QString text(std::string_view b) { return cp1252::decode(b.data(), qsizetype(b.size())); }

constexpr auto npos = std::string_view::npos;

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c; }

// A line as read (or joined), with its ASCII-lower-cased copy for the
// searches that ignore letter case. Both have the same length.
struct Line {
    std::string raw;
    std::string lower;

    void set(std::string_view b)
    {
        raw.assign(b);
        lower.resize(b.size());
        for (size_t i = 0; i < b.size(); ++i) lower[i] = lowerAscii(b[i]);
    }
    void append(std::string_view sep, std::string_view b)
    {
        raw += sep;
        raw += b;
        lower += sep;
        const size_t at = lower.size();
        lower.resize(at + b.size());
        for (size_t i = 0; i < b.size(); ++i) lower[at + i] = lowerAscii(b[i]);
    }
    std::string_view view() const { return raw; }
    size_t find(std::string_view what, size_t from = 0) const { return raw.find(what, from); }
    // what must be lower case.
    size_t findCi(std::string_view what, size_t from = 0) const { return lower.find(what, from); }
};

// Where an attribute's value starts: one character after "name=", which
// skips the opening quote; npos when the line lacks the attribute.
size_t valueStart(const Line& l, std::string_view name, size_t from = 0, bool ignoreCase = false)
{
    const size_t p = ignoreCase ? l.findCi(name, from) : l.find(name, from);
    if (p == npos) return npos;
    return std::min(p + name.size() + 1, l.raw.size());
}

// The value up to its closing quote (to the end of the line without one).
std::string_view valueToQuote(const Line& l, size_t start)
{
    if (start == npos) return {};
    const size_t q = l.raw.find('"', start);
    return l.view().substr(start, q == npos ? npos : q - start);
}

// At most n characters of the value, never past its closing quote.
std::string_view valueN(const Line& l, size_t start, size_t n)
{
    std::string_view v = valueToQuote(l, start);
    return v.substr(0, std::min(n, v.size()));
}

std::string_view attrN(const Line& l, std::string_view name, size_t n, size_t from = 0)
{
    return valueN(l, valueStart(l, name, from), n);
}
std::string_view attrQ(const Line& l, std::string_view name, size_t from = 0)
{
    return valueToQuote(l, valueStart(l, name, from));
}

// The text between an opening and a closing text (to the end of the line
// when the closing one is missing).
std::string_view between(const Line& l, std::string_view open, std::string_view close)
{
    const size_t p = l.findCi(open);
    if (p == npos) return {};
    const size_t start = p + open.size();
    const size_t e = l.findCi(close, start);
    return l.view().substr(start, e == npos ? npos : e - start);
}

// The text between the line's first and second double quotes.
std::string_view firstQuoted(const Line& l)
{
    const size_t q1 = l.raw.find('"');
    if (q1 == npos) return {};
    return valueToQuote(l, q1 + 1);
}

bool endsWithSlashGt(const Line& l)
{
    size_t e = l.raw.size();
    while (e > 0 && (l.raw[e - 1] == ' ' || l.raw[e - 1] == '\t' || l.raw[e - 1] == '\r')) --e;
    return e >= 2 && l.raw[e - 2] == '/' && l.raw[e - 1] == '>';
}

// A ten-character day-first date as "dd.mm.yyyy"; empty when it is none.
QString dateText(std::string_view v)
{
    const QString t = text(v).trimmed();
    for (const char* fmt : {"dd/MM/yyyy", "d/M/yyyy", "dd.MM.yyyy", "dd-MM-yyyy"}) {
        const QDate d = QDate::fromString(t, QLatin1String(fmt));
        if (d.isValid()) return d.toString(QStringLiteral("dd.MM.yyyy"));
    }
    return QString();
}

QDate dateOf(std::string_view v)
{
    const QString t = dateText(v);
    return t.isEmpty() ? QDate() : QDate::fromString(t, QStringLiteral("dd.MM.yyyy"));
}

// The numeric value of a short text, as the 16-bit columns hold it (0 when
// there is none or it does not fit).
int smallNumber(std::string_view v)
{
    const long long n = LeadingNumber(text(v));
    return (n < -32768 || n > 32767) ? 0 : int(n);
}

QString decoded(const QString& s) { return s.isEmpty() ? s : DecodificaTextoXml(s); }

// ---- the line list -----------------------------------------------------

// Walks the file's lines without copying the file: lines end at CR LF, or
// at LF when the file holds no CR LF at all. As with a split of the text,
// a final line end is followed by one empty line.
class LineWalker {
public:
    explicit LineWalker(const QByteArray& data) : data_(data.constData(), size_t(data.size()))
    {
        crlf_ = data_.find("\r\n") != npos;
    }
    bool next(std::string_view& line)
    {
        if (pos_ > data_.size()) return false;
        const size_t e = crlf_ ? data_.find("\r\n", pos_) : data_.find('\n', pos_);
        if (e == npos) {
            line = data_.substr(pos_);
            pos_ = data_.size() + 1;
        } else {
            line = data_.substr(pos_, e - pos_);
            pos_ = e + (crlf_ ? 2 : 1);
        }
        return true;
    }

private:
    std::string_view data_;
    size_t pos_ = 0;
    bool crlf_ = false;
};

// ---- the reader --------------------------------------------------------

class IssueParser {
public:
    IssueParser(XmlReaderTarget& target, IssueRead& read) : target_(target), read_(read) {}

    // Reads the lines into the staging tables. Throws LayoutError or DbError.
    StagedIssue run(const QByteArray& bytes);

private:
    void handle();
    void joinUntil(std::string_view closingLower, std::string_view sep);
    [[noreturn]] void layoutError() const { throw LayoutError{kLayoutError + p_.procNum}; }
    XmlDispatch& currentDispatch() { return p_.dispatches.last(); }
    void writeProcess();

    XmlReaderTarget& target_;
    IssueRead& read_;
    LineWalker* lines_ = nullptr;
    Line line_;
    State state_ = Outside;
    XmlProcess p_;
    int revista_ = 0;
    int processCounter_ = 0;
    int citations_ = 0;
    int written_ = 0;
    int rows_ = 0;
};

StagedIssue IssueParser::run(const QByteArray& bytes)
{
    LineWalker lines(bytes);
    lines_ = &lines;
    std::string_view l;
    if (!lines.next(l) || !lines.next(l)) throw LayoutError{kNoRevistaLine};  // line 1 is not examined
    line_.set(l);
    if (line_.findCi("<revista") == npos) throw LayoutError{kNoRevistaLine};

    const QString numero = text(attrN(line_, "numero=", 4));
    if (!numero.isEmpty()) target_.setNumRevista(QStringLiteral("RPI ") + numero);
    const QDate date = dateOf(attrN(line_, "data=", 10));
    if (date.isValid()) target_.setDataRevista(date);
    revista_ = int(LeadingNumber(target_.numRevista().right(4)));

    bool ended = false;
    while (lines.next(l)) {
        if (l == "</revista>") {
            ended = true;
            break;
        }
        read_.tick();
        line_.set(l);
        handle();
    }
    if (!ended) throw LayoutError{kNoRevistaEnd};
    return StagedIssue{revista_, target_.dataRevista(), rows_, written_};
}

// Appends the next lines while the line lacks the closing text.
void IssueParser::joinUntil(std::string_view closingLower, std::string_view sep)
{
    size_t from = 0;
    std::string_view next;
    while (line_.findCi(closingLower, from) == npos) {
        if (!lines_->next(next)) return;
        const size_t before = line_.raw.size();
        line_.append(sep, next);
        from = before >= closingLower.size() ? before - closingLower.size() + 1 : 0;
    }
}

void IssueParser::handle()
{
    // The first tag of the table that the line holds; every tag begins with '<'.
    int tag = TagCount;
    const std::string_view low = line_.lower;
    for (size_t p = low.find('<'); p != npos; p = low.find('<', p + 1)) {
        const std::string_view rest = low.substr(p);
        for (int t = 0; t < tag; ++t) {
            if (rest.starts_with(kTags[size_t(t)].text)) {
                tag = t;
                break;
            }
        }
        if (tag == 0) break;
    }
    if (tag == TagCount) return;
    if (!(kTags[size_t(tag)].accepted & bit(state_))) layoutError();

    switch (Tag(tag)) {
    case TProcesso: {
        const size_t at = valueStart(line_, "numero=");
        if (at == npos) layoutError();
        p_.clear();
        ++processCounter_;
        p_.procNum = text(valueN(line_, at, 9));
        if (line_.find("deposito=") != npos) p_.deposito = dateText(attrN(line_, "deposito=", 10));
        if (line_.find("concessao=") != npos) p_.concessao = dateText(attrN(line_, "concessao=", 10));
        if (line_.find("vigencia=") != npos) p_.vigencia = dateText(attrN(line_, "vigencia=", 10));
        state_ = Process;
        break;
    }
    case TDespachos:
        state_ = DispatchList;
        break;
    case TDespacho: {
        const size_t at = valueStart(line_, "codigo=");
        if (at == npos) layoutError();
        XmlDispatch d;
        d.codigo = text(valueN(line_, at, 7));
        p_.dispatches.append(d);
        state_ = endsWithSlashGt(line_) ? DispatchList : Dispatch;
        break;
    }
    case TTextoComplementar: {
        std::string_view open = "<texto-complementar";
        const size_t p = line_.findCi(open);
        const size_t gt = line_.raw.find('>', p + open.size());
        if (gt != npos && line_.raw[gt - 1] == '/') {  // <texto-complementar/>
            currentDispatch().complemento.clear();
            break;
        }
        joinUntil("</texto-complementar>", " ");
        const size_t g = line_.raw.find('>', p + open.size());
        if (g == npos) {
            currentDispatch().complemento.clear();
            break;
        }
        const size_t e = line_.findCi("</texto-complementar>", g + 1);
        currentDispatch().complemento = text(line_.view().substr(g + 1, e == npos ? npos : e - g - 1));
        break;
    }
    case TProtocolo: {
        XmlDispatch& d = currentDispatch();
        d.protocolo = text(firstQuoted(line_));
        if (line_.find("data=") != npos) d.dataProtocolo = dateText(attrN(line_, "data=", 10));
        const size_t cs = valueStart(line_, "codigoservico=", 0, true);
        if (cs != npos) d.codServ = text(valueToQuote(line_, cs));
        state_ = endsWithSlashGt(line_) ? Dispatch : Petition;
        break;
    }
    case TRequerente: {
        joinUntil("/>", " ");
        QString r = text(firstQuoted(line_));
        const size_t pais = valueStart(line_, "pais=");
        if (pais != npos) {
            r += QStringLiteral(" (") + text(valueN(line_, pais, 2));
            const size_t uf = valueStart(line_, "uf=");
            if (uf != npos) r += QLatin1Char('/') + text(valueN(line_, uf, 2));
            r += QLatin1Char(')');
        }
        currentDispatch().requerente = r;
        break;
    }
    case TCedente:
    case TCessionario:
        break;
    case TProtocoloEnd:
        state_ = Dispatch;
        break;
    case TDespachoEnd:
        state_ = DispatchList;
        break;
    case TDespachosEnd:
        state_ = Process;
        break;
    case TTitulares:
        state_ = HolderList;
        break;
    case TTitularAttr: {
        // The name runs from the first quote to the next one, over lines if need be.
        size_t q1 = npos, q2 = npos;
        std::string_view next;
        for (;;) {
            q1 = line_.raw.find('"');
            q2 = q1 == npos ? npos : line_.raw.find('"', q1 + 1);
            if (q2 != npos || !lines_->next(next)) break;
            line_.append(" ", next);
        }
        XmlHolder h;
        if (q1 != npos) h.nome = text(line_.view().substr(q1 + 1, q2 == npos ? npos : q2 - q1 - 1));
        const size_t after = q2 == npos ? line_.raw.size() : q2 + 1;
        const size_t paisAt = line_.find("pais=", after);
        size_t slashFrom = 0;
        if (paisAt == npos) {
            h.pais = QStringLiteral("BR");
        } else {
            h.pais = text(valueN(line_, valueStart(line_, "pais=", after), 2));
            slashFrom = paisAt;
            if (h.pais == QLatin1String("BR")) {
                const size_t ufAt = line_.find("uf=", paisAt);
                if (ufAt != npos) {
                    h.uf = text(valueN(line_, valueStart(line_, "uf=", paisAt), 2));
                    slashFrom = ufAt;
                }
            }
        }
        p_.holders.append(h);
        if (line_.raw.find('/', slashFrom) == npos) layoutError();
        break;
    }
    case TTitular: {
        XmlHolder h;
        h.pais = text(attrN(line_, "pais=", 2));
        if (h.pais == QLatin1String("BR")) h.uf = text(attrN(line_, "uf=", 2));
        p_.holders.append(h);
        state_ = state_ == HolderList ? Holder : LoneHolder;
        break;
    }
    case TNomeRazaoSocial:
        p_.holders.last().nome = text(between(line_, "<nome-razao-social>", "</nome-razao-social>"));
        break;
    case TTitularEnd:
        state_ = state_ == Holder ? HolderList : Process;
        break;
    case TTitularesEnd:
        state_ = Process;
        break;
    case TMarca: {
        const QString apresentacao = text(attrQ(line_, "apresentacao="));
        p_.apresentacao = ApresentacaoCode(apresentacao);
        const size_t nat = valueStart(line_, "natureza=");
        p_.natureza = NaturezaCode(decoded(text(valueToQuote(line_, nat))));
        size_t from;
        if (nat != npos) {
            const size_t q = line_.raw.find('"', nat);
            from = q == npos ? line_.raw.size() : q + 1;
        } else {
            from = line_.findCi("<marca") + 6;
        }
        state_ = line_.find("/>", from) != npos ? Process : Mark;
        break;
    }
    case TNome:
        joinUntil("/nome>", " ");
        p_.marca = text(between(line_, "<nome>", "</nome>"));
        break;
    case TTraducao:
        p_.marca = text(between(line_, "<traducao>", "</traducao>"));
        break;
    case TMarcaEnd:
        state_ = Process;
        break;
    case TPrioridades:
        state_ = PriorityList;
        break;
    case TPrioridadeNumero:
    case TPrioridadeData: {
        XmlPriority pr;
        pr.numero = text(attrQ(line_, "numero="));
        pr.data = dateText(attrQ(line_, "data="));
        pr.pais = text(attrN(line_, "pais=", 2));
        p_.priorities.append(pr);
        break;
    }
    case TPrioridadesEnd:
        state_ = Process;
        break;
    case TPrioridadeUnionista:
        state_ = Priority;
        break;
    case TPrioridadeUnionistaEnd:
        state_ = Process;
        break;
    case TClassesVienna: {
        const std::string_view ed = attrN(line_, "edicao=", 1);
        if (!ed.empty()) p_.cferev = smallNumber(ed);
        state_ = ViennaList;
        break;
    }
    case TClasseVienna: {
        const QString code = text(attrQ(line_, "codigo="));
        p_.cfe = ++p_.viennaCount == 1 ? code : p_.cfe + QLatin1Char(';') + code;
        break;
    }
    case TClassesViennaEnd:
        state_ = Process;
        break;
    case TClasseNice: {
        const std::string_view c = attrN(line_, "codigo=", 2);
        if (!c.empty()) p_.nclclasse = smallNumber(c);
        if (line_.find("edicao=") != npos) {
            const std::string_view ed = attrQ(line_, "edicao=");
            if (!ed.empty()) p_.nclver = smallNumber(ed);
        }
        state_ = NiceClass;
        break;
    }
    case TEspecificacao:
        joinUntil("</especificacao>", "");
        p_.especificacao = text(between(line_, "<especificacao>", "</especificacao>"));
        break;
    case TClasseNiceEnd:
        state_ = Process;
        break;
    case TClasseNacional:
        p_.nationalClass = text(attrN(line_, "codigo=", 2));
        state_ = NationalClass;
        break;
    case TSubClassesNacional:
        state_ = SubclassList;
        break;
    case TSubClasseNacional: {
        const QString item = p_.nationalClass + QLatin1Char('.') + text(attrN(line_, "codigo=", 2));
        p_.classe = ++p_.subclassCount == 1 ? item : p_.classe + QLatin1Char(';') + item;
        break;
    }
    case TSubClassesNacionalEnd:
        state_ = NationalClass;
        break;
    case TClasseNacionalEnd:
        state_ = Process;
        break;
    case TApostila:
        joinUntil("</apostila>", "");
        p_.apostila = text(between(line_, "<apostila>", "</apostila>"));
        break;
    case TProcurador: {
        joinUntil("</procurador>", "");
        const QString v = text(between(line_, "<procurador>", "</procurador>"));
        if (state_ == Petition)
            currentDispatch().procuradorPeticao = v;
        else
            p_.procurador = v;
        break;
    }
    case TSobrestadores:
        state_ = SuspenderList;
        break;
    case TSobrestador:
        p_.suspenders << text(attrN(line_, "processo=", 9));
        break;
    case TSobrestadoresEnd:
        state_ = Process;
        break;
    case TProcessoEnd:
        writeProcess();
        state_ = Outside;
        break;
    case TagCount:
        break;
    }
}

void IssueParser::writeProcess()
{
    DbConnection& db = DbConnection::instance();
    const QChar comma = QLatin1Char(',');
    const QString revista = Quoted(QString::number(revista_));
    const QString firstCode = p_.dispatches.isEmpty() ? QString() : p_.dispatches.first().codigo;

    for (const QString& s : p_.suspenders) {
        ++citations_;
        db.execute(QStringLiteral("INSERT INTO PROCREFREVISTA (codigo, numproc,ordemproc, despacho, revista)  VALUES (") +
                   Quoted(QString::number(citations_)) + comma + Quoted(QString::number(LeadingNumber(s.left(8)))) +
                   comma + Quoted(QString::number(processCounter_)) + comma + Quoted(firstCode.left(kDespachoCol)) +
                   comma + revista + QLatin1Char(')'));
    }

    const QString procurador = textcase::upper(decoded(p_.procurador));
    // Upper-cased once decoded, so accented letters get their capitals too.
    const QString marca = LeftWhole(textcase::upper(decoded(p_.marca)), kMarcaMax);
    const XmlHolder* first = p_.holders.isEmpty() ? nullptr : &p_.holders.first();
    const QString titular = first ? decoded(first->nome) : QString();
    QString titularpais;
    if (first) titularpais = first->pais == QLatin1String("BR") ? first->pais + QLatin1Char('/') + first->uf : first->pais;
    const QString especificacao = LeftWhole(decoded(p_.especificacao), kEspecificacaoMax);
    const QString apostila = decoded(p_.apostila);

    // The literals every row of the process shares.
    const XmlPriority* prio = p_.priorities.isEmpty() ? nullptr : &p_.priorities.first();
    const QString null = QStringLiteral("Null");
    QString shared;
    shared += TestaNulo(TextValue(p_.deposito)) + comma;
    shared += TestaNulo(TextValue(p_.vigencia)) + comma;
    shared += TestaNulo(TextValue(p_.concessao)) + comma;
    shared += TestaNulo(TextValue(p_.apresentacao, kApresentacaoCol)) + comma;
    shared += TestaNulo(TextValue(p_.natureza, kNaturezaCol)) + comma;
    shared += TestaZero(QVariant(p_.nclver)) + comma;
    shared += TestaZero(QVariant(p_.nclclasse)) + comma;
    shared += TestaZero(QVariant(p_.cferev)) + comma;
    shared += TestaNulo(TextValue(p_.cfe, kCfeCol)) + comma;
    shared += TestaNulo(TextValue(p_.classe, kClasseCol)) + comma;
    {
        // Each row gets a copy of the process's value: cleaned once per row.
        QVariant v = TextValue(marca);
        shared += TestaCampoTxt(v, AbsentGives::EmptyLiteral) + comma;
        v = TextValue(procurador, kNameCol);
        shared += TestaCampoTxt(v, AbsentGives::EmptyLiteral) + comma;
        v = TextValue(titular, kNameCol);
        shared += TestaCampoTxt(v, AbsentGives::EmptyLiteral) + comma;
    }
    shared += TestaNulo(TextValue(QString())) + comma;  // cgccpf
    shared += (prio ? TestaNulo(TextValue(prio->numero, kPrioNumCol)) : null) + comma;
    shared += (prio ? TestaNulo(TextValue(prio->data)) : null) + comma;
    shared += (prio ? TestaNulo(TextValue(prio->pais, kPrioPaisCol)) : null) + comma;
    shared += TestaNulo(TextValue(titularpais, kTitularPaisCol)) + comma;
    {
        QVariant v = TextValue(especificacao);
        shared += TestaCampoTxt(v, AbsentGives::EmptyLiteral) + comma;
        v = TextValue(apostila);
        shared += TestaCampoTxt(v, AbsentGives::EmptyLiteral) + comma;
    }

    const QString head = QStringLiteral(
        "INSERT INTO RPI (codigo, processo,revista, despacho, deposito, vigencia, concessao, apresentacao, natureza, "
        "nclver, nclclasse, cferev, cfe, classe, marca, procurador, titular, cgccpf, prioridadenum, prioridadedata, "
        "prioridadepais, titularpais, especificacao, apostila, protocolo, dataprotocolo, codserv, requerente, "
        "procuradorpeticao, complemento)  VALUES (");
    const QString processo = Quoted(QString::number(LeadingNumber(p_.procNum.left(8))));
    for (int i = 1; i <= p_.dispatches.size(); ++i) {
        const XmlDispatch& d = p_.dispatches.at(i - 1);
        QString s;
        s.reserve(head.size() + shared.size() + 300 + d.complemento.size());
        s += head;
        s += Quoted(QString::number(processCounter_ - 1 + i)) + comma;
        s += processo + comma;
        s += revista + comma;
        s += Quoted(d.codigo.left(kDespachoCol)) + comma;
        s += shared;
        QVariant v = TextValue(d.protocolo, kProtocoloCol);
        s += TestaCampoTxt(v, AbsentGives::EmptyLiteral) + comma;
        s += TestaNulo(TextValue(d.dataProtocolo)) + comma;
        v = TextValue(d.codServ, kCodServCol);
        s += TestaCampoTxt(v, AbsentGives::EmptyLiteral) + comma;
        v = TextValue(decoded(d.requerente), kRequerenteCol);
        s += TestaCampoTxt(v, AbsentGives::EmptyLiteral) + comma;
        v = TextValue(textcase::upper(decoded(d.procuradorPeticao)), kNameCol);
        s += TestaCampoTxt(v, AbsentGives::EmptyLiteral) + comma;
        v = TextValue(decoded(d.complemento));
        s += TestaCampoTxt(v, AbsentGives::EmptyLiteral) + QLatin1Char(')');
        db.execute(s);
        ++rows_;
    }
    if (p_.dispatches.size() > 1) processCounter_ += int(p_.dispatches.size()) - 1;
    read_.progress(++written_);
}

}  // namespace

QString NaturezaCode(const QString& v)
{
    if (v.isEmpty()) return v;
    auto has = [&](const char16_t* what) { return v.contains(QString::fromUtf16(what), Qt::CaseInsensitive); };
    if (has(u"Produto")) return QStringLiteral("P");
    if (has(u"Serviço")) return QStringLiteral("S");
    if (has(u"Certific")) return QStringLiteral("C");
    if (has(u"Geogr")) return QStringLiteral("G");
    if (has(u"Coletiva")) return QStringLiteral("K");
    return QStringLiteral("P");
}

QString ApresentacaoCode(const QString& v)
{
    if (v == QLatin1String("Figurativa")) return QStringLiteral("F");
    if (v == QLatin1String("Nominativa")) return QStringLiteral("N");
    if (v == QLatin1String("Tridimensional")) return QStringLiteral("T");
    if (v == QLatin1String("Mista")) return QStringLiteral("M");
    return v;
}

QString XmlReader::workDir() { return IssueRead::workDir(); }

namespace {

// The read of one issue file, shared by both entries below.
class XmlRead {
public:
    XmlRead(XmlReaderTarget& target, const std::function<void()>& letEventsRun) : read_(kXmlIssueFile), target_(target)
    {
        read_.showCount = [this](int n) { target_.setRegistrosLidos(n); };
        read_.letEventsRun = letEventsRun;
    }
    IssueRead& read() { return read_; }
    IssueRead::Parse parse()
    {
        return [this](const QByteArray& bytes) { return IssueParser(target_, read_).run(bytes); };
    }

private:
    IssueRead read_;
    XmlReaderTarget& target_;
};

}  // namespace

bool XmlReader::readIssue(const QByteArray& bytes)
{
    XmlRead x(target_, letEventsRun);
    const bool ok = x.read().fromBytes(bytes, x.parse());
    processes_ = ok ? x.read().staged().shown : 0;
    return ok;
}

bool XmlReader::LerRevistaXml(const QString& archivePath)
{
    XmlRead x(target_, letEventsRun);
    const bool ok = x.read().fromArchive(archivePath, x.parse());
    processes_ = ok ? x.read().staged().shown : 0;
    return ok;
}
