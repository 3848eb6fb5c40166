#include "Db.h"

#include "StatementCache.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cerrno>

namespace {

// Firebird refuses string literals longer than 65,535 bytes (16,383
// characters on a UTF8 connection). Longer literals are sent as bound
// parameters; this bound keeps well clear of the limit.
constexpr qsizetype kMaxInlineLiteral = 8000;

// Firebird's CHAR type code; such values come padded with blanks.
constexpr int kSqlText = 452;

QString errorText(const QSqlError& e)
{
    QString t = e.databaseText().trimmed();
    if (t.isEmpty()) t = e.text().trimmed();
    if (t.isEmpty()) t = QStringLiteral("erro desconhecido");
    return t;
}

struct Prepared {
    QString sql;
    QVector<QVariant> params;
};

// Moves over-long string literals into bound parameters.
Prepared extractLongLiterals(const QString& sql)
{
    Prepared p;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    qsizetype copied = 0;
    bool any = false;
    while (i < n) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) {
            // Literal from i to the closing apostrophe ('' is an apostrophe).
            qsizetype j = i + 1;
            QString content;
            bool closed = false;
            while (j < n) {
                if (sql[j] == QLatin1Char('\'')) {
                    if (j + 1 < n && sql[j + 1] == QLatin1Char('\'')) {
                        content += QLatin1Char('\'');
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                content += sql[j];
                ++j;
            }
            if (!closed) break;  // leave a malformed text to the server
            if (content.size() > kMaxInlineLiteral) {
                if (!any) p.sql.reserve(n);
                any = true;
                p.sql += QStringView(sql).mid(copied, i - copied);
                p.sql += QLatin1Char('?');
                p.params << content;
                copied = j + 1;
            }
            i = j + 1;
            continue;
        }
        if (c == QLatin1Char('"')) {  // quoted identifier
            const qsizetype j = sql.indexOf(QLatin1Char('"'), i + 1);
            if (j < 0) break;
            i = j + 1;
            continue;
        }
        ++i;
    }
    if (!any) {
        p.sql = sql;
        return p;
    }
    p.sql += QStringView(sql).mid(copied);
    return p;
}

QString upperKey(const QString& s) { return s.trimmed().toUpper(); }

int compareValues(const QVariant& a, const QVariant& b)
{
    const bool an = a.isNull(), bn = b.isNull();
    if (an || bn) return an == bn ? 0 : (an ? -1 : 1);
    if (IsNumberValue(a) && IsNumberValue(b)) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    const int ta = a.metaType().id(), tb = b.metaType().id();
    if (ta == QMetaType::QDate && tb == QMetaType::QDate) {
        const QDate* x = static_cast<const QDate*>(a.constData());
        const QDate* y = static_cast<const QDate*>(b.constData());
        return *x < *y ? -1 : (*y < *x ? 1 : 0);
    }
    if ((ta == QMetaType::QDate || ta == QMetaType::QDateTime) && (tb == QMetaType::QDate || tb == QMetaType::QDateTime)) {
        const QDateTime x = a.toDateTime(), y = b.toDateTime();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    // Texts as a Portuguese reader orders them: an accented letter with its
    // base letter, capitals and small letters alike.
    static thread_local const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(a.toString(), b.toString());
}

std::atomic<int> g_connectionSerial{0};

// The engine's checks of its shared files, when attaching and detaching,
// retry for as long as errno reads EINTR, even after they succeeded; a
// signal that interrupted an earlier call (the event loop's poll) would
// leave them looping for ever.
void clearInterruptedCall() { errno = 0; }

}  // namespace

bool IsNumberValue(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

DbError::DbError(const QString& message, const QString& sql, bool connectionLost)
    : std::runtime_error(message.toStdString()), message_(message), sql_(sql), connectionLost_(connectionLost)
{
}

bool IsConnectionLostError(const QString& t)
{
    // The engine's texts: a network read or write that failed (the server
    // ended, or the link went), and an attachment or database shut down (an
    // administrator deleted its row of MON$ATTACHMENTS, or shut the
    // database down).
    for (const char* lost : {"Error reading data from the connection", "Error writing data to the connection",
                             "Connection lost to database", "connection shutdown"})
        if (t.contains(QLatin1String(lost), Qt::CaseInsensitive)) return true;
    static const QRegularExpression shutDown(QStringLiteral("\\bdatabase\\b.*\\bshutdown\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    return shutDown.match(t).hasMatch();
}

namespace {

const QString kLostLead = QStringLiteral(
    "A conexão com o banco de dados foi perdida (o servidor pode ter sido reiniciado, ou a conexão foi encerrada).");
// What is left of a transaction whose connection was lost.
const QString kTransactionLost = QStringLiteral(
    "A conexão com o banco de dados foi perdida no meio desta operação; o servidor desfez o que ela não tinha "
    "gravado de vez.");

QString engineDetail(const QString& engineText)
{
    return QStringLiteral("\nMensagem do banco de dados: ") + engineText;
}

// Server, port and file of a database name "host:path" or "host/port:path";
// host empty for a local file.
struct ServerName {
    QString host, port, path;
};

ServerName serverName(const QString& db)
{
    ServerName n;
    const qsizetype colon = db.indexOf(QLatin1Char(':'));
    // A local path (as open() tells them apart).
    if (colon < 0 || db.startsWith(QLatin1Char('/'))) {
        n.path = db;
        return n;
    }
    n.host = db.left(colon);
    n.path = db.mid(colon + 1);
    const qsizetype slash = n.host.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        n.port = n.host.mid(slash + 1);
        n.host = n.host.left(slash);
    }
    if (n.port.isEmpty()) n.port = QStringLiteral("3050");
    return n;
}

// Why a database did not open, in the office's words where the engine's
// text is one an office meets; the engine's text follows.
QString openFailureText(const QString& db, const QString& err)
{
    auto has = [&err](const char* text) { return err.contains(QLatin1String(text), Qt::CaseInsensitive); };
    const QString lead = QStringLiteral("Não foi possível abrir o banco de dados %1: ").arg(db);
    const ServerName s = serverName(db);
    if (has("user name and password are not defined"))
        return QStringLiteral("O servidor do banco de dados %1 recusou o usuário SYSDBA com a senha dada. A senha "
                              "é a da linha Password da seção [Database] do arquivo quorvanta.Ini (sem essa linha, "
                              "o programa usa a sua própria senha): escreva nela a senha do SYSDBA desse servidor.")
                   .arg(db) +
               engineDetail(err);
    if (has("Database already opened"))
        return QStringLiteral("O banco de dados %1 já está aberto em outra cópia do programa (ou em outro programa, "
                              "como o isql-fb): um banco de dados local é aberto por um programa de cada vez. Feche "
                              "a outra cópia e abra o programa de novo.")
                   .arg(db) +
               engineDetail(err);
    if (has("Failed to locate host machine"))
        return lead +
               QStringLiteral("esta máquina não conhece o nome do servidor, \"%1\". Confira esse nome na linha "
                              "DatabaseLocation da seção [Database] do arquivo quorvanta.Ini. O comando "
                              "getent hosts %1 deve mostrar o endereço do servidor; quando não mostra, acrescente ao "
                              "arquivo /etc/hosts desta máquina uma linha com o endereço e o nome do servidor, como "
                              "mostra o README do programa (seção \"Several desks\").")
                   .arg(s.host) +
               engineDetail(err);
    if (has("Unable to complete network request to host"))
        return lead +
               QStringLiteral("o servidor %1 não respondeu na porta %2. Confira se a máquina %1 está ligada e na rede, "
                              "se o Firebird está em execução nela e se atende na porta %2: a porta vem depois do nome "
                              "do servidor na linha DatabaseLocation do arquivo quorvanta.Ini (como em "
                              "%1/3051:/pasta/); sem ela, é a 3050. Na máquina %1, o comando ss -ltnp | grep %2 "
                              "mostra se o Firebird atende.")
                   .arg(s.host, s.port) +
               engineDetail(err);
    if (has("I/O error") && has("open")) {
        const QString where =
            s.host.isEmpty() ? QStringLiteral("nesta máquina") : QStringLiteral("no servidor ") + s.host;
        const QString what =
            has("Permission denied")
                ? QStringLiteral("o arquivo %1 existe %2, mas o Firebird não tem permissão para abri-lo: a pasta e o "
                                 "arquivo devem ser da conta firebird (chown firebird:firebird). ")
                : QStringLiteral("o arquivo %1 não existe %2. ");
        return lead + what.arg(s.path, where) +
               QStringLiteral("A pasta vem da linha DatabaseLocation e o nome do arquivo da linha DatabaseName da "
                              "seção [Database] do arquivo quorvanta.Ini: confira as duas.") +
               engineDetail(err);
    }
    if (has("Error occurred during login"))
        return lead +
               QStringLiteral("o servidor %1 respondeu, mas recusou a entrada sem dizer o motivo. Ele pode estar "
                              "ainda iniciando: tente de novo em instantes. Se a recusa continuar, veja o arquivo "
                              "firebird.log do servidor e a seção \"Several desks\" do README do programa (arquivos "
                              "da pasta /tmp/firebird do servidor que não são da conta firebird).")
                   .arg(s.host.isEmpty() ? db : s.host) +
               engineDetail(err);
    return lead + err;
}

}  // namespace

namespace {

// Where "KEY=" starts a part of s (at the start or after a ";"), from
// position from on; -1 when it does not.
qsizetype partAt(const QString& s, QLatin1StringView key, qsizetype from = 0)
{
    for (qsizetype at = s.indexOf(key, from, Qt::CaseInsensitive); at >= 0;
         at = s.indexOf(key, at + 1, Qt::CaseInsensitive))
        if (at == 0 || s[at - 1] == QLatin1Char(';')) return at;
    return -1;
}

}  // namespace

ConnectionParts ParseConnectionString(const QString& s)
{
    ConnectionParts p;
    // PWD and DBNAME come last, in this order, and are taken whole: the
    // password runs up to the ";DBNAME=" that follows it, the path to the
    // end, so either may hold ";".
    const QLatin1StringView pwdKey("PWD="), dbKey("DBNAME=");
    const qsizetype pwdAt = partAt(s, pwdKey);
    const qsizetype dbAt = partAt(s, dbKey, pwdAt < 0 ? 0 : pwdAt + pwdKey.size());
    if (dbAt >= 0) p.dbname = s.mid(dbAt + dbKey.size());
    if (pwdAt >= 0) {
        const qsizetype end = dbAt >= 0 ? dbAt - 1 : s.size();
        p.pwd = s.mid(pwdAt + pwdKey.size(), end - pwdAt - pwdKey.size());
    }
    const qsizetype headEnd = pwdAt >= 0 ? pwdAt : (dbAt >= 0 ? dbAt : s.size());
    for (const QString& part : s.left(headEnd).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        const QString key = part.left(eq).trimmed().toUpper();
        const QString value = part.mid(eq + 1);
        if (key == QLatin1String("DRIVER")) p.driver = value;
        else if (key == QLatin1String("CLIENT")) p.client = value;
        else if (key == QLatin1String("CHARSET")) p.charset = value;
        else if (key == QLatin1String("UID")) p.uid = value;
    }
    return p;
}

bool IsSupportedDriver(const QString& driver)
{
    const QString d = driver.trimmed();
    return d.contains(QLatin1String("Firebird"), Qt::CaseInsensitive) ||
           d.contains(QLatin1String("InterBase"), Qt::CaseInsensitive);
}

// ---------------------------------------------------------------- connection

struct DbConnection::Cache {
    QHash<QString, QStringList> keys;
    std::unique_ptr<StatementCache> statements;
};

DbConnection::DbConnection() : cache_(std::make_unique<Cache>()) {}

DbConnection::~DbConnection() { close(); }

DbConnection& DbConnection::instance()
{
    // Never destroyed: at exit the client library may already be shut down,
    // so the program closes the connection itself before it ends.
    static DbConnection* c = new DbConnection;
    return *c;
}

void DbConnection::open(const QString& connectionString)
{
    close();
    const ConnectionParts p = ParseConnectionString(connectionString);
    if (!IsSupportedDriver(p.driver))
        throw DbError(QStringLiteral("O driver de banco de dados \"%1\" não é suportado; use \"Firebird/InterBase(r) driver\".")
                          .arg(p.driver));
    if (p.dbname.trimmed().isEmpty())
        throw DbError(QStringLiteral("O caminho do banco de dados está vazio (DatabaseLocation e DatabaseName em quorvanta.Ini)."));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QIBASE")))
        throw DbError(QStringLiteral("O driver Firebird do Qt (QIBASE) não está instalado."));
    // A local path opens the file embedded; it must exist (the engine would
    // otherwise report a less helpful error).
    const QString db = p.dbname;
    const bool remote = db.contains(QLatin1Char(':')) && !db.startsWith(QLatin1Char('/'));
    if (!remote && !QFileInfo::exists(db))
        throw DbError(QStringLiteral("Banco de dados não encontrado: %1. A pasta vem da linha DatabaseLocation e o "
                                     "nome do arquivo da linha DatabaseName da seção [Database] do arquivo "
                                     "quorvanta.Ini: confira as duas.")
                          .arg(db));

    name_ = QStringLiteral("quorvanta-%1").arg(++g_connectionSerial);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name_);
    db_.setDatabaseName(db);
    db_.setUserName(p.uid.isEmpty() ? QStringLiteral("SYSDBA") : p.uid);
    db_.setPassword(p.pwd);
    const QString charset = p.charset.trimmed().isEmpty() ? QStringLiteral("UTF8") : p.charset.trimmed();
    db_.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=") + charset);
    clearInterruptedCall();
    if (!db_.open()) {
        const QString err = errorText(db_.lastError());
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        name_.clear();
        throw DbError(openFailureText(db, err));
    }
    // Opened on another thread (start-up keeps its window painted meanwhile):
    // the connection is handed to the application's thread, which uses it.
    QThread* appThread = QCoreApplication::instance() ? QCoreApplication::instance()->thread() : nullptr;
    if (appThread && db_.driver()->thread() != appThread) db_.driver()->moveToThread(appThread);
    connectionString_ = connectionString;
    cache_->statements = std::make_unique<StatementCache>(db_);
}

void DbConnection::reopen()
{
    if (reconnect)
        reconnect(*this);
    else
        open(connectionString_);
    reopenPending_ = false;
}

void DbConnection::lost(const QString& engineText, const QString& sql)
{
    // The server has let the connection go, and with it undone what it had
    // not committed. The dead connection is closed without a rollback, and
    // an open transaction stays over until its owner rolls it back.
    const bool hadTransaction = inTransaction_;
    inTransaction_ = false;
    close();
    inTransaction_ = hadTransaction;
    transactionLost_ = hadTransaction;
    reopenPending_ = true;
    QString why;
    try {
        reopen();
    } catch (const DbError& e) {
        why = e.message();
    } catch (const std::exception& e) {
        why = QString::fromLocal8Bit(e.what());
    }
    if (why.isEmpty())
        throw DbError(kLostLead + QStringLiteral(" O programa já se conectou de novo: repita a operação.") +
                          engineDetail(engineText),
                      sql, true);
    throw DbError(kLostLead +
                      QStringLiteral(" Não foi possível conectar de novo agora; o programa tentará de novo na próxima "
                                     "operação.") +
                      engineDetail(engineText) + QStringLiteral("\n\n") + why,
                  sql, true);
}

void DbConnection::fail(const QString& engineText, const QString& sql)
{
    if (IsConnectionLostError(engineText)) lost(engineText, sql);
    throw DbError(engineText, sql);
}

void DbConnection::ready()
{
    if (transactionLost_) throw DbError(kTransactionLost, QString(), true);
    if (reopenPending_) {
        try {
            reopen();
        } catch (const DbError& e) {
            throw DbError(kLostLead +
                              QStringLiteral(" Ainda não foi possível conectar de novo; o programa tentará de novo na "
                                             "próxima operação.\n\n") +
                              e.message(),
                          QString(), true);
        }
    }
    if (!isOpen()) throw DbError(QStringLiteral("A conexão com o banco de dados não está aberta."));
}

void DbConnection::close()
{
    if (name_.isEmpty()) return;
    clearInterruptedCall();
    if (inTransaction_) {
        db_.rollback();
        inTransaction_ = false;
    }
    cache_->statements.reset();
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    name_.clear();
    cache_->keys.clear();
    reopenPending_ = false;
}

bool DbConnection::isOpen() const { return !name_.isEmpty() && db_.isOpen(); }

static void runStatement(QSqlQuery& q, const QString& sql)
{
    const Prepared p = extractLongLiterals(sql);
    bool ok;
    if (p.params.isEmpty()) {
        ok = q.exec(p.sql);
    } else {
        ok = q.prepare(p.sql);
        if (ok) {
            for (const QVariant& v : p.params) q.addBindValue(v);
            ok = q.exec();
        }
    }
    if (!ok) throw DbError(errorText(q.lastError()), sql);
}

// Runs a statement through the cache of prepared statements when its
// literals can be bound; returns the query that ran (cached or the given one).
// Only inside a transaction: outside one, a prepared query would keep the
// snapshot of its first run and later reads would not see later writes.
static QSqlQuery* runCached(StatementCache* cache, QSqlQuery& fallback, const QString& sql)
{
    if (cache) {
        if (auto b = cache->bind(sql)) {
            if (QSqlQuery* q = b->query) {
                for (int i = 0; i < b->values.size(); ++i) q->bindValue(i, b->values[i]);
                if (!q->exec()) {
                    const QString err = errorText(q->lastError());
                    q->finish();
                    throw DbError(err, sql);
                }
                return q;
            }
        }
    }
    runStatement(fallback, sql);
    return &fallback;
}

int DbConnection::execute(const QString& sql)
{
    ready();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    QSqlQuery* ran = nullptr;
    try {
        ran = runCached(inTransaction_ ? cache_->statements.get() : nullptr, q, sql);
    } catch (const DbError& e) {
        fail(e.message(), sql);
    }
    // Only data statements have a count (the driver complains about others).
    const QStringView text = QStringView(sql).trimmed();
    const bool counted = text.startsWith(QLatin1String("INSERT"), Qt::CaseInsensitive) ||
                         text.startsWith(QLatin1String("UPDATE"), Qt::CaseInsensitive) ||
                         text.startsWith(QLatin1String("DELETE"), Qt::CaseInsensitive) ||
                         text.startsWith(QLatin1String("MERGE"), Qt::CaseInsensitive);
    const int n = counted ? ran->numRowsAffected() : 0;
    ran->finish();
    return n;
}

static void readRows(QSqlQuery& q, Recordset& rs, QStringList& columns, QVector<QVector<QVariant>>& rows,
                     QVector<int>& order)
{
    const QSqlRecord rec = q.record();
    const int n = rec.count();
    QVector<bool> padded(n);
    for (int i = 0; i < n; ++i) {
        columns << rec.fieldName(i);
        padded[i] = (rec.field(i).typeID() & ~1) == kSqlText;
    }
    while (q.next()) {
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i) {
            if (q.isNull(i)) continue;  // SQL Null stays a null QVariant
            QVariant v = q.value(i);
            if (v.metaType().id() == QMetaType::QByteArray && rec.field(i).metaType().id() != QMetaType::QByteArray)
                v = QString::fromUtf8(v.toByteArray());
            if (padded[i] && v.metaType().id() == QMetaType::QString) {
                QString s = v.toString();
                qsizetype e = s.size();
                while (e > 0 && s[e - 1] == QLatin1Char(' ')) --e;
                s.truncate(e);
                v = s;
            } else if (v.metaType().id() == QMetaType::QString && v.toString().isNull()) {
                v = QString(QLatin1String(""));
            }
            row[i] = v;
        }
        order << int(rows.size());
        rows << row;
    }
    (void)rs;
}

Recordset DbConnection::query(const QString& sql)
{
    ready();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    QSqlQuery* ran = nullptr;
    try {
        ran = runCached(inTransaction_ ? cache_->statements.get() : nullptr, q, sql);
    } catch (const DbError& e) {
        fail(e.message(), sql);
    }
    Recordset rs;
    readRows(*ran, rs, rs.columns_, rs.rows_, rs.order_);
    // Rows that stopped coming: the connection went while they were read.
    if (ran->lastError().isValid()) {
        const QString err = errorText(ran->lastError());
        ran->finish();
        fail(err, sql);
    }
    ran->finish();
    rs.conn_ = this;
    // A query over one table (no join, no list of tables) can be edited.
    static const QRegularExpression single(
        QStringLiteral("^\\s*select\\s.+?\\sfrom\\s+([A-Za-z_][A-Za-z0-9_$]*)\\s*(?:where\\s.*|order\\s+by\\s.*)?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = single.match(sql);
    if (m.hasMatch() && !sql.contains(QLatin1String(" join "), Qt::CaseInsensitive)) rs.table_ = m.captured(1);
    return rs;
}

Recordset DbConnection::openTable(const QString& table)
{
    Recordset rs = query(QStringLiteral("SELECT * FROM ") + table);
    rs.table_ = table;
    return rs;
}

QStringList DbConnection::keyColumns(const QString& table)
{
    const QString t = upperKey(table);
    auto it = cache_->keys.find(t);
    if (it != cache_->keys.end()) return it.value();
    ready();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT TRIM(s.RDB$FIELD_NAME) FROM RDB$RELATION_CONSTRAINTS c "
        "JOIN RDB$INDEX_SEGMENTS s ON s.RDB$INDEX_NAME = c.RDB$INDEX_NAME "
        "WHERE c.RDB$RELATION_NAME = ? AND c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' ORDER BY s.RDB$FIELD_POSITION"));
    q.addBindValue(t);
    if (!q.exec()) fail(errorText(q.lastError()));
    QStringList keys;
    while (q.next()) keys << q.value(0).toString().trimmed().toUpper();
    cache_->keys.insert(t, keys);
    return keys;
}

void DbConnection::beginTransaction()
{
    if (inTransaction_) throw DbError(QStringLiteral("Já existe uma transação aberta."));
    ready();
    if (cache_->statements) cache_->statements->clear();
    if (!db_.transaction()) fail(errorText(db_.lastError()));
    inTransaction_ = true;
}

void DbConnection::commit()
{
    if (!inTransaction_) return;
    inTransaction_ = false;
    if (transactionLost_) {
        transactionLost_ = false;
        throw DbError(kTransactionLost, QString(), true);
    }
    // Prepared statements remember the transaction they ran in.
    if (cache_->statements) cache_->statements->clear();
    // A commit whose answer never came is told as not done.
    if (!db_.commit()) fail(errorText(db_.lastError()));
}

void DbConnection::rollback()
{
    if (!inTransaction_) return;
    inTransaction_ = false;
    if (transactionLost_) {
        // Undone by the server when it let the connection go.
        transactionLost_ = false;
        return;
    }
    if (cache_->statements) cache_->statements->clear();
    db_.rollback();
}

DbTransaction::DbTransaction(DbConnection& db) : db_(db) { db_.beginTransaction(); }

DbTransaction::~DbTransaction()
{
    if (!done_) db_.rollback();
}

void DbTransaction::commit()
{
    done_ = true;
    db_.commit();
}

// ----------------------------------------------------------------- recordset

int Recordset::columnIndex(const QString& name) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant Recordset::value(int column) const
{
    if (eof() || bof()) throw DbError(QStringLiteral("Não há registro atual."));
    if (column < 0 || column >= columns_.size()) throw DbError(QStringLiteral("Coluna inexistente."));
    const int row = order_[pos_];
    if (adding_ && row == editRow_) return rows_[row][column];
    return rows_[row][column];
}

QVariant Recordset::value(const QString& name) const
{
    const int c = columnIndex(name);
    if (c < 0) throw DbError(QStringLiteral("Coluna inexistente: %1").arg(name));
    return value(c);
}

QVariant Recordset::at(int row, int column) const { return rows_.at(order_.at(row)).at(column); }

QVariant Recordset::at(int row, const QString& name) const
{
    const int c = columnIndex(name);
    if (c < 0) throw DbError(QStringLiteral("Coluna inexistente: %1").arg(name));
    return at(row, c);
}

void Recordset::setSort(const QString& spec)
{
    struct Key {
        int column;
        bool desc;
    };
    QVector<Key> keys;
    for (const QString& part : spec.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(QLatin1Char(' '));
        if (words.isEmpty() || words[0].isEmpty()) continue;
        const int c = columnIndex(words[0]);
        if (c < 0) throw DbError(QStringLiteral("Coluna inexistente: %1").arg(words[0]));
        const bool desc = words.size() > 1 && words[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
        keys << Key{c, desc};
    }
    sort_ = spec;
    order_.resize(rows_.size());
    for (int i = 0; i < rows_.size(); ++i) order_[i] = i;
    if (!keys.isEmpty()) {
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
            for (const Key& k : keys) {
                int r = compareValues(rows_[a][k.column], rows_[b][k.column]);
                if (k.desc) r = -r;
                if (r != 0) return r < 0;
            }
            return false;
        });
    }
    pos_ = 0;
}

bool Recordset::find(const QString& criterion)
{
    const int eq = criterion.indexOf(QLatin1Char('='));
    if (eq < 0) throw DbError(QStringLiteral("Critério inválido: %1").arg(criterion));
    const int c = columnIndex(criterion.left(eq).trimmed());
    if (c < 0) throw DbError(QStringLiteral("Coluna inexistente: %1").arg(criterion.left(eq)));
    QString v = criterion.mid(eq + 1).trimmed();
    if (v.size() >= 2 && v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))
        v = v.mid(1, v.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    if (pos_ < 0) pos_ = 0;
    for (; pos_ < recordCount(); ++pos_) {
        const QVariant& x = rows_[order_[pos_]][c];
        if (x.isNull()) continue;
        if (IsNumberValue(x)) {
            bool ok = false;
            const double d = v.toDouble(&ok);
            if (ok && d == x.toDouble()) return true;
        } else if (x.toString() == v) {
            return true;
        }
    }
    return false;
}

void Recordset::addNew()
{
    if (!updatable()) throw DbError(QStringLiteral("Este conjunto de registros não pode ser alterado."));
    rows_ << QVector<QVariant>(columns_.size());
    editRow_ = int(rows_.size()) - 1;
    order_ << editRow_;
    pos_ = int(order_.size()) - 1;
    adding_ = true;
    dirty_ = QVector<bool>(columns_.size(), false);
}

void Recordset::setValue(const QString& name, const QVariant& v)
{
    if (!updatable()) throw DbError(QStringLiteral("Este conjunto de registros não pode ser alterado."));
    const int c = columnIndex(name);
    if (c < 0) throw DbError(QStringLiteral("Coluna inexistente: %1").arg(name));
    if (eof() || bof()) throw DbError(QStringLiteral("Não há registro atual."));
    const int row = order_[pos_];
    if (editRow_ != row) {
        editRow_ = row;
        adding_ = false;
        dirty_ = QVector<bool>(columns_.size(), false);
        original_ = rows_[row];
    }
    rows_[row][c] = v;
    dirty_[c] = true;
}

void Recordset::update()
{
    if (editRow_ < 0) return;
    if (!conn_) throw DbError(QStringLiteral("Conjunto de registros sem conexão."));
    const QStringList keys = conn_->keyColumns(table_);
    conn_->ready();
    QSqlQuery q(conn_->database());
    QVector<QVariant>& row = rows_[editRow_];
    if (adding_) {
        QStringList cols, marks;
        QVector<QVariant> values;
        for (int i = 0; i < columns_.size(); ++i) {
            if (!dirty_[i]) continue;
            cols << columns_[i];
            marks << QStringLiteral("?");
            values << row[i];
        }
        QString sql = cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table_)
                                     : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                           .arg(table_, cols.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        QStringList returning;
        for (const QString& k : keys)
            if (columnIndex(k) >= 0) returning << k;
        if (!returning.isEmpty()) sql += QStringLiteral(" RETURNING ") + returning.join(QLatin1Char(','));
        if (!q.prepare(sql)) conn_->fail(errorText(q.lastError()), sql);
        for (const QVariant& v : values) q.addBindValue(v);
        if (!q.exec()) conn_->fail(errorText(q.lastError()), sql);
        if (!returning.isEmpty() && q.next())
            for (int i = 0; i < returning.size(); ++i) row[columnIndex(returning[i])] = q.value(i);
    } else {
        if (keys.isEmpty()) throw DbError(QStringLiteral("A tabela %1 não tem chave.").arg(table_));
        QStringList sets;
        QVector<QVariant> values;
        for (int i = 0; i < columns_.size(); ++i) {
            if (!dirty_[i]) continue;
            sets << columns_[i] + QStringLiteral("=?");
            values << row[i];
        }
        if (!sets.isEmpty()) {
            QStringList where;
            for (const QString& k : keys) {
                const int c = columnIndex(k);
                if (c < 0) throw DbError(QStringLiteral("A chave %1 não está no conjunto de registros.").arg(k));
                where << k + QStringLiteral("=?");
                values << original_[c];
            }
            const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                    .arg(table_, sets.join(QLatin1Char(',')), where.join(QStringLiteral(" AND ")));
            if (!q.prepare(sql)) conn_->fail(errorText(q.lastError()), sql);
            for (const QVariant& v : values) q.addBindValue(v);
            if (!q.exec()) {
                const QString err = errorText(q.lastError());
                row = original_;
                editRow_ = -1;
                conn_->fail(err, sql);
            }
        }
    }
    editRow_ = -1;
    adding_ = false;
}

void Recordset::deleteCurrent()
{
    if (!updatable() || !conn_) throw DbError(QStringLiteral("Este conjunto de registros não pode ser alterado."));
    if (eof() || bof()) throw DbError(QStringLiteral("Não há registro atual."));
    const QStringList keys = conn_->keyColumns(table_);
    if (keys.isEmpty()) throw DbError(QStringLiteral("A tabela %1 não tem chave.").arg(table_));
    const int row = order_[pos_];
    QStringList where;
    QVector<QVariant> values;
    for (const QString& k : keys) {
        const int c = columnIndex(k);
        if (c < 0) throw DbError(QStringLiteral("A chave %1 não está no conjunto de registros.").arg(k));
        where << k + QStringLiteral("=?");
        values << rows_[row][c];
    }
    conn_->ready();
    QSqlQuery q(conn_->database());
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE %2").arg(table_, where.join(QStringLiteral(" AND ")));
    if (!q.prepare(sql)) conn_->fail(errorText(q.lastError()), sql);
    for (const QVariant& v : values) q.addBindValue(v);
    if (!q.exec()) conn_->fail(errorText(q.lastError()), sql);
    order_.removeAt(pos_);
    editRow_ = -1;
    adding_ = false;
}

// -------------------------------------------------------------- data control

void DataControl::Refresh()
{
    DbConnection& c = DbConnection::instance();
    // A connection the server dropped is opened again by the statement.
    if (!c.isOpen() && !c.awaitingReconnect()) c.open(ConnectionString);
    rs_ = CommandType == Table ? c.openTable(RecordSource) : c.query(RecordSource);
}
