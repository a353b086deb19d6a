// The rules over the whole book of the default content (data/quran.dat, made by `make
// content`): every span lies inside its ayeh, and the count of each rule stays within what
// the letters and marks that decide it predict, counted here by patterns over the raw text.
#include "content/ContentKeys.h"
#include "content/Database.h"
#include "tajweed/TajweedRules.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <array>
#include <gtest/gtest.h>

namespace {

// Every ayeh's AyehText, read once; empty when the default content has not been made.
const std::vector<QString>& BookTexts() {
    static const std::vector<QString> texts = [] {
        std::vector<QString> read;
        const QString path =
            QStringLiteral(GOLVAR_SOURCE_DIR "/data/") + QString::fromLatin1(QuranDatabaseFile);
        if (!QFileInfo::exists(path))
            return read;
        const std::string connection = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"" +
                                       path.toStdString() +
                                       "\";Mode=Read;Jet OLEDB:Database Password=" + QuranDatabaseKey;
        const Connection quran(connection);
        ResultSet rows(quran, Statements::AyehTexts());
        for (rows.First(); !rows.Eof(); rows.Next())
            read.push_back(rows.FieldByName("Text").AsString());
        return read;
    }();
    return texts;
}

class TajweedBook : public ::testing::Test {
protected:
    void SetUp() override {
        if (BookTexts().empty())
            GTEST_SKIP() << "data/quran.dat is missing: run `make content`";
    }
};

TEST_F(TajweedBook, SpansAreOrderedDisjointAndInsideTheirAyeh) {
    for (const QString& text : BookTexts()) {
        const int length = int(text.toUcs4().size());
        int last = 0;
        for (const TajweedSpan& span : FindTajweedSpans(text)) {
            ASSERT_LE(last, span.Start) << text.toStdString();
            ASSERT_LT(span.Start, span.End) << text.toStdString();
            ASSERT_LE(span.End, length) << text.toStdString();
            last = span.End;
        }
    }
}

// The print's marks, a letter's marks ending where the next letter begins.
const QString Mark =
    QStringLiteral("[\\x{064B}-\\x{065F}\\x{0670}\\x{06D6}-\\x{06DC}\\x{06DF}-\\x{06E4}\\x{06E7}"
                   "\\x{06E8}\\x{06EA}-\\x{06ED}]");
const QString Pause = QStringLiteral("[\\x{06D6}-\\x{06DC}\\x{06E4}]");
// Marks that give a letter a sound of its own: vowels, tanween, sukun, shadda, maddah, the
// zeros and the small meem.
const QString Voiced = QStringLiteral("[\\x{064B}-\\x{065E}\\x{0670}\\x{06E0}-\\x{06E2}\\x{06ED}]");
const QString Letter = QStringLiteral("[\\x{0621}-\\x{063A}\\x{0641}-\\x{064A}\\x{0671}]");

// A letter written without a sound of its own, with whatever pause signs follow it.
QString Bare(const QString& letter) {
    return letter + QStringLiteral("(?!") + Mark + QStringLiteral("*") + Voiced + QStringLiteral(")") + Mark +
           QStringLiteral("*");
}
// Followed, past the alef written after a tanween and a word's end, by one of `letters`.
QString Before(const QString& letters) {
    return QStringLiteral("(?=") + Pause + QStringLiteral("*(?:[\\x{0627}\\x{0649}]") + Pause +
           QStringLiteral("*)? ?") + Pause + QStringLiteral("*[") + letters + QStringLiteral("])");
}
// A noon hidden or merged: one without a mark, a staggered tanween, the small noon.
const QString HiddenNoon = QStringLiteral("(?:") + Bare(QStringLiteral("\\x{0646}")) +
                           QStringLiteral("|[\\x{0656}\\x{0657}\\x{065E}]") + Mark +
                           QStringLiteral("*|\\x{06E8}") + Mark + QStringLiteral("*)");

qint64 Occurrences(const QString& pattern) {
    const QRegularExpression expression(pattern);
    EXPECT_TRUE(expression.isValid()) << pattern.toStdString();
    qint64 count = 0;
    for (const QString& text : BookTexts())
        for (auto it = expression.globalMatch(text); it.hasNext(); it.next())
            ++count;
    return count;
}

TEST_F(TajweedBook, CountsStayWithinWhatTheDecidingMarksPredict) {
    std::array<qint64, TajweedRuleCount> counts{};
    for (const QString& text : BookTexts())
        for (const TajweedSpan& span : FindTajweedSpans(text))
            ++counts[size_t(span.Rule)];
    const auto count = [&](TajweedRule rule) { return counts[size_t(rule)]; };

    // The patterns see neither silent letters between two letters, nor the opening letters of
    // a soureh, nor where a phrase is cut by the ayeh's end: a count predicted by a pattern is
    // met within a hundredth and a few.
    const auto near = [](qint64 predicted) { return predicted / 100 + 5; };
    struct Prediction {
        TajweedRule Rule;
        qint64 Predicted;
    };
    const qint64 smallAlefs = Occurrences(QStringLiteral("\\x{0670}(?!\\x{0653})"));
    const qint64 smallWawsAndYehs = Occurrences(QStringLiteral("[\\x{06E5}\\x{06E6}\\x{06E7}](?!\\x{0653})"));
    const qint64 hamzaAlefMaddahs = Occurrences(QStringLiteral("\\x{0623}\\x{0653}"));
    const Prediction predictions[] = {
        {TajweedRule::Ikhfa, Occurrences(HiddenNoon + Before(QStringLiteral("تثجدذزسشصضطظفقك")))},
        {TajweedRule::IdghamGhunnah, Occurrences(HiddenNoon + Before(QStringLiteral("ينمو")))},
        {TajweedRule::IdghamNoGhunnah, Occurrences(HiddenNoon + Before(QStringLiteral("لر")))},
        // A small meem at the ayeh's end (past the alef of a fathatan) is at the stop.
        {TajweedRule::Iqlab,
         Occurrences(QStringLiteral("[\\x{06E2}\\x{06ED}](?!") + Mark +
                     QStringLiteral("*(?:[\\x{0627}\\x{0649}]") + Mark + QStringLiteral("*)?\\x{06E9}?$)"))},
        {TajweedRule::IkhfaShafawi, Occurrences(Bare(QStringLiteral("م")) + Before(QStringLiteral("ب")))},
        {TajweedRule::IdghamShafawi, Occurrences(Bare(QStringLiteral("م")) + Before(QStringLiteral("م")))},
        {TajweedRule::Ghunnah, Occurrences(QStringLiteral("[نم]") + Mark + QStringLiteral("*\\x{0651}"))},
        {TajweedRule::IdghamMutajanisayn,
         Occurrences(Bare(QStringLiteral("ت")) + Before(QStringLiteral("طد")) + QStringLiteral("|") +
                     Bare(QStringLiteral("[دط]")) + Before(QStringLiteral("ت")) + QStringLiteral("|") +
                     Bare(QStringLiteral("ذ")) + Before(QStringLiteral("ظ")) + QStringLiteral("|") +
                     Bare(QStringLiteral("ث")) + Before(QStringLiteral("ذ")) + QStringLiteral("|") +
                     Bare(QStringLiteral("ب")) + Before(QStringLiteral("م")))},
        // A lam before reh across words; the lam of the article before reh is a sun letter's.
        {TajweedRule::IdghamMutaqaribayn,
         Occurrences(Bare(QStringLiteral("ل")) + QStringLiteral("(?= ر)|") + Bare(QStringLiteral("ق")) +
                     Before(QStringLiteral("ك")))},
        // The article after ٱ, after لِ or لَ that took its alef's place, or after ءَآ.
        {TajweedRule::LamShamsiyyah,
         Occurrences(QStringLiteral(
                         "(?:(?<=\\x{0671})|(?<=ل[\\x{064E}\\x{0650}])|(?<=ل\\x{0651}[\\x{064E}\\x{0650}])|"
                         "(?<=\\x{0627}\\x{0653}))ل(?=[تثدذرزسشصضطظلن]") +
                     Mark + QStringLiteral("*\\x{0651})"))},
        // Each madd before the letter the ayeh stops on: after its vowel, a small alef or yeh,
        // or the soft waw and yeh.
        {TajweedRule::Madd246,
         Occurrences(QStringLiteral(
                         "(?:\\x{064F}و|\\x{0650}ي|\\x{064E}ا|\\x{0670}|\\x{064E}[وي]\\x{06E1}|\\x{06E7})") +
                     Letter + Mark + QStringLiteral("*\\x{06E9}?$"))},
        {TajweedRule::Madd2, smallAlefs + smallWawsAndYehs + hamzaAlefMaddahs},
    };
    for (const Prediction& prediction : predictions) {
        SCOPED_TRACE(std::string(TajweedRuleName(prediction.Rule)));
        EXPECT_NEAR(double(count(prediction.Rule)), double(prediction.Predicted),
                    double(near(prediction.Predicted)));
    }

    // Counted exactly: every alef wasla, and every letter with a round zero; an oblong zero
    // counts unless it is in the ayeh's last word.
    EXPECT_EQ(count(TajweedRule::HamzatWasl), Occurrences(QStringLiteral("\\x{0671}")));
    const qint64 roundZeros = Occurrences(QStringLiteral("\\x{0652}"));
    EXPECT_GE(count(TajweedRule::Silent), roundZeros);
    EXPECT_LE(count(TajweedRule::Silent), roundZeros + Occurrences(QStringLiteral("\\x{06E0}")));

    // Qalqalah: every qalqalah letter with a sukun, and at most once more for each ayeh
    // that stops on one.
    const qint64 withSukun = Occurrences(QStringLiteral("[قطبجد]") + Mark + QStringLiteral("*\\x{06E1}"));
    EXPECT_GE(count(TajweedRule::Qalqalah), withSukun);
    EXPECT_LE(count(TajweedRule::Qalqalah),
              withSukun + Occurrences(QStringLiteral("[قطبجد]") + Mark + QStringLiteral("*\\x{06E9}?$")));

    // Every maddah but that of a hamza alef lengthens a madd beyond two counts, except at the
    // ayeh's end, where the stop leaves a natural madd.
    const qint64 maddahs = Occurrences(QStringLiteral("\\x{0653}")) - hamzaAlefMaddahs;
    const qint64 longMadds =
        count(TajweedRule::MaddMuttasil) + count(TajweedRule::MaddMunfasil) + count(TajweedRule::Madd6);
    EXPECT_LE(longMadds, maddahs);
    EXPECT_GE(longMadds, maddahs - Occurrences(QStringLiteral("\\x{0653}") + Mark +
                                               QStringLiteral("*(?:[\\x{0627}\\x{0649}]") + Mark +
                                               QStringLiteral("*)?\\x{06E9}?$")));
    // A separated madd is a maddah ending its word before a word that begins with a hamza, or
    // the vocative يَٰٓ and the هَٰٓ of attention, written joined to the word after them.
    const qint64 separated =
        Occurrences(QStringLiteral("\\x{0653}") + Mark + QStringLiteral("*(?:\\x{0627}\\x{0652})?") + Pause +
                    QStringLiteral("* [ءأإؤئ]"));
    const qint64 joined =
        Occurrences(QStringLiteral("(?:^|[ \\x{00A0}])(?:[وفأ]\\x{064E})?[يه]\\x{064E}\\x{0670}\\x{0653}"));
    EXPECT_GE(count(TajweedRule::MaddMunfasil), separated);
    EXPECT_LE(count(TajweedRule::MaddMunfasil), separated + joined);
}

} // namespace
