// ReadListing of a 20,000-line listing file against an archive of 2,000
// files, beside smpq listing the same archive through the same names.

#include "BenchSupport.h"

#include "archive/ListingProgress.h"
#include "archive/MpqLibrary.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int ArchiveFiles = 2000;
constexpr int ListingLines = 20000;
constexpr int Runs = 7;

// Reports nothing, but keeps a window alive after every line as the dialog
// does.
class PumpingProgress : public ListingProgress
{
public:
    void SetRange(int, int) override {}
    void SetPosition(int) override {}
    void ProcessEvents() override { QCoreApplication::processEvents(); }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString staging = folder.filePath(QStringLiteral("staging"));
    QStringList names;
    QByteArray listing;
    for (int i = 0; i < ArchiveFiles; ++i) {
        const QString name = QStringLiteral("data/global/bench/file%1.txt").arg(i);
        BenchSupport::Write(staging, name, BenchSupport::Sample(200, i));
        names << name;
    }
    for (int i = 0; i < ListingLines; ++i) {
        listing += i % 10 == 0 ? QByteArray("data\\global\\bench\\file") + QByteArray::number(i / 10) + ".txt"
                               : QByteArray("data\\global\\absent\\name") + QByteArray::number(i) + ".txt";
        listing += "\r\n";
    }
    const QString archive = folder.filePath(QStringLiteral("bench.mpq"));
    const QString listingPath = folder.filePath(QStringLiteral("AllFiles.txt"));
    BenchSupport::Write(folder.path(), QStringLiteral("AllFiles.txt"), listing);
    if (!BenchSupport::MakeGameArchive(archive, staging, names))
        return 1;

    int found = 0;
    const auto readListing = [&](ListingProgress* progress) {
        MpqLibrary library;   // a fresh cache every run
        QStringList result;
        found = library.ReadListing(archive, listingPath, result, progress);
    };
    const double plain = BenchSupport::BestOfMs(Runs, [&] { readListing(nullptr); });
    if (found != ArchiveFiles) {
        std::fprintf(stderr, "found %d names, expected %d\n", found, ArchiveFiles);
        return 1;
    }
    PumpingProgress pumping;
    const double pumped = BenchSupport::BestOfMs(Runs, [&] { readListing(&pumping); });
    const double smpq = BenchSupport::BestSmpqMs(
        Runs, {QStringLiteral("-l"), QStringLiteral("-n"), QStringLiteral("-N"), QStringLiteral("-L"), listingPath, archive},
        folder.path());
    if (smpq < 0) {
        std::fprintf(stderr, "smpq could not list the archive\n");
        return 1;
    }
    std::printf("ReadListing: %d listing lines, %d files in the archive, best of %d runs\n", ListingLines,
                ArchiveFiles, Runs);
    BenchSupport::PrintRow("listing without pumping events", plain, smpq);
    BenchSupport::PrintRow("listing pumping events after every line", pumped, smpq);
    std::printf("pumping adds %.2f ms (%.2f us a line)\n", pumped - plain, (pumped - plain) * 1000 / ListingLines);
    return 0;
}
