#include "BenchSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <limits>

double BenchSupport::BestOfMs(int runs, const std::function<void()>& work)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

bool BenchSupport::RunSmpq(const QStringList& arguments, const QString& folder)
{
    QProcess smpq;
    smpq.setWorkingDirectory(folder);
    smpq.setStandardOutputFile(QProcess::nullDevice());
    smpq.start(QStringLiteral("smpq"), arguments);
    return smpq.waitForFinished(600000) && smpq.exitStatus() == QProcess::NormalExit && smpq.exitCode() == 0;
}

bool BenchSupport::MakeGameArchive(const QString& archive, const QString& staging, const QStringList& names)
{
    const QStringList arguments{QStringLiteral("-c"), QStringLiteral("-M"), QStringLiteral("1"), QStringLiteral("-C"),
                                QStringLiteral("PKWARE"), QStringLiteral("-E"), archive};
    if (RunSmpq(arguments + names, staging))
        return true;
    std::fprintf(stderr, "smpq could not make the archive %s\n", qPrintable(archive));
    return false;
}

double BenchSupport::BestSmpqMs(int runs, const QStringList& arguments, const QString& folder)
{
    bool succeeded = true;
    const double best = BestOfMs(runs, [&] { succeeded = RunSmpq(arguments, folder) && succeeded; });
    return succeeded ? best : -1;
}

bool BenchSupport::Write(const QString& folder, const QString& relative, const QByteArray& bytes)
{
    const QString path = folder + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray BenchSupport::Sample(qsizetype size, int seed)
{
    // Tab-separated rows of words and numbers, like the game's tables.
    static const char* const words[] = {"name", "code", "Brass", "Pike", "Ember", "0", "1", "100", "255", "\t\t"};
    QRandomGenerator generator(quint32(seed + 1));
    QByteArray bytes;
    bytes.reserve(size + 16);
    while (bytes.size() < size) {
        bytes += words[generator.bounded(10)];
        bytes += generator.bounded(8) == 0 ? "\r\n" : "\t";
    }
    bytes.truncate(size);
    return bytes;
}

void BenchSupport::PrintRow(const char* what, double oursMs, double smpqMs)
{
    std::printf("%-44s ours %9.2f ms   smpq %9.2f ms   ratio %.2f\n", what, oursMs, smpqMs,
                smpqMs > 0 ? oursMs / smpqMs : 0.0);
}
