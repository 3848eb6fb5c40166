// A second desk for the server tests: starts as the program does (the
// settings file of its own folder, the connection it names), runs one
// operation and prints every message it would have shown.
//
//   server_desk FOLDER whoami
//   server_desk FOLDER search MARK
//   server_desk FOLDER read-txt ARCHIVE "RPI nnnn" dd/mm/yyyy
//   server_desk FOLDER read-xml ARCHIVE
//   server_desk FOLDER apply
//
// Output lines: "message<TAB>style<TAB>title<TAB>text" (line ends in the
// text written as \n), "row<TAB>value" for query results, and "applying"
// once an apply has written its first entry (it holds the lock, and its
// transaction is open). Exit status 0 when the operation did its work, 3
// when it did not, 2 on wrong use.

#include "journal/TextReader.h"
#include "journal/XmlReader.h"
#include "search/MarkSearch.h"
#include "search/ResultGrid.h"
#include "shell/Globals.h"
#include "support/TestUi.h"
#include "update/frmAtualizaBD.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

void print(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int run(const QStringList& a)
{
    const QString& op = a[2];
    if (op == QLatin1String("whoami")) {
        Recordset rs = DbConnection::instance().query(QStringLiteral(
            "SELECT MON$REMOTE_ADDRESS FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"));
        rs.moveFirst();
        print(QStringLiteral("row\t") + rs.value(0).toString());
        return 0;
    }
    if (op == QLatin1String("search") && a.size() == 4) {
        marksearch::Criteria c;
        c.nomeMarca = a[3];
        const marksearch::Outcome o = marksearch::BuildSearch(c);
        if (o.refusal) {
            print(QStringLiteral("refused\t") + o.refusal.message);
            return 3;
        }
        const QString list = o.search.issueJoin ? resultgrid::kIssueJoinSelectList : resultgrid::kPlainSelectList;
        Recordset rs = DbConnection::instance().query(resultgrid::PageQuery(0, list, o.search.whereClause));
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            print(QStringLiteral("row\t") + rs.value(QStringLiteral("procdv")).toString());
        return 0;
    }
    if (op == QLatin1String("read-txt") && a.size() == 6) {
        TextReader reader;
        TxtReadRequest request;
        request.archivePath = a[3];
        request.numRevista = a[4];
        request.issueDate = QDate::fromString(a[5], QStringLiteral("dd/MM/yyyy"));
        return reader.LerRevistaTxt(request) ? 0 : 3;
    }
    if (op == QLatin1String("read-xml") && a.size() == 4) {
        XmlReaderValues target;
        XmlReader reader(target);
        return reader.LerRevistaXml(a[3]) ? 0 : 3;
    }
    if (op == QLatin1String("apply")) {
        frmAtualizaBD f;
        bool underWay = false;
        QObject::connect(f.findChild<QLineEdit*>(QStringLiteral("NumProcs")), &QLineEdit::textChanged,
                         [&underWay](const QString& count) {
                             if (count.toInt() > 0 && !std::exchange(underWay, true)) print(QStringLiteral("applying"));
                         });
        f.Form_Activate();
        f.SelecFile_Click();
        return f.lastResult() == TransferResult::Done ? 0 : 3;
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 3) return 2;
    TestUi ui;
    TestClock clock;
    ui.onMessage = [](const RecordedMessage& m) {
        QString text = m.text;
        text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        print(QStringLiteral("message\t%1\t%2\t%3").arg(m.style).arg(m.title, text));
    };
    Globals::setProgramDir(a[1]);
    if (!Globals::Main()) return 3;
    int status = 2;
    try {
        status = run(a);
    } catch (const DbError& e) {
        print(QStringLiteral("error\t") + e.message());
        status = 3;
    }
    DbConnection::instance().close();
    return status;
}
