#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The command bar's formula: a number, then "%" (change by that percent),
// "#" (set to that value) or nothing (add that value), with blanks allowed
// around the number and the mark.  Anything else is no formula: "abc" or
// "10abc" used to act as +0 or +10, filling empty cells with numbers the
// user never typed, and in the game's tables an empty cell and 0 differ.
// Applied to a cell's text a formula gives the cell's new text: a whole
// number, rounded once, half away from zero.
//
// Numbers are read by hand with one fixed grammar (optional leading white
// space, sign, digits with an optional decimal point, optional exponent):
// the C library would follow the user's locale, so a table would read
// differently on a German machine, and it would also take "nan", "inf" and
// hexadecimal forms that no game table holds.
class Formula
{
public:
    enum class Mode { Add, Percent, Set };

    // Where a reading of a number ended (0 when the text holds none at its
    // start) and the value read (0 then).  Too large a number reads as an
    // infinity, which no cell ever receives.
    struct Reading
    {
        double value = 0;
        qsizetype end = 0;
    };

    // None when the text is not a number with an optional mark.
    static std::optional<Formula> Parse(QStringView text);
    static Reading ReadNumber(QStringView text);
    // The whole number nearest to value, halves away from zero, never "-0".
    static QString FormatWhole(double value);

    Mode GetMode() const { return m_mode; }
    double GetValue() const { return m_value; }
    // The text the cell is to hold, or none when it stays as it is: it holds
    // something other than a number, or the result is not finite.
    std::optional<QString> Apply(QStringView cellText) const;

private:
    Formula(Mode mode, double value) : m_mode(mode), m_value(value) {}
    double Compute(double x) const;

    Mode m_mode;
    double m_value;
};
