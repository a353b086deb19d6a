// Bookmarks in the per-user settings: newest first, kept across a new reading of the file,
// damaged entries skipped, and a file that cannot be written reported rather than fatal.
#include "content/ContentKeys.h"
#include "model/Bookmarks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>
#include <string>

namespace {

QString SettingsFile() {
    return QSettings(QString::fromLatin1(SettingsOrganisation), QString::fromLatin1(SettingsApplication))
        .fileName();
}

void RemoveSettings() {
    QFile::remove(SettingsFile());
    QDir(SettingsFile()).removeRecursively();
}

void WriteSettingsText(const QByteArray& text) {
    QDir().mkpath(QFileInfo(SettingsFile()).path());
    QFile file(SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QDateTime At(const char* iso) {
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs);
}

class Bookmarks : public ::testing::Test {
protected:
    void SetUp() override { RemoveSettings(); }
    void TearDown() override { RemoveSettings(); }
};

TEST_F(Bookmarks, AreReadBackNewestFirst) {
    const TBookmark older{2, 255, At("2024-05-01T10:00:00.000Z")};
    const TBookmark newest{38, 34, At("2024-06-01T08:30:00.000Z")};
    const TBookmark middle{1, 1, At("2024-05-20T22:15:00.000Z")};
    ASSERT_TRUE(WriteBookmarks({older, newest, middle}));
    EXPECT_EQ(ReadBookmarks(), (std::vector<TBookmark>{newest, middle, older}));
}

TEST_F(Bookmarks, ToggleAddsAMarkThenTakesItAwayAndKeepsTheOthers) {
    ASSERT_TRUE(ToggleBookmark(2, 255, At("2024-05-01T10:00:00.000Z")));
    ASSERT_TRUE(ToggleBookmark(3, 7, At("2024-05-02T10:00:00.000Z")));
    EXPECT_TRUE(IsBookmarked(ReadBookmarks(), 2, 255));
    ASSERT_TRUE(ToggleBookmark(2, 255, At("2024-05-03T10:00:00.000Z")));
    const std::vector<TBookmark> left = ReadBookmarks();
    EXPECT_FALSE(IsBookmarked(left, 2, 255));
    EXPECT_EQ(left, (std::vector<TBookmark>{{3, 7, At("2024-05-02T10:00:00.000Z")}}));
    ASSERT_TRUE(RemoveBookmark(3, 7));
    EXPECT_TRUE(ReadBookmarks().empty());
}

TEST_F(Bookmarks, LeaveTheLastPositionAlone) {
    {
        QSettings settings(QString::fromLatin1(SettingsOrganisation),
                           QString::fromLatin1(SettingsApplication));
        settings.setValue(QString::fromLatin1(LastSourehValue), 3);
    }
    ASSERT_TRUE(ToggleBookmark(2, 255, At("2024-05-01T10:00:00.000Z")));
    QSettings settings(QString::fromLatin1(SettingsOrganisation), QString::fromLatin1(SettingsApplication));
    EXPECT_EQ(settings.value(QString::fromLatin1(LastSourehValue)).toInt(), 3);
}

// One good entry beside a damaged one, as a hand-edited or half-written file holds them.
struct DamageCase {
    const char* Name;
    const char* Entry; // the keys of entry 2 of the array
};

class DamagedBookmark : public Bookmarks, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedBookmark, IsSkippedAndTheOthersAreKept) {
    WriteSettingsText(QByteArray("[General]\nLastSoureh=2\nLastAyeh=4\n\n[Bookmarks]\n"
                                 "1\\SourehID=2\n1\\AyehID=255\n1\\Added=2024-05-01T10:00:00.000Z\n") +
                      GetParam().Entry + "\nsize=2\n");
    EXPECT_EQ(ReadBookmarks(), (std::vector<TBookmark>{{2, 255, At("2024-05-01T10:00:00.000Z")}}));
    // The next change stores the good entry with the new one.
    ASSERT_TRUE(ToggleBookmark(1, 1, At("2024-06-01T10:00:00.000Z")));
    EXPECT_EQ(ReadBookmarks().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedBookmark,
    ::testing::Values(
        DamageCase{"SourehMissing", "2\\AyehID=3\n2\\Added=2024-05-02T10:00:00.000Z"},
        DamageCase{"AyehNotANumber", "2\\SourehID=3\n2\\AyehID=abc\n2\\Added=2024-05-02T10:00:00.000Z"},
        DamageCase{"AyehFraction", "2\\SourehID=3\n2\\AyehID=2.5\n2\\Added=2024-05-02T10:00:00.000Z"},
        DamageCase{"SourehZero", "2\\SourehID=0\n2\\AyehID=1\n2\\Added=2024-05-02T10:00:00.000Z"},
        DamageCase{"SourehNegative", "2\\SourehID=-3\n2\\AyehID=1\n2\\Added=2024-05-02T10:00:00.000Z"},
        DamageCase{"TimeMissing", "2\\SourehID=3\n2\\AyehID=1"},
        DamageCase{"TimeGarbage", "2\\SourehID=3\n2\\AyehID=1\n2\\Added=yesterday"},
        DamageCase{"Binary", "2\\SourehID=\xff\xfe\x01\n2\\AyehID=\x80\n2\\Added=\x00"},
        DamageCase{"NotAnEntry", "x\\SourehID=3\nx\\AyehID=1\nx\\Added=2024-05-02T10:00:00.000Z"},
        DamageCase{"SameAyehOlder", "2\\SourehID=2\n2\\AyehID=255\n2\\Added=2023-01-01T00:00:00.000Z"}),
    [](const ::testing::TestParamInfo<DamageCase>& testCase) { return std::string(testCase.param.Name); });

TEST_F(Bookmarks, ADamagedArraySizeLosesNoEntry) {
    WriteSettingsText("[Bookmarks]\n1\\SourehID=2\n1\\AyehID=255\n1\\Added=2024-05-01T10:00:00.000Z\n"
                      "2\\SourehID=38\n2\\AyehID=34\n2\\Added=2024-05-02T10:00:00.000Z\nsize=oops\n");
    EXPECT_EQ(ReadBookmarks().size(), 2u);
}

TEST_F(Bookmarks, ASettingsFileThatCannotBeWrittenIsReportedAndNothingIsLost) {
    // A folder where the file should be: no writer can replace it, whoever runs the test.
    ASSERT_TRUE(QDir().mkpath(SettingsFile()));
    EXPECT_TRUE(ReadBookmarks().empty());
    EXPECT_FALSE(ToggleBookmark(2, 255, At("2024-05-01T10:00:00.000Z")));
    EXPECT_TRUE(QFileInfo(SettingsFile()).isDir());
}

} // namespace
