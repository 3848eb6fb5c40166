#pragma once
// Reader of a journal issue published in the XML layout (issues from 2220):
// the archive is extracted into the work folder, its "*.xml" file is read
// as Windows-1252 bytes and walked line by line through a small state
// machine of tags; each dispatch of a process becomes one RPI row (the
// process's values repeated in every row), each suspending process one
// PROCREFREVISTA row, and the issue is recorded in Revistas.
//
// It is not a general XML parser: it relies on each element standing on a
// line of its own, as the journal writes it.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <functional>

// What the reader reads from and writes back into the reading dialog.
class XmlReaderTarget {
public:
    virtual ~XmlReaderTarget() = default;
    // NumRevista: "RPI " and the four-digit issue number.
    virtual QString numRevista() const = 0;
    virtual void setNumRevista(const QString& text) = 0;
    // DataRevista: the issue date.
    virtual QDate dataRevista() const = 0;
    virtual void setDataRevista(const QDate& date) = 0;
    // RegistrosLidos: the count of processes written.
    virtual void setRegistrosLidos(int count) = 0;
};

// A target that only holds the values (tests, benchmarks).
class XmlReaderValues : public XmlReaderTarget {
public:
    QString num;
    QDate date;
    int registros = 0;
    QString numRevista() const override { return num; }
    void setNumRevista(const QString& text) override { num = text; }
    QDate dataRevista() const override { return date; }
    void setDataRevista(const QDate& d) override { date = d; }
    void setRegistrosLidos(int count) override { registros = count; }
};

class XmlReader {
public:
    explicit XmlReader(XmlReaderTarget& target) : target_(target) {}

    // Lets other events run (repaint, counter); called at most every 50 ms.
    std::function<void()> letEventsRun;

    // Reads the issue of an archive: extraction into the work folder, the
    // fixed wait, the read, "Final de Leitura". Returns true when the issue
    // was staged. On any failure a critical message names it, everything
    // the read changed in the database is rolled back, and the extracted
    // file is removed. An issue without a single dispatch is refused.
    bool LerRevistaXml(const QString& archivePath);

    // Stages the issue held in an issue file's bytes, in one transaction:
    // the staging tables are emptied, refilled and the issue recorded; on
    // a layout or database error, or when nothing is staged, the
    // transaction is rolled back and the message shown. Returns true when
    // the issue was staged.
    bool readIssue(const QByteArray& bytes);

    int processesWritten() const { return processes_; }

    // The work folder: the program's folder followed by "txt".
    static QString workDir();

private:
    XmlReaderTarget& target_;
    int processes_ = 0;
};

// The code of natureza's decoded text: P, S, C, G, K by what it holds, P
// for any other text; empty stays empty.
QString NaturezaCode(const QString& decoded);
// F, N, T, M for the four presentations; any other text unchanged.
QString ApresentacaoCode(const QString& text);
