// A build adding 200 files to a copy of an archive, beside smpq adding the
// same files to its own copy.

#include "BenchSupport.h"

#include "archive/BuildLog.h"
#include "archive/ModBuilder.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int GameFiles = 2000;
constexpr int AddedFiles = 200;
constexpr int Runs = 5;

class SilentLog : public BuildLog
{
public:
    void AppendLog(const QString&) override {}
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString gameStaging = folder.filePath(QStringLiteral("game"));
    QStringList gameNames;
    for (int i = 0; i < GameFiles; ++i) {
        const QString name = QStringLiteral("data/global/game/file%1.txt").arg(i);
        BenchSupport::Write(gameStaging, name, BenchSupport::Sample(4000, i));
        gameNames << name;
    }
    const QString game = folder.filePath(QStringLiteral("patch_d2.mpq"));
    if (!BenchSupport::MakeGameArchive(game, gameStaging, gameNames))
        return 1;
    // The MOD: a flat folder for us, the same files under their archive
    // names for smpq.
    const QString modFolder = folder.filePath(QStringLiteral("Mod"));
    const QString modStaging = folder.filePath(QStringLiteral("modstaging"));
    ModBuilder::Request request{game, modFolder + QLatin1String("/Mod.mpq"), modFolder, {}, true, {}};
    QStringList smpqNames;
    for (int i = 0; i < AddedFiles; ++i) {
        const QByteArray bytes = BenchSupport::Sample(6000, 100000 + i);
        const QString name = QStringLiteral("mod%1.txt").arg(i);
        BenchSupport::Write(modFolder, name, bytes);
        BenchSupport::Write(modStaging, QStringLiteral("data/global/excel/") + name, bytes);
        request.entries << QStringLiteral("data\\global\\excel\\") + name;
        smpqNames << QStringLiteral("data/global/excel/") + name;
    }

    MpqLibrary library;
    library.Load();
    SilentLog log;
    BuildOutcome outcome = BuildOutcome::AllAdded;
    const double oursMs = BenchSupport::BestOfMs(Runs, [&] {
        const BuildOutcome run = ModBuilder::Build(library, request, log);
        if (run != BuildOutcome::AllAdded)
            outcome = run;
    });
    library.Unload();
    if (outcome != BuildOutcome::AllAdded) {
        std::fprintf(stderr, "the build failed\n");
        return 1;
    }
    const QString smpqArchive = folder.filePath(QStringLiteral("smpq.mpq"));
    const QStringList smpqArguments = QStringList{QStringLiteral("-a"), QStringLiteral("-C"), QStringLiteral("PKWARE"),
                                                  QStringLiteral("-E"), smpqArchive}
        + smpqNames;
    bool added = true;
    const double smpqMs = BenchSupport::BestOfMs(Runs, [&] {
        QFile::remove(smpqArchive);
        added = QFile::copy(game, smpqArchive) && BenchSupport::RunSmpq(smpqArguments, modStaging) && added;
    });
    if (!added) {
        std::fprintf(stderr, "smpq could not add the files\n");
        return 1;
    }
    std::printf("Build: %d files added to a copy of a %d-file archive, PKWARE and encrypted, best of %d runs\n",
                AddedFiles, GameFiles, Runs);
    BenchSupport::PrintRow("build (copy of the game archive, then adding)", oursMs, smpqMs);
    return 0;
}
