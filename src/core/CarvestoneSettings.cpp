#include "CarvestoneSettings.h"

#include "IniFileWriter.h"
#include "core/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <climits>

namespace {

const QString SettingsSection = QStringLiteral("Settings");
const QString RecentSection = QStringLiteral("Recent File List");
const QString KeyGameMpq = QStringLiteral("Diablo II MPQ");
const QString KeyModsPath = QStringLiteral("MODs Path");
const QString KeyGridFont = QStringLiteral("Grid Font");
const QString KeyUseCompression = QStringLiteral("Use Compression");
const QString KeyOpenMostRecent = QStringLiteral("Open Most Recent");
const QString DefaultGridFont = QStringLiteral("Arial, 9");

QString SettingKey(const QString& section, const QString& name)
{
    return section + QLatin1Char('/') + name;
}

// A hand-edited INI value without quotes reads back as a list: join it again.
QString ReadString(const QSettings& store, const QString& key, const QString& fallback)
{
    const QVariant value = store.value(key);
    if (!value.isValid())
        return fallback;
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool ReadSwitch(const QSettings& store, const QString& key, bool fallback)
{
    const QVariant value = store.value(key);
    if (!value.isValid())
        return fallback;
    bool isNumber = false;
    const int number = value.toString().trimmed().toInt(&isNumber);
    return isNumber ? number != 0 : value.toBool();
}

// Leading white space, an optional sign, then digits up to the first other
// character; no digits give 0.  position ends where conversion stopped.
int ParseLeadingInteger(const QString& text, qsizetype& position)
{
    const qsizetype start = position;
    while (position < text.size() && text[position].isSpace())
        ++position;
    bool negative = false;
    if (position < text.size() && (text[position] == QLatin1Char('+') || text[position] == QLatin1Char('-'))) {
        negative = text[position] == QLatin1Char('-');
        ++position;
    }
    const qsizetype digitsStart = position;
    long long value = 0;
    while (position < text.size() && text[position] >= QLatin1Char('0') && text[position] <= QLatin1Char('9')) {
        value = std::min<long long>(value * 10 + (text[position].unicode() - '0'), INT_MAX);
        ++position;
    }
    if (position == digitsStart) {
        position = start;
        return 0;
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace

std::unique_ptr<QSettings> CarvestoneSettings::OpenStore()
{
#ifdef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("CARVESTONE_CONFIG_DIR"))
        return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Carvestone"),
                                           QSettings::NativeFormat);
#endif
    QString folder = qEnvironmentVariable("CARVESTONE_CONFIG_DIR");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Carvestone");
    return std::make_unique<QSettings>(folder + QStringLiteral("/Carvestone.ini"), QSettings::IniFormat);
}

void CarvestoneSettings::Load(QSettings& store, const QString& gameFolder, const QString& programFolder)
{
    RecentFiles.clear();
    for (int number = 1; number <= MaxRecentFiles; ++number) {
        const QString path = ReadString(store, SettingKey(RecentSection, QStringLiteral("File%1").arg(number)), {});
        if (!path.isEmpty() && !RecentFiles.contains(path))
            RecentFiles.append(path);
    }
    GameFolder = gameFolder.isEmpty() ? QString() : FolderWithSlash(gameFolder);
    ProgramFolder = FolderWithSlash(programFolder);
    DataFolder = FindDataFolder(ProgramFolder);
    GameMpqPath = ReadString(store, SettingKey(SettingsSection, KeyGameMpq),
                             DefaultGameMpqPath(GameFolder, DataFolder));
    // A hand-edited path without its closing slash would glue project names
    // to the folder's own name.
    ModsPath = QDir::fromNativeSeparators(ReadString(store, SettingKey(SettingsSection, KeyModsPath), {}));
    if (!ModsPath.isEmpty())
        ModsPath = FolderWithSlash(ModsPath);
    UseCompression = ReadSwitch(store, SettingKey(SettingsSection, KeyUseCompression), true);
    OpenMostRecent = ReadSwitch(store, SettingKey(SettingsSection, KeyOpenMostRecent), true);
    const GridFont font = ParseGridFont(ReadString(store, SettingKey(SettingsSection, KeyGridFont), DefaultGridFont));
    GridFontName = font.name;
    GridFontSize = font.size;
    GridFontBold = font.bold;
    GridFontItalic = font.italic;
}

bool CarvestoneSettings::StoreOptions(QSettings& store) const
{
    return Store(store,
                 {{SettingKey(SettingsSection, KeyGameMpq), GameMpqPath},
                  {SettingKey(SettingsSection, KeyModsPath), ModsPath},
                  {SettingKey(SettingsSection, KeyGridFont), GridFontValue()},
                  {SettingKey(SettingsSection, KeyUseCompression), UseCompression ? 1 : 0},
                  {SettingKey(SettingsSection, KeyOpenMostRecent), OpenMostRecent ? 1 : 0}},
                 {});
}

bool CarvestoneSettings::StoreRecentFiles(QSettings& store) const
{
    QMap<QString, QVariant> changes;
    QStringList removed;
    for (int number = 1; number <= MaxRecentFiles; ++number) {
        const QString key = SettingKey(RecentSection, QStringLiteral("File%1").arg(number));
        if (number <= RecentFiles.size())
            changes.insert(key, RecentFiles[number - 1]);
        else
            removed.append(key);
    }
    return Store(store, changes, removed);
}

bool CarvestoneSettings::Store(QSettings& store, const QMap<QString, QVariant>& changes, const QStringList& removed)
{
    // An INI file is written whole through the safe-write path; the
    // registry has no file to cut off.
    if (store.format() == QSettings::IniFormat)
        return IniFileWriter::Store(store, changes, removed);
    for (const QString& key : removed)
        store.remove(key);
    for (auto it = changes.begin(); it != changes.end(); ++it)
        store.setValue(it.key(), it.value());
    store.sync();
    return store.status() == QSettings::NoError;
}

void CarvestoneSettings::AddRecentFile(const QString& path)
{
    RecentFiles.removeAll(path);
    RecentFiles.prepend(path);
    while (RecentFiles.size() > MaxRecentFiles)
        RecentFiles.removeLast();
}

bool CarvestoneSettings::RemoveRecentFile(const QString& path)
{
    return RecentFiles.removeAll(path) > 0;
}

QString CarvestoneSettings::GridFontValue() const
{
    return FormatGridFont({GridFontName, GridFontSize, GridFontBold, GridFontItalic});
}

QString CarvestoneSettings::FormatGridFont(const GridFont& font)
{
    int styleId = StringId::StyleRegular;
    if (font.bold && font.italic)
        styleId = StringId::StyleBoldItalic;
    else if (font.bold)
        styleId = StringId::StyleBold;
    else if (font.italic)
        styleId = StringId::StyleItalic;
    return QStringLiteral("%1, %2, %3").arg(font.name).arg(font.size).arg(StringTable::Get(styleId));
}

CarvestoneSettings::GridFont CarvestoneSettings::ParseGridFont(const QString& value)
{
    GridFont font;
    font.name = value;
    const qsizetype comma = value.indexOf(QLatin1Char(','));
    if (comma < 0)
        return font;
    font.name = value.left(comma);
    qsizetype position = comma + 1;
    font.size = ParseLeadingInteger(value, position);
    if (position < value.size() && value[position] == QLatin1Char(',')) {
        const QString style = value.mid(position);
        font.bold = style.contains(StringTable::Get(StringId::StyleBold));
        font.italic = style.contains(StringTable::Get(StringId::StyleItalic));
    }
    return font;
}

QString CarvestoneSettings::DefaultGameMpqPath(const QString& gameFolder, const QString& dataFolder)
{
    if (gameFolder.isEmpty())
        return dataFolder + QStringLiteral("demo/patch_d2.mpq");
    const QString spelling = QStringLiteral("patch_d2.mpq");
    if (QFileInfo::exists(gameFolder + spelling))
        return gameFolder + spelling;
    for (const QString& name : QDir(gameFolder).entryList(QDir::Files)) {
        if (name.compare(spelling, Qt::CaseInsensitive) == 0)
            return gameFolder + name;
    }
    return gameFolder + spelling;
}

QString CarvestoneSettings::FolderWithSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString CarvestoneSettings::FindHelpFile(const QString& programFolder)
{
    const QString beside = programFolder + QStringLiteral("README.md");
    return QFileInfo::exists(beside) ? beside
                                     : QDir::cleanPath(programFolder + QStringLiteral("../share/doc/carvestone/README.md"));
}

QString CarvestoneSettings::FindDataFolder(const QString& programFolder)
{
    const QString installed = QDir::cleanPath(programFolder + QStringLiteral("../share/carvestone")) + QLatin1Char('/');
    const bool besideProgram = QFileInfo::exists(programFolder + QStringLiteral("AllFiles.txt"));
    return !besideProgram && QFileInfo::exists(installed + QStringLiteral("AllFiles.txt")) ? installed : programFolder;
}
