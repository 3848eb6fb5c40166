#include "StatementCache.h"

#include <QDate>
#include <QRegularExpression>

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
            bool closed = false;
            while (i < n) {
                if (s[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && s[i + 1] == QLatin1Char('\'')) {
                        t.text += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                t.text += s[i++];
            }
            if (!closed) return false;
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
std::optional<QVariant> convert(const Token& lit, const StatementCache::Column& col)
{
    static const QRegularExpression intRx(QStringLiteral("^\\s*([+-]?\\d{1,18})\\s*$"));
    static const QRegularExpression dmyRx(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})$"));
    static const QRegularExpression ymdRx(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const QString& v = lit.text;
    switch (col.type) {
    case Smallint:
    case Integer:
    case BigInt: {
        const auto m = intRx.match(v);
        if (!m.hasMatch()) return std::nullopt;
        bool ok = false;
        const qlonglong x = m.captured(1).toLongLong(&ok);
        if (!ok) return std::nullopt;
        if (col.type == Smallint && (x < -32768 || x > 32767)) return std::nullopt;
        if (col.type == Integer && (x < INT32_MIN || x > INT32_MAX)) return std::nullopt;
        return col.type == BigInt ? QVariant(x) : QVariant(int(x));
    }
    case Date: {
        if (lit.kind != Token::String) return std::nullopt;
        QDate d;
        if (auto m = dmyRx.match(v); m.hasMatch())
            d = QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
        else if (auto m2 = ymdRx.match(v); m2.hasMatch())
            d = QDate(m2.captured(1).toInt(), m2.captured(2).toInt(), m2.captured(3).toInt());
        if (!d.isValid()) return std::nullopt;
        return QVariant(d);
    }
    case Char:
    case Varchar:
        // Bound texts longer than their column would be cut by the driver
        // instead of refused: leave those to the server.
        if (col.length <= 0 || v.size() > col.length) return std::nullopt;
        return QVariant(v.isNull() ? QString(QLatin1String("")) : v);
    case Blob:
        if (col.subType != 1) return std::nullopt;
        return QVariant(v.isNull() ? QString(QLatin1String("")) : v);
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
