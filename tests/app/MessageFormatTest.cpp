#include "app/MessageFormat.h"

#include <gtest/gtest.h>

TEST(MessageFormat, FillsPrintfAndNumberedPlaceholdersButNeverReadsAValueAsAFormat)
{
    struct Case
    {
        const char* format;
        QVariantList values;
        const char* text;
    };
    for (const Case& c : {Case{"A project with the name \"%s\" already exists.", {"Test"},
                               "A project with the name \"Test\" already exists."},
                          Case{"Row %d, Column %d", {3, 14}, "Row 3, Column 14"},
                          Case{"Save changes to %1?", {"A.mod"}, "Save changes to A.mod?"},
                          Case{"100%% of %s%", {"x"}, "100% of x%"}, Case{"%s and %s", {"only"}, "only and "},
                          Case{"%s: %d", {"%d%s%1", 5}, "%d%s%1: 5"}}) {
        EXPECT_EQ(MessageFormat::Format(QString::fromLatin1(c.format), c.values), QString::fromLatin1(c.text));
    }
    const QString cut = MessageFormat::Format(QStringLiteral("Failed \"%s\""), {QString(5000, QLatin1Char('n'))});
    EXPECT_EQ(cut.size(), MessageFormat::MaxLength) << "the text is cut to the message buffer";
}
