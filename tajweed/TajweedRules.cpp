// The rule engine: the text is cut into letters with their marks, then each rule looks at a
// letter, its marks and the next pronounced letter.
#include "tajweed/TajweedRules.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr char32_t Hamza = 0x0621;
constexpr char32_t AlefMadda = 0x0622;
constexpr char32_t AlefHamzaAbove = 0x0623;
constexpr char32_t WawHamza = 0x0624;
constexpr char32_t AlefHamzaBelow = 0x0625;
constexpr char32_t YehHamza = 0x0626;
constexpr char32_t Alef = 0x0627;
constexpr char32_t Beh = 0x0628;
constexpr char32_t Teh = 0x062A;
constexpr char32_t Theh = 0x062B;
constexpr char32_t Dal = 0x062F;
constexpr char32_t Thal = 0x0630;
constexpr char32_t Reh = 0x0631;
constexpr char32_t Tah = 0x0637;
constexpr char32_t Zah = 0x0638;
constexpr char32_t Ghain = 0x063A;
constexpr char32_t Tatweel = 0x0640;
constexpr char32_t Feh = 0x0641;
constexpr char32_t Qaf = 0x0642;
constexpr char32_t Kaf = 0x0643;
constexpr char32_t Lam = 0x0644;
constexpr char32_t Meem = 0x0645;
constexpr char32_t Noon = 0x0646;
constexpr char32_t Heh = 0x0647;
constexpr char32_t Waw = 0x0648;
constexpr char32_t AlefMaksura = 0x0649;
constexpr char32_t Yeh = 0x064A;
constexpr char32_t AlefWasla = 0x0671;
constexpr char32_t SmallWaw = 0x06E5;
constexpr char32_t SmallYeh = 0x06E6;

// The marks a letter can carry, as bits.
enum Mark : std::uint32_t {
    Fatha = 1u << 0,
    Damma = 1u << 1,
    Kasra = 1u << 2,
    Fathatan = 1u << 3, // stacked: pronounced clearly
    Dammatan = 1u << 4,
    Kasratan = 1u << 5,
    OpenFathatan = 1u << 6, // staggered: hidden or merged
    OpenDammatan = 1u << 7,
    OpenKasratan = 1u << 8,
    Sukun = 1u << 9,
    Shadda = 1u << 10,
    Maddah = 1u << 11,
    SmallAlef = 1u << 12,
    HamzaAbove = 1u << 13,
    HamzaBelow = 1u << 14,
    RoundZero = 1u << 15,
    OblongZero = 1u << 16,
    SmallMeem = 1u << 17,
    SmallHighYeh = 1u << 18,
    SmallHighNoon = 1u << 19,
    PauseSign = 1u << 20,
    OtherMark = 1u << 21,
};

constexpr std::uint32_t Vowels = Fatha | Damma | Kasra;
constexpr std::uint32_t StackedTanween = Fathatan | Dammatan | Kasratan;
constexpr std::uint32_t OpenTanween = OpenFathatan | OpenDammatan | OpenKasratan;
constexpr std::uint32_t Tanween = StackedTanween | OpenTanween;
// Any of these means the letter is not a bare, unmarked one.
constexpr std::uint32_t Sounding =
    Vowels | Tanween | Sukun | Shadda | Maddah | RoundZero | OblongZero | SmallMeem;

std::uint32_t MarkOf(char32_t c) {
    switch (c) {
    case 0x064B:
        return Fathatan;
    case 0x064C:
        return Dammatan;
    case 0x064D:
        return Kasratan;
    case 0x064E:
        return Fatha;
    case 0x064F:
        return Damma;
    case 0x0650:
        return Kasra;
    case 0x0651:
        return Shadda;
    case 0x0652:
        return RoundZero;
    case 0x0653:
        return Maddah;
    case 0x0654:
        return HamzaAbove;
    case 0x0655:
        return HamzaBelow;
    case 0x0656:
        return OpenKasratan;
    case 0x0657:
        return OpenFathatan;
    case 0x065E:
        return OpenDammatan;
    case 0x0670:
        return SmallAlef;
    case 0x06E0:
        return OblongZero;
    case 0x06E1:
        return Sukun;
    case 0x06E2:
    case 0x06ED:
        return SmallMeem;
    case 0x06E7:
        return SmallHighYeh;
    case 0x06E8:
        return SmallHighNoon;
    case 0x06E4: // the overline of a sajdah's words
    case 0x06DD: // end of ayeh, rub el hizb and sajdah signs
    case 0x06DE:
    case 0x06E9:
        return PauseSign;
    default:
        break;
    }
    if (c >= 0x06D6 && c <= 0x06DC)
        return PauseSign;
    if ((c >= 0x064B && c <= 0x065F) || (c >= 0x06DF && c <= 0x06E4) || (c >= 0x06EA && c <= 0x06ED))
        return OtherMark;
    return 0;
}

bool IsLetter(char32_t c) {
    return (c >= Hamza && c <= Ghain) || (c >= Feh && c <= Yeh) || c == Tatweel || c == AlefWasla ||
           c == SmallWaw || c == SmallYeh;
}

// One letter with its marks.
struct Letter {
    char32_t Base = 0;
    int Start = 0; // the letter itself
    int End = 0;   // after its last mark other than a pause sign
    int Word = 0;  // words counted from 0 within the ayeh
    std::uint32_t Marks = 0;
    int VowelAt = -1;   // the last fatha, damma or kasra
    int TanweenAt = -1; // the tanween sign
    int MaddahAt = -1;
    int SmallAlefAt = -1;
    int SmallMeemAt = -1;
    int SmallHighYehAt = -1;

    bool Has(std::uint32_t marks) const { return (Marks & marks) != 0; }
    bool Bare() const { return !Has(Sounding); }
    // A small yeh after a kasra stands for a madd yeh; with a vowel of its own it is a
    // consonant (يُحۡـِۧيَ).
    bool SmallYehMadd() const { return SmallHighYehAt >= 0 && !Has(Vowels | Shadda); }
};

void AddMark(Letter& letter, char32_t c, int at) {
    const std::uint32_t mark = MarkOf(c);
    letter.Marks |= mark;
    if (mark & Vowels)
        letter.VowelAt = at;
    else if (mark & Tanween)
        letter.TanweenAt = at;
    else if (mark == Maddah)
        letter.MaddahAt = at;
    else if (mark == SmallAlef)
        letter.SmallAlefAt = at;
    else if (mark == SmallMeem)
        letter.SmallMeemAt = at;
    else if (mark == SmallHighYeh)
        letter.SmallHighYehAt = at;
    if (mark != PauseSign)
        letter.End = at + 1;
}

// A tatweel that carries a hamza, a small yeh or a small noon is a letter of its own;
// otherwise it only stretches the letter before it, which its marks belong to.
bool TatweelStandsAlone(const Letter& letter) {
    return letter.Has(HamzaAbove | SmallHighYeh | SmallHighNoon);
}

void MergeInto(Letter& into, const Letter& from) {
    into.Marks |= from.Marks;
    for (auto [target, source] : {std::pair{&into.VowelAt, from.VowelAt},
                                  {&into.TanweenAt, from.TanweenAt},
                                  {&into.MaddahAt, from.MaddahAt},
                                  {&into.SmallAlefAt, from.SmallAlefAt},
                                  {&into.SmallMeemAt, from.SmallMeemAt},
                                  {&into.SmallHighYehAt, from.SmallHighYehAt}})
        if (source >= 0)
            *target = source;
    into.End = std::max(into.End, from.End);
}

struct Words {
    std::vector<Letter> Letters;
    std::vector<bool> LetterNames; // per word: the opening letters of a soureh, read by their names
    int WordCount = 0;
};

Words Split(QStringView text) {
    Words words;
    int at = 0;
    bool wordOpen = false;
    for (qsizetype unit = 0; unit < text.size(); ++unit, ++at) {
        char32_t c = text[unit].unicode();
        if (QChar::isHighSurrogate(c) && unit + 1 < text.size() && text[unit + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[unit].unicode(), text[unit + 1].unicode());
            ++unit;
        }
        if (c == U' ' || c == 0x00A0 || c == U'\n' || c == U'\t') {
            if (wordOpen)
                ++words.WordCount;
            wordOpen = false;
            continue;
        }
        if (IsLetter(c) || c == AlefMadda) {
            Letter letter;
            letter.Base = c;
            letter.Start = at;
            letter.End = at + 1;
            letter.Word = words.WordCount;
            if (c == AlefMadda) {
                // The composed آ of copied text: an alef with a maddah, as the print writes it.
                letter.Base = Alef;
                letter.Marks = Maddah;
                letter.MaddahAt = at;
            }
            words.Letters.push_back(letter);
            wordOpen = true;
        } else if (MarkOf(c) != 0 && wordOpen) {
            AddMark(words.Letters.back(), c, at);
        }
    }
    if (wordOpen)
        ++words.WordCount;

    // Tatweels that carry only the marks of the letter before them join that letter.
    std::vector<Letter> joined;
    joined.reserve(words.Letters.size());
    for (const Letter& letter : words.Letters) {
        if (letter.Base == Tatweel && !TatweelStandsAlone(letter) && !joined.empty() &&
            joined.back().Word == letter.Word)
            MergeInto(joined.back(), letter);
        else
            joined.push_back(letter);
    }
    words.Letters = std::move(joined);

    words.LetterNames.assign(size_t(words.WordCount), true);
    for (const Letter& letter : words.Letters)
        if (letter.Has(Vowels | Tanween | Sukun | Shadda))
            words.LetterNames[size_t(letter.Word)] = false;
    return words;
}

bool IsHamza(const Letter& letter) {
    switch (letter.Base) {
    case Hamza:
    case AlefHamzaAbove:
    case WawHamza:
    case AlefHamzaBelow:
    case YehHamza:
        return true;
    default:
        return letter.Has(HamzaAbove | HamzaBelow);
    }
}

bool OneOf(char32_t c, std::u32string_view set) {
    return set.find(c) != std::u32string_view::npos;
}

constexpr std::u32string_view IkhfaLetters =
    U"\u062A\u062B\u062C\u062F\u0630\u0632\u0633\u0634\u0635\u0636\u0637"
    U"\u0638\u0641\u0642\u0643";
constexpr std::u32string_view NasalMergeLetters = U"\u064A\u0646\u0645\u0648"; // ي ن م و
constexpr std::u32string_view PlainMergeLetters = U"\u0644\u0631";             // ل ر
constexpr std::u32string_view QalqalahLetters = U"\u0642\u0637\u0628\u062C\u062F";
constexpr std::u32string_view MaddLetters = U"\u0627\u0648\u064A\u0649"; // ا و ي ى
// Opening letters whose names hold a madd of two counts: حا يا طا ها را.
constexpr std::u32string_view ShortNameLetters = U"\u062D\u064A\u0637\u0647\u0631";

class Reader {
public:
    explicit Reader(QStringView text) : W(Split(text)), Owner(size_t(text.size()), false) {}

    std::vector<TajweedSpan> Run();

private:
    const Letter& At(int i) const { return W.Letters[size_t(i)]; }
    int Count() const { return int(W.Letters.size()); }
    bool LetterName(int i) const { return W.LetterNames[size_t(At(i).Word)]; }
    int LastWord() const { return W.WordCount - 1; }

    bool Silent(int i) const {
        const Letter& l = At(i);
        return l.Has(RoundZero) || (l.Has(OblongZero) && l.Word != LastWord());
    }
    // The alef or alef maksura written after a fathatan, sounded only at a stop.
    bool AfterFathatan(int i) const {
        const Letter& l = At(i);
        if ((l.Base != Alef && l.Base != AlefMaksura) || !l.Bare() || l.Has(SmallAlef) || i == 0)
            return false;
        const Letter& before = At(i - 1);
        return before.Word == l.Word &&
               (before.Has(Fathatan | OpenFathatan) || (before.Has(Fatha) && before.Has(SmallMeem)));
    }
    // The small waw or yeh after a pronoun's heh (لَهُۥ, بِهِۦ) or standing for a madd letter;
    // with a vowel of its own it is a consonant (ءَاتَىٰنِۦَ).
    bool SilaMadd(int i) const {
        return (At(i).Base == SmallWaw || At(i).Base == SmallYeh) && !At(i).Has(Vowels | Shadda);
    }
    bool PassedOver(int i) const { return Silent(i) || AfterFathatan(i); }
    int NextSounded(int i) const {
        for (int j = i + 1; j < Count(); ++j)
            if (!PassedOver(j))
                return j;
        return -1;
    }

    // The madd letter a letter is, after the vowel that goes with it.
    bool MaddAfterVowel(int i) const {
        const Letter& l = At(i);
        if (!l.Bare() || i == 0 || At(i - 1).Word != l.Word)
            return false;
        const Letter& before = At(i - 1);
        switch (l.Base) {
        case Alef:
            return before.Has(Fatha) && !before.Has(SmallAlef);
        case Waw:
            return before.Has(Damma);
        case Yeh:
            return before.Has(Kasra);
        default:
            return false;
        }
    }
    bool Leen(int i) const {
        const Letter& l = At(i);
        return (l.Base == Waw || l.Base == Yeh) && l.Has(Sukun) && i > 0 && At(i - 1).Word == l.Word &&
               At(i - 1).Has(Fatha);
    }
    // Where a small alef is coloured: with the letter it stands on when that is only its seat.
    std::pair<int, int> SmallAlefSpan(const Letter& l, int end) const {
        const bool seat = (OneOf(l.Base, MaddLetters) || l.Base == Tatweel) &&
                          !l.Has(Vowels | Tanween | Shadda) && !l.Has(HamzaAbove | HamzaBelow);
        return {seat ? l.Start : l.SmallAlefAt, end};
    }
    bool VocativeOrAttention(int i) const {
        const Letter& l = At(i);
        if ((l.Base != Yeh && l.Base != Heh) || !l.Has(Fatha) || l.SmallAlefAt < 0)
            return false;
        if (i == 0 || At(i - 1).Word != l.Word)
            return true;
        const Letter& before = At(i - 1);
        return (i == 1 || At(i - 2).Word != l.Word) && OneOf(before.Base, U"\u0648\u0641\u0623") &&
               before.Has(Fatha);
    }

    void Colour(TajweedRule rule, int start, int end);
    // The letter with its marks, but for a small alef (and the maddah on it): that is a madd
    // letter of its own, coloured by the madd rules.
    void ColourLetter(TajweedRule rule, int i) {
        const Letter& l = At(i);
        if (l.SmallAlefAt < 0) {
            Colour(rule, l.Start, l.End);
            return;
        }
        const int alefEnd = l.MaddahAt == l.SmallAlefAt + 1 ? l.MaddahAt + 1 : l.SmallAlefAt + 1;
        Colour(rule, l.Start, l.SmallAlefAt);
        Colour(rule, alefEnd, l.End);
    }

    void SilentAndWasl();
    void MaddahMadds();
    void StopMadd(int stop);
    void NoonAndMeem();
    void OtherMerges();
    void Ghunnah();
    void Qalqalah(int stop);
    void NaturalMadds();
    int StopLetter() const;

    Words W;
    std::vector<bool> Owner; // per code point: already coloured
    std::vector<TajweedSpan> Spans;
};

void Reader::Colour(TajweedRule rule, int start, int end) {
    // Only the characters no earlier rule took; what is left may fall into pieces.
    int from = -1;
    for (int at = start; at < end; ++at) {
        if (!Owner[size_t(at)]) {
            Owner[size_t(at)] = true;
            if (from < 0)
                from = at;
        } else if (from >= 0) {
            Spans.push_back({rule, from, at});
            from = -1;
        }
    }
    if (from >= 0)
        Spans.push_back({rule, from, end});
}

void Reader::SilentAndWasl() {
    for (int i = 0; i < Count(); ++i) {
        if (Silent(i))
            ColourLetter(TajweedRule::Silent, i);
        else if (At(i).Base == AlefWasla)
            ColourLetter(TajweedRule::HamzatWasl, i);
    }
}

void Reader::MaddahMadds() {
    for (int i = 0; i < Count(); ++i) {
        const Letter& l = At(i);
        if (l.MaddahAt < 0)
            continue;
        if (l.SmallAlefAt >= 0 && l.SmallAlefAt < l.MaddahAt) {
            // the maddah stands on the small alef: fall through with the alef as the madd
        } else if (l.Base == AlefHamzaAbove) {
            // أٓ: a hamza followed by its alef, a madd of two.
            Colour(TajweedRule::Madd2, l.MaddahAt, l.MaddahAt + 1);
            continue;
        } else if (!OneOf(l.Base, MaddLetters) && l.Base != SmallWaw && l.Base != SmallYeh) {
            // An opening letter whose name holds a madd before a sukun: لام ميم صاد ...
            ColourLetter(TajweedRule::Madd6, i);
            continue;
        }
        // Nothing after it: the maddah is for reading on into the next ayeh, and at the stop
        // the madd is a natural one.
        TajweedRule rule = TajweedRule::Madd2;
        const int next = NextSounded(i);
        if (next >= 0 && !IsHamza(At(next)))
            rule = TajweedRule::Madd6;
        else if (next >= 0)
            rule = At(next).Word != l.Word || VocativeOrAttention(i) ? TajweedRule::MaddMunfasil
                                                                     : TajweedRule::MaddMuttasil;
        const auto [start, end] = l.SmallAlefAt >= 0 && l.SmallAlefAt < l.MaddahAt
                                      ? SmallAlefSpan(l, l.MaddahAt + 1)
                                      : std::pair{l.Start, l.End};
        Colour(rule, start, end);
    }
}

// The ayeh's last pronounced letter when the reciter stops on it with a sukun; -1 when the
// ayeh ends in a vowel (a madd letter, or the alef after a fathatan) or with opening letters.
int Reader::StopLetter() const {
    int stop = Count() - 1;
    while (stop >= 0 && (Silent(stop) || SilaMadd(stop)))
        --stop;
    if (stop < 0 || LetterName(stop) || AfterFathatan(stop) || MaddAfterVowel(stop) ||
        At(stop).Has(SmallAlef) || At(stop).SmallYehMadd() || At(stop).Base == AlefMaksura)
        return -1;
    return stop;
}

void Reader::StopMadd(int stop) {
    if (stop <= 0)
        return;
    int madd = stop - 1;
    while (madd >= 0 && PassedOver(madd))
        --madd;
    if (madd < 0 || At(madd).Word != At(stop).Word)
        return;
    const Letter& l = At(madd);
    if (l.MaddahAt >= 0)
        return;
    if (l.SmallAlefAt >= 0) {
        const auto [start, end] = SmallAlefSpan(l, l.SmallAlefAt + 1);
        Colour(TajweedRule::Madd246, start, end);
    } else if (l.SmallYehMadd() || MaddAfterVowel(madd) || Leen(madd)) {
        ColourLetter(TajweedRule::Madd246, madd);
    }
}

TajweedRule NoonRule(char32_t next, bool& found) {
    found = true;
    if (OneOf(next, IkhfaLetters))
        return TajweedRule::Ikhfa;
    if (OneOf(next, NasalMergeLetters))
        return TajweedRule::IdghamGhunnah;
    if (OneOf(next, PlainMergeLetters))
        return TajweedRule::IdghamNoGhunnah;
    if (next == Beh)
        return TajweedRule::Iqlab;
    found = false;
    return TajweedRule::Ghunnah;
}

void Reader::NoonAndMeem() {
    for (int i = 0; i < Count(); ++i) {
        const Letter& l = At(i);
        if (LetterName(i))
            continue;
        const int next = NextSounded(i);
        if (next < 0)
            break; // the ayeh's end: nothing follows to hide or merge into
        const char32_t after = At(next).Base;
        bool found = false;
        if (l.Has(SmallMeem)) {
            if (l.Base == Noon && !l.Has(Vowels | Shadda))
                Colour(TajweedRule::Iqlab, l.Start, l.SmallMeemAt + 1);
            else if (l.VowelAt >= 0)
                Colour(TajweedRule::Iqlab, std::min(l.VowelAt, l.SmallMeemAt),
                       std::max(l.VowelAt, l.SmallMeemAt) + 1);
        } else if (l.Base == Noon && l.Bare()) {
            const TajweedRule rule = NoonRule(after, found);
            if (found)
                ColourLetter(rule, i);
        } else if (l.Base == Tatweel && l.Has(SmallHighNoon)) {
            const TajweedRule rule = NoonRule(after, found);
            if (found)
                ColourLetter(rule, i);
        } else if (l.Has(OpenTanween) && l.TanweenAt >= 0) {
            const TajweedRule rule = NoonRule(after, found);
            if (found)
                Colour(rule, l.TanweenAt, l.TanweenAt + 1);
        } else if (l.Base == Meem && l.Bare()) {
            if (after == Beh)
                ColourLetter(TajweedRule::IkhfaShafawi, i);
            else if (after == Meem)
                ColourLetter(TajweedRule::IdghamShafawi, i);
        }
    }
}

void Reader::OtherMerges() {
    struct Pair {
        char32_t First;
        char32_t Second;
        TajweedRule Rule;
    };
    static constexpr Pair Pairs[] = {
        {Teh, Tah, TajweedRule::IdghamMutajanisayn},  {Teh, Dal, TajweedRule::IdghamMutajanisayn},
        {Dal, Teh, TajweedRule::IdghamMutajanisayn},  {Tah, Teh, TajweedRule::IdghamMutajanisayn},
        {Thal, Zah, TajweedRule::IdghamMutajanisayn}, {Theh, Thal, TajweedRule::IdghamMutajanisayn},
        {Beh, Meem, TajweedRule::IdghamMutajanisayn}, {Lam, Reh, TajweedRule::IdghamMutaqaribayn},
        {Qaf, Kaf, TajweedRule::IdghamMutaqaribayn},
    };
    for (int i = 0; i < Count(); ++i) {
        const Letter& l = At(i);
        if (!l.Bare() || LetterName(i) || l.Base == Noon || l.Base == Meem)
            continue;
        if (l.Base == Lam && i + 1 < Count() && At(i + 1).Word == l.Word && At(i + 1).Has(Shadda)) {
            ColourLetter(TajweedRule::LamShamsiyyah, i);
            continue;
        }
        const int next = NextSounded(i);
        if (next < 0)
            continue;
        for (const Pair& pair : Pairs)
            if (pair.First == l.Base && pair.Second == At(next).Base)
                ColourLetter(pair.Rule, i);
    }
}

void Reader::Ghunnah() {
    for (int i = 0; i < Count(); ++i)
        if ((At(i).Base == Noon || At(i).Base == Meem) && At(i).Has(Shadda))
            ColourLetter(TajweedRule::Ghunnah, i);
}

void Reader::Qalqalah(int stop) {
    for (int i = 0; i < Count(); ++i)
        if (OneOf(At(i).Base, QalqalahLetters) && !LetterName(i) && (At(i).Has(Sukun) || i == stop))
            ColourLetter(TajweedRule::Qalqalah, i);
}

void Reader::NaturalMadds() {
    for (int i = 0; i < Count(); ++i) {
        const Letter& l = At(i);
        if (LetterName(i)) {
            if (l.Bare() && OneOf(l.Base, ShortNameLetters))
                ColourLetter(TajweedRule::Madd2, i);
            continue;
        }
        if (l.SmallAlefAt >= 0 && !l.Has(Maddah)) {
            const auto [start, end] = SmallAlefSpan(l, l.SmallAlefAt + 1);
            Colour(TajweedRule::Madd2, start, end);
        } else if (l.SmallYehMadd() || (SilaMadd(i) && !l.Has(Maddah) && NextSounded(i) >= 0)) {
            // A small waw or yeh at the ayeh's end is dropped at the stop.
            ColourLetter(TajweedRule::Madd2, i);
        }
    }
}

std::vector<TajweedSpan> Reader::Run() {
    const int stop = StopLetter();
    SilentAndWasl();
    MaddahMadds();
    StopMadd(stop);
    NoonAndMeem();
    OtherMerges();
    Ghunnah();
    Qalqalah(stop);
    NaturalMadds();
    std::sort(Spans.begin(), Spans.end(),
              [](const TajweedSpan& a, const TajweedSpan& b) { return a.Start < b.Start; });
    return std::move(Spans);
}

constexpr std::array<std::string_view, TajweedRuleCount> RuleNames = {
    "ghunnah",
    "ikhfa",
    "ikhfa_shafawi",
    "idgham_ghunnah",
    "idgham_no_ghunnah",
    "idgham_shafawi",
    "idgham_mutajanisayn",
    "idgham_mutaqaribayn",
    "iqlab",
    "qalqalah",
    "madd_2",
    "madd_246",
    "madd_muttasil",
    "madd_munfasil",
    "madd_6",
    "hamzat_wasl",
    "lam_shamsiyyah",
    "silent",
};

} // namespace

std::string_view TajweedRuleName(TajweedRule rule) {
    return RuleNames.at(size_t(rule));
}

std::optional<TajweedRule> TajweedRuleByName(std::string_view name) {
    for (const TajweedRule rule : AllTajweedRules)
        if (TajweedRuleName(rule) == name)
            return rule;
    return std::nullopt;
}

std::vector<TajweedSpan> FindTajweedSpans(QStringView ayehText) {
    return Reader(ayehText).Run();
}
