#include "model/Formula.h"

#include "QStringPrinter.h"

#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <optional>

struct Case { const char *formula, *cell; std::optional<QString> expected; };
static const std::optional<QString> Kept;

static void ExpectCases(std::initializer_list<Case> cases)
{
    for (const Case& c : cases) {
        const std::optional<Formula> formula = Formula::Parse(QString::fromLatin1(c.formula));
        ASSERT_TRUE(formula) << "\"" << c.formula << "\" was refused";
        EXPECT_EQ(formula->Apply(QString::fromLatin1(c.cell)), c.expected)
            << "formula \"" << c.formula << "\" on cell \"" << c.cell << "\"";
    }
}

TEST(FormulaTest, AddsSetsChangesByThePercentRoundsHalvesAwayFromZeroAndLeavesWhatIsNoNumber)
{
    // Blanks may surround the number and the mark. Cells holding more than a number stay.
    ExpectCases({{"10", "5", "15"}, {"-5", "5", "0"}, {"+3", "-10", "-7"}, {"250#", "-3.5", "250"},
                 {"15%", "100", "115"}, {"15%", "200", "230"}, {"0%", "100", "100"}, {"+10%", "100", "110"},
                 {"-50%", "80", "40"}, {"1e1%", "50", "55"}, {" 15 % ", "200", "230"}, {"\t-2 #", "100", "-2"},
                 {" 10 ", "5", "15"}, {"0", "110.5", "111"}, {"0", "2.5", "3"}, {"0", "-2.5", "-3"}, {"0", "-0.5", "-1"},
                 {"0", "1.49999", "1"}, {"0", "-0.4", "0"}, {"-1", "0.6", "0"}, {"0.5", "2", "3"}, {"-2.5#", "0", "-3"},
                 {"15%", "30", "35"}, {"15%", "-30", "-35"}, {"-50%", "3", "2"}, {"-50%", "-3", "-2"},
                 {"1e20#", "0", "100000000000000000000"}, {"10", "", "10"}, {"15%", "", "0"}, {"250#", "", "250"},
                 {"10", "  4", "14"}, {"10", "\t-4", "6"}, {"10", ".5", "11"}, {"10", "5.", "15"},
                 {"10", "1E+2", "110"}, {"10", "25e-1", "13"}, {"250#", "hth", Kept}, {"10", "4 ", Kept},
                 {"10", " ", Kept}, {"10", ".", Kept}, {"10", "-", Kept}, {"10", "5e", Kept}, {"10", "5e+", Kept},
                 {"10", "1.2.3", Kept}, {"10", "7,6", Kept}, {"10", "nan", Kept}, {"10", "-Infinity", Kept},
                 {"10", "0x10", Kept}, {"10", "12abc", Kept}, {"1e400", "1", Kept}, {"-1e400", "1", Kept},
                 {"1e308", "1e308", Kept}, {"1e308%", "1e308", Kept}, {"0", "-1e99999999999999999999", Kept},
                 {"1e400#", "5", Kept}, {"1e-400", "2", "2"}, {"0", "0.0001e-330", "0"}});
}

// A user selected empty cells and fractions, typed "+abc" and saw every empty cell become 0: text that is no
// number, or a number with anything but one mark after it, is no formula. Forms the C library would read ("nan",
// "inf", "0x10") are no numbers here.
TEST(FormulaTest, TextThatIsNotANumberWithAnOptionalMarkIsNoFormula)
{
    for (const char* text : {"", " ", "+abc", "abc", "x", "+", "-", ".", "#", "%", " % ", "10abc", "10%x", "15x",
                             "10%%", "10#%", "%10", "#10", "1 0", "1,5", "5e", "5e+", "1.2.3", "nan", "inf", "0x10",
                             "10\n5"})
        EXPECT_FALSE(Formula::Parse(QString::fromLatin1(text))) << "\"" << text << "\" was taken";
    const std::optional<Formula> set = Formula::Parse(u" -2.5e1 # ");
    ASSERT_TRUE(set);
    EXPECT_EQ(set->GetMode(), Formula::Mode::Set);
    EXPECT_EQ(set->GetValue(), -25.0);
}

// The C library under a German locale reads "7,6" and stops "7.6" at the point; tables are the same files
// everywhere, so the formula must not follow.  The locale is built, as the machine may have none installed.
TEST(FormulaTest, ReadsNumbersTheSameUnderAGermanLocale)
{
    QTemporaryDir locales;
    const QString name = QStringLiteral("de_DE.UTF-8");
    const int built = QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", locales.filePath(name)});
    const QByteArray oldPath = qgetenv("LOCPATH");
    const std::string oldLocale = std::setlocale(LC_ALL, nullptr);
    qputenv("LOCPATH", locales.path().toLocal8Bit());
    if (built != 0 || !std::setlocale(LC_ALL, name.toLatin1().constData())) {
        qputenv("LOCPATH", oldPath);
        GTEST_SKIP() << "no German locale can be made on this machine";
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_EQ(std::strtod("7,6", nullptr), 7.6) << "the German locale is not in force";

    ExpectCases({{"0", "7.6", "8"}, {"0", "7,6", Kept}, {"1.5%", "1000", "1015"}, {"0", "1234567.5", "1234568"}});

    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, oldLocale.c_str());
    qputenv("LOCPATH", oldPath);
}
