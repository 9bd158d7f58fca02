#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class QSettings;

// The persistent settings every part of the program reads, with their
// defaults, and how they travel to and from the settings store.  Folder
// paths (ModsPath, GameFolder, ProgramFolder) end with '/' once set.
class CarvestoneSettings
{
public:
    static constexpr int MaxRecentFiles = 4;

    struct GridFont
    {
        QString name = QStringLiteral("Arial");
        int size = 9;
        bool bold = false;
        bool italic = false;
    };

    QString GameFolder;
    QString GameMpqPath;
    QString ModsPath;
    QString ProgramFolder;
    // Where the listing file AllFiles.txt and the demo archive lie: beside
    // the program in a build folder, ../share/carvestone/ once installed.
    QString DataFolder;
    QString GridFontName = QStringLiteral("Arial");
    int GridFontSize = 9;
    bool GridFontBold = false;
    bool GridFontItalic = false;
    bool UseCompression = true;
    bool OpenMostRecent = true;
    QStringList RecentFiles; // newest first

    // The store: $CARVESTONE_CONFIG_DIR/Carvestone.ini, else the user's
    // config folder + Carvestone/Carvestone.ini; the registry on Windows.
    static std::unique_ptr<QSettings> OpenStore();

    // Start-up: reads the store.  gameFolder comes from GameInstallation,
    // programFolder from the running executable; tests pass their own.
    void Load(QSettings& store, const QString& gameFolder, const QString& programFolder);
    // Writes the five options in their fixed order and flushes the store;
    // false (and the store's file untouched) when it could not be written.
    bool StoreOptions(QSettings& store) const;
    bool StoreRecentFiles(QSettings& store) const;

    // The project goes to the top of the list; at most MaxRecentFiles stay.
    void AddRecentFile(const QString& path);
    // False when the list did not hold it.
    bool RemoveRecentFile(const QString& path);

    QString GridFontValue() const;
    static QString FormatGridFont(const GridFont& font);
    static GridFont ParseGridFont(const QString& value);

    // The game archive a fresh installation uses: the game's own
    // patch_d2.mpq (whatever its spelling), else the demo archive.
    static QString DefaultGameMpqPath(const QString& gameFolder, const QString& dataFolder);
    static QString FolderWithSlash(const QString& folder);
    static QString FindDataFolder(const QString& programFolder);
    // The program's guide: README.md beside the program in a build folder,
    // ../share/doc/carvestone/README.md once installed.
    static QString FindHelpFile(const QString& programFolder);
    // The listing file of the game's names, in the data folder.
    QString ListingFilePath() const { return DataFolder + QStringLiteral("AllFiles.txt"); }


private:
    static bool Store(QSettings& store, const QMap<QString, QVariant>& changes, const QStringList& removed);
};
