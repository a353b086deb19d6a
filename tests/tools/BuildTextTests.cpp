// build-text: the tables it writes and the pictures it typesets, on a few pages.
#include "model/AyehSearch.h"
#include "tests/support/FixtureDatabase.h"
#include "tests/tools/SoundToolSupport.h"
#include "tests/tools/TextContent.h"
#include "tools/PageTypesetter.h"
#include "tools/VerifyText.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtEndian>
#include <gtest/gtest.h>
#include <set>

namespace {

class BuildText : public ::testing::Test {
protected:
    void SetUp() override {
        QString why;
        Folder = SharedContentFolder(&why);
        if (Folder.isEmpty()) {
            if (why.contains(QStringLiteral("not installed")))
                GTEST_SKIP() << why.toStdString();
            FAIL() << why.toStdString();
        }
        Db = QDir(Folder).filePath(QStringLiteral("quran.dat"));
    }

    bool Dark(const QImage& picture, int x, int y) const {
        return qGray(picture.pixel(x, y)) < HighlightLevel;
    }

    QString Folder;
    QString Db;
};

TEST_F(BuildText, ItsOutputPassesVerify) {
    QString report;
    QTextStream stream(&report);
    EXPECT_EQ(VerifyQuranDatabase(Db, QList<int>{1, 2, 50, 604}, stream), 0) << report.toStdString();

    const ToolRun run = RunContentTool(
        {QStringLiteral("verify"), QStringLiteral("--pages"), QString::fromUtf8(SharedPages), Folder});
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
    // Ayeh 2:6 opens page 3, which this build did not typeset.
    EXPECT_EQ(
        TextRows(Db,
                 "SELECT PageID, StartLine, EndLine, StartAyeh FROM Ayeh WHERE SourehID = 2 AND AyehID = 6")
            .at(0),
        (std::vector<QString>{"3", "0", "0", "0"}));
    EXPECT_EQ(TextRows(Db, "SELECT count(*) FROM Ayeh WHERE PageID IN (1, 2, 50, 604) AND StartLine = 0")
                  .at(0)
                  .at(0),
              QStringLiteral("0"));
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
    const std::vector<std::vector<QString>> expected = {
        {"1", "1", "1", ""}, {"2", "1", "1", ""}, {"50", "3", "5", ""}, {"604", "30", "60", ""}};
    EXPECT_EQ(TextRows(Db, "SELECT PageID, Joze, Hezb, OtherComment FROM Pages ORDER BY PageID"), expected);
}

TEST_F(BuildText, PicturesAreRle8GreyBitmapsOfTheReadersSize) {
    for (const int page : {1, 2, 50, 604}) {
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

TEST_F(BuildText, LineBandsAreTheDefaultBandsOfTheLinesInUse) {
    for (const int page : {1, 2, 50, 604}) {
        SCOPED_TRACE(page);
        const auto rows = TextRows(
            Db, QStringLiteral("SELECT LineID, StartRow, EndRow FROM Lines WHERE PageID = %1 ORDER BY LineID")
                    .arg(page)
                    .toUtf8()
                    .constData());
        std::set<int> used;
        for (const auto& row : rows) {
            const int line = row[0].toInt();
            used.insert(line);
            EXPECT_EQ(row[1].toInt(), DefaultStartRow(line));
            EXPECT_EQ(row[2].toInt(), DefaultEndRow(line));
        }
        for (const AyehGeometry& ayeh : PageAyehs(Db, page)) {
            for (int line = ayeh.StartLine; line <= ayeh.EndLine; ++line)
                EXPECT_TRUE(used.count(line))
                    << "ayeh " << ayeh.Soureh << ":" << ayeh.Ayeh << " line " << line;
        }
    }
    EXPECT_EQ(DefaultStartRow(1), 0);
    EXPECT_EQ(DefaultEndRow(1), 46);
    EXPECT_EQ(DefaultStartRow(15), 644);
    EXPECT_EQ(DefaultEndRow(15), 689);
}

TEST_F(BuildText, ASourehOpensWithItsHeaderAndBismillahBands) {
    struct Case {
        int Page, Soureh;
        int BandsBeforeAyeh1; // header, then the Bismillah except for sourehs 1 and 9
    };
    for (const Case c :
         {Case{1, 1, 1}, Case{2, 2, 2}, Case{604, 112, 2}, Case{604, 113, 2}, Case{604, 114, 2}}) {
        SCOPED_TRACE(c.Soureh);
        const QImage picture = PagePicture(Db, c.Page);
        int firstLine = 0;
        int previousEnd = 0;
        for (const AyehGeometry& ayeh : PageAyehs(Db, c.Page)) {
            if (ayeh.Soureh == c.Soureh && ayeh.Ayeh == 1)
                firstLine = ayeh.StartLine;
            else if (ayeh.Soureh < c.Soureh)
                previousEnd = ayeh.EndLine;
        }
        ASSERT_GT(firstLine, c.BandsBeforeAyeh1);
        if (previousEnd != 0) {
            EXPECT_EQ(previousEnd + c.BandsBeforeAyeh1 + 1, firstLine);
        }
        // The header's name and the Bismillah are ink in bands that no ayeh uses.
        for (int band = firstLine - c.BandsBeforeAyeh1; band < firstLine; ++band) {
            int ink = 0;
            for (int y = DefaultStartRow(band); y <= DefaultEndRow(band); ++y)
                for (int x = 0; x < PagePictureWidth; ++x)
                    ink += Dark(picture, x, y);
            EXPECT_GT(ink, 100) << "band " << band;
        }
    }
}

TEST_F(BuildText, InkStaysInsideItsBandAndDecorationsStayLight) {
    for (const int page : {1, 2, 50, 604}) {
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
            for (const int x : {0, 3, 4, 5, 8, 9, PagePictureWidth - 10, PagePictureWidth - 5, PagePictureWidth - 1})
                ASSERT_FALSE(Dark(picture, x, y)) << x << ", " << y;
        }
    }
}

TEST_F(BuildText, LinesInsideASourehAreJustifiedToTheTextWidth) {
    // Page 50 lies inside soureh 2: every line but the last is filled edge to edge.
    const QImage picture = PagePicture(Db, 50);
    ASSERT_FALSE(picture.isNull());
    const std::vector<AyehGeometry> ayehs = PageAyehs(Db, 50);
    ASSERT_FALSE(ayehs.empty());
    const int firstLine = ayehs.front().StartLine;
    const int lastLine = ayehs.back().EndLine;
    ASSERT_GE(lastLine - firstLine, 8);
    int leftMost = PagePictureWidth;
    int rightMost = 0;
    for (int line = firstLine; line < lastLine; ++line) {
        int left = PagePictureWidth;
        int right = -1;
        for (int y = DefaultStartRow(line); y <= DefaultEndRow(line); ++y) {
            for (int x = 0; x < PagePictureWidth; ++x) {
                if (Dark(picture, x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        leftMost = std::min(leftMost, left);
        rightMost = std::max(rightMost, right);
        // Both ends of every full line meet the edges of the text within a few pixels.
        EXPECT_LE(left, 24) << "line " << line;
        EXPECT_GE(right, PagePictureWidth - 25) << "line " << line;
    }
    EXPECT_GE(leftMost, 12);
    EXPECT_LE(rightMost, PagePictureWidth - 13);
}

TEST_F(BuildText, TheSameSourcesGiveTheSameRows) {
    QTemporaryDir again;
    const ToolRun run =
        RunContentTool({QStringLiteral("build-text"), QStringLiteral("--sources"), InstalledQuranDbPackage(),
                        QStringLiteral("--pages"), QStringLiteral("50"), again.path()});
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
