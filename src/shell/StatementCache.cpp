#include "StatementCache.h"

#include <QDate>

namespace {

constexpr int kMaxPrepared = 64;

enum FieldType { Smallint = 7, Integer = 8, BigInt = 16, Date = 12, Char = 14, Varchar = 37, Blob = 261 };

struct Token {
    enum Kind { Word, String, Number, Punct, Space } kind;
    qsizetype start = 0;
    qsizetype end = 0;  // one past the last character
    QString text;       // words upper-cased, strings unescaped, numbers as written
};

bool isWordStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

// Splits a statement into tokens; returns false on anything it does not
// expect (quoted identifiers, comments, unterminated literals).
bool tokenize(const QString& s, QVector<Token>& out)
{
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        Token t;
        t.start = i;
        if (c.isSpace()) {
            while (i < n && s[i].isSpace()) ++i;
            t.kind = Token::Space;
        } else if (c == QLatin1Char('\'')) {
            ++i;
            const qsizetype from = i;
            bool closed = false;
            bool escaped = false;
            while (i < n) {
                if (s[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && s[i + 1] == QLatin1Char('\'')) {
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
        } else if (c.isDigit()) {
            while (i < n && s[i].isDigit()) ++i;
            if (i < n && (s[i] == QLatin1Char('.') || isWordChar(s[i]))) return false;
            t.kind = Token::Number;
            t.text = s.mid(t.start, i - t.start);
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(s[i])) ++i;
            t.kind = Token::Word;
            t.text = s.mid(t.start, i - t.start).toUpper();
        } else if (c == QLatin1Char('"') || (c == QLatin1Char('-') && i + 1 < n && s[i + 1] == QLatin1Char('-')) ||
                   (c == QLatin1Char('/') && i + 1 < n && s[i + 1] == QLatin1Char('*')) || c == QLatin1Char('?')) {
            return false;
        } else {
            ++i;
            t.kind = Token::Punct;
            t.text = c;
        }
        t.end = i;
        out << t;
    }
    return true;
}

// Converts a literal to the value its column would take from it, or
// nothing when the conversion is not plain.
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
    QVector<Token> all;
    if (!tokenize(sql, all)) return std::nullopt;
    QVector<int> idx;  // indexes of the non-blank tokens
    for (int i = 0; i < all.size(); ++i)
        if (all[i].kind != Token::Space) idx << i;
    auto tok = [&](int k) -> const Token& { return all[idx[k]]; };
    const int n = int(idx.size());
    if (n < 4) return std::nullopt;

    struct Use {
        int token;
        QString column;
    };
    QVector<Use> uses;
    QString table;
    const QString first = tok(0).text;

    if (first == QLatin1String("INSERT")) {
        // INSERT INTO t ( c1 , c2 ... ) VALUES ( v1 , v2 ... ) [nothing else]
        if (tok(1).text != QLatin1String("INTO") || tok(2).kind != Token::Word || tok(3).text != QLatin1String("("))
            return std::nullopt;
        table = tok(2).text;
        QStringList cols;
        int k = 4;
        for (;;) {
            if (k >= n || tok(k).kind != Token::Word) return std::nullopt;
            cols << tok(k).text;
            ++k;
            if (k < n && tok(k).text == QLatin1String(",")) {
                ++k;
                continue;
            }
            if (k < n && tok(k).text == QLatin1String(")")) break;
            return std::nullopt;
        }
        ++k;
        if (k + 1 >= n || tok(k).text != QLatin1String("VALUES") || tok(k + 1).text != QLatin1String("("))
            return std::nullopt;
        k += 2;
        for (int c = 0; c < cols.size(); ++c) {
            if (k >= n) return std::nullopt;
            const Token& t = tok(k);
            if (t.kind == Token::String || t.kind == Token::Number) uses << Use{idx[k], cols[c]};
            else if (!(t.kind == Token::Word && t.text == QLatin1String("NULL"))) return std::nullopt;
            ++k;
            const QString sep = c + 1 < cols.size() ? QStringLiteral(",") : QStringLiteral(")");
            if (k >= n || tok(k).text != sep) return std::nullopt;
            ++k;
        }
        if (k != n) return std::nullopt;
    } else if (first == QLatin1String("UPDATE") || first == QLatin1String("DELETE") || first == QLatin1String("SELECT")) {
        // One table; every literal must be the right side of "column =".
        int k = 1;
        if (first == QLatin1String("UPDATE")) {
            if (tok(1).kind != Token::Word) return std::nullopt;
            table = tok(1).text;
        } else {
            int froms = 0;
            for (int j = 0; j < n; ++j) {
                const Token& t = tok(j);
                if (t.kind != Token::Word) continue;
                if (t.text == QLatin1String("FROM")) {
                    ++froms;
                    if (j + 1 >= n || tok(j + 1).kind != Token::Word) return std::nullopt;
                    table = tok(j + 1).text;
                    if (j + 2 < n && (tok(j + 2).text == QLatin1String(",") || tok(j + 2).kind == Token::Word) &&
                        tok(j + 2).text != QLatin1String("WHERE") && tok(j + 2).text != QLatin1String("ORDER"))
                        return std::nullopt;  // an alias, a list of tables or a join
                }
                if (t.text == QLatin1String("JOIN") || t.text == QLatin1String("FIRST") ||
                    t.text == QLatin1String("SKIP") || t.text == QLatin1String("LIKE") ||
                    t.text == QLatin1String("UNION") || t.text == QLatin1String("ROWS"))
                    return std::nullopt;
            }
            if (froms != 1) return std::nullopt;
        }
        for (; k < n; ++k) {
            const Token& t = tok(k);
            if (t.kind != Token::String && t.kind != Token::Number) continue;
            // "column = literal", the column not qualified and not part of an expression.
            if (k < 2 || tok(k - 1).text != QLatin1String("=") || tok(k - 2).kind != Token::Word) return std::nullopt;
            if (k >= 3 && tok(k - 3).text == QLatin1String(".")) return std::nullopt;
            if (k + 1 < n) {
                const QString& after = tok(k + 1).text;
                if (!(after == QLatin1String(",") || after == QLatin1String(")") || tok(k + 1).kind == Token::Word))
                    return std::nullopt;
            }
            uses << Use{idx[k], tok(k - 2).text};
        }
    } else {
        return std::nullopt;
    }
    if (uses.isEmpty() || table.isEmpty()) return std::nullopt;
    const QHash<QString, Column>* cols = columnsOf(table);
    if (!cols) return std::nullopt;

    Bound b;
    b.sql.reserve(sql.size());
    qsizetype copied = 0;
    for (const Use& u : uses) {
        auto c = cols->find(u.column);
        if (c == cols->end()) return std::nullopt;
        const Token& t = all[u.token];
        auto v = convert(t, c.value());
        if (!v) return std::nullopt;
        b.sql += QStringView(sql).mid(copied, t.start - copied);
        b.sql += QLatin1Char('?');
        copied = t.end;
        b.values << *v;
    }
    b.sql += QStringView(sql).mid(copied);
    return b;
}

QSqlQuery* StatementCache::prepared(const QString& sql)
{
    auto it = queries_.find(sql);
    if (it != queries_.end()) {
        lru_.remove(sql);
        lru_.push_front(sql);
        return it->get();
    }
    auto q = std::make_shared<QSqlQuery>(db_);
    q->setForwardOnly(true);
    if (!q->prepare(sql)) return nullptr;
    if (queries_.size() >= kMaxPrepared && !lru_.empty()) {
        queries_.remove(lru_.back());
        lru_.pop_back();
    }
    queries_.insert(sql, q);
    lru_.push_front(sql);
    return q.get();
}

void StatementCache::clear()
{
    queries_.clear();
    lru_.clear();
    tables_.clear();
}
