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

namespace {

char16_t UpperLatinLetter(char16_t u) { return u >= u'a' && u <= u'z' ? u - (u'a' - u'A') : u; }

char16_t CapitalGreekLetter(char16_t u) {
    if (u == kFinalSigma) return kCapitalSigma;
    if (u >= kSmallAlpha && u <= kSmallOmega) return u - (kSmallAlpha - kCapitalAlpha);
    return u;
}

}  // namespace

QString UpperLatin(const QString& text) {
    QString out = text;
    FoldForSearch(out, false);
    return out;
}

QString MakeCapitalGreek(const QString& text) {
    QString out = text;
    for (QChar& c : out) c = QChar(CapitalGreekLetter(c.unicode()));
    return out;
}

void FoldForSearch(QString& text, bool greek) {
    char16_t* c = reinterpret_cast<char16_t*>(text.data());
    char16_t* const end = c + text.size();
    if (greek) {
        for (; c != end; ++c) *c = CapitalGreekLetter(UpperLatinLetter(*c));
    } else {
        for (; c != end; ++c) *c = UpperLatinLetter(*c);
    }
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
