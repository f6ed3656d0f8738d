#pragma once
// Numbers as the arm's windows show them: a decimal comma and no thousands
// separator, as the operator reads and types them. Typed numbers may have a
// comma or a point.
#include <QLocale>
#include <QString>
#include <optional>

namespace arm {

const QLocale &decimalComma();
// With this many decimals; a value that rounds to 0 shows no sign.
QString withComma(double value, int decimals);
// As few digits as the value needs, e.g. "67,3", "1500", "-90".
QString withComma(double value);
std::optional<double> typedNumber(const QString &text);

} // namespace arm
