#include "Transfer.h"

#include "journal/SqlLiterals.h"
#include "journal/VbError.h"
#include "keys/Metaphone.h"
#include "keys/UpperCase.h"
#include "shell/DBSpecifics.h"
#include "shell/OperationLock.h"
#include "shell/Ui.h"

#include <QScopeGuard>
#include <exception>
#include <memory>
#include <optional>

using metaphonevar::CalcMetaphone;
using metaphonevar::LimpaTexto;

namespace {

const QString kTitle = QStringLiteral("Atualização de Banco de Dados");

// The main query reads short columns only: every staged row it returns is
// held in memory at once. The long texts come one row at a time.
const QString kMainColumns = QStringLiteral(
    "SELECT codigo,processo,revista, despacho, deposito, vigencia, concessao, apresentacao, natureza, nclver, "
    "nclclasse, cferev, marca, procurador, titular, cgccpf, prioridadenum, prioridadedata, prioridadepais, "
    "titularpais");
const QString kPetitionColumns = QStringLiteral(", protocolo, dataprotocolo, codserv, procuradorpeticao");
const QString kLongTextColumns = QStringLiteral("SELECT codigo,apostila, especificacao, complemento, cfe, classe");
const QString kPetitionLongTextColumns = QStringLiteral(", requerente");

// What an older issue may fill in a process: the columns the refresh writes,
// but revista, despacho and codserv, which belong to the latest entry.
const QString kFillableColumns = QStringLiteral(
    "SELECT processo, deposito, vigencia, concessao, apresentacao, natureza, nclver, nclclasse, cferev, cfe, classe, "
    "marca, codprocurador, titular, cgccpf, prioridadenum, prioridadedata, prioridadepais, titularpais, apostila, "
    "especificacao FROM Processos WHERE Processo=");

// A value between apostrophes, its apostrophes doubled.
QString quoted(const QVariant& v)
{
    QString s = literalText(v);
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

// A value written bare (numbers). Anything but a whole number is quoted, so
// a staged text can never add to the statement.
QString bare(const QVariant& v)
{
    const QString s = literalText(v);
    bool whole = !s.isEmpty();
    for (qsizetype i = 0; i < s.size() && whole; ++i)
        whole = s[i].isDigit() ? s[i].unicode() < 128 : (i == 0 && s[i] == QLatin1Char('-') && s.size() > 1);
    if (s.isEmpty() || whole) return s;
    return quoted(v);
}

// Text cleaned for a literal the caller puts between apostrophes.
QString cleanedText(const QVariant& v)
{
    QVariant copy = v;
    return TestaCampoTxt1(copy).toString();
}

QString campoTxt(const QVariant& v, AbsentGives absent)
{
    QVariant copy = v;
    return TestaCampoTxt(copy, absent);
}

struct Column {
    const char* name;
    QVariant StagedRow::*member;
};

const Column kColumns[] = {
    {"codigo", &StagedRow::codigo},
    {"processo", &StagedRow::processo},
    {"revista", &StagedRow::revista},
    {"despacho", &StagedRow::despacho},
    {"deposito", &StagedRow::deposito},
    {"vigencia", &StagedRow::vigencia},
    {"concessao", &StagedRow::concessao},
    {"apresentacao", &StagedRow::apresentacao},
    {"natureza", &StagedRow::natureza},
    {"nclver", &StagedRow::nclver},
    {"nclclasse", &StagedRow::nclclasse},
    {"cferev", &StagedRow::cferev},
    {"cfe", &StagedRow::cfe},
    {"classe", &StagedRow::classe},
    {"marca", &StagedRow::marca},
    {"procurador", &StagedRow::procurador},
    {"titular", &StagedRow::titular},
    {"cgccpf", &StagedRow::cgccpf},
    {"prioridadenum", &StagedRow::prioridadenum},
    {"prioridadedata", &StagedRow::prioridadedata},
    {"prioridadepais", &StagedRow::prioridadepais},
    {"titularpais", &StagedRow::titularpais},
    {"especificacao", &StagedRow::especificacao},
    {"apostila", &StagedRow::apostila},
    {"complemento", &StagedRow::complemento},
    {"protocolo", &StagedRow::protocolo},
    {"dataprotocolo", &StagedRow::dataprotocolo},
    {"codserv", &StagedRow::codserv},
    {"requerente", &StagedRow::requerente},
    {"procuradorpeticao", &StagedRow::procuradorpeticao},
};

// Where each StagedRow field sits in a recordset (-1: not there).
struct ColumnMap {
    int index[std::size(kColumns)];
    explicit ColumnMap(const Recordset& rs)
    {
        for (size_t i = 0; i < std::size(kColumns); ++i) index[i] = rs.columnIndex(QLatin1String(kColumns[i].name));
    }
    void read(const Recordset& rs, StagedRow& row) const
    {
        for (size_t i = 0; i < std::size(kColumns); ++i)
            if (index[i] >= 0) row.*(kColumns[i].member) = rs.value(index[i]);
    }
};

}  // namespace

// ------------------------------------------------------------------ options

TransferOptions TransferOptions::textLayout() { return TransferOptions(); }

TransferOptions TransferOptions::withPetitions()
{
    TransferOptions o;
    o.petitions = true;
    return o;
}

TransferOptions OptionsForIssue(int issue)
{
    return issue < kFirstXmlIssue ? TransferOptions::textLayout() : TransferOptions::withPetitions();
}

QStringList StagedIssues(DbConnection& db)
{
    Recordset rs = db.query(QStringLiteral("SELECT DISTINCT revista FROM RPI"));
    QStringList found;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        found << (rs.value(0).isNull() ? QStringLiteral("Null") : QString::number(rs.value(0).toInt()));
    return found;
}

StagedRow StagedRow::fromRecordset(const Recordset& rs)
{
    StagedRow row;
    ColumnMap(rs).read(rs, row);
    return row;
}

// ------------------------------------------------------------- pure pieces

QString StagedMark(const QVariant& marca)
{
    if (isAbsent(marca)) return QString();
    return literalText(marca).trimmed();
}

MarkKeys MarkKeys::of(const QString& mark)
{
    MarkKeys k;
    if (mark.isEmpty()) return k;
    k.clean = LimpaTexto(mark);
    k.phon1 = CalcMetaphone(mark, 0, 0);
    k.phon2 = CalcMetaphone(mark, -1, 0);
    return k;
}

AttorneyName ParseAttorney(const QVariant& staged)
{
    AttorneyName a;
    if (isAbsent(staged)) return a;
    QString name = textcase::upper(literalText(staged).trimmed());
    const QString first9 = name.left(9);
    if (first9 == QLatin1String("O PROPRIO") || first9 == QStringLiteral("O PRÓPRIO")) {
        a.kind = AttorneyName::Self;
        return a;
    }
    if (name.endsWith(QLatin1Char('.'))) name.chop(1);
    // Nothing left but blanks and a full stop: no attorney.
    if (name.trimmed().isEmpty()) return a;
    a.kind = AttorneyName::Name;
    a.name = name;
    return a;
}

QString ProcessInsertSql(const StagedRow& row, int attorney, const TransferOptions& o)
{
    const QString mark = StagedMark(row.marca);
    const MarkKeys keys = MarkKeys::of(mark);
    const AbsentGives absentText = o.absentTextsAsEmpty ? AbsentGives::EmptyLiteral : AbsentGives::Null;
    auto key = [&](const QString& k) { return o.emptyKeysAsNull ? TestaNulo(k) : TestNull(k); };
    const bool coded = bool(o.processCode);

    QString sql = QStringLiteral("INSERT INTO Processos (processo,");
    if (coded) sql += QStringLiteral("bcdproc, ");
    sql += QStringLiteral(
        "revista, despacho, deposito, vigencia, concessao, marcaclean, apresentacao, natureza, nclver, nclclasse, "
        "cferev, cfe, classe, marca, codprocurador, titular, cgccpf, prioridadenum, prioridadedata, prioridadepais, "
        "titularpais, especificacao, apostila, marcaphon1,marcaphon2");
    if (o.petitions) sql += QStringLiteral(",codserv");
    sql += QStringLiteral(")  VALUES (");

    const QStringList values = {
        quoted(row.processo),
        coded ? quoted(o.processCode(row.processo)) : QString(),
        quoted(row.revista),
        quoted(row.despacho),
        TestDate(row.deposito),
        TestDate(row.vigencia),
        TestDate(row.concessao),
        key(keys.clean),
        TestNull(row.apresentacao),
        TestNull(row.natureza),
        TestNull(row.nclver),
        TestNull(row.nclclasse),
        TestNull(row.cferev),
        TestNull(row.cfe),
        TestNull(row.classe),
        campoTxt(mark, AbsentGives::Null),
        quoted(attorney),
        campoTxt(row.titular, absentText),
        TestNull(row.cgccpf),
        TestNull(row.prioridadenum),
        TestDate(row.prioridadedata),
        TestNull(row.prioridadepais),
        TestNull(row.titularpais),
        campoTxt(row.especificacao, absentText),
        campoTxt(row.apostila, absentText),
        key(keys.phon1),
        key(keys.phon2),
        o.petitions ? TestNull(row.codserv) : QString(),
    };
    bool first = true;
    for (int i = 0; i < values.size(); ++i) {
        if ((i == 1 && !coded) || (i == values.size() - 1 && !o.petitions)) continue;
        if (!first) sql += QLatin1Char(',');
        sql += values[i];
        first = false;
    }
    sql += QLatin1Char(')');
    return sql;
}

namespace {

// The UPDATE of a known process. Without stored, a refresh: every value the
// row holds is written. With stored (the process as it is now, for a row of
// an older issue than the one that last refreshed it), only columns that are
// Null are filled: revista, despacho, codserv, an attorney and every value
// the process holds stay. Empty when there is nothing to write.
QString processUpdateSql(const StagedRow& row, const QVariant& storedMarca, int attorney, const TransferOptions& o,
                         const StagedRow* stored, const QVariant& storedAttorney)
{
    auto present = [](const QVariant& v) { return !isAbsent(v); };
    const bool fill = stored != nullptr;
    auto takes = [&](QVariant StagedRow::*column) {
        return present(row.*column) && (!fill || isAbsent(stored->*column));
    };
    const QString head = QStringLiteral("UPDATE Processos SET ");
    QString sql = head;
    if (!fill) {
        sql += QStringLiteral("Revista=") + bare(row.revista) + QLatin1Char(',');
        if (o.petitions)
            sql += QStringLiteral("Despacho=") + quoted(row.despacho) + QLatin1Char(',');
        else
            sql += QStringLiteral("Despacho=") + bare(row.despacho) + QLatin1Char(',');
    }
    if (attorney != 0 && (!fill || storedAttorney.toInt() == 0))
        sql += QStringLiteral("codprocurador=") + QString::number(attorney) + QLatin1Char(',');
    if (!fill && o.petitions && present(row.codserv))
        sql += QStringLiteral("codserv=") + quoted(row.codserv) + QLatin1Char(',');
    if (takes(&StagedRow::deposito)) sql += QStringLiteral("deposito=") + TestDate(row.deposito) + QLatin1Char(',');
    if (takes(&StagedRow::concessao)) sql += QStringLiteral("concessao=") + TestDate(row.concessao) + QLatin1Char(',');
    if (takes(&StagedRow::vigencia)) sql += QStringLiteral("vigencia=") + TestDate(row.vigencia) + QLatin1Char(',');
    if (takes(&StagedRow::apresentacao))
        sql += QStringLiteral("apresentacao=") + quoted(row.apresentacao) + QLatin1Char(',');
    if (takes(&StagedRow::natureza)) sql += QStringLiteral("natureza=") + quoted(row.natureza) + QLatin1Char(',');
    if (takes(&StagedRow::nclver)) sql += QStringLiteral("nclver=") + bare(row.nclver) + QLatin1Char(',');
    if (takes(&StagedRow::nclclasse)) {
        sql += QStringLiteral("NCLClasse=") + bare(row.nclclasse) + QLatin1Char(',');
        // A staged national class is written below; the column is set once.
        if (!fill && o.niceClassClearsClasse && !present(row.classe)) sql += QStringLiteral("Classe=Null,");
    }
    if (takes(&StagedRow::cferev)) sql += QStringLiteral("cferev=") + bare(row.cferev) + QLatin1Char(',');
    if (takes(&StagedRow::cfe)) sql += QStringLiteral("cfe=") + quoted(row.cfe) + QLatin1Char(',');
    // A national class is filled only into a process without a Nice class.
    if (takes(&StagedRow::classe) && (!fill || isAbsent(stored->nclclasse)))
        sql += QStringLiteral("classe=") + quoted(row.classe) + QLatin1Char(',');

    const QString mark = StagedMark(row.marca);
    if (!mark.isEmpty() && (isAbsent(storedMarca) || (!fill && mark != literalText(storedMarca)))) {
        const MarkKeys keys = MarkKeys::of(mark);
        sql += QStringLiteral("Marca='") + cleanedText(mark) + QStringLiteral("',");
        sql += QStringLiteral("MarcaClean=") + quoted(keys.clean) + QLatin1Char(',');
        sql += QStringLiteral("marcaphon1=") + quoted(keys.phon1) + QLatin1Char(',');
        sql += QStringLiteral("marcaphon2=") + quoted(keys.phon2) + QLatin1Char(',');
    }
    if (takes(&StagedRow::titular)) sql += QStringLiteral("Titular='") + cleanedText(row.titular) + QStringLiteral("',");
    if (takes(&StagedRow::cgccpf)) sql += QStringLiteral("CGCCPF=") + quoted(row.cgccpf) + QLatin1Char(',');
    if (takes(&StagedRow::prioridadenum))
        sql += QStringLiteral("prioridadenum=") + quoted(row.prioridadenum) + QLatin1Char(',');
    if (takes(&StagedRow::prioridadedata))
        sql += QStringLiteral("prioridadedata=") + TestDate(row.prioridadedata) + QLatin1Char(',');
    if (takes(&StagedRow::prioridadepais))
        sql += QStringLiteral("prioridadepais=") + quoted(row.prioridadepais) + QLatin1Char(',');
    if (takes(&StagedRow::titularpais))
        sql += QStringLiteral("titularpais=") + quoted(row.titularpais) + QLatin1Char(',');
    if (takes(&StagedRow::apostila))
        sql += QStringLiteral("apostila='") + cleanedText(row.apostila) + QStringLiteral("',");
    if (takes(&StagedRow::especificacao))
        sql += QStringLiteral("especificacao='") + cleanedText(row.especificacao) + QLatin1Char('\'');
    if (sql.endsWith(QLatin1Char(','))) sql.chop(1);
    if (sql.size() == head.size()) return QString();
    sql += QStringLiteral(" Where processo = ") + bare(row.processo);
    return sql;
}

}  // namespace

QString ProcessRefreshSql(const StagedRow& row, const QVariant& storedMarca, int attorney, const TransferOptions& o)
{
    return processUpdateSql(row, storedMarca, attorney, o, nullptr, QVariant());
}

QString ProcessFillSql(const StagedRow& row, const StagedRow& stored, const QVariant& storedAttorney, int attorney,
                       const TransferOptions& o)
{
    return processUpdateSql(row, stored.marca, attorney, o, &stored, storedAttorney);
}

bool IsOlderIssue(const QVariant& staged, const QVariant& stored)
{
    return !isAbsent(staged) && !isAbsent(stored) && staged.toLongLong() < stored.toLongLong();
}

QString EntryInsertSql(const StagedRow& row, int petitionAttorney, const TransferOptions& o)
{
    const bool coded = bool(o.processCode);
    QString sql = QStringLiteral("INSERT INTO RevProcs (Processo, RPI, ");
    if (coded) sql += QStringLiteral("bcdproc, ");
    sql += QStringLiteral("Despacho, ");
    if (o.petitions) sql += QStringLiteral("protocolo, dataprotocolo, codserv, requerente, codprocuradorpeticao, ");
    sql += QStringLiteral("complemento) VALUES (");
    sql += quoted(row.processo) + QLatin1Char(',');
    sql += quoted(row.revista) + QLatin1Char(',');
    if (coded) sql += quoted(o.processCode(row.processo)) + QLatin1Char(',');
    sql += quoted(row.despacho) + QLatin1Char(',');
    if (o.petitions) {
        sql += TestNull(row.protocolo) + QLatin1Char(',');
        sql += TestDate(row.dataprotocolo) + QLatin1Char(',');
        sql += TestNull(row.codserv) + QLatin1Char(',');
        sql += campoTxt(row.requerente, AbsentGives::Null) + QLatin1Char(',');
        sql += TestNull(petitionAttorney) + QLatin1Char(',');
    }
    sql += campoTxt(row.complemento, o.absentTextsAsEmpty ? AbsentGives::EmptyLiteral : AbsentGives::Null);
    sql += QLatin1Char(')');
    return sql;
}

// ----------------------------------------------------------------- transfer

IssueTransfer::IssueTransfer(TransferOptions options, TransferProgress* progress, DbConnection& db)
    : options_(std::move(options)), progress_(progress), db_(db)
{
}

void IssueTransfer::setCounter(TransferCounter c, int value)
{
    counters_[int(c)] = value;
    if (progress_) progress_->setCounter(c, value);
}

void IssueTransfer::yield()
{
    if (progress_) progress_->yieldEvents();
}

int IssueTransfer::generator(const char* name)
{
    Recordset rs = db_.query(QStringLiteral("SELECT gen_id(%1,0) FROM RDB$DATABASE").arg(QLatin1String(name)));
    if (rs.recordCount() == 0) throw DbError(QStringLiteral("O gerador %1 não pôde ser lido.").arg(QLatin1String(name)));
    rs.moveFirst();
    return rs.value(0).toInt();
}

int IssueTransfer::resolveAttorney(const QVariant& staged)
{
    const AttorneyName a = ParseAttorney(staged);
    if (a.kind == AttorneyName::None) return 0;
    if (a.kind == AttorneyName::Self) return 1;
    const auto known = attorneyKeys_.constFind(a.name);
    if (known != attorneyKeys_.constEnd()) return known.value();
    QString doubledName = a.name;
    doubledName.replace(QLatin1Char('\''), QLatin1String("''"));
    Recordset rs = db_.query(QStringLiteral("SELECT CodProcurador, Procurador FROM Procuradores WHERE Procurador='") +
                             doubledName + QLatin1Char('\''));
    if (rs.recordCount() > 0) {
        rs.moveFirst();
        const int key = rs.value(QStringLiteral("codProcurador")).toInt();
        attorneyKeys_.insert(a.name, key);
        return key;
    }
    rs.addNew();
    rs.setValue(QStringLiteral("Procurador"), a.name);
    rs.update();
    const int key = generator("codprocurador_gen");
    attorneyKeys_.insert(a.name, key);
    raise(TransferCounter::NumProcuradores);
    return key;
}

bool IssueTransfer::wasApplied(int issue)
{
    Recordset rs = db_.query(QStringLiteral("SELECT atualizado FROM Revistas Where Revista=") + QString::number(issue));
    if (rs.recordCount() == 0) return false;
    rs.moveFirst();
    return rs.value(0).toInt() == 1;
}

bool IssueTransfer::redoAgreed()
{
    const QString question = QStringLiteral("RPI já foi atualizada anteriormente ! Refaz a atualização ?");
    return MsgBox(question, vb::OKCancel, kTitle) == vb::OK;
}

void IssueTransfer::reportFailure(int issue, const QString& why)
{
    MsgBox(QStringLiteral("Erro ao atualizar o banco de dados com a RPI %1:\n%2\n\nNenhuma alteração foi gravada.")
               .arg(issue)
               .arg(why),
           vb::Critical, kTitle);
}

TransferResult IssueTransfer::run(int issue)
{
    bool redo = false;
    try {
        redo = wasApplied(issue);
    } catch (const DbError& e) {
        reportFailure(issue, e.message());
        return TransferResult::Failed;
    }
    if (redo && !redoAgreed()) return TransferResult::Cancelled;
    return applyIssue(issue, redo, nullptr);
}

TransferResult IssueTransfer::run(const LockedOperation& operation, const std::function<StagedIssueCheck()>& check,
                                  std::optional<StagedIssue> shown,
                                  const std::function<bool(const StagedIssue&)>& askAgain)
{
    // Whether the issue was applied before; a failure to tell is reported,
    // once the lock is let go, as nothing written.
    auto applied = [this](int issue, OperationLock* lock) -> std::optional<bool> {
        try {
            return wasApplied(issue);
        } catch (const DbError& e) {
            if (lock) lock->release();
            reportFailure(issue, e.message());
            return std::nullopt;
        }
    };
    // Staging holds an issue other than the one shown: shown and asked
    // about, with no lock held.
    auto confirmOther = [&](const StagedIssue& staged) -> std::optional<TransferResult> {
        if (!askAgain) {
            MsgBox(QStringLiteral("A RPI lida mudou (agora é a RPI %1): nada foi alterado no banco de dados.")
                       .arg(staged.issue),
                   vb::Exclamation, kTitle);
            return TransferResult::Refused;
        }
        if (!askAgain(staged)) return TransferResult::Cancelled;
        shown = staged;
        return std::nullopt;
    };
    std::optional<int> agreed;  // the issue the user agreed to apply again
    for (;;) {
        try {
            if (const auto holder = OperationLock::otherHolder(operation, db_)) {
                MsgBox(OperationLock::busyMessage(*holder), vb::Exclamation, operation.title);
                return TransferResult::Refused;
            }
        } catch (const DbError& e) {
            MsgBox(OperationLock::failureMessage(e.message()), vb::Critical, operation.title);
            return TransferResult::Refused;
        }
        const StagedIssueCheck before = check();
        if (!before.refusal.isEmpty()) {
            MsgBox(before.refusal, before.style, kTitle);
            return TransferResult::Refused;
        }
        const StagedIssue beforeIssue{before.issue, before.date};
        if (!shown) shown = beforeIssue;
        if (*shown != beforeIssue) {
            if (const auto r = confirmOther(beforeIssue)) return *r;
            agreed.reset();
            continue;
        }
        const std::optional<bool> appliedBefore = applied(before.issue, nullptr);
        if (!appliedBefore) return TransferResult::Failed;
        if (*appliedBefore && agreed != before.issue) {
            if (!redoAgreed()) return TransferResult::Cancelled;
            agreed = before.issue;
        }

        OperationLock lock(operation, db_);
        if (!lock.held()) return TransferResult::Refused;
        // Another desk may have read or applied an issue meanwhile.
        const StagedIssueCheck now = check();
        if (!now.refusal.isEmpty()) {
            lock.release();
            MsgBox(now.refusal, now.style, kTitle);
            return TransferResult::Refused;
        }
        const StagedIssue nowIssue{now.issue, now.date};
        if (nowIssue != *shown) {
            lock.release();
            if (const auto r = confirmOther(nowIssue)) return *r;
            agreed.reset();
            continue;
        }
        const std::optional<bool> redo = applied(now.issue, &lock);
        if (!redo) return TransferResult::Failed;
        if (*redo && agreed != now.issue) continue;  // asked again with the lock let go
        if (now.options) options_ = *now.options;
        return applyIssue(now.issue, *redo, &lock);
    }
}

TransferResult IssueTransfer::applyIssue(int issue, bool redo, OperationLock* lock)
{
    std::unique_ptr<BusyPointer> busy;
    // Rolled back or committed: the hourglass goes and other desks come in.
    auto ended = [&] {
        busy.reset();
        if (lock) lock->release();
    };
    try {
        if (options_.hourglass) busy = std::make_unique<BusyPointer>();
        {
            DbTransaction tx(db_);
            apply(issue, redo);
            tx.commit();
        }
    } catch (const DbError& e) {
        ended();
        reportFailure(issue, e.message());
        return TransferResult::Failed;
    } catch (const VbError& e) {
        ended();
        reportFailure(issue, QStringLiteral("%1 (%2)").arg(e.description()).arg(e.number()));
        return TransferResult::Failed;
    } catch (const std::exception& e) {
        ended();
        reportFailure(issue, QString::fromLocal8Bit(e.what()));
        return TransferResult::Failed;
    }
    ended();
    if (options_.finalMessage) MsgBox(QStringLiteral("Final de Atualização"), vb::Information, kTitle);
    return TransferResult::Done;
}

void IssueTransfer::apply(int issue, bool redo)
{
    // Attorney keys found or added by this run hold only inside its
    // transaction.
    attorneyKeys_.clear();
    const auto forgetAttorneys = qScopeGuard([this] { attorneyKeys_.clear(); });

    const QString n = QString::number(issue);
    if (redo) {
        deleteEntryLinks(n);
        db_.execute(QStringLiteral("DELETE FROM RevProcs WHERE RPI=") + n);
    }

    // Mark the issue with the key its first entry will get.
    const int firstKey = generator("codrevproc_gen") + 1;
    db_.execute(QStringLiteral("UPDATE Revistas SET atualizado= 1,codrevproc=") + QString::number(firstKey) +
                QStringLiteral(" WHERE revista=") + n);

    setCounter(TransferCounter::NumProcs, 0);
    setCounter(TransferCounter::NumNewProcs, 0);
    setCounter(TransferCounter::NumProcuradores, 0);
    setCounter(TransferCounter::NumProcsRef, 0);
    linkBase_ = 0;
    entryKeys_.clear();

    if (options_.countStaged) {
        // XML-layout staging has gaps in codigo: count the rows themselves.
        Recordset rs = db_.query(QStringLiteral("SELECT count(*) FROM RPI"));
        rs.moveFirst();
        setCounter(TransferCounter::ProcsAtualizar, rs.value(0).toInt());
    }

    db_.cursorLocation = CursorLoc;
    Recordset staged = db_.query(kMainColumns + (options_.petitions ? kPetitionColumns : QString()) +
                                 QStringLiteral(" FROM RPI ORDER BY codigo"));
    const ColumnMap columns(staged);
    for (staged.moveFirst(); !staged.eof(); staged.moveNext()) {
        yield();
        StagedRow row;
        columns.read(staged, row);
        transferRow(row);
    }
    // The keys given above must be consecutive for the links to be right.
    const int entries = counter(TransferCounter::NumProcs);
    if (entries > 0 && generator("codrevproc_gen") != linkBase_ + entries)
        throw DbError(QStringLiteral("Outro programa gravou em RevProcs durante a atualização."));

    linkCitations();
}

void IssueTransfer::transferRow(const StagedRow& staged)
{
    StagedRow row = staged;
    // Long texts, one row at a time.
    {
        Recordset lt = db_.query(kLongTextColumns + (options_.petitions ? kPetitionLongTextColumns : QString()) +
                                 QStringLiteral(" FROM RPI WHERE codigo=") + bare(row.codigo));
        if (lt.recordCount() > 0) {
            lt.moveFirst();
            row.apostila = lt.value(1);
            row.especificacao = lt.value(2);
            row.complemento = lt.value(3);
            row.cfe = lt.value(4);
            row.classe = lt.value(5);
            if (options_.petitions) row.requerente = lt.value(6);
        }
    }
    // Known process.
    const QString known =
        options_.petitions
            ? QStringLiteral("SELECT processo, revista, marca FROM Processos WHERE Processo=")
            : QStringLiteral(
                  "SELECT processo,revista, despacho, deposito, vigencia, concessao, apresentacao, natureza, nclver, "
                  "nclclasse, cferev, cfe, classe, marca, codprocurador, titular, cgccpf, prioridadenum, "
                  "prioridadedata, prioridadepais, titularpais, marcaclean, marcaphon1, marcaphon2 FROM Processos "
                  "WHERE Processo=");
    Recordset process = db_.query(known + bare(row.processo));

    const int attorney = resolveAttorney(row.procurador);
    const int petitionAttorney = options_.petitions ? resolveAttorney(row.procuradorpeticao) : 0;

    if (process.recordCount() == 0) {
        db_.execute(ProcessInsertSql(row, attorney, options_));
        raise(TransferCounter::NumNewProcs);
    } else {
        process.moveFirst();
        if (IsOlderIssue(row.revista, process.value(QStringLiteral("revista"))))
            fillFromOlderIssue(row, attorney);
        else
            db_.execute(ProcessRefreshSql(row, process.value(QStringLiteral("marca")), attorney, options_));
    }

    db_.execute(EntryInsertSql(row, petitionAttorney, options_));
    raise(TransferCounter::NumProcs);
    const int entries = counter(TransferCounter::NumProcs);
    if (entries == 1) linkBase_ = generator("codrevproc_gen") - 1;
    entryKeys_.insert(row.codigo.toInt(), linkBase_ + entries);
}

void IssueTransfer::fillFromOlderIssue(const StagedRow& row, int attorney)
{
    Recordset rs = db_.query(kFillableColumns + bare(row.processo));
    if (rs.recordCount() == 0) return;
    rs.moveFirst();
    const QString sql =
        ProcessFillSql(row, StagedRow::fromRecordset(rs), rs.value(QStringLiteral("codprocurador")), attorney, options_);
    if (!sql.isEmpty()) db_.execute(sql);
}

void IssueTransfer::deleteEntryLinks(const QString& issue)
{
    // The issue's entries, and with them the links that point at them, in
    // either link table. The key range lets the link tables' index find them.
    Recordset range =
        db_.query(QStringLiteral("SELECT min(codigo), max(codigo) FROM RevProcs WHERE RPI=") + issue);
    range.moveFirst();
    if (range.eof() || isAbsent(range.value(0))) return;
    const QString between = QString::number(range.value(0).toLongLong()) + QStringLiteral(" AND ") +
                            QString::number(range.value(1).toLongLong());
    for (const char* table : {"RevProcRef", "RevProcRefProc"})
        db_.execute(QStringLiteral("DELETE FROM ") + QLatin1String(table) + QStringLiteral(" WHERE codigo BETWEEN ") +
                    between + QStringLiteral(" AND codigo IN (SELECT codigo FROM RevProcs WHERE RPI=") + issue +
                    QLatin1Char(')'));
}

void IssueTransfer::linkCitations()
{
    Recordset cites = db_.query(QStringLiteral("select codigo, numproc, ordemproc from ProcRefRevista"));
    const QString& table = options_.linkTable;
    for (cites.moveFirst(); !cites.eof(); cites.moveNext()) {
        yield();
        const QVariant ordem = cites.value(QStringLiteral("ordemproc"));
        const QVariant cited = cites.value(QStringLiteral("numproc"));
        if (isAbsent(ordem) || isAbsent(cited)) continue;
        // The citing entry is the one made from the staged row ordemproc.
        const auto it = entryKeys_.constFind(ordem.toInt());
        if (it == entryKeys_.constEnd()) continue;
        const QString c = QString::number(it.value());
        const QString numProc = bare(cited);
        Recordset check = db_.query(QStringLiteral("select codigo, refproc from ") + table +
                                    QStringLiteral(" Where codigo=") + c + QStringLiteral(" AND refproc =") + numProc);
        if (check.recordCount() > 0) continue;
        db_.execute(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (codigo, refproc) VALUES (") + c +
                    QLatin1Char(',') + numProc + QLatin1Char(')'));
        raise(TransferCounter::NumProcsRef);
    }
}
