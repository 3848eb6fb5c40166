#pragma once
// Reader of a journal issue published in the line-tagged text layout: the
// archive is extracted into the work folder, its "rm*.TXT" file is read
// line by line into records, and each record becomes one RPI row (with
// its citations in PROCREFREVISTA); the issue is recorded in Revistas.
//
// The file is read as bytes, one Windows-1252 character per byte;
// positions below are 1-based character positions.

#include <QDate>
#include <QList>
#include <QString>
#include <functional>

// The pending record: the values of one process, as its lines give them.
struct TxtRecord {
    // "999999999" while no record has begun.
    static inline const QString kNoProcess = QStringLiteral("999999999");
    QString procNum = kNoProcess;
    int despacho = 0;
    QString deposito, vigencia, concessao;  // "dd.mm.yyyy" or empty
    QString apresentacao, natureza;
    int nclver = 0, nclclasse = 0, cferev = 0;
    QString cfe, classe, marca, procurador, titular, cgccpf;
    QString prioridadenum, prioridadedata, prioridadepais, titularpais;
    QString especificacao, apostila, complemento;
};

// The dialog's reader rebuilds the class list; the batch loader's keeps it
// as published and ends without a final message.
enum class TxtVariant { Dialog, Batch };

// Parses one line into the pending record by its tag. The issue date is
// the one the dates of dispatches 400 to 404 take.
void ParseTxtLine(const QString& line, TxtRecord& rec, const QDate& issueDate, TxtVariant variant = TxtVariant::Dialog);

// The class list "25.10, 25.20" rebuilt as "25.10;25.20" (digits only, at
// most the 17 characters of NN.NN;NN.NN;NN.NN).
QString RebuildClasse(const QString& text);

// The processes an entry cites: every run of exactly nine digits after the
// leading asterisk, as the whole number of its first eight digits.
QList<int> CitedProcesses(const QString& complemento);
// Dispatch codes whose entries cite other processes.
bool DispatchCites(int despacho);

// The statements, as text. BuildRpiInsert cleans the record's free texts in
// place as the literal helpers do (the citations are read from the
// cleaned complemento).
QString BuildRpiInsert(TxtRecord& rec, int codigo, int revista);
QString BuildProcRefInsert(int codigo, int numproc, int ordemproc, int despacho, int revista);

// The numeric value of the leading number of a text, blanks skipped (0 when
// there is none).
long long LeadingNumber(QStringView text);

// Splits the file's text into lines: a line ends at CR, CR LF or LF; a
// final line end does not start another line.
QStringList SplitTxtLines(const QString& text);

struct TxtReadRequest {
    QString archivePath;  // NomeArq
    QString numRevista;   // NumRevista: "RPI " and four digits
    QDate issueDate;      // DataRevista
    TxtVariant variant = TxtVariant::Dialog;
};

class IssueRead;

class TextReader {
public:
    // Shows the number of records written (RegistrosLidos).
    std::function<void(int)> showCount;
    // Lets other events run (repaint, counter); called at most every 50 ms.
    std::function<void()> letEventsRun;

    // Reads the issue. Everything it changes in the database is one
    // transaction: on any failure it is rolled back, a critical message
    // names the failure, and false is returned. A file in which no record
    // begins, or a "No." line without a nine-digit number, is refused.
    bool LerRevistaTxt(const TxtReadRequest& request);

    int recordsWritten() const { return records_; }

    // The work folder: the program's folder followed by "txt".
    static QString workDir();

private:
    void readIssue(const QByteArray& bytes, const TxtReadRequest& request, int revista, IssueRead& read);
    void writeRecord(TxtRecord& rec, int revista);

    int records_ = 0;
    int citations_ = 0;
};
