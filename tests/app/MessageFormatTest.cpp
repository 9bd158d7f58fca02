#include "app/FileErrorText.h"
#include "app/MessageFormat.h"

#include <QDir>

#include <cerrno>

#include <gtest/gtest.h>

TEST(MessageFormat, FillsPrintfAndNumberedPlaceholders)
{
    EXPECT_EQ(MessageFormat::Format(QStringLiteral("A project with the name \"%s\" already exists."), {"Test"}),
              QStringLiteral("A project with the name \"Test\" already exists."));
    EXPECT_EQ(MessageFormat::Format(QStringLiteral("Row %d, Column %d"), {3, 14}), QStringLiteral("Row 3, Column 14"));
    EXPECT_EQ(MessageFormat::Format(QStringLiteral("Save changes to %1?"), {"A.mod"}),
              QStringLiteral("Save changes to A.mod?"));
    EXPECT_EQ(MessageFormat::Format(QStringLiteral("100%% of %s%"), {"x"}), QStringLiteral("100% of x%"));
    EXPECT_EQ(MessageFormat::Format(QStringLiteral("%s and %s"), {"only"}), QStringLiteral("only and "));
}

TEST(MessageFormat, AValueIsNeverReadAsAFormat)
{
    EXPECT_EQ(MessageFormat::Format(QStringLiteral("%s: %d"), {"%d%s%1", 5}), QStringLiteral("%d%s%1: 5"));
}

TEST(MessageFormat, TextIsCutToTheMessageBuffer)
{
    const QString longName(5000, QLatin1Char('n'));
    const QString text = MessageFormat::Format(QStringLiteral("Failed to create the directory \"%s\""), {longName});
    EXPECT_EQ(text.size(), MessageFormat::MaxLength);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Failed to create the directory \"nnn")));
}

TEST(FileErrorText, NamesTheFileAndTheCause)
{
    const QString path = QStringLiteral("/mods/A.mod");
    const QString shown = QDir::toNativeSeparators(path);
    EXPECT_EQ(FileErrorText::ForErrno(EACCES, path), QStringLiteral("Access to %1 was denied.").arg(shown));
    EXPECT_EQ(FileErrorText::ForErrno(ENOTDIR, path), QStringLiteral("%1 contains an invalid path.").arg(shown));
    EXPECT_EQ(FileErrorText::ForErrno(ENOSPC, path), QStringLiteral("Disk full while accessing %1.").arg(shown));
    EXPECT_EQ(FileErrorText::ForErrno(ENOMEM, path), QStringLiteral("Out of memory."));
    EXPECT_EQ(FileErrorText::ForErrno(0, path),
              QStringLiteral("An unknown error occurred while accessing %1.").arg(shown));
}
