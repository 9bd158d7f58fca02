// Extraction of a 20 MB file, beside smpq extracting the same file.

#include "BenchSupport.h"

#include "archive/MpqLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {
constexpr qsizetype FileSize = 20 * 1024 * 1024;
constexpr int Runs = 5;
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString staging = folder.filePath(QStringLiteral("staging"));
    const QString name = QStringLiteral("data/global/bench/big.txt");
    BenchSupport::Write(staging, name, BenchSupport::Sample(FileSize, 1));
    const QString archive = folder.filePath(QStringLiteral("bench.mpq"));
    if (!BenchSupport::MakeGameArchive(archive, staging, {name}))
        return 1;
    const QString ours = folder.filePath(QStringLiteral("ours"));
    const QString theirs = folder.filePath(QStringLiteral("smpq"));
    QDir().mkpath(ours);
    QDir().mkpath(theirs);

    MpqLibrary library;
    library.Load();   // as in the program, where the binding is already there
    bool extracted = true;
    const double oursMs = BenchSupport::BestOfMs(Runs, [&] {
        extracted = library.ExtractFile(archive, QStringLiteral("data\\global\\bench\\big.txt"), ours, true) && extracted;
    });
    library.Unload();
    if (!extracted || QFileInfo(ours + QLatin1String("/big.txt")).size() != FileSize) {
        std::fprintf(stderr, "extraction failed\n");
        return 1;
    }
    const double smpqMs = BenchSupport::BestSmpqMs(
        Runs, {QStringLiteral("-x"), QStringLiteral("-f"), archive, QStringLiteral("data\\global\\bench\\big.txt")},
        theirs);
    if (smpqMs < 0) {
        std::fprintf(stderr, "smpq could not extract the file\n");
        return 1;
    }
    std::printf("ExtractFile: one %lld-byte PKWARE file, best of %d runs\n", static_cast<long long>(FileSize), Runs);
    BenchSupport::PrintRow("extraction", oursMs, smpqMs);
    return 0;
}
