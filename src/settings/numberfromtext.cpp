// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/numberfromtext.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

std::optional<double> readNumber(QStringView text, QString *written)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };

    skipBlanks();
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        if (written)
            *written += text[i];
        ++i;
    }

    double value = 0;
    double scale = 1;
    bool inFraction = false;
    bool anyDigit = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isBlank(c))
            continue;
        if (c.isDigit() && c.unicode() < 128) {
            anyDigit = true;
            const int digit = c.unicode() - '0';
            if (inFraction) {
                scale /= 10;
                value += digit * scale;
            } else {
                value = value * 10 + digit;
            }
        } else if (c == QLatin1Char('.') && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
        if (written)
            *written += c;
    }
    if (!anyDigit)
        return std::nullopt;
    return negative ? -value : value;
}

qint16 roundToInt16(double value)
{
    constexpr double lowest = std::numeric_limits<qint16>::min();
    constexpr double highest = std::numeric_limits<qint16>::max();
    if (std::isnan(value))
        return 0;
    // nearbyint follows the current rounding mode; set it so a caller that
    // changed it cannot change how halves round here.
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    if (rounded < lowest)
        return qint16(lowest);
    if (rounded > highest)
        return qint16(highest);
    return qint16(rounded);
}

qint16 numberFromText(QStringView text)
{
    return roundToInt16(readNumber(text).value_or(0));
}

qint16 saturatingAdd(qint16 value, int delta)
{
    return qint16(std::clamp(int(value) + delta, int(std::numeric_limits<qint16>::min()),
                             int(std::numeric_limits<qint16>::max())));
}
