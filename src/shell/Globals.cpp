#include "Globals.h"

#include "DBSpecifics.h"
#include "Db.h"
#include "EndSignals.h"
#include "Ui.h"
#include "keys/Cp1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace Globals {

QString IniFilePath;

namespace {
QString g_programDir;
constexpr const char* kIniName = "quorvanta.Ini";
}  // namespace

QString programDir()
{
    if (!g_programDir.isEmpty()) return g_programDir;
    return QCoreApplication::applicationDirPath();
}

void setProgramDir(const QString& dir) { g_programDir = dir; }

QString FindIniFile(const QString& dir)
{
    const QDir d(dir);
    const QString exact = d.filePath(QString::fromLatin1(kIniName));
    if (QFileInfo::exists(exact)) return exact;
    const QStringList names = d.entryList(QDir::Files | QDir::Hidden);
    for (const QString& n : names)
        if (n.compare(QString::fromLatin1(kIniName), Qt::CaseInsensitive) == 0) return d.filePath(n);
    return exact;
}

QString DecodeSettingsText(const QByteArray& bytes)
{
    // Stateless: a sequence cut short at the end is an error too. A
    // byte-order mark is skipped.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return cp1252::decode(bytes);
}

QString GetIniValueFrom(const QString& iniPath, const QString& section, const QString& key, int maxLength)
{
    QFile f(iniPath);
    if (!f.open(QIODevice::ReadOnly)) return QString();
    const QStringList lines = DecodeSettingsText(f.readAll()).split(QLatin1Char('\n'));
    bool inSection = false;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1Char('['))) {
            const int close = t.indexOf(QLatin1Char(']'));
            const QString name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
            inSection = name.compare(section.trimmed(), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || t.isEmpty() || t.startsWith(QLatin1Char(';'))) continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        if (line.left(eq).trimmed().compare(key.trimmed(), Qt::CaseInsensitive) != 0) continue;
        return maxLength < 0 ? line.mid(eq + 1) : line.mid(eq + 1).left(maxLength);
    }
    return QString();
}

QString GetIniValue(const QString& section, const QString& key)
{
    return GetIniValueFrom(IniFilePath, section, key);
}

namespace {

// Opens the program's connection. A server that never answers must not
// leave the screen empty: the connection opens on another thread under a
// window that says so.
void openConnection(DbConnection& db, const QString& connectionString)
{
    {
        struct Connecting {
            Connecting() { EndSignals::setConnecting(true); }
            ~Connecting() { EndSignals::setConnecting(false); }
        } connecting;
        ui().waitWhile(kConnectingText, [&db, connectionString] { db.open(connectionString); });
    }
    // The engine put its own signal handlers in place at the first attachment.
    EndSignals::install();
}

}  // namespace

bool Main()
{
    IniFilePath = FindIniFile(programDir());
    if (!QFileInfo::exists(IniFilePath)) {
        MsgBox(QStringLiteral("Arquivo 'Quorvanta.Ini' está faltando !"), vb::Critical,
               QStringLiteral("Arquivo não encontrado..."));
        return false;
    }
    EndSignals::install();
    DBSpecifics::ReadSettings();
    if (const QString why = DBSpecifics::PasswordProblem(); !why.isEmpty()) {
        MsgBox(why, vb::Critical, QStringLiteral("Erro no arquivo Quorvanta.Ini"));
        return false;
    }
    DbConnection& db = DbConnection::instance();
    db.cursorLocation = DBSpecifics::CursorLoc;
    const QString connectionString = DBSpecifics::BuildConnectionString();
    try {
        openConnection(db, connectionString);
    } catch (const DbError& e) {
        MsgBox(e.message(), vb::Critical, QStringLiteral("Erro ao abrir o banco de dados"));
        return false;
    }
    // A connection the server drops later is opened again the same way.
    db.reconnect = [](DbConnection& c) { openConnection(c, c.connectionString()); };
    DBSpecifics::AdminFlag = 0;
    return true;
}

}  // namespace Globals
