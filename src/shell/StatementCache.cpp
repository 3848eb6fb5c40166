#include "StatementCache.h"

#include <QDate>

namespace {

constexpr int kMaxPrepared = 256;

enum FieldType { Smallint = 7, Integer = 8, BigInt = 16, Date = 12, Char = 14, Varchar = 37, Blob = 261 };

struct Token {
    enum Kind { Word, String, Number, Punct, Space } kind;
    qsizetype start = 0;
    qsizetype end = 0;  // one past the last character
    QString text;       // strings unescaped, numbers as written; empty for words
};

bool isWordStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

// Splits a statement into its non-blank tokens; returns false on anything
// it does not expect (quoted identifiers, comments, unterminated literals,
// parameters).
bool tokenize(const QString& s, QVector<Token>& out)
{
    const qsizetype n = s.size();
    const QChar* p = s.constData();
    qsizetype i = 0;
    out.reserve(n / 4 + 8);
    while (i < n) {
        const QChar c = p[i];
        if (c.unicode() == ' ' || c.unicode() == '\t' || c.unicode() == '\r' || c.unicode() == '\n') {
            ++i;
            continue;
        }
        Token t;
        t.start = i;
        if (c == QLatin1Char('\'')) {
            ++i;
            const qsizetype from = i;
            bool closed = false;
            bool escaped = false;
            while (i < n) {
                if (p[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && p[i + 1] == QLatin1Char('\'')) {
                        escaped = true;
                        i += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                ++i;
            }
            if (!closed) return false;
            t.text = s.mid(from, i - from);
            if (t.text.isNull()) t.text = QString(QLatin1String(""));
            if (escaped) t.text.replace(QStringLiteral("''"), QStringLiteral("'"));
            ++i;
            t.kind = Token::String;
        } else if (c.unicode() >= '0' && c.unicode() <= '9') {
            while (i < n && p[i].unicode() >= '0' && p[i].unicode() <= '9') ++i;
            if (i < n && (p[i] == QLatin1Char('.') || isWordChar(p[i]))) return false;
            t.kind = Token::Number;
            t.text = s.mid(t.start, i - t.start);
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(p[i])) ++i;
            t.kind = Token::Word;
        } else if (c.isSpace()) {
            ++i;
            continue;
        } else if (c == QLatin1Char('"') || (c == QLatin1Char('-') && i + 1 < n && p[i + 1] == QLatin1Char('-')) ||
                   (c == QLatin1Char('/') && i + 1 < n && p[i + 1] == QLatin1Char('*')) || c == QLatin1Char('?')) {
            return false;
        } else {
            ++i;
            t.kind = Token::Punct;
        }
        t.end = i;
        out << std::move(t);
    }
    return true;
}

// Parses optional blanks, an optional sign, 1 to 18 digits, optional blanks.
bool parseInteger(const QString& v, qlonglong& out)
{
    qsizetype i = 0;
    const qsizetype n = v.size();
    while (i < n && v[i] == QLatin1Char(' ')) ++i;
    bool neg = false;
    if (i < n && (v[i] == QLatin1Char('+') || v[i] == QLatin1Char('-'))) neg = v[i++] == QLatin1Char('-');
    qlonglong x = 0;
    int digits = 0;
    while (i < n && v[i].unicode() >= '0' && v[i].unicode() <= '9') {
        x = x * 10 + (v[i++].unicode() - '0');
        if (++digits > 18) return false;
    }
    while (i < n && v[i] == QLatin1Char(' ')) ++i;
    if (digits == 0 || i != n) return false;
    out = neg ? -x : x;
    return true;
}

// Reads a run of 1..max digits at i.
int digitsAt(const QString& v, qsizetype& i, int max)
{
    int x = 0, k = 0;
    while (i < v.size() && k < max && v[i].unicode() >= '0' && v[i].unicode() <= '9') {
        x = x * 10 + (v[i++].unicode() - '0');
        ++k;
    }
    return k == 0 ? -1 : x;
}

// 'dd.mm.yyyy' (day and month of one or two digits) or 'yyyy-mm-dd'.
QDate parseDate(const QString& v)
{
    qsizetype i = 0;
    if (v.size() >= 8 && v.size() <= 10 && v.indexOf(QLatin1Char('.')) > 0) {
        const int d = digitsAt(v, i, 2);
        if (d < 0 || i >= v.size() || v[i++] != QLatin1Char('.')) return QDate();
        const int m = digitsAt(v, i, 2);
        if (m < 0 || i >= v.size() || v[i++] != QLatin1Char('.')) return QDate();
        const qsizetype y0 = i;
        const int y = digitsAt(v, i, 4);
        if (y < 0 || i - y0 != 4 || i != v.size()) return QDate();
        return QDate(y, m, d);
    }
    if (v.size() >= 8 && v.size() <= 10 && v.indexOf(QLatin1Char('-')) == 4) {
        const int y = digitsAt(v, i, 4);
        if (y < 0 || i != 4 || v[i++] != QLatin1Char('-')) return QDate();
        const int m = digitsAt(v, i, 2);
        if (m < 0 || i >= v.size() || v[i++] != QLatin1Char('-')) return QDate();
        const int d = digitsAt(v, i, 2);
        if (d < 0 || i != v.size()) return QDate();
        return QDate(y, m, d);
    }
    return QDate();
}

// Converts a literal to the value its column would take from it, or
// nothing when the conversion is not plain.
std::optional<QVariant> convert(const Token& lit, const StatementCache::Column& col)
{
    const QString& v = lit.text;
    switch (col.type) {
    case Smallint:
    case Integer:
    case BigInt: {
        qlonglong x = 0;
        if (!parseInteger(v, x)) return std::nullopt;
        if (col.type == Smallint && (x < -32768 || x > 32767)) return std::nullopt;
        if (col.type == Integer && (x < INT32_MIN || x > INT32_MAX)) return std::nullopt;
        return col.type == BigInt ? QVariant(x) : QVariant(int(x));
    }
    case Date: {
        if (lit.kind != Token::String) return std::nullopt;
        const QDate d = parseDate(v);
        if (!d.isValid()) return std::nullopt;
        return QVariant(d);
    }
    case Char:
    case Varchar:
        // Bound texts longer than their column would be cut by the driver
        // instead of refused: leave those to the server.
        if (col.length <= 0 || v.size() > col.length) return std::nullopt;
        return QVariant(v);
    case Blob:
        if (col.subType != 1) return std::nullopt;
        return QVariant(v);
    default:
        return std::nullopt;
    }
}

// A typed null for a column, or nothing for a type this cache does not bind.
std::optional<QVariant> nullOf(const StatementCache::Column& col)
{
    switch (col.type) {
    case Smallint:
    case Integer: return QVariant(QMetaType::fromType<int>());
    case BigInt: return QVariant(QMetaType::fromType<qlonglong>());
    case Date: return QVariant(QMetaType::fromType<QDate>());
    case Char:
    case Varchar: return QVariant(QMetaType::fromType<QString>());
    case Blob:
        if (col.subType != 1) return std::nullopt;
        return QVariant(QMetaType::fromType<QString>());
    default: return std::nullopt;
    }
}

}  // namespace

const QHash<QString, StatementCache::Column>* StatementCache::columnsOf(const QString& table)
{
    auto it = tables_.find(table);
    if (it != tables_.end()) return it->isEmpty() ? nullptr : &it.value();
    QHash<QString, Column> cols;
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT TRIM(rf.RDB$FIELD_NAME), f.RDB$FIELD_TYPE, f.RDB$FIELD_SUB_TYPE, f.RDB$CHARACTER_LENGTH "
        "FROM RDB$RELATION_FIELDS rf JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
        "WHERE rf.RDB$RELATION_NAME = ?"));
    q.addBindValue(table);
    if (q.exec())
        while (q.next())
            cols.insert(q.value(0).toString().trimmed().toUpper(),
                        Column{q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt()});
    it = tables_.insert(table, cols);
    return cols.isEmpty() ? nullptr : &it.value();
}

std::optional<StatementCache::Bound> StatementCache::bind(const QString& sql)
{
    QVector<Token> tok;
    if (!tokenize(sql, tok)) return std::nullopt;
    const int n = int(tok.size());
    if (n < 4) return std::nullopt;
    const QStringView text(sql);
    auto view = [&](int k) { return text.mid(tok[k].start, tok[k].end - tok[k].start); };
    auto isWord = [&](int k, QLatin1StringView w) {
        return k < n && tok[k].kind == Token::Word && view(k).compare(w, Qt::CaseInsensitive) == 0;
    };
    auto isPunct = [&](int k, char c) { return k < n && tok[k].kind == Token::Punct && sql[tok[k].start] == QLatin1Char(c); };
    auto upper = [&](int k) { return view(k).toString().toUpper(); };

    struct Use {
        int token;
        int columnToken;    // the column's name
        bool null = false;  // the keyword Null, bound as a typed null
    };
    QVector<Use> uses;
    QString table;

    if (isWord(0, QLatin1StringView("INSERT"))) {
        // INSERT INTO t ( c1 , c2 ... ) VALUES ( v1 , v2 ... ) and nothing else
        if (!isWord(1, QLatin1StringView("INTO")) || tok[2].kind != Token::Word || !isPunct(3, '('))
            return std::nullopt;
        table = upper(2);
        QVector<int> cols;
        int k = 4;
        for (;;) {
            if (k >= n || tok[k].kind != Token::Word) return std::nullopt;
            cols << k;
            ++k;
            if (isPunct(k, ',')) {
                ++k;
                continue;
            }
            if (isPunct(k, ')')) break;
            return std::nullopt;
        }
        ++k;
        if (!isWord(k, QLatin1StringView("VALUES")) || !isPunct(k + 1, '(')) return std::nullopt;
        k += 2;
        for (int c = 0; c < cols.size(); ++c) {
            if (k >= n) return std::nullopt;
            const Token& t = tok[k];
            if (t.kind == Token::String || t.kind == Token::Number) uses << Use{k, cols[c]};
            else if (isWord(k, QLatin1StringView("NULL"))) uses << Use{k, cols[c], true};
            else return std::nullopt;
            ++k;
            if (!isPunct(k, c + 1 < cols.size() ? ',' : ')')) return std::nullopt;
            ++k;
        }
        if (k != n) return std::nullopt;
    } else if (isWord(0, QLatin1StringView("UPDATE")) || isWord(0, QLatin1StringView("DELETE")) ||
               isWord(0, QLatin1StringView("SELECT"))) {
        // One table; every literal must be the right side of "column =".
        if (isWord(0, QLatin1StringView("UPDATE"))) {
            if (tok[1].kind != Token::Word) return std::nullopt;
            table = upper(1);
        } else {
            int froms = 0;
            for (int j = 0; j < n; ++j) {
                if (tok[j].kind != Token::Word) continue;
                if (isWord(j, QLatin1StringView("FROM"))) {
                    ++froms;
                    if (j + 1 >= n || tok[j + 1].kind != Token::Word) return std::nullopt;
                    table = upper(j + 1);
                    if (j + 2 < n && (isPunct(j + 2, ',') || tok[j + 2].kind == Token::Word) &&
                        !isWord(j + 2, QLatin1StringView("WHERE")) && !isWord(j + 2, QLatin1StringView("ORDER")))
                        return std::nullopt;  // an alias, a list of tables or a join
                }
                if (isWord(j, QLatin1StringView("JOIN")) || isWord(j, QLatin1StringView("FIRST")) ||
                    isWord(j, QLatin1StringView("SKIP")) || isWord(j, QLatin1StringView("LIKE")) ||
                    isWord(j, QLatin1StringView("UNION")) || isWord(j, QLatin1StringView("ROWS")))
                    return std::nullopt;
            }
            if (froms != 1) return std::nullopt;
        }
        for (int k = 1; k < n; ++k) {
            const Token& t = tok[k];
            if (t.kind != Token::String && t.kind != Token::Number) continue;
            // "column = literal", the column not qualified and not part of an expression.
            if (k < 2 || !isPunct(k - 1, '=') || tok[k - 2].kind != Token::Word) return std::nullopt;
            if (k >= 3 && isPunct(k - 3, '.')) return std::nullopt;
            if (k + 1 < n && !(isPunct(k + 1, ',') || isPunct(k + 1, ')') || tok[k + 1].kind == Token::Word))
                return std::nullopt;
            uses << Use{k, k - 2};
        }
    } else {
        return std::nullopt;
    }
    if (uses.isEmpty() || table.isEmpty()) return std::nullopt;

    // The statement with parameters in place of the values.
    Bound b;
    b.sql.reserve(sql.size() < 4096 ? sql.size() : 4096);
    qsizetype copied = 0;
    for (const Use& u : uses) {
        const Token& t = tok[u.token];
        b.sql += text.mid(copied, t.start - copied);
        b.sql += QLatin1Char('?');
        copied = t.end;
    }
    b.sql += text.mid(copied);

    // Its prepared query and the types of its columns: the last shapes are
    // compared directly, the others looked up.
    Shape* shape = nullptr;
    for (Shape& r : recent_)
        if (r.query && r.sql == b.sql) {
            shape = &r;
            break;
        }
    if (!shape) {
        auto found = shapes_.find(b.sql);
        if (found == shapes_.end()) {
            const QHash<QString, Column>* cols = columnsOf(table);
            if (!cols) return std::nullopt;
            Shape fresh;
            fresh.sql = b.sql;
            for (const Use& u : uses) {
                auto c = cols->find(upper(u.columnToken));
                if (c == cols->end()) return std::nullopt;
                fresh.columns << c.value();
            }
            fresh.query = std::make_shared<QSqlQuery>(db_);
            fresh.query->setForwardOnly(true);
            if (!fresh.query->prepare(fresh.sql)) return std::nullopt;
            // Statement shapes repeat; when there are ever more of them, start over.
            if (shapes_.size() >= kMaxPrepared) {
                shapes_.clear();
                for (Shape& r : recent_) r = Shape();
            }
            found = shapes_.insert(fresh.sql, fresh);
        }
        recent_[next_] = found.value();
        shape = &recent_[next_];
        next_ = (next_ + 1) % int(recent_.size());
    }

    b.values.reserve(uses.size());
    for (int i = 0; i < uses.size(); ++i) {
        const Use& u = uses[i];
        std::optional<QVariant> v = u.null ? nullOf(shape->columns[i]) : convert(tok[u.token], shape->columns[i]);
        if (!v) return std::nullopt;
        b.values << std::move(*v);
    }
    b.query = shape->query.get();
    return b;
}

void StatementCache::clear()
{
    shapes_.clear();
    for (Shape& r : recent_) r = Shape();
    tables_.clear();
}
