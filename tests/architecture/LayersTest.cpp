#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

// The layers of src/ as docs/ARCHITECTURE.md draws them: each folder and
// the folders it may include from.  A new folder, or a new kind of include,
// is a decision about the house: it is made here and in that page together.
namespace {

const QMap<QString, QStringList> MayUse = {
    {"core", {}},
    {"model", {"core"}},
    {"archive", {"core", "model"}},
    {"cli", {"core", "model", "archive"}},
    {"grid", {}},
    {"resources", {}},
    {"ui", {"core", "model", "grid"}},
    {"project", {"core", "model", "grid", "ui"}},
    {"browser", {"core", "model", "archive", "grid", "ui", "project"}},
    {"table_editor", {"core", "model", "grid", "ui"}},
    {"options", {"core", "model", "grid", "ui"}},
    {"build_install", {"core", "model", "archive", "grid", "ui", "project"}},
    {"changes", {"core", "model", "archive", "grid", "ui", "project", "table_editor"}},
    {"mainframe", {"core", "model", "archive", "grid", "ui", "project", "browser", "table_editor"}},
    {"app",
     {"core", "model", "archive", "grid", "ui", "project", "browser", "table_editor", "options", "build_install",
      "changes", "mainframe"}},
};

// Folders whose code runs where there is no window: the command line, the
// child process that does the archive work.
const QStringList WithoutWindows = {"core", "model", "archive", "cli"};

constexpr int LongestSourceFile = 1200;

QString SourceRoot()
{
    return QStringLiteral(CARVESTONE_SOURCE_DIR "/src");
}

struct SourceFile
{
    QString folder; // the top folder under src/
    QString path;   // relative to src/
    QStringList lines;
};

QList<SourceFile> SourceFiles()
{
    QList<SourceFile> files;
    QDirIterator it(SourceRoot(), {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = QDir(SourceRoot()).relativeFilePath(it.next());
        QFile file(it.filePath());
        if (!file.open(QIODevice::ReadOnly))
            ADD_FAILURE() << "cannot read " << path.toStdString();
        files.append({path.section('/', 0, 0), path, QString::fromUtf8(file.readAll()).split('\n')});
    }
    return files;
}

QStringList Matches(const QStringList& lines, const QRegularExpression& pattern)
{
    QStringList found;
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = pattern.match(line);
        if (match.hasMatch())
            found << match.captured(1);
    }
    return found;
}

} // namespace

TEST(Layers, EveryIncludeOfAnotherFolderGoesDownward)
{
    const QRegularExpression projectInclude(QStringLiteral(R"(^\s*#\s*include\s+"([a-z_]+)/)"));
    for (const SourceFile& file : SourceFiles()) {
        ASSERT_TRUE(MayUse.contains(file.folder)) << file.folder.toStdString() << " is a folder without a layer";
        for (const QString& used : Matches(file.lines, projectInclude)) {
            if (used != file.folder) {
                EXPECT_TRUE(MayUse[file.folder].contains(used))
                    << file.path.toStdString() << " includes from " << used.toStdString();
            }
        }
    }
}

TEST(Layers, FoldersBelowTheWindowsIncludeNothingOfQtButItsCore)
{
    const QString qtHeaders = QLibraryInfo::path(QLibraryInfo::HeadersPath);
    ASSERT_TRUE(QFileInfo::exists(qtHeaders + "/QtCore/QString"));
    const QRegularExpression qtInclude(QStringLiteral(R"(^\s*#\s*include\s+<(Qt\w*/)?(Q\w+)>)"));
    for (const SourceFile& file : SourceFiles()) {
        if (!WithoutWindows.contains(file.folder))
            continue;
        for (const QString& line : file.lines) {
            const QRegularExpressionMatch match = qtInclude.match(line);
            if (match.hasMatch()) {
                EXPECT_TRUE(QFileInfo::exists(qtHeaders + "/QtCore/" + match.captured(2)))
                    << file.path.toStdString() << " includes " << match.captured(0).toStdString();
            }
        }
    }
}

TEST(Layers, NoSourceFileOutgrowsWhatAReaderTakesIn)
{
    for (const SourceFile& file : SourceFiles())
        EXPECT_LE(file.lines.size(), LongestSourceFile) << file.path.toStdString();
}

TEST(Layers, TheArchitecturePageMapsEveryFolder)
{
    QFile page(QStringLiteral(CARVESTONE_SOURCE_DIR "/docs/ARCHITECTURE.md"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    const QStringList folders = QDir(SourceRoot()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& folder : folders) {
        EXPECT_TRUE(text.contains("src/" + folder + "/")) << folder.toStdString() << " is missing from the code map";
        EXPECT_TRUE(MayUse.contains(folder)) << folder.toStdString() << " has no layer";
    }
}
