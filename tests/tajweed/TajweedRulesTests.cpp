// The rules of words and phrases of the print, each checked by hand against the tajweed
// taught in the classroom: in each case the characters one rule colours stand in [brackets],
// and the engine must colour exactly those with that rule. A case without brackets is one
// the rule must leave alone. A phrase is read as a whole ayeh: its end is a stop.
#include "tajweed/TajweedRules.h"

#include <QList>
#include <QString>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

struct RuleCase {
    TajweedRule Rule;
    const char16_t* Marked;
    const char* Why;
};

// Copied from the print's text with its marks in the print's order (a shadda before its
// vowel, an alef and its maddah apart): an editor that normalises Unicode would change them.
const RuleCase Cases[] = {
    {TajweedRule::Ghunnah, u"إِ[نَّ] ٱللَّهَ", "a noon with a shadda"},
    {TajweedRule::Ghunnah, u"ثُ[مَّ]", "a meem with a shadda"},
    {TajweedRule::Ghunnah, u"هُدٗى [مِّ]ن", "the meem a tanween merges into"},
    {TajweedRule::Ghunnah, u"يَوۡمَئِذٖ [نَّ]اعِمَةٞ", "the doubled noon a tanween merges into"},
    {TajweedRule::Ikhfa, u"أَ[ن]فُسَهُمۡ", "a noon without a mark before feh in the word"},
    {TajweedRule::Ikhfa, u"مِ[ن] قَبۡلِكَ", "a noon without a mark before qaf in the next word"},
    {TajweedRule::Ikhfa, u"رِّزۡق[ٗ]ا قَالُواْ", "a staggered fathatan, past its alef, before qaf"},
    {TajweedRule::Ikhfa, u"نُ[ـۨ]جِي", "the small noon before jeem"},
    {TajweedRule::Ikhfa, u"مِنۡ خَيۡرٖ", "a noon with a sukun before a throat letter is clear"},
    {TajweedRule::Ikhfa, u"عَذَابٌ عَظِيمٞ", "a tanween at the ayeh end hides in nothing"},
    {TajweedRule::IkhfaShafawi, u"تَرۡمِيهِ[م] بِحِجَارَةٖ", "a meem without a mark before beh"},
    {TajweedRule::IkhfaShafawi, u"أَنتُ[م] بِمُعۡجِزِينَ", "a meem without a mark before beh"},
    {TajweedRule::IkhfaShafawi, u"وَهُ[م] بِٱلۡأٓخِرَةِ", "a meem without a mark before beh and alef wasla"},
    {TajweedRule::IkhfaShafawi, u"عَلَيۡهِمۡ غَيۡرِ", "a meem with a sukun is clear"},
    {TajweedRule::IdghamGhunnah, u"مَ[ن] يَقُولُ", "a noon before yeh"},
    {TajweedRule::IdghamGhunnah, u"مِ[ن] وَلِيّٖ", "a noon before waw"},
    {TajweedRule::IdghamGhunnah, u"مِ[ن] نِّعۡمَةٖ", "a noon before noon"},
    {TajweedRule::IdghamGhunnah, u"هُد[ٗ]ى مِّن", "a staggered tanween, past its alef maksura, before meem"},
    {TajweedRule::IdghamGhunnah, u"ٱلدُّنۡيَا", "a noon with a sukun before yeh in one word is clear"},
    {TajweedRule::IdghamNoGhunnah, u"مِّ[ن] رَّبِّهِمۡ", "a noon before reh"},
    {TajweedRule::IdghamNoGhunnah, u"هُد[ٗ]ى لِّلۡمُتَّقِينَ", "a staggered tanween before lam"},
    {TajweedRule::IdghamNoGhunnah, u"فَإِ[ن] لَّمۡ", "a noon before lam"},
    {TajweedRule::IdghamShafawi, u"لَهُ[م] مَّا", "a meem without a mark before meem"},
    {TajweedRule::IdghamShafawi, u"أَ[م] مَّنۡ أَسَّسَ", "a meem without a mark before meem"},
    {TajweedRule::IdghamShafawi, u"كُنتُ[م] مُّؤۡمِنِينَ", "a meem without a mark before meem"},
    {TajweedRule::IdghamMutajanisayn, u"قَ[د] تَّبَيَّنَ", "dal into teh"},
    {TajweedRule::IdghamMutajanisayn, u"أَثۡقَلَ[ت] دَّعَوَا", "teh into dal"},
    {TajweedRule::IdghamMutajanisayn, u"بَسَ[ط]تَ", "tah into teh, the tah kept in part"},
    {TajweedRule::IdghamMutajanisayn, u"إِ[ذ] ظَّلَمُوٓاْ", "thal into zah"},
    {TajweedRule::IdghamMutajanisayn, u"يَلۡهَ[ث]ۚ ذَّٰلِكَ", "theh into thal, past a pause sign"},
    {TajweedRule::IdghamMutajanisayn, u"ٱرۡكَ[ب] مَّعَنَا", "beh into meem"},
    {TajweedRule::IdghamMutaqaribayn, u"قُ[ل] رَّبِّ", "lam into reh"},
    {TajweedRule::IdghamMutaqaribayn, u"بَ[ل] رَّفَعَهُ", "lam into reh"},
    {TajweedRule::IdghamMutaqaribayn, u"نَخۡلُ[ق]كُّم", "qaf into kaf"},
    {TajweedRule::IdghamMutaqaribayn, u"بَلۡۜ رَانَ", "the pause of بَلۡۜ keeps the lam"},
    {TajweedRule::IdghamMutaqaribayn, u"قُل لِّلَّهِ", "two like letters are no near ones"},
    {TajweedRule::Iqlab, u"مِ[نۢ] بَعۡدِ", "a noon with a small meem before beh"},
    {TajweedRule::Iqlab, u"أَ[نۢ]بِئۡهُم", "a noon with a small meem in the word"},
    {TajweedRule::Iqlab, u"سَمِيع[ُۢ] بَصِيرٞ", "a dammatan written as a damma and a small meem"},
    {TajweedRule::Iqlab, u"مَرَّة[ِۭ]ۚ بَلۡ", "a kasratan written as a kasra and a small meem below"},
    {TajweedRule::Iqlab, u"عَلِيمُۢ", "the small meem at the ayeh end: the stop comes first"},
    {TajweedRule::Qalqalah, u"يَ[قۡ]طَعُونَ", "qaf with a sukun"},
    {TajweedRule::Qalqalah, u"ٱلۡفَلَ[قِ]", "qaf at the stop"},
    {TajweedRule::Qalqalah, u"أَحَ[دٌ]", "dal at the stop"},
    {TajweedRule::Qalqalah, u"لَهَبٖ وَتَ[بَّ]", "beh with a shadda at the stop; mid-ayeh with a tanween it is not"},
    {TajweedRule::Qalqalah, u"أَحَدٗا", "a fathatan at the stop ends in an alef"},
    {TajweedRule::Madd2, u"ٱلرَّحۡمَ[ٰ]نِ ٱلرَّحِيمِ", "a small alef after a fatha"},
    {TajweedRule::Madd2, u"عَلَ[ىٰ] كُلِّ", "a small alef on an alef maksura, with its seat"},
    {TajweedRule::Madd2, u"لَهُ[ۥ] مَا", "a small waw after the pronoun"},
    {TajweedRule::Madd2, u"بِهِ[ۦ] كَثِيرٗا", "a small yeh after the pronoun"},
    {TajweedRule::Madd2, u"ٱلۡأ[ٓ]خِرَةِ", "the maddah of a hamza alef"},
    {TajweedRule::Madd2, u"يَ[ٰ]مُوسَ[ىٰٓ]", "a maddah at the ayeh end: at the stop the madd is natural"},
    {TajweedRule::Madd2, u"[ط][ه]", "opening letters whose names hold a madd of two"},
    {TajweedRule::Madd246, u"ٱلرَّحۡمَٰنِ ٱلرَّحِ[ي]مِ", "a yeh before the letter stopped on"},
    {TajweedRule::Madd246, u"رَبِّ ٱلۡعَٰلَمِ[ي]نَ", "a yeh before the letter stopped on"},
    {TajweedRule::Madd246, u"لِإِيلَٰفِ قُرَ[يۡ]شٍ", "a yeh with a sukun after a fatha"},
    {TajweedRule::Madd246, u"أُمُّ ٱلۡكِتَ[ٰ]بِ", "a small alef before the letter stopped on"},
    {TajweedRule::Madd246, u"عَلِيمًا", "a fathatan at the stop ends in an alef"},
    {TajweedRule::MaddMuttasil, u"جَ[آ]ءَ", "an alef with a maddah before hamza"},
    {TajweedRule::MaddMuttasil, u"سُ[وٓ]ءَ", "a waw with a maddah before hamza"},
    {TajweedRule::MaddMuttasil, u"أُوْلَ[ٰٓ]ئِكَ", "a small alef with a maddah before hamza"},
    {TajweedRule::MaddMuttasil, u"وَجِاْ[يٓ]ءَ", "a yeh with a maddah before hamza, past a silent alef"},
    {TajweedRule::MaddMunfasil, u"بِمَ[آ] أُنزِلَ", "an alef with a maddah before hamza in the next word"},
    {TajweedRule::MaddMunfasil, u"فِ[يٓ] أَنفُسِكُمۡ", "a yeh with a maddah before hamza in the next word"},
    {TajweedRule::MaddMunfasil, u"بِهِ[ۦٓ] أَن", "a small yeh with a maddah before hamza in the next word"},
    {TajweedRule::MaddMunfasil, u"قَالُ[وٓ]اْ ءَامَنَّا", "a waw with a maddah, past a silent alef, before hamza"},
    {TajweedRule::MaddMunfasil, u"يَ[ٰٓ]أَيُّهَا", "the vocative written with its word"},
    {TajweedRule::MaddMunfasil, u"هَ[ٰٓ]ؤُلَآءِ", "the heh of attention written with its word"},
    {TajweedRule::Madd6, u"ٱلضَّ[آ]لِّينَ", "an alef with a maddah before a shadda"},
    {TajweedRule::Madd6, u"ا[لٓ][مٓ]", "opening letters with a maddah"},
    {TajweedRule::Madd6, u"ءَ[آ]لۡـَٰٔنَ", "an alef with a maddah before a sukun"},
    {TajweedRule::Madd6, u"دَ[آ]بَّةٖ", "an alef with a maddah before a shadda"},
    {TajweedRule::HamzatWasl, u"[ٱ]هۡدِنَا", "alef wasla at the ayeh start"},
    {TajweedRule::HamzatWasl, u"بِ[ٱ]للَّهِ", "alef wasla inside a word"},
    {TajweedRule::HamzatWasl, u"[ٱ]لۡحَمۡدُ لِلَّهِ", "alef wasla of the article"},
    {TajweedRule::LamShamsiyyah, u"ٱ[ل]شَّمۡسِ", "the article before a sun letter"},
    {TajweedRule::LamShamsiyyah, u"ٱ[ل]لَّهِ", "the article before lam"},
    {TajweedRule::LamShamsiyyah, u"لِ[ل]نَّاسِ", "the article after li-, its alef dropped"},
    {TajweedRule::LamShamsiyyah, u"ٱلۡقَمَرَ", "a lam with a sukun before a moon letter is pronounced"},
    {TajweedRule::Silent, u"قَالُو[اْ]", "an alef with a round zero"},
    {TajweedRule::Silent, u"أُ[وْ]لَٰٓئِكَ", "a waw with a round zero"},
    {TajweedRule::Silent, u"مِ[اْ]ئَةَ", "an alef with a round zero inside a word"},
    {TajweedRule::Silent, u"أَنَ[ا۠] نَذِيرٞ", "an oblong zero before the ayeh end"},
    {TajweedRule::Silent, u"ٱلظُّنُونَا۠", "an oblong zero in the last word is read at the stop"},
};

using Spans = std::vector<std::pair<int, int>>;

// The text without the brackets, and the code point ranges they enclose.
std::pair<QString, Spans> Unmark(QStringView marked) {
    QString text;
    Spans spans;
    int at = 0;
    for (const char32_t c : marked.toUcs4()) {
        if (c == U'[') {
            spans.push_back({at, at});
        } else if (c == U']') {
            spans.back().second = at;
        } else {
            text += QString::fromUcs4(&c, 1);
            ++at;
        }
    }
    return {text, spans};
}

TEST(TajweedRules, EachRuleColoursTheCharactersItGovernsAndNoOthers) {
    for (const RuleCase& c : Cases) {
        const auto [text, expected] = Unmark(QStringView(c.Marked));
        SCOPED_TRACE(std::string(TajweedRuleName(c.Rule)) + ": " + c.Why + ": " + text.toStdString());
        Spans found;
        for (const TajweedSpan& span : FindTajweedSpans(text))
            if (span.Rule == c.Rule)
                found.push_back({span.Start, span.End});
        EXPECT_EQ(found, expected);
    }
}

TEST(TajweedRules, SpansCountCodePointsNotUtf16Units) {
    // A letter outside the Basic Multilingual Plane before the word moves the spans by one.
    const QString word = QString::fromUtf16(u"\u0645\u0650\u0646 \u0642\u064E\u0628\u06E1\u0644\u0650");
    const std::vector<TajweedSpan> plain = FindTajweedSpans(word);
    const std::vector<TajweedSpan> shifted = FindTajweedSpans(QString::fromUcs4(U"\U0001D400 ") + word);
    ASSERT_EQ(plain.size(), shifted.size());
    for (size_t i = 0; i < plain.size(); ++i) {
        EXPECT_EQ(shifted[i].Start, plain[i].Start + 2);
        EXPECT_EQ(shifted[i].End, plain[i].End + 2);
    }
}

} // namespace
