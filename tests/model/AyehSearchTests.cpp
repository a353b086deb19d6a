// Finding ayehs by their words: the spellings that must meet, the ranking and the limits, the
// marks and excerpts of a result, and reading the texts from quran.dat with and without the
// AyehText table.
#include "model/AyehSearch.h"
#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Ref {
    int Soureh, Ayeh;
    bool operator==(const Ref&) const = default;
};

void PrintTo(const Ref& ref, std::ostream* out) {
    *out << ref.Soureh << ":" << ref.Ayeh;
}

// A few ayehs in the Uthmani script with Persian translations.
TAyehIndex SampleBook() {
    // clang-format off
    std::vector<TAyehText> ayehs = {
        {1, 1, QStringLiteral(u"بِسۡمِ ٱللَّهِ ٱلرَّحۡمَٰنِ ٱلرَّحِيمِ"),
         QStringLiteral(u"به نام خداوند بخشندۀ مهربان")},
        {2, 2, QStringLiteral(u"ذَٰلِكَ ٱلۡكِتَٰبُ لَا رَيۡبَۛ فِيهِۛ هُدٗى لِّلۡمُتَّقِينَ"),
         QStringLiteral(u"این کتاب که هیچ شکی در آن نیست، رهنمود پرهیزگاران است.")},
        {2, 157, QStringLiteral(u"أُوْلَٰٓئِكَ عَلَيۡهِمۡ صَلَوَٰتٞ مِّن رَّبِّهِمۡ وَرَحۡمَةٞۖ وَأُوْلَٰٓئِكَ هُمُ ٱلۡمُهۡتَدُونَ"),
         QStringLiteral(u"درودها و رحمتی از پروردگارشان بر آنان است و آنان خود راه‌یافتگانند.")},
        {2, 255, QStringLiteral(u"ٱللَّهُ لَآ إِلَٰهَ إِلَّا هُوَ ٱلۡحَيُّ ٱلۡقَيُّومُۚ لَا تَأۡخُذُهُۥ سِنَةٞ وَلَا نَوۡمٞۚ "
                                u"يَعۡلَمُ مَا بَيۡنَ أَيۡدِيهِمۡ وَمَا خَلۡفَهُمۡۖ وَسِعَ كُرۡسِيُّهُ ٱلسَّمَٰوَٰتِ وَٱلۡأَرۡضَۖ "
                                u"وَهُوَ ٱلۡعَلِيُّ ٱلۡعَظِيمُ"),
         QStringLiteral(u"خداست که معبودی جز او نیست، زندهٔ پاینده است. آنچه پیش روی آنان و آنچه پشت سرشان "
                        u"است می‌داند. کرسی او آسمان‌ها و زمین را فرا گرفته است و او والای بزرگ است.")},
        {38, 34, QStringLiteral(u"وَلَقَدۡ فَتَنَّا سُلَيۡمَٰنَ وَأَلۡقَيۡنَا عَلَىٰ كُرۡسِيِّهِۦ جَسَدٗا ثُمَّ أَنَابَ"),
         QStringLiteral(u"و به راستی سلیمان را آزمودیم و بر تخت او جسدی افکندیم، سپس روی آورد.")},
        {112, 1, QStringLiteral(u"قُلۡ هُوَ ٱللَّهُ أَحَدٌ"), QStringLiteral(u"بگو: او خدای یگانه است.")},
    };
    // clang-format on
    QStringList names;
    for (int s = 1; s <= 114; ++s)
        names << QStringLiteral("سوره %1").arg(s);
    return TAyehIndex(std::move(ayehs), names, true);
}

std::vector<Ref> Found(const TAyehIndex& index, const QString& query, int limit = TAyehIndex::DefaultLimit) {
    std::vector<Ref> refs;
    for (const TSearchHit& hit : index.Search(query, limit).Hits)
        refs.push_back({hit.SourehID, hit.AyehID});
    return refs;
}

struct SpellingCase {
    const char* Name;
    const char16_t* Query;
    std::vector<Ref> Expected; // in rank order
};

class Spelling : public ::testing::TestWithParam<SpellingCase> {};

TEST_P(Spelling, FindsTheAyehsEverySpellingOfTheWordsStandsFor) {
    static const TAyehIndex index = SampleBook();
    EXPECT_EQ(Found(index, QString::fromUtf16(GetParam().Query)), GetParam().Expected);
}

const Ref Kursi{2, 255};
const Ref Solomon{38, 34};

INSTANTIATE_TEST_SUITE_P(
    Table, Spelling,
    ::testing::Values(
        // The throne: with the article, Persian letters, full Uthmani marks; the ayeh that has
        // the word in its translation too comes first.
        SpellingCase{"ArabicLetters", u"الكرسي", {Kursi, Solomon}},
        SpellingCase{"PersianKafAndYeh", u"الکرسی", {Kursi, Solomon}},
        SpellingCase{"UthmaniWithMarks", u"ٱلۡكُرۡسِيُّ", {Kursi, Solomon}},
        SpellingCase{"WithoutArticle", u"كرسيه", {Kursi, Solomon}},
        SpellingCase{"AlefWithHamza", u"أحد", {{112, 1}}}, SpellingCase{"BareAlef", u"احد", {{112, 1}}},
        SpellingCase{"AlefWasla", u"ٱلحي", {Kursi}}, SpellingCase{"AlefMaddaInQuery", u"لآ إله", {Kursi}},
        SpellingCase{"AlefMaqsura", u"هدى", {{2, 2}}},
        SpellingCase{"Tatweel", u"الـكـرسـي", {Kursi, Solomon}},
        SpellingCase{"TehMarbuta", u"رحمة", {{2, 157}}},
        SpellingCase{"HehForTehMarbuta", u"رحمه", {{2, 157}}},
        // Persian: yeh and kaf of either alphabet, the zero-width non-joiner ignored, heh with
        // yeh above.
        SpellingCase{"PersianWithZwnj", u"می‌داند", {Kursi}},
        SpellingCase{"PersianJoined", u"میداند", {Kursi}},
        SpellingCase{"PersianWithArabicYeh", u"مي‌داند", {Kursi}},
        SpellingCase{"ArabicYehForPersian", u"يگانه", {{112, 1}}},
        SpellingCase{"ArabicKafForPersian", u"كتاب", {{2, 2}}},
        SpellingCase{"HehWithoutYehAbove", u"بخشنده", {{1, 1}}},
        // Words in any order, all of them needed.
        SpellingCase{"TwoWords", u"الحي القيوم", {Kursi}},
        SpellingCase{"TwoWordsReversed", u"القيوم الحي", {Kursi}},
        SpellingCase{"ArabicAndPersianWords", u"كرسي آسمان‌ها", {Kursi}},
        SpellingCase{"OneWordMissing", u"الكرسي أحد", {}}, SpellingCase{"Unknown", u"زكريا", {}},
        SpellingCase{"MarksOnly", u"ُ ّ", {}}, SpellingCase{"Blank", u"  ", {}}),
    [](const ::testing::TestParamInfo<SpellingCase>& testCase) { return std::string(testCase.param.Name); });

// --- Ranking and limits ---

TAyehIndex TranslationsOnly(const std::vector<QString>& translations) {
    std::vector<TAyehText> ayehs;
    for (size_t i = 0; i < translations.size(); ++i)
        ayehs.push_back({1, int(i) + 1, QString(), translations[i]});
    return TAyehIndex(std::move(ayehs), {QStringLiteral("الفاتحة")}, false);
}

TEST(SearchRanking, AWholeWordComesBeforeAWordStartAndThatBeforeAMatchInsideAWord) {
    const TAyehIndex index = TranslationsOnly(
        {QStringLiteral(u"ناسلامتی"), QStringLiteral(u"پیامی از سلامتی"), QStringLiteral(u"سلام بر شما")});
    EXPECT_EQ(Found(index, QStringLiteral(u"سلام")), (std::vector<Ref>{{1, 3}, {1, 2}, {1, 1}}));
}

TEST(SearchRanking, EqualMatchesKeepTheOrderOfTheBook) {
    const TAyehIndex index = TranslationsOnly(
        {QStringLiteral(u"نور"), QStringLiteral(u"باران"), QStringLiteral(u"نور"), QStringLiteral(u"نور")});
    EXPECT_EQ(Found(index, QStringLiteral(u"نور")), (std::vector<Ref>{{1, 1}, {1, 3}, {1, 4}}));
}

TEST(SearchRanking, AnArticleOrAOneLetterPrefixStillMakesAWholeWord) {
    const TAyehIndex index = TranslationsOnly({QStringLiteral(u"ارضها"), QStringLiteral(u"والارض")});
    EXPECT_EQ(Found(index, QStringLiteral(u"الأرض")), (std::vector<Ref>{{1, 2}, {1, 1}}));
}

TEST(SearchRanking, MoreWordsMatchedWholeRankHigher) {
    const TAyehIndex index =
        TranslationsOnly({QStringLiteral(u"کتابخانه و نوری"), QStringLiteral(u"کتاب نور")});
    EXPECT_EQ(Found(index, QStringLiteral(u"نور کتاب")), (std::vector<Ref>{{1, 2}, {1, 1}}));
}

TEST(SearchLimits, TheLimitCutsTheListButTheTotalCountsEveryAyeh) {
    std::vector<QString> translations(500, QStringLiteral(u"آیه"));
    const TAyehIndex index = TranslationsOnly(translations);
    const TSearchResult result = index.Search(QStringLiteral(u"آیه"), 20);
    EXPECT_EQ(result.Hits.size(), 20u);
    EXPECT_EQ(result.Total, 500);
    EXPECT_EQ(index.Search(QStringLiteral(u"آیه")).Hits.size(), size_t(TAyehIndex::DefaultLimit));
    EXPECT_TRUE(index.Search(QStringLiteral(u"آیه"), 0).Hits.empty());
}

TEST(SearchLimits, WordsBeyondTheMostThatCountAreLeftOut) {
    QString query;
    for (int i = 0; i < TAyehIndex::MaxTerms + 3; ++i)
        query += QStringLiteral(u"واژه%1 ").arg(i);
    const QStringList terms = SearchTerms(query);
    ASSERT_EQ(terms.size(), TAyehIndex::MaxTerms);
    EXPECT_EQ(terms.front(), QStringLiteral(u"واژه0"));
}

TEST(SearchLimits, WithoutArabicTextOnlyTheTranslationIsSearched) {
    std::vector<TAyehText> ayehs = {{1, 1, QStringLiteral(u"قُلۡ هُوَ ٱللَّهُ أَحَدٌ"), QStringLiteral(u"بگو")}};
    const TAyehIndex index(std::move(ayehs), {}, false);
    EXPECT_TRUE(Found(index, QStringLiteral(u"أحد")).empty());
    EXPECT_EQ(Found(index, QStringLiteral(u"بگو")), (std::vector<Ref>{{1, 1}}));
}

// --- What a result shows ---

QStringList Marked(const QString& text, const std::vector<TTextSpan>& spans) {
    QStringList words;
    for (const TTextSpan& span : spans)
        words << text.mid(span.Start, span.Length);
    return words;
}

TEST(SearchResults, TheMatchedWordsAreMarkedWholeWithTheirMarks) {
    const QString text = QStringLiteral(u"وَسِعَ كُرۡسِيُّهُ ٱلسَّمَٰوَٰتِ وَٱلۡأَرۡضَ");
    EXPECT_EQ(Marked(text, MatchedWords(text, QStringLiteral(u"الکرسی الارض"))),
              (QStringList{QStringLiteral(u"كُرۡسِيُّهُ"), QStringLiteral(u"وَٱلۡأَرۡضَ")}));
    const QString persian = QStringLiteral(u"آنچه را می‌داند و آسمان‌ها");
    EXPECT_EQ(Marked(persian, MatchedWords(persian, QStringLiteral(u"میداند"))),
              QStringList{QStringLiteral(u"می‌داند")});
    EXPECT_TRUE(MatchedWords(text, QStringLiteral(u"نور")).empty());
}

TEST(SearchResults, AnExcerptIsTheStartOrTheWordsBeforeTheFirstMark) {
    const QString text = QStringLiteral(u"یک دو سه چهار پنج شش هفت هشت نه ده یازده دوازده سیزده چهارده");
    // The first mark near the start: the text from its start, cut at a space.
    TExcerpt near = Excerpt(text, MatchedWords(text, QStringLiteral(u"سه")), 20);
    EXPECT_TRUE(text.startsWith(near.Text.chopped(2))) << near.Text.toStdString();
    EXPECT_TRUE(near.Text.endsWith(QStringLiteral(u" …")));
    EXPECT_LE(near.Text.size(), 22);
    EXPECT_EQ(Marked(near.Text, near.Marks), QStringList{QStringLiteral(u"سه")});

    // Far into the text: a few words before it, and the mark still on its word.
    TExcerpt far = Excerpt(text, MatchedWords(text, QStringLiteral(u"سیزده")), 20);
    EXPECT_TRUE(far.Text.startsWith(QStringLiteral(u"… "))) << far.Text.toStdString();
    EXPECT_EQ(Marked(far.Text, far.Marks), QStringList{QStringLiteral(u"سیزده")});

    // A short text stays whole.
    const TExcerpt whole = Excerpt(QStringLiteral(u"کوتاه"), {}, 20);
    EXPECT_EQ(whole.Text, QStringLiteral(u"کوتاه"));
}

TEST(SearchResults, NumbersAreWrittenInPersianDigits) {
    EXPECT_EQ(PersianNumber(255), QStringLiteral(u"۲۵۵"));
    EXPECT_EQ(PersianNumber(7), QStringLiteral(u"۷"));
}

// --- Reading the texts from quran.dat ---

class IndexLoad : public ModelTest {};

const QString OpeningText = QStringLiteral(u"بِسۡمِ ٱللَّهِ ٱلرَّحۡمَٰنِ ٱلرَّحِيمِ");

TEST_F(IndexLoad, ReadsTheTextsTranslationsAndNamesOfTheBook) {
    OpenBook([](FixtureDatabase& quran, FixtureDatabase&) {
        CreateAyehTextTable(quran);
        for (const FixtureAyeh& ayeh : FixtureBook::Ayehs())
            quran.Insert("AyehText", {{"SourehID", ayeh.SourehID},
                                      {"AyehID", ayeh.AyehID},
                                      {"Text", ayeh.SourehID == 1 && ayeh.AyehID == 1
                                                   ? OpeningText
                                                   : QStringLiteral(u"نص %1").arg(ayeh.AyehID)}});
    });
    const auto index = TAyehIndex::Load(*Book->QuranConnection);
    EXPECT_TRUE(index->HasArabicText());
    EXPECT_EQ(index->Count(), int(FixtureBook::Ayehs().size()));
    EXPECT_EQ(index->SourehName(2), QStringLiteral("البقرة"));
    ASSERT_NE(index->Find(1, 1), nullptr);
    EXPECT_EQ(index->Find(1, 1)->Text, OpeningText);
    EXPECT_EQ(index->Find(2, 3)->Translation, (FixtureAyeh{2, 3, 0, 0, 0, 0, 0}.Translation()));
    EXPECT_EQ(index->Find(2, 6), nullptr);
    EXPECT_EQ(Found(*index, QStringLiteral(u"الرحيم")), (std::vector<Ref>{{1, 1}}));
}

TEST_F(IndexLoad, WithoutTheAyehTextTableTheTranslationsAreStillThere) {
    OpenBook();
    EXPECT_FALSE(TAyehIndex::HasAyehTextTable(*Book->QuranConnection));
    const auto index = TAyehIndex::Load(*Book->QuranConnection);
    EXPECT_FALSE(index->HasArabicText());
    EXPECT_EQ(index->Find(2, 3)->Text, QString());
    EXPECT_EQ(index->Search(QStringLiteral(u"ترجمه")).Total, int(FixtureBook::Ayehs().size()));
}

} // namespace
