#include "app/FileErrorText.h"

#include <QDir>

#include <cerrno>

#include <gtest/gtest.h>

namespace {

TEST(FileErrorTextTest, EachCauseHasItsText)
{
    const QString path = QStringLiteral("/mods/A/armor.txt");
    const QString shown = QDir::toNativeSeparators(path);
    const struct { int errnoValue; QString text; } cases[] = {
        {ENOENT, shown + " was not found."},
        {EACCES, "Access to " + shown + " was denied."},
        {EPERM, "Access to " + shown + " was denied."},
        {EROFS, "Access to " + shown + " was denied."},
        {ENOSPC, "Disk full while accessing " + shown + "."},
        {EDQUOT, "Disk full while accessing " + shown + "."},
        {EFBIG, "Disk full while accessing " + shown + "."},
        {EMFILE, shown + " could not be opened because there are too many open files."},
        {ENFILE, shown + " could not be opened because there are too many open files."},
        {ENAMETOOLONG, shown + " contains an invalid path."},
        {ENOTDIR, shown + " contains an invalid path."},
        {EISDIR, shown + " contains an invalid path."},
        {EIO, "A hardware I/O error was reported while accessing " + shown + "."},
        {EPROTO, "An unknown error occurred while accessing " + shown + "."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileErrorText::ForErrno(c.errnoValue, path), c.text) << c.errnoValue;
}

} // namespace
