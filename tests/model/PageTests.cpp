#include "tests/model/ModelTestSupport.h"

#include <QBuffer>

namespace {

class ModelPageTest : public ModelTest {
protected:
    void SetUp() override { OpenBook(); }
    std::unique_ptr<TQuranPage> Load(int pageId) { return std::make_unique<TQuranPage>(Book.get(), pageId); }
};

struct RowCase {
    int Page;
    int Row;
    int Line;
};

TEST_F(ModelPageTest, LineAtUsesStoredBandsOrDefaultsWithHalfOpenEnds) {
    const RowCase cases[] = {
        // default bands
        {1, 0, 1},
        {1, 45, 1},
        {1, 46, 2},
        {1, 688, 15},
        {1, 689, 0},
        {1, -1, 0},
        {1, 700, 0},
        // every line stored: bands of 43 rows from row 40
        {2, 39, 0},
        {2, 40, 1},
        {2, 82, 1},
        {2, 83, 2},
        {2, 684, 15},
        {2, 685, 0},
        // only line 3 stored (100..160); lines 2 and 4 keep their defaults
        {3, 91, 2},
        {3, 92, 0},
        {3, 99, 0},
        {3, 100, 3},
        {3, 137, 3},
        {3, 159, 3},
        {3, 160, 4},
        {3, 183, 4},
    };
    for (const RowCase& c : cases) {
        auto page = Load(c.Page);
        EXPECT_EQ(page->LineAt(c.Row), c.Line) << "page " << c.Page << " row " << c.Row;
    }
}

TEST_F(ModelPageTest, LineBoundsComeFromTheLinesRowOfThatLineOnly) {
    auto page = Load(3);
    EXPECT_EQ(page->StartRow(3), 100);
    EXPECT_EQ(page->EndRow(3), 160);
    EXPECT_EQ(page->StartRow(4), 138);
    EXPECT_EQ(page->EndRow(2), 92);
    EXPECT_EQ(page->EndRow(15), 689);
    // Lines without a default are empty bands outside the picture, not reads past the table.
    EXPECT_LT(page->EndRow(0), page->StartRow(0));
    EXPECT_LT(page->EndRow(16), page->StartRow(16));
    EXPECT_GE(page->StartRow(16), 689);
}

TEST_F(ModelPageTest, PositionRunsRightToLeftThenDown) {
    auto page = Load(1);
    EXPECT_EQ(page->PositionOf(1, 461), 1);
    EXPECT_EQ(page->PositionOf(1, 0), 462);
    EXPECT_EQ(page->PositionOf(2, 461), 463);
}

struct HitCase {
    const char* Name;
    int Row;
    int Column;
    int Soureh; // 0: no ayeh
    int Ayeh;
};

TEST_F(ModelPageTest, HitTestIncludesBothEndsOfAnAyeh) {
    // Page 1, default bands; ayeh 1 runs on line 1 from column 440 to 200, ayeh 2 from 190 to
    // 20; ayeh 3 from line 2 column 440 to line 3 column 300.
    const HitCase cases[] = {
        {"at StartAyeh", 10, 440, 1, 1},   {"at EndAyeh", 10, 200, 1, 1},
        {"right of start", 10, 441, 0, 0}, {"between ayehs", 10, 195, 0, 0},
        {"second ayeh", 30, 100, 1, 2},    {"line end of 3", 60, 0, 1, 3},
        {"line 3 of 3", 100, 300, 1, 3},   {"past end of 3", 100, 299, 0, 0},
        {"bottom margin", 689, 100, 0, 0},
    };
    auto page = Load(1);
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(page->HasAyehAt(c.Row, c.Column), c.Soureh != 0);
        if (c.Soureh == 0)
            continue;
        int soureh = -1, ayeh = -1;
        QString translation;
        page->GetAyehAt(c.Row, c.Column, soureh, ayeh, translation);
        EXPECT_EQ(soureh, c.Soureh);
        EXPECT_EQ(ayeh, c.Ayeh);
        EXPECT_EQ(translation, FixtureBook::FindAyeh(c.Soureh, c.Ayeh).Translation());
    }
}

TEST_F(ModelPageTest, OverlappingAyehsReportTheFirstInSourehAndAyehOrder) {
    Book.reset();
    OpenBook([](FixtureDatabase& quran, FixtureDatabase&) {
        // Stored in the reverse order, both covering position 100 on page 6.
        quran.Insert("Ayeh", {{"SourehID", 3},
                              {"AyehID", 2},
                              {"PageID", 6},
                              {"StartAyeh", 50},
                              {"EndAyeh", 150},
                              {"FarsiTranslation", QStringLiteral("b")}});
        quran.Insert("Ayeh", {{"SourehID", 3},
                              {"AyehID", 1},
                              {"PageID", 6},
                              {"StartAyeh", 90},
                              {"EndAyeh", 100},
                              {"FarsiTranslation", QStringLiteral("a")}});
    });
    auto page = Load(6);
    const int column = FixtureBook::PageWidth - 100; // position 100 on line 1
    ASSERT_TRUE(page->HasAyehAt(5, column));
    int soureh = 0, ayeh = 0;
    QString translation;
    page->GetAyehAt(5, column, soureh, ayeh, translation);
    EXPECT_EQ(ayeh, 1);
    EXPECT_EQ(translation, QStringLiteral("a"));
    EXPECT_EQ(page->FirstSourehID, 3);
    EXPECT_EQ(page->FirstAyehID, 1);
}

TEST_F(ModelPageTest, MarginPointLeavesThePreviousFilterInForce) {
    auto page = Load(1);
    ASSERT_TRUE(page->HasAyehAt(10, 300));
    const int passing = page->AyehQuery->RecordCount();
    EXPECT_FALSE(page->HasAyehAt(689, 300));
    EXPECT_TRUE(page->AyehQuery->Filtered());
    EXPECT_EQ(page->AyehQuery->RecordCount(), passing);
}

TEST_F(ModelPageTest, FirstAyehIsTheLowestSourehAndAyehOfThePage) {
    auto third = Load(3);
    EXPECT_EQ(third->FirstSourehID, 2);
    EXPECT_EQ(third->FirstAyehID, 4);
    auto withoutAyehs = Load(6);
    EXPECT_EQ(withoutAyehs->FirstSourehID, 0);
    EXPECT_EQ(withoutAyehs->FirstAyehID, 0);
    EXPECT_FALSE(withoutAyehs->HasAyehAt(10, 300));
}

TEST_F(ModelPageTest, MissingPageHasNoPictureButShowsItsNumber) {
    const QImage before = Image.Canvas;
    auto page = Load(700);
    EXPECT_EQ(page->PageID, 700);
    EXPECT_TRUE(page->Bitmap().isNull());
    page->Show();
    EXPECT_EQ(PageNo.Value, QStringLiteral("700"));
    EXPECT_EQ(Image.Canvas, before);
}

TEST_F(ModelPageTest, ShowPaintsThePictureAtTheOrigin) {
    Image.Canvas.fill(FakePageImage::Untouched);
    auto page = Load(3);
    page->Show();
    EXPECT_EQ(PageNo.Value, QStringLiteral("3"));
    const FixtureAyeh& ayeh = FixtureBook::FindAyeh(2, 4); // line 1, columns 100..430
    EXPECT_EQ(Image.Canvas.pixel(300, 20), qRgb(0, 0, 0));
    EXPECT_EQ(Image.Canvas.pixel(ayeh.StartCol + 10, 20), qRgb(255, 255, 255));
}

QByteArray Bmp24() {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

struct BlobCase {
    const char* Name;
    QByteArray Blob;
    bool Valid;
    int Width;
};

TEST_F(ModelPageTest, PageBlobIsABitmapWithOrWithoutItsHeader) {
    const QByteArray plain = MakeBitmap8(20, 10);
    QByteArray wrongSize = WithBlobHeader(plain);
    wrongSize[4] = char(wrongSize[4] + 1);
    const BlobCase cases[] = {
        {"plain", plain, true, 20},
        {"behind header", WithBlobHeader(plain), true, 20},
        {"24 bits", Bmp24(), true, 4},
        {"header with wrong size", wrongSize, false, 0},
        {"not a bitmap", QByteArray("GIF89a0123456789"), false, 0},
        {"truncated", plain.left(60), false, 0},
        {"empty", QByteArray(), true, 0},
    };
    for (const BlobCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Book.reset();
        OpenBook([&](FixtureDatabase& quran, FixtureDatabase&) {
            quran.Insert("Pages", {{"PageID", 40}, {"PageBMP", c.Blob}});
        });
        if (!c.Valid) {
            try {
                Load(40);
                ADD_FAILURE() << "no error";
            } catch (const ModelError& error) {
                EXPECT_STREQ(error.what(), "Bitmap image is not valid");
            }
            continue;
        }
        auto page = Load(40);
        EXPECT_EQ(page->Width(), c.Width);
    }
}

TEST_F(ModelPageTest, StoredPictureKeepsItsFormatUntilConvertedToBlueGreenRedRows) {
    auto page = Load(2); // behind the header
    EXPECT_EQ(page->Bitmap().size(), QSize(462, 690));
    EXPECT_EQ(page->Bitmap().format(), QImage::Format_Indexed8);
    page->ConvertTo24Bits();
    EXPECT_EQ(page->Bitmap().format(), QImage::Format_BGR888);
    const uchar* row = page->ScanLine(FixtureBook::Page2StartRow(2) + 10);
    EXPECT_EQ(row[3 * 200], 0);   // ink of ayeh 2:1
    EXPECT_EQ(row[3 * 450], 255); // right margin
}

TEST_F(ModelPageTest, PixelRowOutsideThePictureIsAnError) {
    auto page = Load(1);
    for (int row : {-1, 690}) {
        try {
            page->ScanLine(row);
            ADD_FAILURE() << "row " << row;
        } catch (const ModelError& error) {
            EXPECT_STREQ(error.what(), "Scan line index out of range");
        }
    }
    EXPECT_NO_THROW(page->ScanLine(689));
}

TEST_F(ModelPageTest, FailedPageLeavesTheCurrentPage) {
    Book.reset();
    OpenBook([](FixtureDatabase& quran, FixtureDatabase&) {
        quran.Insert("Pages", {{"PageID", 41}, {"PageBMP", QByteArray("not a picture")}});
    });
    EXPECT_THROW(Book->GoToPage(41), ModelError);
    EXPECT_EQ(Book->Page->PageID, 1);
    EXPECT_EQ(PageNo.Value, QStringLiteral("1"));
}

} // namespace
