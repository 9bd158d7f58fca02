#include "app/MessageFormat.h"

#include <tuple>

#include <gtest/gtest.h>

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
