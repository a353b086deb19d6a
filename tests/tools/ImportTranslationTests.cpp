// import-translation: the Persian translation from soureh|ayeh|text lines, all or nothing.
#include "tests/support/FixtureDatabase.h"
#include "tests/tools/SoundToolSupport.h"
#include "tools/ImportSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <sqlite3.h>

namespace {

// A quran.dat with sourehs 1 (7 ayehs) and 114 (6 ayehs), every translation "old s:a".
void MakeQuranDatabase(const QString& path) {
    FixtureDatabase fixture(path, QuranKey);
    CreateQuranTables(fixture);
    fixture.Begin();
    for (const int s : {1, 114})
        for (int a = 1; a <= NumberOfAyehs(s); ++a)
            fixture.Insert("Ayeh", {{"SourehID", s},
                                    {"AyehID", a},
                                    {"PageID", 1},
                                    {"StartLine", 1},
                                    {"EndLine", 1},
                                    {"StartCol", 400},
                                    {"EndCol", 10},
                                    {"StartAyeh", 1},
                                    {"EndAyeh", 2},
                                    {"FarsiTranslation", QStringLiteral("old %1:%2").arg(s).arg(a)}});
    fixture.Commit();
}

std::map<std::pair<int, int>, QString> ReadTranslations(const QString& path) {
    KeyedDatabase database(path, QuranDatabaseKey, KeyedDatabase::OpenMode::ReadOnly);
    SqliteStatement rows(database.Handle(), "SELECT SourehID, AyehID, FarsiTranslation FROM Ayeh");
    std::map<std::pair<int, int>, QString> translations;
    while (sqlite3_step(rows.Get()) == SQLITE_ROW)
        translations[{sqlite3_column_int(rows.Get(), 0), sqlite3_column_int(rows.Get(), 1)}] =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(rows.Get(), 2)));
    return translations;
}

// Every ayeh of the fixture as "s|a|new s:a", one a line.
QByteArray CompleteFile() {
    QByteArray text;
    for (const int s : {1, 114})
        for (int a = 1; a <= NumberOfAyehs(s); ++a)
            text += QStringLiteral("%1|%2|new %1:%2\n").arg(s).arg(a).toUtf8();
    return text;
}

class ImportTranslation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Temp.isValid());
        Db = Temp.filePath(QStringLiteral("quran.dat"));
        File = Temp.filePath(QStringLiteral("translation.txt"));
        MakeQuranDatabase(Db);
    }
    ToolRun Import(const QStringList& options = {}) const {
        return RunContentTool(QStringList{QStringLiteral("import-translation")} + options +
                              QStringList{Db, File});
    }
    QTemporaryDir Temp;
    QString Db;
    QString File;
};

TEST_F(ImportTranslation, ReplacesEveryTranslationFromTheCommonLineFormat) {
    QByteArray text = "\xEF\xBB\xBF# Persian translation\r\n\r\n" + CompleteFile();
    text.replace("1|1|new 1:1\n", "1|1| به نام خداوند | بخشندهٔ مهربان \r\n");
    text += "\n#license: free\n";
    WriteFileBytes(File, text);

    const ToolRun run = Import();
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    const auto translations = ReadTranslations(Db);
    ASSERT_EQ(translations.size(), 13u);
    // Only the first two bars separate fields; the text keeps its own.
    EXPECT_EQ(translations.at({1, 1}), QStringLiteral("به نام خداوند | بخشندهٔ مهربان"));
    for (const auto& [key, value] : translations) {
        if (key != std::pair{1, 1}) {
            EXPECT_EQ(value, QStringLiteral("new %1:%2").arg(key.first).arg(key.second));
        }
    }
}

struct RejectedFile {
    const char* Name;
    QByteArray Edit;     // replaces the line of 114:6
    const char* Message; // expected in the report
};

TEST_F(ImportTranslation, RejectedFilesLeaveTheDatabaseByteForByte) {
    const RejectedFile cases[] = {
        {"two fields", "114|6\n", "line 13: not 'soureh|ayeh|text'"},
        {"not numbers", "114|six|text\n", "line 13: not 'soureh|ayeh|text'"},
        {"empty text", "114|6|  \n", "line 13: not 'soureh|ayeh|text'"},
        {"not UTF-8", "114|6|\xff\xfe broken\n", "line 13: not UTF-8"},
        {"ayeh twice", "114|5|again\n", "line 13: 114:5 again (first on line 12)"},
        {"no such ayeh", "114|7|extra\n", "line 13: 114:7 is no ayeh of the database"},
        {"no such soureh", "115|1|extra\n", "line 13: 115:1 is no ayeh of the database"},
        {"missing ayeh", "", "1 ayehs have no line:\n  114:6"},
    };
    const QByteArray before = FileBytes(Db);
    for (const RejectedFile& c : cases) {
        SCOPED_TRACE(c.Name);
        QByteArray text = CompleteFile();
        text.replace("114|6|new 114:6\n", c.Edit);
        WriteFileBytes(File, text);
        const ToolRun run = Import();
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_TRUE(run.Err.contains(QString::fromUtf8(c.Message))) << run.Err.toStdString();
        EXPECT_TRUE(run.Err.contains(QStringLiteral("nothing was changed"))) << run.Err.toStdString();
        EXPECT_EQ(FileBytes(Db), before);
    }
}

TEST_F(ImportTranslation, AllowMissingKeepsThePresentTranslationOfAyehsWithoutALine) {
    QByteArray text = CompleteFile();
    text.replace("1|3|new 1:3\n", "");
    WriteFileBytes(File, text);
    const ToolRun run = Import({QStringLiteral("--allow-missing")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(QStringLiteral("1:3"))) << run.Err.toStdString();
    const auto translations = ReadTranslations(Db);
    EXPECT_EQ(translations.at({1, 3}), QStringLiteral("old 1:3"));
    EXPECT_EQ(translations.at({1, 4}), QStringLiteral("new 1:4"));
}

TEST_F(ImportTranslation, RefusesWhatIsNoQuranDatabase) {
    WriteFileBytes(File, CompleteFile());
    const QString sound = Temp.filePath(QStringLiteral("snd.wav"));
    {
        FixtureDatabase fixture(sound, SoundKey);
        CreateSoundTables(fixture);
    }
    const QString keyless = Temp.filePath(QStringLiteral("plain.dat"));
    {
        FixtureDatabase fixture(keyless, QuranKey);
        fixture.Exec("CREATE TABLE Other (x INTEGER)");
    }
    const std::pair<QString, const char*> cases[] = {
        {sound, "wrong key"},
        {keyless, "is not a Quran database"},
        {Temp.filePath(QStringLiteral("none.dat")), "does not exist"},
    };
    for (const auto& [db, message] : cases) {
        SCOPED_TRACE(message);
        const ToolRun run = RunContentTool({QStringLiteral("import-translation"), db, File});
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_TRUE(run.Err.contains(QString::fromUtf8(message))) << run.Err.toStdString();
    }
    const ToolRun noFile =
        RunContentTool({QStringLiteral("import-translation"), Db, Temp.filePath(QStringLiteral("none.txt"))});
    EXPECT_EQ(noFile.ExitCode, 1);
    EXPECT_TRUE(noFile.Err.contains(QStringLiteral("cannot read")));
    const ToolRun usage = RunContentTool({QStringLiteral("import-translation"), Db});
    EXPECT_EQ(usage.ExitCode, 2);
}

TEST_F(ImportTranslation, DatabaseTheReaderHoldsOpenIsReportedAndLeftAlone) {
    WriteFileBytes(File, CompleteFile());
    const QByteArray before = FileBytes(Db);
    const ToolRun run = RunContentToolWhileOpen(Temp.path(), QuranConnectionString,
                                                {QStringLiteral("import-translation"), Db, File});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("open in another program"))) << run.Err.toStdString();
    EXPECT_EQ(FileBytes(Db), before);
}

} // namespace
