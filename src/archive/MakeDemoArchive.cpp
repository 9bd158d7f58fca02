// Build-time tool: makes the demo game archive from the invented sample data
// kept in the repository, so that every feature can be tried without the
// game.  Usage: carvestone-make-demo ARCHIVE NAMES_FILE FILES_FOLDER, where
// NAMES_FILE holds one archive name a line and FILES_FOLDER the file of each
// name under its name part.

#include "BuildLog.h"
#include "MpqLibrary.h"
#include "core/SafeFileCopy.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

class FailureLog : public BuildLog
{
public:
    void AppendLog(const QString& text) override
    {
        line += text;
        if (!line.endsWith(QLatin1String("\r\n")))
            return;
        if (!line.endsWith(QLatin1String(" succeeded\r\n")))
            QTextStream(stderr) << line;
        line.clear();
    }

private:
    QString line;
};

QStringList ReadNames(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList names;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QByteArray name = line.trimmed();
        if (!name.isEmpty())
            names << QString::fromLatin1(name);
    }
    return names;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) {
        QTextStream(stderr) << "usage: carvestone-make-demo ARCHIVE NAMES_FILE FILES_FOLDER\n";
        return 2;
    }
    const QString archive = arguments[1];
    const QStringList names = ReadNames(arguments[2]);
    if (names.isEmpty()) {
        QTextStream(stderr) << "carvestone-make-demo: no names in " << arguments[2] << "\n";
        return 1;
    }
    // A fresh archive each time, created beside the target and moved in
    // place whole.
    QTemporaryDir scratch(QFileInfo(archive).absolutePath() + QLatin1String("/.demo-XXXXXX"));
    const QString fresh = scratch.filePath(QStringLiteral("patch_d2.mpq"));
    MpqLibrary library;
    FailureLog log;
    if (library.BuildArchive(fresh, arguments[3], names, true, log) != BuildOutcome::AllAdded)
        return 1;
    QString error;
    if (!SafeFileCopy::CopyReplacing(fresh, archive, &error)) {
        QTextStream(stderr) << "carvestone-make-demo: cannot write " << archive << ": " << error << "\n";
        return 1;
    }
    return 0;
}
