#include "Formula.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The white space the C library skips before a number; fixed here so that
// no locale can widen it.
bool IsSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

QStringView Trimmed(QStringView text)
{
    while (!text.isEmpty() && IsSpace(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && IsSpace(text.back()))
        text.chop(1);
    return text;
}

qsizetype SkipDigits(QStringView text, qsizetype at)
{
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at;
}

// The end of an exponent that starts at at ("e", optional sign, digits), or
// at itself when what follows is no complete exponent: "5e" reads as 5.
qsizetype ExponentEnd(QStringView text, qsizetype at)
{
    if (at >= text.size() || (text[at] != u'e' && text[at] != u'E'))
        return at;
    qsizetype next = at + 1;
    if (next < text.size() && (text[next] == u'+' || text[next] == u'-'))
        ++next;
    const qsizetype digitsEnd = SkipDigits(text, next);
    return digitsEnd > next ? digitsEnd : at;
}

// The power of ten of the number's first significant digit: 2 for "345",
// -3 for "0.00345e0"; large exponents saturate.
long long DecimalOrder(const std::string& number)
{
    const std::size_t exponentAt = std::min(number.find_first_of("eE"), number.size());
    const std::string mantissa = number.substr(0, exponentAt);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    long long order = first < point ? static_cast<long long>(point - first) - 1
                                    : -static_cast<long long>(first - point);
    long long exponent = 0;
    const bool negative = exponentAt < number.size() && number[exponentAt + 1] == '-';
    for (std::size_t at = exponentAt + 1; at < number.size(); ++at)
        if (number[at] >= '0' && number[at] <= '9')
            exponent = std::min(exponent * 10 + (number[at] - '0'), 1000000LL);
    return order + (negative ? -exponent : exponent);
}

// from_chars reports numbers beyond the double's range without a value: a
// huge one becomes an infinity (so that the result is refused), a tiny one 0.
double OutOfRangeValue(const std::string& number)
{
    const double magnitude = DecimalOrder(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return number.front() == '-' ? -magnitude : magnitude;
}

double ConvertChecked(QStringView number)
{
    // from_chars takes no "+"; the grammar has already been checked, so the
    // text holds nothing it could read as "inf", "nan" or hexadecimal.
    if (number.startsWith(u'+'))
        number = number.sliced(1);
    const std::string digits = number.toLatin1().toStdString();
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range)
        return OutOfRangeValue(digits);
    return value;
}

} // namespace

Formula::Reading Formula::ReadNumber(QStringView text)
{
    qsizetype at = 0;
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    const qsizetype numberStart = at;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        ++at;
    const qsizetype integerEnd = SkipDigits(text, at);
    qsizetype mantissaEnd = integerEnd;
    bool hasDigits = integerEnd > at;
    if (mantissaEnd < text.size() && text[mantissaEnd] == u'.') {
        const qsizetype fractionEnd = SkipDigits(text, mantissaEnd + 1);
        hasDigits = hasDigits || fractionEnd > mantissaEnd + 1;
        mantissaEnd = fractionEnd;
    }
    if (!hasDigits)
        return {};
    const qsizetype end = ExponentEnd(text, mantissaEnd);
    return {ConvertChecked(text.sliced(numberStart, end - numberStart)), end};
}

QString Formula::FormatWhole(double value)
{
    // std::round rounds halves away from zero; adding 0 turns -0 into +0.
    const double whole = std::round(value) + 0.0;
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, whole, std::chars_format::fixed, 0);
    return error == std::errc() ? QString::fromLatin1(buffer, end - buffer) : QString();
}

std::optional<Formula> Formula::Parse(QStringView text)
{
    QStringView number = Trimmed(text);
    Mode mode = Mode::Add;
    if (number.endsWith(u'%'))
        mode = Mode::Percent;
    else if (number.endsWith(u'#'))
        mode = Mode::Set;
    if (mode != Mode::Add)
        number = Trimmed(number.chopped(1));
    const Reading reading = ReadNumber(number);
    if (reading.end == 0 || reading.end != number.size())
        return std::nullopt;
    return Formula(mode, reading.value);
}

double Formula::Compute(double x) const
{
    switch (m_mode) {
    case Mode::Set: return m_value;
    // x + x * v / 100 rather than x * (1 + v / 100): for whole x and v the
    // product is exact, so an exact half (30 raised by 15% is 34.5) stays a
    // half and rounds as the user expects.
    case Mode::Percent: return x + x * m_value / 100.0;
    case Mode::Add: break;
    }
    return x + m_value;
}

std::optional<QString> Formula::Apply(QStringView cellText) const
{
    const Reading reading = ReadNumber(cellText);
    if (reading.end != cellText.size())
        return std::nullopt;
    const double result = Compute(reading.value);
    if (!std::isfinite(result))
        return std::nullopt;
    return FormatWhole(result);
}
