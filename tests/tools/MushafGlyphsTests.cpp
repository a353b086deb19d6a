// The typeset glyphs build-text stores, on the shared pages, as the Mushaf library reads them.
#include "content/PageGeometry.h"
#include "mushaf/MushafStore.h"
#include "tests/support/FixtureDatabase.h"
#include "tests/tools/TextContent.h"

#include <QDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

class MushafGlyphs : public SharedContentTest {
protected:
    void SetUp() override {
        SharedContentTest::SetUp();
        if (Unusable())
            return;
        Quran = std::make_unique<Connection>(FixtureConnectionString(Db, QuranKey));
        Store = std::make_unique<MushafStore>(*Quran);
    }

    QString AyehText(AyehKey ayeh) const {
        ResultSet text(*Quran, "SELECT Text FROM AyehText WHERE SourehID = " + std::to_string(ayeh.Soureh) +
                                   " AND AyehID = " + std::to_string(ayeh.Ayeh));
        return text.FieldByName("Text").AsString();
    }

    std::unique_ptr<Connection> Quran;
    std::unique_ptr<MushafStore> Store;
};

// What the print holds on each page: its first and last ayeh, its titles and Bismillah lines.
struct PageFacts {
    int Page;
    AyehKey First, Last;
    int Titles, Bismillahs;
};
const PageFacts Pages[] = {
    {1, {1, 1}, {1, 7}, 1, 0},  {2, {2, 1}, {2, 5}, 1, 1},   {3, {2, 6}, {2, 16}, 0, 0},
    {50, {3, 1}, {3, 9}, 1, 1}, {187, {9, 1}, {9, 6}, 1, 0}, {604, {112, 1}, {114, 6}, 3, 3},
};

TEST_F(MushafGlyphs, EachPageHoldsEveryWordOfItsAyehsOnceWithItsCharacters) {
    for (const PageFacts& facts : Pages) {
        SCOPED_TRACE(testing::Message() << "page " << facts.Page);
        const MushafPage page = Store->Page(facts.Page);
        const std::vector<AyehKey> ayehs = page.Ayehs();
        ASSERT_FALSE(ayehs.empty());
        EXPECT_EQ(ayehs.front(), facts.First);
        EXPECT_EQ(ayehs.back(), facts.Last);
        EXPECT_EQ(int(ayehs.size()), int(PageAyehs(Db, facts.Page).size()));

        std::map<MushafItemKind, int> kinds;
        std::map<AyehKey, std::vector<const MushafWord*>> byAyeh;
        int line = 0;
        for (const MushafWord& word : page.Words()) {
            ++kinds[word.Kind];
            EXPECT_GE(word.Line, line) << word.Text.toStdString();
            line = word.Line;
            if (word.InAyeh())
                byAyeh[{word.Soureh, word.Ayeh}].push_back(&word);
            // Every character comes from some glyph, and only the mark the book's font lacks
            // from another font.
            const QList<uint> text = word.Text.toUcs4();
            std::vector<bool> covered(size_t(text.size()), false);
            for (const MushafGlyph& glyph : word.Glyphs) {
                ASSERT_LT(glyph.CharStart, glyph.CharEnd);
                ASSERT_LE(glyph.CharEnd, int(text.size()));
                std::fill(covered.begin() + glyph.CharStart, covered.begin() + glyph.CharEnd, true);
                if (glyph.Font != 0) {
                    EXPECT_TRUE(text.mid(glyph.CharStart, glyph.CharEnd - glyph.CharStart).contains(0x065e))
                        << word.Text.toStdString();
                }
            }
            EXPECT_EQ(std::count(covered.begin(), covered.end(), false), 0) << word.Text.toStdString();
        }
        EXPECT_EQ(kinds[MushafItemKind::SourehTitle], facts.Titles);
        EXPECT_EQ(kinds[MushafItemKind::Bismillah], facts.Bismillahs);
        EXPECT_EQ(kinds[MushafItemKind::AyehEnd], int(ayehs.size()));

        for (const auto& [ayeh, words] : byAyeh) {
            SCOPED_TRACE(testing::Message() << ayeh.Soureh << ":" << ayeh.Ayeh);
            const QString ayehText = AyehText(ayeh);
            const QList<uint> text = ayehText.toUcs4();
            const qsizetype count = ayehText.split(QLatin1Char(' '), Qt::SkipEmptyParts).size();
            ASSERT_EQ(qsizetype(words.size()), count + 1);
            for (size_t i = 0; i < words.size(); ++i) {
                const MushafWord& word = *words[i];
                EXPECT_EQ(word.Number, int(i) + 1);
                EXPECT_EQ(word.Kind, i + 1 < words.size() ? MushafItemKind::Word : MushafItemKind::AyehEnd);
                const QList<uint> slice = text.mid(word.CharStart, word.CharEnd - word.CharStart);
                if (word.Kind == MushafItemKind::Word)
                    EXPECT_EQ(
                        QString::fromUcs4(reinterpret_cast<const char32_t*>(slice.constData()), slice.size()),
                        word.Text);
                else
                    EXPECT_EQ(word.CharStart, int(text.size()));
            }
        }
    }
}

TEST_F(MushafGlyphs, TheWordsHitTestAgreesWithThePicturesAyehGeometry) {
    for (const PageFacts& facts : Pages) {
        SCOPED_TRACE(testing::Message() << "page " << facts.Page);
        const MushafPage page = Store->Page(facts.Page);
        std::map<AyehKey, AyehGeometry> geometry;
        for (const AyehGeometry& row : PageAyehs(Db, facts.Page))
            geometry[{row.Soureh, row.Ayeh}] = row;
        for (const MushafWord& word : page.Words()) {
            if (!word.InAyeh())
                continue;
            const QPointF centre((word.Left + word.Right) / 2, DefaultStartRow(word.Line) + 23);
            const AyehKey ayeh{word.Soureh, word.Ayeh};
            EXPECT_EQ(page.AyehAt(centre), ayeh) << word.Text.toStdString();
            const AyehGeometry& row = geometry.at(ayeh);
            const int position = ReadingPosition(PagePictureWidth, word.Line, int(centre.x()));
            EXPECT_TRUE(row.StartAyeh <= position && position <= row.EndAyeh)
                << word.Text.toStdString() << " at " << position;
        }
        for (const AyehKey& ayeh : page.Ayehs()) {
            const AyehGeometry& row = geometry.at(ayeh);
            const std::vector<QRectF> rects = page.AyehRects(ayeh);
            ASSERT_EQ(int(rects.size()), row.EndLine - row.StartLine + 1);
            EXPECT_EQ(rects.front().top(), DefaultStartRow(row.StartLine));
        }
    }
}

} // namespace
