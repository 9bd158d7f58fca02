#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// What the archive benchmarks share: timing the best of several runs,
// running smpq for the same work, and laying out files as archive names.
class BenchSupport
{
public:
    // The best (smallest) wall time of runs, in milliseconds.
    static double BestOfMs(int runs, const std::function<void()>& work);
    // Runs smpq in a folder and answers its best wall time in milliseconds,
    // or a negative value when it failed.
    static double BestSmpqMs(int runs, const QStringList& arguments, const QString& folder);
    static bool RunSmpq(const QStringList& arguments, const QString& folder);
    // Makes an archive as the game's look (version 1, PKWARE, encrypted) of
    // the files named relative to the staging folder; says why on failure.
    static bool MakeGameArchive(const QString& archive, const QString& staging, const QStringList& names);
    // Writes bytes to folder/relative, making the folders on the way.
    static bool Write(const QString& folder, const QString& relative, const QByteArray& bytes);
    // Bytes that compress about as well as game data does.
    static QByteArray Sample(qsizetype size, int seed);
    static void PrintRow(const char* what, double oursMs, double smpqMs);
};
