#include "base/number_text.h"

#include <cstdint>
#include <limits>

namespace {

int DigitValue(QChar ch, int base) {
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (base == 16 && c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (base == 16 && c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace

std::optional<int> ParseInt(const QString& text) {
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && (text.at(i) == u' ' || text.at(i) == u'\t')) ++i;
    bool negative = false;
    if (i < size && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    int base = 10;
    if (i < size && text.at(i) == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < size && text.at(i) == u'0' &&
               (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == size) return std::nullopt;

    // Decimal must fit the signed range; hexadecimal may use all 32 bits.
    const std::uint64_t limit =
        base == 16 ? 0xFFFFFFFFull
                   : std::uint64_t(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    std::uint64_t value = 0;
    for (; i < size; ++i) {
        const int digit = DigitValue(text.at(i), base);
        if (digit < 0) return std::nullopt;
        value = value * base + digit;
        if (value > limit) return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(negative ? 0u - value : value);
    return static_cast<int>(bits);
}

int IntFromText(const QString& text, int fallback) { return ParseInt(text).value_or(fallback); }

bool BoolFromText(const QString& text, bool fallback) {
    if (const std::optional<int> value = ParseInt(text)) return *value != 0;
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
    return fallback;
}

QString CutForEcho(const QString& text, qsizetype kept) {
    if (text.size() <= kept) return text;
    if (kept > 0 && text.at(kept - 1).isHighSurrogate()) --kept;  // never half a character
    return text.left(kept) + QStringLiteral("… (%1 characters)").arg(text.size());
}
