#include "library/greek_folding.h"

#include <array>

namespace {

constexpr char16_t kCapitalAlpha = u'Α';
constexpr char16_t kCapitalOmega = u'Ω';
constexpr char16_t kSmallAlpha = u'α';
constexpr char16_t kSmallOmega = u'ω';
constexpr char16_t kFinalSigma = u'ς';
constexpr char16_t kCapitalSigma = u'Σ';

// The spellings of Α..Ω in code point order. The gap between Ρ and Σ holds no letter,
// hence the empty cell.
constexpr std::array<const char*, 25> kLatinOfCapital{
    "A",  "B", "G", "D", "E", "Z", "H", "TH", "I", "K", "L",  "M", "N",
    "KS", "O", "P", "R", "",  "S", "T", "Y",  "F", "X", "PS", "W"};

}  // namespace

QString UpperLatin(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - (u'a' - u'A'));
    return out;
}

QString MakeCapitalGreek(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u == kFinalSigma)
            c = QChar(kCapitalSigma);
        else if (u >= kSmallAlpha && u <= kSmallOmega)
            c = QChar(u - (kSmallAlpha - kCapitalAlpha));
    }
    return out;
}

QString MakeGreeklish(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const char* latin =
            u >= kCapitalAlpha && u <= kCapitalOmega ? kLatinOfCapital[u - kCapitalAlpha] : nullptr;
        if (latin && *latin)
            out += QLatin1String(latin);
        else
            out += c;
    }
    return out;
}
