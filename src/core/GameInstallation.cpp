#include "GameInstallation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString GameKey = QStringLiteral("Software\\Blizzard Entertainment\\Diablo II");
const QString InstallPathValue = QStringLiteral("InstallPath");
// The record is read into a buffer of 260 bytes, its terminating NUL included.
constexpr qsizetype MaxInstallPathLength = 259;

// user.reg escapes backslashes and quotes with a backslash and writes other
// characters as \xNNNN.
QString UnescapeRegString(const QString& text)
{
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 >= text.size()) {
            result += text[i];
            continue;
        }
        const QChar next = text[++i];
        if (next == QLatin1Char('x')) {
            qsizetype end = i + 1;
            while (end < text.size() && end < i + 5 && QStringLiteral("0123456789abcdefABCDEF").contains(text[end]))
                ++end;
            result += QChar(static_cast<char16_t>(text.mid(i + 1, end - i - 1).toUInt(nullptr, 16)));
            i = end - 1;
        } else if (next == QLatin1Char('n')) {
            result += QLatin1Char('\n');
        } else {
            result += next;
        }
    }
    return result;
}

// The text between the quotes that start at position; position moves past
// the closing quote.
QString QuotedAt(const QString& line, qsizetype& position)
{
    if (position >= line.size() || line[position] != QLatin1Char('"'))
        return {};
    qsizetype end = position + 1;
    while (end < line.size() && line[end] != QLatin1Char('"'))
        end += line[end] == QLatin1Char('\\') ? 2 : 1;
    const QString quoted = line.mid(position + 1, end - position - 1);
    position = end + 1;
    return quoted;
}

// Finds an existing entry in folder whose name matches name without regard
// to case, as Windows file names do; the name itself when none does.
QString EntryIgnoringCase(const QString& folder, const QString& name)
{
    if (QFileInfo::exists(folder + QLatin1Char('/') + name))
        return name;
    for (const QString& entry : QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

} // namespace

QString GameInstallation::FindFolder()
{
#ifdef Q_OS_WIN
    QSettings record(QStringLiteral("HKEY_CURRENT_USER\\") + GameKey, QSettings::NativeFormat);
    const QString folder = record.value(InstallPathValue).toString();
    if (folder.isEmpty() || folder.size() > MaxInstallPathLength)
        return {};
    const QString path = QDir::fromNativeSeparators(folder);
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
#else
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty())
        prefix = QDir::homePath() + QStringLiteral("/.wine");
    return FolderInWinePrefix(prefix);
#endif
}

QString GameInstallation::FolderInWinePrefix(const QString& prefix)
{
    QFile userReg(prefix + QStringLiteral("/user.reg"));
    if (!userReg.open(QIODevice::ReadOnly))
        return {};
    const QString windowsPath = ReadUserRegValue(userReg.readAll(), GameKey, InstallPathValue);
    if (windowsPath.isEmpty() || windowsPath.size() > MaxInstallPathLength)
        return {};
    const QString folder = WindowsPathInPrefix(prefix, windowsPath);
    if (folder.isEmpty())
        return {};
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString GameInstallation::ReadUserRegValue(const QByteArray& userReg, const QString& key, const QString& valueName)
{
    const QStringList lines = QString::fromUtf8(userReg).split(QLatin1Char('\n'));
    bool inKey = false;
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
            inKey = close > 0 && UnescapeRegString(line.mid(1, close - 1)).compare(key, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inKey)
            continue;
        qsizetype position = 0;
        const QString name = UnescapeRegString(QuotedAt(line, position));
        if (name.compare(valueName, Qt::CaseInsensitive) != 0 || !line.mid(position).startsWith(QLatin1String("=\"")))
            continue;
        ++position;
        return UnescapeRegString(QuotedAt(line, position));
    }
    return {};
}

QString GameInstallation::WindowsPathInPrefix(const QString& prefix, const QString& windowsPath)
{
    if (windowsPath.size() < 2 || windowsPath[1] != QLatin1Char(':') || !windowsPath[0].isLetter())
        return {};
    const QString drive = windowsPath.left(2).toLower();
    QString base = prefix + QStringLiteral("/dosdevices/") + drive;
    if (!QFileInfo::exists(base)) {
        if (drive != QLatin1String("c:"))
            return {};
        base = prefix + QStringLiteral("/drive_c");
    }
    QString path = QFileInfo(base).canonicalFilePath();
    if (path.isEmpty())
        path = base;
    const QStringList parts = windowsPath.mid(2).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString& part : parts)
        path += QLatin1Char('/') + EntryIgnoringCase(path, part);
    return path;
}
