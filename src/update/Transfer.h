#pragma once
// Transfer of the staged journal issue (RPI, ProcRefRevista) into the
// permanent tables Processos, RevProcs, Procuradores and the link table.
//
// One core serves every flavour: the text-layout issues, the XML-layout
// issues with petition data, and the batch loader's run. Their differences
// are the fields of TransferOptions. The whole transfer, the issue mark
// included, runs in one database transaction: a failure rolls it all back
// and is reported with a critical message.

#include "shell/Db.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class OperationLock;
struct LockedOperation;

// The progress counters the transfer keeps (the update dialog's boxes).
enum class TransferCounter { ProcsAtualizar, NumProcs, NumNewProcs, NumProcuradores, NumProcsRef };

// What the transfer reports while it runs.
class TransferProgress {
public:
    virtual ~TransferProgress() = default;
    // A counter changed (shown and repainted at once).
    virtual void setCounter(TransferCounter counter, int value) = 0;
    // Called once per staged row and per citation: let window messages run.
    virtual void yieldEvents() {}
};

struct TransferOptions {
    // XML-layout issues: petition columns of RPI read and written to RevProcs,
    // the petition attorney resolved, codserv kept on Processos, the dispatch
    // code quoted in the refresh.
    bool petitions = false;
    // When set, the 4-character process code written to bcdproc of new
    // processes and of every entry.
    std::function<QString(const QVariant& processo)> processCode;
    // Empty mark keys of a new process written as Null instead of ''.
    bool emptyKeysAsNull = false;
    // Absent titular, especificacao, apostila (new process) and complemento
    // (entry) written as '' instead of Null.
    bool absentTextsAsEmpty = false;
    // A Nice class received clears the old national class ("Classe=Null").
    bool niceClassClearsClasse = true;
    // Table the citation links go to.
    QString linkTable = QStringLiteral("RevProcRef");
    // Hourglass pointer while the transfer runs.
    bool hourglass = true;
    // Fill ProcsAtualizar with the number of staged rows.
    bool countStaged = true;
    // "Final de Atualização" at the end.
    bool finalMessage = true;

    // Issues below 2220 (text layout).
    static TransferOptions textLayout();
    // Issues from 2220 on (XML layout, petition data).
    static TransferOptions withPetitions();
};

// Issues from this number on are published in the XML layout.
inline constexpr int kFirstXmlIssue = 2220;
// The transfer that fits a staged issue.
TransferOptions OptionsForIssue(int issue);

// A staged issue as a screen shows it: its number and date (0 and an
// invalid date when staging holds none).
struct StagedIssue {
    int issue = 0;
    QDate date;
    bool operator==(const StagedIssue&) const = default;
};

// What staging holds for an apply: the issue to apply, or why none may be.
struct StagedIssueCheck {
    int issue = 0;
    QDate date;
    QString refusal;  // empty: `issue` may be applied
    int style = 0;    // of the refusal's message
    // The transfer that fits the issue, when not the one the transfer was made with.
    std::optional<TransferOptions> options;
};

// The issues staging holds rows of, ascending, as texts ("Null" for rows
// without an issue number): one when staging holds one issue.
QStringList StagedIssues(DbConnection& db = DbConnection::instance());

// One staged RPI row, long texts included (also used for a Processos row:
// the columns of the same names).
struct StagedRow {
    QVariant codigo, processo, revista, despacho;
    QVariant deposito, vigencia, concessao;
    QVariant apresentacao, natureza, nclver, nclclasse, cferev, cfe, classe;
    QVariant marca, procurador, titular, cgccpf;
    QVariant prioridadenum, prioridadedata, prioridadepais, titularpais;
    QVariant especificacao, apostila, complemento;
    // Petition data (XML layout).
    QVariant protocolo, dataprotocolo, codserv, requerente, procuradorpeticao;

    // Reads the current row of a recordset; columns it lacks stay absent.
    static StagedRow fromRecordset(const Recordset& rs);
};

// The mark of a staged row as stored: trimmed, empty when absent or blank.
QString StagedMark(const QVariant& marca);

// The three keys of a mark: cleaned key and the phonetic keys with and
// without vowels. All empty for an empty mark.
struct MarkKeys {
    QString clean, phon1, phon2;
    static MarkKeys of(const QString& mark);
};

// How an attorney text is looked up.
struct AttorneyName {
    enum Kind { None, Self, Name } kind = None;
    QString name;  // stored form (Name only): upper case, final stop dropped
};
AttorneyName ParseAttorney(const QVariant& staged);

// Statements of one staged row. attorney is the key A, petitionAttorney P.
QString ProcessInsertSql(const StagedRow& row, int attorney, const TransferOptions& options);
QString ProcessRefreshSql(const StagedRow& row, const QVariant& storedMarca, int attorney,
                          const TransferOptions& options);
// The update of a known process by a row of an older issue than the one that
// last refreshed it: only the process's Null columns are filled (the mark
// with its keys, a national class only while there is no Nice class, an
// attorney only when there is none); revista, despacho and codserv stay.
// stored holds the process's own columns under the same names. Empty when
// nothing is to be filled.
QString ProcessFillSql(const StagedRow& row, const StagedRow& stored, const QVariant& storedAttorney, int attorney,
                       const TransferOptions& options);
// True when a staged row's issue is older than the issue stored on its process.
bool IsOlderIssue(const QVariant& stagedRevista, const QVariant& storedRevista);
QString EntryInsertSql(const StagedRow& row, int petitionAttorney, const TransferOptions& options);

// Refused: not begun, nothing written (another desk at work, or staging
// not fit to apply; the reason was shown).
enum class TransferResult { Done, Cancelled, Failed, Refused };


class IssueTransfer {
public:
    IssueTransfer(TransferOptions options, TransferProgress* progress = nullptr,
                  DbConnection& db = DbConnection::instance());

    // Applies the staged issue numbered issue. Asks the redo question when
    // the issue was applied before (Cancel: nothing written). Never throws:
    // a failure is rolled back and reported.
    TransferResult run(int issue);
    // The same at one desk at a time. When another desk holds the lock,
    // that is said before anything else. `check` says what staging holds,
    // first with no lock held: the redo question is asked then, never while
    // the lock is held. Once the lock is taken, `check` runs again; when the
    // staged issue was meanwhile applied and the answer given does not cover
    // it, the lock is let go and the question asked. A refusal is shown once
    // the lock is let go; the lock is released as soon as the work has
    // committed or rolled back, before the closing message waits.
    //
    // Only the issue the user was shown is applied: `shown` (by default what
    // `check` first finds). When staging holds another one, before the lock
    // is taken or once it is held, the lock is let go and `askAgain` shows
    // it and asks whether to apply it (false: Cancelled); without
    // `askAgain`, that is refused.
    TransferResult run(const LockedOperation& operation, const std::function<StagedIssueCheck()>& check,
                       std::optional<StagedIssue> shown = std::nullopt,
                       const std::function<bool(const StagedIssue&)>& askAgain = {});

    // Counters of the last run.
    int counter(TransferCounter c) const { return counters_[int(c)]; }

    // Resolves an attorney text into its Procuradores key, adding the name
    // when it is new. Runs on the open connection (inside the run's
    // transaction when called from run()).
    int resolveAttorney(const QVariant& staged);

private:
    // Whether the issue was applied before (the redo question is asked).
    bool wasApplied(int issue);
    bool redoAgreed();
    // The apply itself, in one transaction; releases the lock once it has
    // committed or rolled back.
    TransferResult applyIssue(int issue, bool redo, OperationLock* lock);
    void reportFailure(int issue, const QString& why);
    void apply(int issue, bool redo);
    void transferRow(const StagedRow& row);
    void fillFromOlderIssue(const StagedRow& row, int attorney);
    void deleteEntryLinks(const QString& issue);
    void linkCitations();
    void setCounter(TransferCounter c, int value);
    void raise(TransferCounter c) { setCounter(c, counters_[int(c)] + 1); }
    void yield();
    int generator(const char* name);

    TransferOptions options_;
    TransferProgress* progress_;
    DbConnection& db_;
    int counters_[5] = {0, 0, 0, 0, 0};
    int linkBase_ = 0;
    // RevProcs key given to each staged row, by its codigo.
    QHash<int, int> entryKeys_;
    // Procuradores key of each attorney name met in the run.
    QHash<QString, int> attorneyKeys_;
};
