#include "library/greek_folding.h"

#include <array>
#include <utility>

namespace {

constexpr char16_t kCapitalAlpha = u'Α';
constexpr char16_t kCapitalOmega = u'Ω';
constexpr char16_t kSmallAlpha = u'α';
constexpr char16_t kSmallOmega = u'ω';
constexpr char16_t kFinalSigma = u'ς';
constexpr char16_t kCapitalSigma = u'Σ';

// The Greek and Greek Extended blocks both end before this; nothing above it is folded.
constexpr char16_t kFoldedBelow = 0x2000;

// The spellings of Α..Ω in code point order. The gap between Ρ and Σ holds no letter,
// hence the empty cell.
constexpr std::array<const char*, 25> kLatinOfCapital{
    "A",  "B", "G", "D", "E", "Z", "H", "TH", "I", "K", "L",  "M", "N",
    "KS", "O", "P", "R", "",  "S", "T", "Y",  "F", "X", "PS", "W"};

bool IsPlainCapital(char16_t u) {
    return u >= kCapitalAlpha && u <= kCapitalOmega && u != kCapitalSigma - 1;
}

char16_t PlainCapital(char16_t u) {
    if (u == kFinalSigma) return kCapitalSigma;
    if (u >= kSmallAlpha && u <= kSmallOmega) return u - (kSmallAlpha - kCapitalAlpha);
    return u;
}

// A Greek character's letter without its marks: the start of its decomposition, followed
// down ("ΐ" → "ϊ" → "ι"); compatibility forms too ("ϐ" → "β"). Zero for signs that are not
// letters (the question mark, the ano teleia, the breathings on their own).
char16_t GreekBase(char16_t u) {
    for (QChar c(u); !c.decomposition().isEmpty();) {
        const QChar first = c.decomposition().at(0);
        if (first == c) break;
        c = first;
        u = c.unicode();
    }
    const char16_t capital = PlainCapital(u);
    return IsPlainCapital(capital) ? capital : 0;
}

using FoldTable = std::array<char16_t, kFoldedBelow>;

FoldTable MakeFoldTable() {
    FoldTable table{};
    for (char16_t u = 0; u < kFoldedBelow; ++u) table[u] = u;
    for (char16_t u = u'a'; u <= u'z'; ++u) table[u] = u - (u'a' - u'A');
    for (const auto& [from, to] : {std::pair{0x0370, 0x0400}, std::pair{0x1F00, 0x2000}}) {
        for (char16_t u = from; u < to; ++u)
            if (const char16_t base = GreekBase(u)) table[u] = base;
    }
    return table;
}

const FoldTable& Folding() {
    static const FoldTable table = MakeFoldTable();
    return table;
}

const char* LatinOf(char16_t u) {
    return IsPlainCapital(u) ? kLatinOfCapital[u - kCapitalAlpha] : nullptr;
}

bool IsCapitalLatin(char16_t u) { return u >= u'A' && u <= u'Z'; }

// The skeleton starts from the Latin spelling above (the letter-for-letter one, so titles
// already written that way keep their form) and then merges what a Greek typing in Latin
// letters writes for the same sound:
//   η, ι, υ, ει, οι → I         H, Y, U → I;  EI, OI → I
//   αι → E (as ε)               AI → E
//   αυ, ευ                      AY, AU → AV;  EY, EU → EV
//   ου                          OY → OU (U alone is υ)
//   ω → O (as ο)                W → O
//   β                           B → V
//   ξ, χ                        X, CH → KS (x is typed for both; C alone is K)
//   γγ                          NG → G; a doubled letter counts once (ΣΣ, ΛΛ, ΓΓ)
// Left alone: H is always η (the letter-for-letter spelling of ΤΗ and ΠΗ is TH and PH, so θ
// is TH → TI and φ is F only); digits typed for letters (8 for θ, 3 for ξ); the diaeresis,
// which folding already dropped. A text that ends inside a merged pair ("kaloka" before the
// "ι" of "Καλοκαίρι") finds the word once the next letter is typed.
struct Merge {
    const char* letters;
    const char* skeleton;
};
constexpr Merge kPairs[] = {{"AI", "E"},  {"AY", "AV"}, {"AU", "AV"}, {"EI", "I"},
                            {"EY", "EV"}, {"EU", "EV"}, {"OI", "I"},  {"OY", "OU"},
                            {"OU", "OU"}, {"NG", "G"},  {"CH", "KS"}};
constexpr Merge kSingles[] = {{"B", "V"}, {"C", "K"},  {"H", "I"}, {"U", "I"},
                              {"W", "O"}, {"X", "KS"}, {"Y", "I"}};

// One or two letters (second zero for one); both zero for none.
struct Letters {
    char16_t first = 0;
    char16_t second = 0;
};

constexpr Letters LettersOf(const char* text) {
    return {char16_t(text[0]), char16_t(text[0] ? text[1] : 0)};
}

// The tables above by letter, and the Latin spelling of every character below
// kSpelledBelow, so that a title's skeleton costs a few lookups a character.
constexpr char16_t kSpelledBelow = 0x0400;
struct SkeletonTables {
    std::array<Letters, kSpelledBelow> spelling{};
    std::array<Letters, 26> alone{};
    std::array<std::array<Letters, 26>, 26> pair{};  // [first][second]; none: no merge
    std::array<bool, 26> startsPair{};
    // The skeleton letters (bit 0 for A) that each character may give, alone or as the
    // first of a pair.
    std::array<quint32, kSpelledBelow> mayGive{};
};

quint32 LetterBit(char16_t u) { return IsCapitalLatin(u) ? 1u << (u - u'A') : 0; }

quint32 LetterBits(Letters letters) { return LetterBit(letters.first) | LetterBit(letters.second); }

SkeletonTables MakeSkeletonTables() {
    SkeletonTables t;
    for (char16_t u = 0; u < kSpelledBelow; ++u) {
        const char* latin = LatinOf(u);
        t.spelling[u] = latin && *latin ? LettersOf(latin) : Letters{u, 0};
    }
    for (char16_t u = u'A'; u <= u'Z'; ++u) t.alone[u - u'A'] = {u, 0};
    for (const Merge& single : kSingles)
        t.alone[single.letters[0] - 'A'] = LettersOf(single.skeleton);
    for (const Merge& pair : kPairs) {
        t.pair[pair.letters[0] - 'A'][pair.letters[1] - 'A'] = LettersOf(pair.skeleton);
        t.startsPair[pair.letters[0] - 'A'] = true;
    }
    std::array<quint32, 26> letterMayGive{};
    for (int first = 0; first < 26; ++first) {
        letterMayGive[first] = LetterBits(t.alone[first]);
        for (const Letters pair : t.pair[first]) letterMayGive[first] |= LetterBits(pair);
    }
    for (char16_t u = 0; u < kSpelledBelow; ++u) {
        for (const char16_t latin : {t.spelling[u].first, t.spelling[u].second})
            if (IsCapitalLatin(latin)) t.mayGive[u] |= letterMayGive[latin - u'A'];
    }
    return t;
}

const SkeletonTables& Skeleton() {
    static const SkeletonTables tables = MakeSkeletonTables();
    return tables;
}

// Writes a skeleton from the Latin spelling fed to it a character at a time, holding back
// a letter that may begin a pair until the next one shows.
class SkeletonWriter {
public:
    explicit SkeletonWriter(char16_t* out) : m_first(out), m_put(out) {}

    void Feed(char16_t u) {
        const bool letter = IsCapitalLatin(u);
        if (m_held) {
            const char16_t held = std::exchange(m_held, 0);
            if (letter) {
                const Letters pair = m_tables.pair[held - u'A'][u - u'A'];
                if (pair.first) return Put(pair);
            }
            Put(m_tables.alone[held - u'A']);
        }
        if (!letter)
            Put(u);
        else if (m_tables.startsPair[u - u'A'])
            m_held = u;
        else
            Put(m_tables.alone[u - u'A']);
    }

    // The end of the text; returns the end of what was written.
    char16_t* Finish() {
        if (m_held) Put(m_tables.alone[std::exchange(m_held, 0) - u'A']);
        return m_put;
    }

private:
    void Put(Letters letters) {
        Put(letters.first);
        if (letters.second) Put(letters.second);
    }
    void Put(char16_t u) {
        if (m_put != m_first && m_put[-1] == u && !m_doubled && IsCapitalLatin(u)) {
            m_doubled = true;
            return;
        }
        m_doubled = false;
        *m_put++ = u;
    }

    const SkeletonTables& m_tables = Skeleton();
    char16_t* const m_first;
    char16_t* m_put;
    char16_t m_held = 0;
    bool m_doubled = false;  // the last letter put stands for a pair already
};

}  // namespace

void FoldForSearch(QString& text) {
    const FoldTable& fold = Folding();
    char16_t* c = reinterpret_cast<char16_t*>(text.data());
    for (char16_t* const end = c + text.size(); c != end; ++c)
        if (*c < kFoldedBelow) *c = fold[*c];
}

QString MakeGreeklish(const QString& folded) {
    QString out;
    out.reserve(folded.size());
    for (const QChar c : folded) {
        const char* latin = LatinOf(c.unicode());
        if (latin)
            out += QLatin1String(latin);
        else
            out += c;
    }
    return out;
}

char16_t* WriteGreeklishSkeleton(QStringView folded, char16_t* out) {
    const SkeletonTables& tables = Skeleton();
    SkeletonWriter writer(out);
    for (const QChar c : folded) {
        const char16_t u = c.unicode();
        if (u >= kSpelledBelow) {
            writer.Feed(u);
            continue;
        }
        const Letters latin = tables.spelling[u];
        writer.Feed(latin.first);
        if (latin.second) writer.Feed(latin.second);
    }
    return writer.Finish();
}

QString GreeklishSkeleton(QStringView folded) {
    QString out(2 * folded.size(), Qt::Uninitialized);
    char16_t* const first = reinterpret_cast<char16_t*>(out.data());
    out.truncate(WriteGreeklishSkeleton(folded, first) - first);
    return out;
}

quint32 SkeletonLetters(QStringView skeleton) {
    quint32 bits = 0;
    for (const QChar c : skeleton) bits |= LetterBit(c.unicode());
    return bits;
}

quint32 SkeletonLettersMayGive(QStringView folded) {
    const SkeletonTables& tables = Skeleton();
    quint32 bits = 0;
    for (const QChar c : folded)
        if (c.unicode() < kSpelledBelow) bits |= tables.mayGive[c.unicode()];
    return bits;
}
