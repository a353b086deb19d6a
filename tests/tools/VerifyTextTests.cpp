// verify on quran.dat: a clean build passes, and each kind of damage a reader would suffer
// from is reported.
#include "tests/support/FixtureDatabase.h"
#include "tests/tools/SoundToolSupport.h"
#include "tests/tools/TextContent.h"
#include "tools/PageTypesetter.h"
#include "tools/Rle8Bitmap.h"
#include "tools/VerifyText.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <gtest/gtest.h>

namespace {

class VerifyText : public SharedContentTest {
protected:
    void SetUp() override {
        SharedContentTest::SetUp();
        Pristine = Db;
        Copy = Temp.filePath(QStringLiteral("quran.dat"));
    }

    // Verifies page 50 of a fresh copy after `damage`; the report lands in Report.
    int VerifyDamaged(const std::function<void(const QString&)>& damage) {
        QFile::remove(Copy);
        EXPECT_TRUE(QFile::copy(Pristine, Copy));
        damage(Copy);
        Report.clear();
        QTextStream stream(&Report);
        return VerifyQuranDatabase(Copy, QList<int>{50}, InstalledPrint(), stream);
    }

    // Replaces page 50's picture by the stored one with `paint` applied.
    static void RepaintPage50(const QString& path, const std::function<void(QImage&)>& paint) {
        QImage picture = PagePicture(path, 50);
        ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
        paint(picture);
        const QByteArray blob = EncodeRle8Bitmap(picture);
        ExecuteOn(path, QStringLiteral("UPDATE Pages SET PageBMP = x'%1' WHERE PageID = 50")
                            .arg(QString::fromLatin1(blob.toHex())));
    }

    QTemporaryDir Temp;
    QString Pristine;
    QString Copy;
    QString Report;
};

TEST_F(VerifyText, AnUntouchedCopyHasNoFaults) {
    EXPECT_EQ(VerifyDamaged([](const QString&) {}), 0) << Report.toStdString();
    EXPECT_TRUE(Report.contains(QStringLiteral("no faults (1 pages checked)"))) << Report.toStdString();
}

TEST_F(VerifyText, ReportsEachKindOfDamage) {
    const std::vector<AyehGeometry> page50 = PageAyehs(Pristine, 50);
    ASSERT_GE(page50.size(), 3u);
    // Two ayehs that share a line: the gap between them holds no ink.
    const AyehGeometry* before = nullptr;
    const AyehGeometry* after = nullptr;
    for (size_t i = 1; i < page50.size() && !before; ++i) {
        if (page50[i].StartLine == page50[i - 1].EndLine) {
            before = &page50[i - 1];
            after = &page50[i];
        }
    }
    ASSERT_NE(before, nullptr);
    const AyehGeometry a = *before;
    const AyehGeometry b = *after;
    const auto where = [](const AyehGeometry& g) {
        return QStringLiteral(" WHERE SourehID = %1 AND AyehID = %2").arg(g.Soureh).arg(g.Ayeh);
    };
    const auto word = [](int soureh, int ayeh, int number) {
        return QStringLiteral(
                   " WHERE PageID = 50 AND Kind = 1 AND SourehID = %1 AND AyehID = %2 AND WordID = %3")
            .arg(soureh)
            .arg(ayeh)
            .arg(number);
    };

    // The tool's own tables refuse duplicate keys and nulls; files from elsewhere may not.
    const QString looseAyehTable = QStringLiteral(
        "ALTER TABLE Ayeh RENAME TO Keyed; CREATE TABLE Ayeh AS SELECT * FROM Keyed; DROP TABLE Keyed; ");
    struct Case {
        const char* Name;
        std::function<void(const QString&)> Damage;
        QString Message; // a pattern
    };
    const Case cases[] = {
        {"a missing ayeh",
         [&](const QString& db) { ExecuteOn(db, QStringLiteral("DELETE FROM Ayeh") + where(b)); },
         QStringLiteral("table Ayeh has 6235 rows instead of 6236")},
        {"a repeated ayeh",
         [&](const QString& db) {
             ExecuteOn(db, looseAyehTable + QStringLiteral("INSERT INTO Ayeh SELECT * FROM Ayeh") + where(b));
         },
         QStringLiteral("holds the key %1:%2 2 times").arg(b.Soureh).arg(b.Ayeh)},
        {"a soureh that miscounts its ayehs",
         [](const QString& db) {
             ExecuteOn(db, QStringLiteral("UPDATE Soureh SET NumberOfAyeh = 285 WHERE SourehID = 2"));
         },
         QStringLiteral("soureh 2 says 285 ayehs")},
        {"a missing translation",
         [&](const QString& db) {
             ExecuteOn(db,
                       looseAyehTable + QStringLiteral("UPDATE Ayeh SET FarsiTranslation = NULL") + where(a));
         },
         QStringLiteral("1 rows of table Ayeh have no FarsiTranslation")},
        {"a missing column",
         [](const QString& db) {
             ExecuteOn(
                 db, QStringLiteral("ALTER TABLE Pages RENAME TO Full; CREATE TABLE Pages AS SELECT PageID, "
                                    "PageBMP, Joze, OtherComment FROM Full; DROP TABLE Full"));
         },
         QStringLiteral("table Pages has no column Hezb")},
        {"a missing page",
         [](const QString& db) { ExecuteOn(db, QStringLiteral("DELETE FROM Pages WHERE PageID = 50")); },
         QStringLiteral("page 50 has no row in Pages")},
        {"a picture of the wrong size",
         [](const QString& db) {
             ExecuteOn(db, QStringLiteral("UPDATE Pages SET PageBMP = x'%1' WHERE PageID = 50")
                               .arg(QString::fromLatin1(MakeBitmap8(400, 690).toHex())));
         },
         QStringLiteral("page 50: the picture does not decode as a 462 x 690 bitmap")},
        {"a picture cut short",
         [](const QString& db) {
             // Its last bytes hold the top margin, which a decoder would fill in blank.
             ExecuteOn(db, QStringLiteral("UPDATE Pages SET PageBMP = substr(PageBMP, 1, length(PageBMP) - "
                                          "16) WHERE PageID = 50"));
         },
         QStringLiteral("page 50: the reader cannot decode the picture")},
        {"a line beyond the last",
         [&](const QString& db) { ExecuteOn(db, QStringLiteral("UPDATE Ayeh SET EndLine = 16") + where(a)); },
         QStringLiteral("lines %1..16 are not in order").arg(a.StartLine)},
        {"a column outside the picture",
         [&](const QString& db) {
             ExecuteOn(db, QStringLiteral("UPDATE Ayeh SET StartCol = 462") + where(a));
         },
         QStringLiteral("columns 462 and %1 are not inside the picture").arg(a.EndCol)},
        {"a reading position that is not the start's",
         [&](const QString& db) {
             ExecuteOn(db, QStringLiteral("UPDATE Ayeh SET StartAyeh = StartAyeh + 1") + where(a));
         },
         QStringLiteral("the positions of its start and end")},
        {"an ayeh reaching into the next one",
         [&](const QString& db) {
             // Its end moved to the left edge: the next ayeh's start now lies inside it.
             ExecuteOn(db, QStringLiteral("UPDATE Ayeh SET EndCol = 0, EndAyeh = 462 * EndLine") + where(a));
         },
         QStringLiteral("does not come after ayeh %1:%2").arg(a.Soureh).arg(a.Ayeh)},
        {"a highlight that misses the ayeh's first word",
         [&](const QString& db) {
             ExecuteOn(
                 db, QStringLiteral("UPDATE Ayeh SET StartCol = StartCol - 40, StartAyeh = StartAyeh + 40") +
                         where(b));
         },
         QStringLiteral("page 50, line %1: \\d+ dark pixels lie in no ayeh's highlight").arg(b.StartLine)},
        {"ink between two ayehs",
         [&](const QString& db) {
             RepaintPage50(db, [&](QImage& picture) {
                 const int x = (b.StartCol + a.EndCol) / 2;
                 picture.setPixel(x, DefaultStartRow(b.StartLine) + 20, 0);
             });
         },
         QStringLiteral("page 50, line %1: 1 dark pixels lie in no ayeh's highlight").arg(b.StartLine)},
        {"a dark page frame",
         [](const QString& db) {
             RepaintPage50(db, [](QImage& picture) {
                 for (int y = 0; y < picture.height(); ++y)
                     picture.setPixel(1, y, 60);
             });
         },
         QStringLiteral("dark pixels lie in the highlight of more than one ayeh")},
        {"an ayeh moved to the next line",
         [&](const QString& db) {
             ExecuteOn(db, QStringLiteral(
                               "UPDATE Ayeh SET StartLine = StartLine + 1, StartAyeh = StartAyeh + 462") +
                               where(b));
         },
         QStringLiteral("page 50, line %1: ayeh %2:%3 begins on this line in print, on line %4 here")
             .arg(b.StartLine)
             .arg(b.Soureh)
             .arg(b.Ayeh)
             .arg(b.StartLine + 1)},
        {"an ayeh ending a line early",
         [&](const QString& db) {
             ExecuteOn(db, QStringLiteral("UPDATE Ayeh SET EndLine = EndLine - 1, EndAyeh = EndAyeh - 462") +
                               where(b));
         },
         QStringLiteral("page 50, line %1: ayeh %2:%3 ends on this line in print, on line %4 here")
             .arg(b.EndLine)
             .arg(b.Soureh)
             .arg(b.Ayeh)
             .arg(b.EndLine - 1)},
        {"an ayeh put on the next page",
         [&](const QString& db) { ExecuteOn(db, QStringLiteral("UPDATE Ayeh SET PageID = 51") + where(a)); },
         QStringLiteral("page 50, line %1: ayeh %2:%3 begins on this line in print but stands on page 51")
             .arg(a.StartLine)
             .arg(a.Soureh)
             .arg(a.Ayeh)},
        {"an ayeh of the next page",
         [](const QString& db) {
             ExecuteOn(db, QStringLiteral("UPDATE Ayeh SET PageID = 50 WHERE SourehID = 3 AND AyehID = 10"));
         },
         QStringLiteral("page 50 holds ayeh 3:10, which is printed on page 51")},
        {"a line no longer justified",
         [](const QString& db) {
             RepaintPage50(db, [](QImage& picture) {
                 for (int y = DefaultStartRow(5); y <= DefaultEndRow(5); ++y)
                     for (int x = 0; x < PageTextLeft + 30; ++x)
                         picture.setPixel(x, y, 255);
             });
         },
         QStringLiteral("page 50, line 5: the ayeh text is neither justified to the text width nor a short "
                        "centred line")},
        {"a band outside the picture",
         [&](const QString& db) {
             ExecuteOn(db, QStringLiteral("UPDATE Lines SET EndRow = 700 WHERE PageID = 50 AND LineID = %1")
                               .arg(a.StartLine));
         },
         QStringLiteral("line %1 has the rows %2..700").arg(a.StartLine).arg(DefaultStartRow(a.StartLine))},
        {"an ayeh whose highlight holds no ink",
         [&](const QString& db) {
             RepaintPage50(db, [&](QImage& picture) {
                 for (int line = a.StartLine; line <= a.EndLine; ++line) {
                     const int x0 = line == a.EndLine ? a.EndCol : 0;
                     const int x1 = line == a.StartLine ? a.StartCol : PagePictureWidth - 1;
                     for (int y = DefaultStartRow(line); y <= DefaultEndRow(line); ++y)
                         for (int x = x0; x <= x1; ++x)
                             picture.setPixel(x, y, 255);
                 }
             });
         },
         QStringLiteral("ayeh %1:%2: its highlight region holds no ink").arg(a.Soureh).arg(a.Ayeh)},
        {"a word left out",
         [&](const QString& db) { ExecuteOn(db, QStringLiteral("DELETE FROM MushafWords") + word(3, 3, 2)); },
         QStringLiteral("page 50: word 2 of ayeh 3:3 is placed 0 times instead of once")},
        {"a word placed twice",
         [&](const QString& db) {
             ExecuteOn(db,
                       QStringLiteral("INSERT INTO MushafWords SELECT PageID, 999, LineID, Kind, SourehID, "
                                      "AyehID, WordID, CharStart, CharEnd, Text, Glyphs FROM MushafWords") +
                           word(3, 3, 2));
         },
         QStringLiteral("page 50: word 2 of ayeh 3:3 is placed 2 times instead of once")},
        {"a word on the next line",
         [&](const QString& db) {
             ExecuteOn(db, QStringLiteral("UPDATE MushafWords SET LineID = LineID + 1") + word(3, 3, 2));
         },
         QStringLiteral("page 50: word 2 of ayeh 3:3 stands on line \\d+, printed on line")},
        {"a word's characters shifted in its ayeh",
         [&](const QString& db) {
             ExecuteOn(db,
                       QStringLiteral("UPDATE MushafWords SET CharStart = CharStart + 1") + word(3, 3, 2));
         },
         QStringLiteral("page 50: word 2 of ayeh 3:3 reads «.*» at characters")},
        {"the glyphs of another page",
         [](const QString& db) {
             ExecuteOn(db,
                       QStringLiteral("UPDATE MushafWords SET Glyphs = (SELECT x.Glyphs FROM MushafWords x "
                                      "WHERE x.PageID = 3 AND x.Position = MushafWords.Position) "
                                      "WHERE PageID = 50 AND Position <= 60"));
         },
         QStringLiteral(
             "page 50: the glyphs drawn at the picture's size share 0\\.\\d+ of their ink with the "
             "picture \\(intersection over union\\), less than 0\\.97")},
        {"a font that is not the book's",
         [](const QString& db) {
             ExecuteOn(db, QStringLiteral("UPDATE MushafFont SET Sha256 = '00' WHERE FontID = 0"));
         },
         QStringLiteral("is not the one the Mushaf's glyphs were set in")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_GT(VerifyDamaged(c.Damage), 0) << Report.toStdString();
        EXPECT_TRUE(Report.contains(QStringLiteral("fault: "))) << Report.toStdString();
        EXPECT_TRUE(Report.contains(QRegularExpression(c.Message)))
            << "expected: " << c.Message.toStdString() << "\n"
            << Report.toStdString();
    }
}

TEST_F(VerifyText, ContentWithoutGlyphsIsNotedButHasNoFault) {
    EXPECT_EQ(
        VerifyDamaged([](const QString& db) { ExecuteOn(db, QStringLiteral("DROP TABLE MushafWords")); }), 0)
        << Report.toStdString();
    EXPECT_TRUE(Report.contains(QStringLiteral("has no typeset glyphs"))) << Report.toStdString();
}

TEST_F(VerifyText, AFileThatCannotBeReadIsOneFault) {
    const QString garbage = Temp.filePath(QStringLiteral("garbage.dat"));
    WriteFileBytes(garbage, QByteArray(4096, 'x'));
    {
        FixtureDatabase wrongKey(Temp.filePath(QStringLiteral("wrongkey.dat")), SoundDatabaseKey);
        CreateQuranTables(wrongKey);
    }
    const std::pair<QString, const char*> cases[] = {
        {Temp.filePath(QStringLiteral("none.dat")), "does not exist"},
        {garbage, "cannot be read with its key"},
        {Temp.filePath(QStringLiteral("wrongkey.dat")), "cannot be read with its key"},
    };
    for (const auto& [path, message] : cases) {
        SCOPED_TRACE(message);
        QString report;
        QTextStream stream(&report);
        EXPECT_EQ(VerifyQuranDatabase(path, std::nullopt, nullptr, stream), 1);
        EXPECT_TRUE(report.contains(QString::fromUtf8(message))) << report.toStdString();
    }
}

TEST_F(VerifyText, AnEmptyBookCountsEveryMissingPartButListsFew) {
    FixtureDatabase empty(Temp.filePath(QStringLiteral("empty.dat")), QuranDatabaseKey);
    CreateQuranTables(empty);
    QString report;
    QTextStream stream(&report);
    // Rows of the three tables, 114 sourehs without a row, and 604 pages without one.
    EXPECT_EQ(VerifyQuranDatabase(Temp.filePath(QStringLiteral("empty.dat")), std::nullopt, InstalledPrint(),
                                  stream),
              3 + 114 + 604);
    EXPECT_LE(report.count(QStringLiteral("fault: ")), 3 + 20 + 20);
    EXPECT_TRUE(report.contains(QStringLiteral("... and 584 more"))) << report.toStdString();
}

} // namespace
