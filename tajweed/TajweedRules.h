#pragma once
// The tajweed rules of an ayeh, read from the marks of the Madani print as build-text stores
// its text (AyehText): which characters each rule colours. No widgets, no database.
//
// The text is the print's: a sukun is U+06E1 and shows a letter that is pronounced without a
// vowel; a noon or meem without any mark is not pronounced as written but hidden in or merged
// with the letter after it; the stacked tanween (U+064B-U+064D) is pronounced clearly, the
// staggered tanween (U+0657 for fathatan, U+065E dammatan, U+0656 kasratan) is hidden or
// merged; a small meem (U+06E2 above, U+06ED below) over a noon or a vowel turns it into a
// meem; a maddah (U+0653) lengthens a madd beyond two counts; a small alef (U+0670), small
// waw (U+06E5) and small yeh (U+06E6, U+06E7) are madd letters that the print writes small; a
// round zero (U+0652) marks a letter that is never pronounced and an oblong zero (U+06E0) one
// pronounced only at a stop. Pause signs (U+06D6-U+06DC) and the sajdah overline (U+06E4)
// change no rule.
//
// An ayeh is read as recited without a stop inside it and with a stop at its end: rules that
// depend on the next letter look across word ends, never past the ayeh's last letter. The
// alef or alef maksura written after a fathatan, and letters with a round zero, are passed
// over when looking for the next letter. The opening letters of a soureh (a word without any
// vowel, sukun or shadda, such as الٓمٓ) are read as the names of the letters.

#include <QStringView>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

enum class TajweedRule : unsigned char {
    // A noon or meem with a shadda: the span is the letter.
    Ghunnah,
    // A noon without a mark, a staggered tanween, or the small noon (U+06E8) before one of
    // ت ث ج د ذ ز س ش ص ض ط ظ ف ق ك: the noon, or the tanween sign.
    Ikhfa,
    // A meem without a mark before ب: the meem.
    IkhfaShafawi,
    // A noon without a mark or a staggered tanween before ي ن م و: the noon or tanween sign.
    IdghamGhunnah,
    // The same before ل ر: the noon or tanween sign.
    IdghamNoGhunnah,
    // A meem without a mark before a meem: the first meem.
    IdghamShafawi,
    // A letter without a mark merged into the next of the same place of articulation: ت into
    // ط or د, د into ت, ط into ت, ذ into ظ, ث into ذ, ب into م: the first letter.
    IdghamMutajanisayn,
    // A letter without a mark merged into a near one: ل into ر, ق into ك: the first letter.
    // (Two like letters, such as قَد دَّخَلُواْ, merge without a rule of their own and stay
    // uncoloured; a noon is coloured by its own rules.)
    IdghamMutaqaribayn,
    // A small meem over a noon or a tanween's vowel: the noon or the vowel with its meem.
    Iqlab,
    // ق ط ب ج د with a sukun, or as the ayeh's last pronounced letter: the letter.
    Qalqalah,
    // A natural madd the print writes small: the small alef (with the letter it stands on
    // when that is a bare ى, و, ي or ا), the small waw and yeh, the maddah of a hamza alef
    // (أٓ, a hamza followed by a madd), and the opening letters whose names have a madd of
    // two (ح ي ط ه ر).
    Madd2,
    // The madd letter, or the و or ي with a sukun after a fatha, just before the ayeh's last
    // letter, lengthened 2, 4 or 6 counts at the stop: the letter.
    Madd246,
    // A madd with a maddah followed by a hamza in the same word: the madd letter.
    MaddMuttasil,
    // A madd with a maddah at a word's end followed by a hamza starting the next word (the
    // vocative يَٰٓ and the هَٰٓ of attention count as words of their own): the madd letter.
    MaddMunfasil,
    // A madd with a maddah followed by a sukun or shadda, or an opening letter with a
    // maddah: the madd letter.
    Madd6,
    // ٱ (U+0671): the letter.
    HamzatWasl,
    // A lam without a mark before a letter with a shadda in the same word: the lam.
    LamShamsiyyah,
    // A letter with a round zero, or with an oblong zero before the ayeh's last word: the
    // letter.
    Silent,
};

inline constexpr int TajweedRuleCount = 18;

inline constexpr std::array<TajweedRule, TajweedRuleCount> AllTajweedRules = {
    TajweedRule::Ghunnah,
    TajweedRule::Ikhfa,
    TajweedRule::IkhfaShafawi,
    TajweedRule::IdghamGhunnah,
    TajweedRule::IdghamNoGhunnah,
    TajweedRule::IdghamShafawi,
    TajweedRule::IdghamMutajanisayn,
    TajweedRule::IdghamMutaqaribayn,
    TajweedRule::Iqlab,
    TajweedRule::Qalqalah,
    TajweedRule::Madd2,
    TajweedRule::Madd246,
    TajweedRule::MaddMuttasil,
    TajweedRule::MaddMunfasil,
    TajweedRule::Madd6,
    TajweedRule::HamzatWasl,
    TajweedRule::LamShamsiyyah,
    TajweedRule::Silent,
};

// The characters of an ayeh's text that one rule colours: Start (inclusive) and End
// (exclusive) count Unicode code points.
struct TajweedSpan {
    TajweedRule Rule = TajweedRule::Ghunnah;
    int Start = 0;
    int End = 0;
    bool operator==(const TajweedSpan&) const = default;
};

// The rule's name in the content tool's output: "ghunnah", "ikhfa_shafawi", "madd_246", ...
std::string_view TajweedRuleName(TajweedRule rule);
std::optional<TajweedRule> TajweedRuleByName(std::string_view name);

// The spans of one ayeh's text, ordered by Start; no two overlap and none is empty. Where
// two rules would colour the same character, the one listed first wins: silent letters and
// hamzat al-wasl, the madds with a maddah, the madd at the stop, the noon and meem rules,
// the other merged letters and the lam, ghunnah, qalqalah, the natural madd.
std::vector<TajweedSpan> FindTajweedSpans(QStringView ayehText);
