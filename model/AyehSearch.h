#pragma once
// Finding ayehs by their words: the folding that lets the spellings of a word meet, the
// search over every ayeh's Arabic text and Persian translation with its ranking, and the
// marks and excerpts a result is shown with. Builds and runs without a display.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <vector>

class Connection;

// Folds a text for matching: vowel signs, Quranic marks, other combining marks, tatweel and
// the zero-width joiners and direction marks go; the forms of alef (ٱ أ إ آ), of yeh (ى ی),
// of kaf (ک) and of heh and teh marbuta (ة ۀ ھ) become ا, ي, ك and ه; Persian and Arabic-Indic
// digits become Western ones and Latin letters lower case. With origins, each character of the
// result gets the position in text it came from.
QString FoldForSearch(QStringView text, std::vector<int>* origins = nullptr);

// Whether a character of a folded text belongs to a word: a letter or a digit.
inline bool IsWordCharacter(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
    // The Arabic block is letters and digits but for its punctuation.
    if (u >= 0x0620 && u <= 0x06FF)
        return u != 0x061B && u != 0x061F && u != 0x06D4 && (u < 0x066A || u > 0x066D);
    return c.isLetterOrNumber();
}

// The terms of a query: its words folded, each without a leading article "ال" where three
// letters or more remain (so that "الكرسي" also finds "كرسيه"), repeats left out, at most
// TAyehIndex::MaxTerms.
QStringList SearchTerms(QStringView query);

// A whole number in Persian digits.
QString PersianNumber(int number);

struct TTextSpan {
    int Start = 0;
    int Length = 0;
    bool operator==(const TTextSpan&) const = default;
};

// The words of text that hold a term of query, as spans of text's own characters (its vowel
// signs and marks included), in order and without overlaps.
std::vector<TTextSpan> MatchedWords(QStringView text, QStringView query);

// A piece of text for a line of a list, at most about maxLength characters: the start of the
// text, or, when the first mark ends beyond that, a few words before that mark onwards; cut at
// spaces, with "…" where something was left out. The marks move with it; marks outside the
// piece are dropped and those across its ends cut.
struct TExcerpt {
    QString Text;
    std::vector<TTextSpan> Marks;
};
TExcerpt Excerpt(QStringView text, const std::vector<TTextSpan>& marks, int maxLength);

// One ayeh as search knows it.
struct TAyehText {
    int SourehID = 0;
    int AyehID = 0;
    QString Text;        // as the page shows it; empty where the content has no Arabic text
    QString Translation; // Persian
};

struct TSearchHit {
    int SourehID = 0;
    int AyehID = 0;
    int Score = 0;
};

struct TSearchResult {
    std::vector<TSearchHit> Hits; // best first, at most the limit
    int Total = 0;                // every ayeh that matched
};

// Every ayeh's Arabic text and translation, folded once, and the search over them.
class TAyehIndex final {
public:
    static constexpr int MaxTerms = 8;
    static constexpr int DefaultLimit = 100;

    // ayehs in the order of the book; sourehNames[i] names soureh i + 1. Without Arabic text,
    // only the translations are searched.
    TAyehIndex(std::vector<TAyehText> ayehs, QStringList sourehNames, bool hasArabicText);
    // Reads the soureh names, every ayeh's translation and, when quran.dat has the AyehText
    // table with rows, every ayeh's text. Throws ContentError.
    static std::unique_ptr<TAyehIndex> Load(const Connection& quran);
    // Whether quran.dat has the AyehText table, by one small statement. Throws ContentError.
    static bool HasAyehTextTable(const Connection& quran);

    bool HasArabicText() const { return ArabicText; }

    // The ayehs that hold every term of query, each term in the Arabic text or in the
    // translation. A term scores 1 inside a word, 2 at a word's start (after an article or a
    // one-letter prefix such as و), 3 as a whole word, counted once for the text and once for
    // the translation; ayehs rank by the sum over the terms, then in the order of the book.
    TSearchResult Search(QStringView query, int limit = DefaultLimit) const;

    // The ayeh, or null when the book has no such ayeh.
    const TAyehText* Find(int sourehId, int ayehId) const;
    // The soureh's name, or empty.
    QString SourehName(int sourehId) const;
    int Count() const { return int(Ayehs.size()); }

private:
    // The distinct words of one kind of text, folded, and the ayehs each stands in: a term is
    // looked for once in each word, however often the word occurs.
    struct Words {
        // Every word followed by a separator; word k runs from Starts[k] to Starts[k + 1] - 1.
        QString All;
        std::vector<int> Starts;
        // The ayehs of word k, by their place in Ayehs: Ayehs[Of[k]] .. Ayehs[Of[k + 1] - 1].
        std::vector<int> In;
        std::vector<int> Of;
    };
    static Words Collect(const std::vector<TAyehText>& ayehs, QString TAyehText::*field);
    // Raises best[i] to the best quality of term in the words of ayeh i.
    static void Score(const Words& words, const QString& term, std::vector<quint8>& best);

    std::vector<TAyehText> Ayehs;
    QStringList SourehNames;
    bool ArabicText = false;
    Words TextWords;
    Words TranslationWords;
};
