#include "arm/decimal_comma.h"

#include <cmath>

namespace arm {

const QLocale &decimalComma()
{
    static const QLocale locale = [] {
        QLocale german(QLocale::German, QLocale::Germany);
        german.setNumberOptions(QLocale::OmitGroupSeparator);
        return german;
    }();
    return locale;
}

QString withComma(double value, int decimals)
{
    const double shown = std::abs(value) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : value;
    return decimalComma().toString(shown, 'f', decimals);
}

QString withComma(double value) { return decimalComma().toString(value, 'g', 12); }

std::optional<double> typedNumber(const QString &text)
{
    QString plain = text.trimmed();
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool isNumber = false;
    const double value = QLocale::c().toDouble(plain, &isNumber);
    if (!isNumber || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace arm
