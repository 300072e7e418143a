// SPDX-License-Identifier: MIT
#include "game/Numbers.h"

namespace Numbers {

std::optional<int> ParseInteger(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (t.at(0) == QLatin1Char('-') || t.at(0) == QLatin1Char('+')) {
        negative = t.at(0) == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < t.size() && t.at(i) == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t.at(i) == QLatin1Char('0')
               && (t.at(i + 1) == QLatin1Char('x') || t.at(i + 1) == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        const int digit = t.at(i).isDigit() && t.at(i).unicode() < 128 ? t.at(i).unicode() - '0'
            : (base == 16 && t.at(i).toLower() >= QLatin1Char('a') && t.at(i).toLower() <= QLatin1Char('f'))
            ? t.at(i).toLower().unicode() - 'a' + 10
            : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        // Hexadecimal texts may spell the full 32 bits ("$FFFFFFFF" is -1).
        if (value > (base == 16 ? 0xFFFFFFFFLL : 0x80000000LL))
            return std::nullopt;
    }
    if (base == 16 && value > 0x7FFFFFFFLL)
        value -= 0x100000000LL;
    if (negative)
        value = -value;
    if (value > 0x7FFFFFFFLL || value < -0x80000000LL)
        return std::nullopt;
    return int(value);
}

QString Format3d(int n)
{
    return QString::asprintf("%3d", n);
}

QString TwoDigits(qint64 n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

std::optional<quint32> ParseDealNumber(const QString& text)
{
    // Full-width digits and blanks become their plain forms.
    const QString t = text.normalized(QString::NormalizationForm_KC).trimmed();
    if (t.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar ch : t) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + quint64(ch.unicode() - '0');
        if (value > 0xFFFFFFFFULL)
            return std::nullopt;
    }
    return quint32(value);
}

} // namespace Numbers
