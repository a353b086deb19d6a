// build-text: the tables it writes and the pictures it typesets, on a few pages.
#include "model/AyehSearch.h"
#include "tests/support/FixtureDatabase.h"
#include "tests/tools/SoundToolSupport.h"
#include "tests/tools/TextContent.h"
#include "tools/PageTypesetter.h"
#include "tools/PrintedMushaf.h"
#include "tools/VerifyText.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtEndian>
#include <gtest/gtest.h>
#include <set>

namespace {

class BuildText : public SharedContentTest {
protected:
    bool Dark(const QImage& picture, int x, int y) const {
        return qGray(picture.pixel(x, y)) < HighlightLevel;
    }

    // The dark pixels of a band: their bounding box, empty when there are none.
    QRect InkOfBand(const QImage& picture, int band) const {
        QRect box;
        for (int y = DefaultStartRow(band); y <= DefaultEndRow(band); ++y)
            for (int x = 0; x < PagePictureWidth; ++x)
                if (Dark(picture, x, y))
                    box |= QRect(x, y, 1, 1);
        return box;
    }
};

TEST_F(BuildText, ItsOutputPassesVerify) {
    QString report;
    QTextStream stream(&report);
    EXPECT_EQ(VerifyQuranDatabase(Db, SharedPageList, InstalledPrint(), stream), 0) << report.toStdString();

    const ToolRun run =
        RunContentTool({QStringLiteral("verify"), QStringLiteral("--pages"), QString::fromUtf8(SharedPages),
                        QStringLiteral("--print"), InstalledPrintPackage(), Folder});
    EXPECT_EQ(run.ExitCode, 0) << run.Out.toStdString() << run.Err.toStdString();
    EXPECT_TRUE(run.Out.contains(QStringLiteral("no faults"))) << run.Out.toStdString();
}

TEST_F(BuildText, SourehRowsComeFromTheSources) {
    EXPECT_EQ(TextRows(Db, "SELECT count(*) FROM Soureh").at(0).at(0), QStringLiteral("114"));
    const std::vector<std::vector<QString>> expected = {
        {"1", "الفاتحة", "1", "1", "7"},    {"2", "البقرة", "0", "2", "286"},
        {"9", "التوبة", "0", "187", "129"}, {"112", "الإخلاص", "1", "604", "4"},
        {"114", "الناس", "1", "604", "6"},
    };
    EXPECT_EQ(TextRows(Db, "SELECT SourehID, SourehName, Maki, PageID, NumberOfAyeh FROM Soureh "
                           "WHERE SourehID IN (1, 2, 9, 112, 114) ORDER BY SourehID"),
              expected);
}

TEST_F(BuildText, EveryAyehHasItsTranslationAndPageButOnlyTypesetPagesHaveGeometry) {
    EXPECT_EQ(TextRows(Db, "SELECT count(*), count(DISTINCT SourehID || ':' || AyehID) FROM Ayeh").at(0),
              (std::vector<QString>{"6236", "6236"}));
    EXPECT_EQ(
        TextRows(Db, "SELECT count(*) FROM Ayeh WHERE FarsiTranslation = '' OR PageID < 1 OR PageID > 604")
            .at(0)
            .at(0),
        QStringLiteral("0"));
    EXPECT_EQ(TextRows(Db, "SELECT FarsiTranslation FROM Ayeh WHERE SourehID = 1 AND AyehID = 1").at(0).at(0),
              QStringLiteral("به نام خداوند بخشندۀ مهربان"));
    // Ayeh 2:17 opens page 4, which this build did not typeset.
    EXPECT_EQ(
        TextRows(Db,
                 "SELECT PageID, StartLine, EndLine, StartAyeh FROM Ayeh WHERE SourehID = 2 AND AyehID = 17")
            .at(0),
        (std::vector<QString>{"4", "0", "0", "0"}));
    EXPECT_EQ(
        TextRows(Db, "SELECT count(*) FROM Ayeh WHERE PageID IN (1, 2, 3, 50, 187, 604) AND StartLine = 0")
            .at(0)
            .at(0),
        QStringLiteral("0"));
    // The print's page division, also where it differs from quran-db's (5:77 opens page 121
    // there), and the one the reader's own tests go by (2:255 on page 42).
    EXPECT_EQ(TextRows(Db,
                       "SELECT SourehID || ':' || AyehID, PageID FROM Ayeh WHERE (SourehID = 5 AND AyehID "
                       "IN (77, 78)) OR (SourehID = 2 AND AyehID = 255) ORDER BY SourehID, AyehID"),
              (std::vector<std::vector<QString>>{{"2:255", "42"}, {"5:77", "120"}, {"5:78", "121"}}));
}

TEST_F(BuildText, EveryAyehHasItsTextAndTheReaderFindsItsWords) {
    EXPECT_EQ(
        TextRows(Db,
                 "SELECT count(*), count(DISTINCT SourehID || ':' || AyehID), sum(Text = '') FROM AyehText")
            .at(0),
        (std::vector<QString>{"6236", "6236", "0"}));
    const Connection quran(FixtureConnectionString(Db, QuranDatabaseKey));
    const auto index = TAyehIndex::Load(quran);
    ASSERT_TRUE(index->HasArabicText());
    const TSearchResult throne = index->Search(QStringLiteral(u"الكرسي"));
    ASSERT_FALSE(throne.Hits.empty());
    EXPECT_EQ(std::pair(throne.Hits.front().SourehID, throne.Hits.front().AyehID), std::pair(2, 255));
}

TEST_F(BuildText, PagesCarryTheirJuzAndHezb) {
    // Hezb 6 begins at 3:15 on page 51: page 50 is in hezb 5, page 52 in hezb 6.
    const std::vector<std::vector<QString>> expected = {
        {"1", "1", "1", ""},  {"2", "1", "1", ""},     {"3", "1", "1", ""},    {"50", "3", "5", ""},
        {"52", "3", "6", ""}, {"187", "10", "19", ""}, {"604", "30", "60", ""}};
    EXPECT_EQ(TextRows(Db, "SELECT PageID, Joze, Hezb, OtherComment FROM Pages ORDER BY PageID"), expected);
}

TEST_F(BuildText, PicturesAreRle8GreyBitmapsOfTheReadersSize) {
    for (const int page : SharedPageList) {
        SCOPED_TRACE(page);
        const QByteArray blob = PageBlob(Db, page);
        ASSERT_GT(blob.size(), 54);
        EXPECT_EQ(blob.left(2), QByteArray("BM"));
        EXPECT_EQ(qFromLittleEndian<quint32>(blob.constData() + 30), 1u) << "BI_RLE8";
        // 80 MB for the whole book leaves about 130 KB a page.
        EXPECT_LT(blob.size(), 130 * 1024);
        const QImage picture = QImage::fromData(blob, "BMP");
        ASSERT_EQ(picture.size(), QSize(PagePictureWidth, PagePictureHeight));
        ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
        for (const QRgb colour : picture.colorTable())
            ASSERT_TRUE(qRed(colour) == qGreen(colour) && qGreen(colour) == qBlue(colour));
        EXPECT_EQ(qGray(picture.pixel(PagePictureWidth / 2, 1)), 255) << "a light page";
    }
}

TEST_F(BuildText, EveryPrintedLineHasADefaultBandOfItsOwn) {
    for (const int page : SharedPageList) {
        SCOPED_TRACE(page);
        const auto rows = TextRows(
            Db, QStringLiteral("SELECT LineID, StartRow, EndRow FROM Lines WHERE PageID = %1 ORDER BY LineID")
                    .arg(page)
                    .toUtf8()
                    .constData());
        // Pages 1 and 2 print 8 lines, set as a block in the middle; the others fill all 15.
        const int lines = page <= 2 ? 8 : LinesPerPage;
        ASSERT_EQ(int(rows.size()), lines);
        const int first = (LinesPerPage - lines) / 2 + 1;
        for (int i = 0; i < lines; ++i) {
            const int line = first + i;
            EXPECT_EQ(rows[size_t(i)],
                      (std::vector<QString>{QString::number(line), QString::number(DefaultStartRow(line)),
                                            QString::number(DefaultEndRow(line))}));
        }
    }
    EXPECT_EQ(DefaultStartRow(1), 0);
    EXPECT_EQ(DefaultEndRow(1), 46);
    EXPECT_EQ(DefaultStartRow(15), 644);
    EXPECT_EQ(DefaultEndRow(15), 689);
}

TEST_F(BuildText, AyehsBeginAndEndOnTheirPrintedLines) {
    // From the print: page 3's second line holds the end of 2:6 ("لَا يُؤۡمِنُونَ") and the
    // start of 2:7 ("خَتَمَ"); pages 1 and 2 stand in bands 4 to 11.
    struct Case {
        int Soureh, Ayeh, Page, StartLine, EndLine;
    };
    const Case cases[] = {
        {1, 1, 1, 5, 5},       {1, 2, 1, 6, 6},     {1, 7, 1, 9, 11},    {2, 1, 2, 6, 6},
        {2, 5, 2, 10, 11},     {2, 6, 3, 1, 2},     {2, 7, 3, 2, 3},     {2, 16, 3, 14, 15},
        {3, 1, 50, 3, 3},      {3, 9, 50, 14, 15},  {9, 1, 187, 2, 2},   {9, 6, 187, 13, 15},
        {112, 1, 604, 3, 3},   {112, 4, 604, 4, 4}, {113, 1, 604, 7, 7}, {114, 5, 604, 13, 14},
        {114, 6, 604, 15, 15},
    };
    for (const Case c : cases) {
        SCOPED_TRACE(QStringLiteral("%1:%2").arg(c.Soureh).arg(c.Ayeh).toStdString());
        const auto rows = TextRows(Db, QStringLiteral("SELECT PageID, StartLine, EndLine FROM Ayeh WHERE "
                                                      "SourehID = %1 AND AyehID = %2")
                                           .arg(c.Soureh)
                                           .arg(c.Ayeh)
                                           .toUtf8()
                                           .constData());
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0], (std::vector<QString>{QString::number(c.Page), QString::number(c.StartLine),
                                                 QString::number(c.EndLine)}));
    }
}

TEST_F(BuildText, ASourehOpensWithItsTitleAndBismillahLines) {
    struct Case {
        int Page, Soureh, TitleLine;
        bool Bismillah; // every soureh but 1 (whose first ayeh it is) and 9
    };
    for (const Case c :
         {Case{1, 1, 4, false}, Case{2, 2, 4, true}, Case{50, 3, 1, true}, Case{187, 9, 1, false},
          Case{604, 112, 1, true}, Case{604, 113, 5, true}, Case{604, 114, 10, true}}) {
        SCOPED_TRACE(c.Soureh);
        const QImage picture = PagePicture(Db, c.Page);
        ASSERT_FALSE(picture.isNull());
        int firstLine = 0;
        for (const AyehGeometry& ayeh : PageAyehs(Db, c.Page)) {
            if (ayeh.Soureh == c.Soureh && ayeh.Ayeh == 1)
                firstLine = ayeh.StartLine;
            // No ayeh shares the title's or the Bismillah's line.
            EXPECT_FALSE(ayeh.StartLine <= c.TitleLine + int(c.Bismillah) && ayeh.EndLine >= c.TitleLine)
                << ayeh.Soureh << ":" << ayeh.Ayeh;
        }
        EXPECT_EQ(firstLine, c.TitleLine + 1 + int(c.Bismillah));
        // The title is ink inside a light frame across the text; the Bismillah is ink alone.
        const int middle = (DefaultStartRow(c.TitleLine) + DefaultEndRow(c.TitleLine)) / 2;
        const int frame = qGray(picture.pixel(PageTextLeft + PageTextWidth / 8, middle));
        EXPECT_TRUE(frame >= HighlightLevel && frame < 255) << frame;
        for (int line = c.TitleLine; line <= c.TitleLine + int(c.Bismillah); ++line) {
            const QRect ink = InkOfBand(picture, line);
            EXPECT_GT(ink.width(), 40) << "line " << line;
            EXPECT_NEAR(ink.center().x(), PagePictureWidth / 2, 3) << "line " << line;
        }
    }
}

TEST_F(BuildText, EveryPageIsSetAtOneTypeSize) {
    // The same Bismillah, set at the same size, inks the same box on every page.
    struct Case {
        int Page, Line;
    };
    const Case cases[] = {{2, 5}, {50, 2}, {604, 2}, {604, 6}, {604, 11}};
    QSize first;
    for (const Case c : cases) {
        SCOPED_TRACE(QStringLiteral("page %1 line %2").arg(c.Page).arg(c.Line).toStdString());
        const QSize size = InkOfBand(PagePicture(Db, c.Page), c.Line).size();
        if (first.isEmpty())
            first = size;
        EXPECT_NEAR(size.width(), first.width(), 1);
        EXPECT_NEAR(size.height(), first.height(), 1);
    }
    EXPECT_GT(first.height(), DefaultLineHeight / 2) << "a size that uses the line's height";
}

TEST_F(BuildText, AyehLinesAreJustifiedAndShortOnesCentred) {
    constexpr int textRight = PageTextLeft + PageTextWidth - 1;
    struct Case {
        int Page;
        std::set<int> Centred; // the lines of ayeh text set in the middle; the others are justified
    };
    const Case cases[] = {
        {1, {5, 6, 7, 8, 9, 10, 11}},
        {2, {6, 7, 8, 9, 10, 11}},
        {3, {}},
        {50, {}},
        {187, {}},
        // The short last lines of sourehs 112 to 114, and the short one before the last.
        {604, {4, 9, 14, 15}},
    };
    for (const Case& c : cases) {
        const QImage picture = PagePicture(Db, c.Page);
        ASSERT_FALSE(picture.isNull());
        std::set<int> lines;
        for (const AyehGeometry& ayeh : PageAyehs(Db, c.Page))
            for (int line = ayeh.StartLine; line <= ayeh.EndLine; ++line)
                lines.insert(line);
        for (const int line : lines) {
            SCOPED_TRACE(QStringLiteral("page %1 line %2").arg(c.Page).arg(line).toStdString());
            const QRect ink = InkOfBand(picture, line);
            if (c.Centred.count(line)) {
                EXPECT_NEAR(ink.left() - PageTextLeft, textRight - ink.right(), 4);
                EXPECT_LT(ink.width(), PageTextWidth * 3 / 4);
            } else {
                // Both ends meet the edges of the text within a pixel or two.
                EXPECT_NEAR(ink.left(), PageTextLeft, 2);
                EXPECT_NEAR(ink.right(), textRight, 2);
            }
        }
    }
}

TEST_F(BuildText, InkStaysInsideItsBandAndDecorationsStayLight) {
    for (const int page : SharedPageList) {
        SCOPED_TRACE(page);
        const QImage picture = PagePicture(Db, page);
        ASSERT_FALSE(picture.isNull());
        // The rows two bands share are blank, so the highlight of one line never paints ink
        // of the next; the last row belongs to line 15 alone.
        for (int line = 1; line <= LinesPerPage; ++line) {
            for (int x = 0; x < PagePictureWidth; ++x) {
                ASSERT_FALSE(Dark(picture, x, DefaultStartRow(line))) << "line " << line << " x " << x;
                ASSERT_FALSE(Dark(picture, x, PagePictureHeight - 1)) << "x " << x;
            }
        }
        // The page frame lies in the outer margin, where no text is drawn.
        for (int y = 0; y < PagePictureHeight; ++y) {
            for (const int x :
                 {0, 3, 4, 5, 8, 9, PagePictureWidth - 10, PagePictureWidth - 5, PagePictureWidth - 1})
                ASSERT_FALSE(Dark(picture, x, y)) << x << ", " << y;
        }
    }
}

TEST_F(BuildText, TheSameSourcesGiveTheSameRows) {
    QTemporaryDir again;
    const ToolRun run =
        RunContentTool({QStringLiteral("build-text"), QStringLiteral("--sources"), InstalledQuranDbPackage(),
                        QStringLiteral("--print"), InstalledPrintPackage(), QStringLiteral("--pages"),
                        QStringLiteral("50"), again.path()});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    const QString other = again.filePath(QStringLiteral("quran.dat"));
    EXPECT_EQ(PageBlob(other, 50), PageBlob(Db, 50));
    const char* statements[] = {
        "SELECT * FROM Ayeh WHERE PageID = 50 ORDER BY SourehID, AyehID",
        "SELECT * FROM Lines WHERE PageID = 50 ORDER BY LineID",
        "SELECT PageID, Joze, Hezb, OtherComment FROM Pages WHERE PageID = 50",
        "SELECT * FROM Soureh ORDER BY SourehID",
    };
    for (const char* sql : statements) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(TextRows(other, sql), TextRows(Db, sql));
    }
}

} // namespace
