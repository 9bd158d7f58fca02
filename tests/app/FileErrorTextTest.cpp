#include "app/FileErrorText.h"

#include <QDir>

#include <cerrno>
#include <vector>

#include <gtest/gtest.h>

TEST(FileErrorTextTest, EachCauseHasItsText)
{
    const QString path = QStringLiteral("/mods/A/armor.txt");
    const struct { std::vector<int> errnoValues; const char* text; } cases[] = {
        {{ENOENT}, "%1 was not found."},
        {{EACCES, EPERM, EROFS}, "Access to %1 was denied."},
        {{ENOSPC, EDQUOT, EFBIG}, "Disk full while accessing %1."},
        {{EMFILE, ENFILE}, "%1 could not be opened because there are too many open files."},
        {{ENAMETOOLONG, ENOTDIR, EISDIR}, "%1 contains an invalid path."},
        {{EIO}, "A hardware I/O error was reported while accessing %1."},
        {{EPROTO}, "An unknown error occurred while accessing %1."},
    };
    for (const auto& c : cases)
        for (const int errnoValue : c.errnoValues)
            EXPECT_EQ(FileErrorText::ForErrno(errnoValue, path),
                      QString::fromLatin1(c.text).arg(QDir::toNativeSeparators(path))) << errnoValue;
}
