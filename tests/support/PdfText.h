#pragma once
// Reading a rendered PDF back as text with the poppler tools.

#include <QProcess>
#include <QString>
#include <QStringList>

// What a command-line tool prints, waiting up to a minute for it.
inline QString runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Text of every page, in order; laid out as on the page unless layout is false.
inline QStringList pdfPages(const QString& pdf, bool layout = true)
{
    QStringList args;
    if (layout) args << QStringLiteral("-layout");
    args << pdf << QStringLiteral("-");
    QStringList pages = runTool(QStringLiteral("pdftotext"), args).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}
