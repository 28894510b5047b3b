#include "library/greek_folding.h"

#include <QVarLengthArray>
#include <array>

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

// The skeleton of a capital Latin letter by the letter after it: cell [first][0] is the
// letter alone (null: the letter itself), [first][1 + second] the pair (null: no merge).
using MergeTable = std::array<std::array<const char*, 27>, 26>;

MergeTable MakeMergeTable() {
    MergeTable table{};
    for (auto& cells : table) cells.fill(nullptr);
    for (const Merge& single : kSingles) table[single.letters[0] - 'A'][0] = single.skeleton;
    for (const Merge& pair : kPairs)
        table[pair.letters[0] - 'A'][1 + pair.letters[1] - 'A'] = pair.skeleton;
    return table;
}

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

void AppendGreeklishSkeleton(QStringView folded, QString& out) {
    static const MergeTable merges = MakeMergeTable();
    QVarLengthArray<char16_t, 256> latin;
    for (const QChar c : folded) {
        if (const char* spelling = LatinOf(c.unicode()); spelling && *spelling) {
            for (; *spelling; ++spelling) latin.append(char16_t(*spelling));
        } else {
            latin.append(c.unicode());
        }
    }
    const qsizetype from = out.size();
    out.resize(from + 2 * latin.size());  // no letter gives more than two
    char16_t* const base = reinterpret_cast<char16_t*>(out.data());
    char16_t* put = base + from;
    bool doubled = false;  // the last letter put stands for a pair already
    const auto emit = [&](char16_t u) {
        if (put != base + from && put[-1] == u && !doubled && IsCapitalLatin(u)) {
            doubled = true;
            return;
        }
        doubled = false;
        *put++ = u;
    };
    const qsizetype n = latin.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = latin[i];
        if (!IsCapitalLatin(u)) {
            emit(u);
            continue;
        }
        const auto& cells = merges[u - u'A'];
        const char16_t next = i + 1 < n ? latin[i + 1] : u'\0';
        const char* skeleton = IsCapitalLatin(next) ? cells[1 + next - u'A'] : nullptr;
        if (skeleton)
            ++i;
        else
            skeleton = cells[0];
        if (!skeleton) emit(u);
        for (; skeleton && *skeleton; ++skeleton) emit(char16_t(*skeleton));
    }
    out.resize(put - base);
}
