#pragma once

#include "BuildLog.h"
#include "ListingProgress.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

// The line protocol that carvestone-cli speaks with --machine, so that the
// window can run archive work in a child process: a damaged archive that
// takes StormLib down then takes down only the child.
//
// The child writes one event per line on stdout, each line ended by LF, the
// bytes of the texts as they are inside the program (one byte a character):
//
//   range <min> <max>     the listing's progress range (bytes of the listing file)
//   progress <pos>        the listing's progress position
//   name <archive name>   one name found by a listing; raw bytes (names never hold CR or LF)
//   log <text>            a piece of the build log; "\r", "\n" and "\\" stand for CR, LF and a backslash
//   error <message>       why the work failed, escaped as log text
//   done <status>         the last line: the exit status (0 success, 1 failure, 2 wrong usage)
//
// A child that ends without "done" has died; the reader says so.
class MachineChannel : public BuildLog, public ListingProgress
{
public:
    explicit MachineChannel(std::FILE* out);

    static QByteArray Escape(const QString& text);
    static QString Unescape(const QByteArray& escaped);

    void AppendLog(const QString& text) override;
    void SetRange(int minimum, int maximum) override;
    void SetPosition(int position) override;
    void ProcessEvents() override {}

    void Name(const QString& archiveName);
    void Error(const QString& message);
    void Done(int status);

private:
    void Line(const QByteArray& line);

    std::FILE* out;
    int lastPosition = -1;
    int rangeEnd = 0;
};
