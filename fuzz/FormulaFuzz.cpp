// The command bar's formula: any field and any cell text give either no
// change or a whole number written plainly ("-0" never), a number is read
// only where the text holds one, and a field that is a formula is one
// exactly when its text is a number with an optional mark.
#include "FuzzCheck.h"
#include "model/Formula.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = bytes.indexOf('\n');
    const QString field = QString::fromUtf8(split < 0 ? bytes : bytes.first(split));
    const QString cell = split < 0 ? QString() : QString::fromLatin1(bytes.sliced(split + 1));

    const Formula::Reading reading = Formula::ReadNumber(field);
    FUZZ_CHECK(reading.end >= 0 && reading.end <= field.size());
    FUZZ_CHECK(reading.end > 0 || reading.value == 0);

    static const QRegularExpression whole(QStringLiteral("^-?(0|[1-9][0-9]*)$"));
    static const QRegularExpression formulaForm(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*[%#]?\s*$)"));
    const std::optional<Formula> formula = Formula::Parse(field);
    FUZZ_CHECK(formula.has_value() == formulaForm.match(field).hasMatch());
    const std::optional<QString> result = formula ? formula->Apply(cell) : std::nullopt;
    if (result) {
        FUZZ_CHECK(whole.match(*result).hasMatch());
        FUZZ_CHECK(*result != QLatin1String("-0"));
    }
    return 0;
}
