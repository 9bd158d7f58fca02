#include "core/FileErrorText.h"
#include "core/MessageFormat.h"

#include <QDir>

#include <cerrno>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

TEST(FileErrorText, EachCauseHasItsText)
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

TEST(MessageFormat, FillsPrintfAndNumberedPlaceholdersButNeverReadsAValueAsAFormat)
{
    for (const auto& [format, values, text] : {
             std::tuple<const char*, QVariantList, const char*>{"Row %d, Column %d", {3, 14}, "Row 3, Column 14"},
             {"Save changes to %1?", {"A.mod"}, "Save changes to A.mod?"}, {"100%% of %s%", {"x"}, "100% of x%"},
             {"%s and %s", {"only"}, "only and "}, {"%s: %d", {"%d%s%1", 5}, "%d%s%1: 5"}})
        EXPECT_EQ(MessageFormat::Format(QString::fromLatin1(format), values), QString::fromLatin1(text));
    const QString cut = MessageFormat::Format(QStringLiteral("Failed \"%s\""), {QString(5000, QLatin1Char('n'))});
    EXPECT_EQ(cut.size(), MessageFormat::MaxLength) << "the text is cut to the message buffer";
}
