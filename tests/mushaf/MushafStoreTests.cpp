// The glyph tables read from quran.dat: content without them, a page read back, damaged rows,
// and the font check.
#include "mushaf/MushafStore.h"
#include "tests/mushaf/MushafTestPage.h"
#include "tests/support/FixtureDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

class MushafStoreTest : public ::testing::Test {
protected:
    QString Path() const { return Temp.filePath(QStringLiteral("quran.dat")); }

    // A quran.dat with the reader's tables and, after `fill`, nothing else.
    void MakeContent(const std::function<void(FixtureDatabase&)>& fill) {
        FixtureDatabase db(Path(), QuranKey);
        CreateQuranTables(db);
        fill(db);
    }

    static void AddFonts(FixtureDatabase& db, int count, int format = MushafGlyphFormat) {
        for (int id = 0; id < count; ++id)
            db.Insert("MushafFont", {{"FontID", id},
                                     {"FileName", QStringLiteral("font%1.ttf").arg(id)},
                                     {"Sha256", QStringLiteral("00")},
                                     {"PixelSize", QStringLiteral("16.5")},
                                     {"Format", format}});
    }

    static void AddWord(FixtureDatabase& db, int position, const MushafWord& word, const QByteArray& glyphs) {
        db.Insert("MushafWords", {{"PageID", 7},
                                  {"Position", position},
                                  {"LineID", word.Line},
                                  {"Kind", int(word.Kind)},
                                  {"SourehID", word.Soureh},
                                  {"AyehID", word.Ayeh},
                                  {"WordID", word.Number},
                                  {"CharStart", word.CharStart},
                                  {"CharEnd", word.CharEnd},
                                  {"Text", word.Text},
                                  {"Glyphs", glyphs}});
    }

    static MushafWord SampleWord() {
        MushafWord word;
        word.Line = 4;
        word.Soureh = 2;
        word.Ayeh = 25;
        word.Number = 3;
        word.CharStart = 14;
        word.CharEnd = 19;
        word.Text = QStringLiteral("ٱلنَّارَ");
        word.Left = 100.5;
        word.Right = 130.015625;
        // A glyph from the fallback font and one at a 64th of a pixel.
        word.Glyphs = {{0, 812, QPointF(120.25, 170.0), 0, 1}, {1, 65535, QPointF(100.515625, 168.5), 1, 5}};
        return word;
    }

    QTemporaryDir Temp;
};

TEST_F(MushafStoreTest, ContentWithoutBothTablesHasNoGlyphs) {
    const struct {
        const char* Name;
        std::function<void(FixtureDatabase&)> Tables;
        bool Has;
    } cases[] = {
        {"older content", [](FixtureDatabase&) {}, false},
        {"only the font table",
         [](FixtureDatabase& db) { db.Exec("CREATE TABLE MushafFont (FontID INTEGER, FileName TEXT)"); },
         false},
        {"both tables", [](FixtureDatabase& db) { CreateMushafTables(db); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(Path());
        MakeContent(c.Tables);
        const Connection quran(FixtureConnectionString(Path(), QuranKey));
        EXPECT_EQ(MushafStore::HasGlyphs(quran), c.Has);
        if (!c.Has) {
            try {
                MushafStore store(quran);
                ADD_FAILURE() << "opened";
            } catch (const MushafError& error) {
                EXPECT_NE(std::string(error.what()).find("build-text"), std::string::npos) << error.what();
            }
        }
    }
}

TEST_F(MushafStoreTest, APageReadsBackAsWritten) {
    const MushafWord word = SampleWord();
    MushafWord sign = word;
    sign.Kind = MushafItemKind::AyehEnd;
    sign.Number = 4;
    sign.Text = QStringLiteral("\u06dd\u0662\u0665");
    MakeContent([&](FixtureDatabase& db) {
        CreateMushafTables(db);
        AddFonts(db, 2);
        // Stored out of order: the page comes in reading order.
        AddWord(db, 2, sign, EncodeGlyphs(sign));
        AddWord(db, 1, word, EncodeGlyphs(word));
    });
    const Connection quran(FixtureConnectionString(Path(), QuranKey));
    const MushafStore store(quran);
    ASSERT_EQ(store.Fonts().size(), 2u);
    EXPECT_EQ(store.Fonts()[1].FileName, QStringLiteral("font1.ttf"));
    EXPECT_EQ(store.Fonts()[1].PixelSize, 16.5);
    const MushafPage page = store.Page(7);
    ASSERT_EQ(page.Words().size(), 2u);
    const MushafWord& read = page.Words()[0];
    EXPECT_EQ(read.Key(), (WordKey{2, 25, 3}));
    EXPECT_EQ(read.Text, word.Text);
    EXPECT_EQ(read.Line, 4);
    EXPECT_EQ(std::make_pair(read.CharStart, read.CharEnd), std::make_pair(14, 19));
    EXPECT_EQ(std::make_pair(read.Left, read.Right), std::make_pair(word.Left, word.Right));
    ASSERT_EQ(read.Glyphs.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(read.Glyphs[i].Font, word.Glyphs[i].Font);
        EXPECT_EQ(read.Glyphs[i].Id, word.Glyphs[i].Id);
        EXPECT_EQ(read.Glyphs[i].Position, word.Glyphs[i].Position);
        EXPECT_EQ(read.Glyphs[i].CharEnd, word.Glyphs[i].CharEnd);
    }
    EXPECT_EQ(page.Words()[1].Kind, MushafItemKind::AyehEnd);
    EXPECT_TRUE(store.Page(8).Empty());
}

TEST_F(MushafStoreTest, DamagedRowsAreRefusedWithTheirPlace) {
    const MushafWord word = SampleWord();
    const struct {
        const char* Name;
        int Format;
        int Kind;
        QByteArray Glyphs;
        const char* Message;
    } cases[] = {
        {"a blob cut short", MushafGlyphFormat, 1, EncodeGlyphs(word).chopped(3),
         "page 7, line 4, 2:25 word 3"},
        {"a kind unknown", MushafGlyphFormat, 9, EncodeGlyphs(word), "kind 9"},
        {"a glyph format of a later tool", MushafGlyphFormat + 1, 1, EncodeGlyphs(word), "format 2"},
        // The sample's second glyph is of font 1; this content names font 0 only.
        {"a glyph of a font not named", MushafGlyphFormat, 1, EncodeGlyphs(word), "font 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(Path());
        MushafWord stored = word;
        stored.Kind = MushafItemKind(c.Kind);
        MakeContent([&](FixtureDatabase& db) {
            CreateMushafTables(db);
            AddFonts(db, 1, c.Format);
            AddWord(db, 1, stored, c.Glyphs);
        });
        const Connection quran(FixtureConnectionString(Path(), QuranKey));
        try {
            MushafStore(quran).Page(7);
            ADD_FAILURE() << "read";
        } catch (const MushafError& error) {
            EXPECT_NE(std::string(error.what()).find(c.Message), std::string::npos) << error.what();
        }
    }
    MushafWord outside = word;
    outside.Glyphs[0].Position = QPointF(-1, 10);
    EXPECT_THROW(EncodeGlyphs(outside), MushafError);
}

TEST_F(MushafStoreTest, TheFontMustBeTheVeryFileTheBookWasSetIn) {
    if (!QFileInfo::exists(InstalledMushafFontPath()))
        GTEST_SKIP() << "the book's font is not installed";
    const QString name = QFileInfo(InstalledMushafFontPath()).fileName();
    const QString nested = Temp.filePath(QStringLiteral("fonts/opentype"));
    ASSERT_TRUE(QDir().mkpath(nested));
    QFile::copy(InstalledMushafFontPath(), QDir(nested).filePath(name));
    const QString other = Temp.filePath(QStringLiteral("other"));
    ASSERT_TRUE(QDir().mkpath(other));
    QFile changed(QDir(other).filePath(name));
    ASSERT_TRUE(changed.open(QIODevice::WriteOnly));
    QFile original(InstalledMushafFontPath());
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    changed.write(original.readAll() + QByteArray(1, '\0'));
    changed.close();

    const struct {
        const char* Name;
        QStringList Folders;
        const char* Message; // empty when it loads
    } cases[] = {
        {"not installed", {Temp.filePath(QStringLiteral("none"))}, "is not installed"},
        {"another file of the same name", {other, Temp.filePath(QStringLiteral("fonts"))}, "is not the one"},
        {"found in a subfolder", {Temp.filePath(QStringLiteral("fonts"))}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        try {
            const MushafFonts fonts = MushafFonts::Load({BookFontInfo()}, c.Folders);
            EXPECT_STREQ(c.Message, "");
            EXPECT_TRUE(fonts.Raw(0).isValid());
        } catch (const MushafError& error) {
            EXPECT_NE(std::string(error.what()).find(c.Message), std::string::npos) << error.what();
            EXPECT_NE(*c.Message, '\0') << error.what();
        }
    }
}

} // namespace
