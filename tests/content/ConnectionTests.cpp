// Opening the content databases: connection strings, missing and foreign files, keys, and
// the lock that keeps other programs from writing while the reader has a file open.
#include "content/Database.h"
#include "tests/support/FixtureDatabase.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace {

std::string ConnectionTo(const QString& path, const std::string& key, const std::string& mode = "Share Deny Write") {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path.toStdString() + ";Mode=" + mode +
           ";Persist Security Info=False;Jet OLEDB:Database Password=" + key;
}

// A second, writing connection to an existing file, as another program would open it.
SqliteDatabase OpenWriter(const QString& path, const std::string& key) {
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    SqliteDatabase db(handle);
    EXPECT_EQ(rc, SQLITE_OK);
    EXPECT_EQ(sqlite3_key(handle, key.data(), int(key.size())), SQLITE_OK);
    return db;
}

int Exec(const SqliteDatabase& db, const char* sql) { return sqlite3_exec(db.Get(), sql, nullptr, nullptr, nullptr); }

std::string OpenError(const std::string& connectionString) {
    try {
        Connection connection(connectionString);
    } catch (const ContentError& error) {
        return error.what();
    }
    return {};
}

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        QuranPath = Dir.filePath(QStringLiteral("quran.dat"));
        FixtureDatabase db(QuranPath, QuranKey);
        CreateQuranTables(db);
        db.Insert("Soureh", {{"SourehID", 1}, {"SourehName", QStringLiteral("حمد")}});
    }

    QTemporaryDir Dir;
    QString QuranPath;
};

} // namespace

struct ParseCase {
    const char* Name;
    const char* Text;
    std::vector<std::pair<std::string, std::string>> Expected;
};

class ConnectionStringParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ConnectionStringParse, YieldsTheSettingsInOrder) {
    EXPECT_EQ(ConnectionString::Parse(GetParam().Text).Settings(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConnectionStringParse,
    ::testing::Values(
        ParseCase{"Plain", "A=1;B=two", {{"A", "1"}, {"B", "two"}}},
        ParseCase{"Empty", "", {}},
        ParseCase{"EmptyItemsAndTrailingSemicolon", ";;A=1;; ;B=2;", {{"A", "1"}, {"B", "2"}}},
        ParseCase{"BlanksAroundKeysAndValuesTrimmed", "  Data Source = quran.dat ; Mode= Share Deny Write ",
                  {{"Data Source", "quran.dat"}, {"Mode", "Share Deny Write"}}},
        ParseCase{"KeyWithColonAndBlanks", "Jet OLEDB:Database Password=qorvektalimsun",
                  {{"Jet OLEDB:Database Password", "qorvektalimsun"}}},
        ParseCase{"DoubleQuotedValueKeepsSemicolonAndBlanks", "A=\" x;y \";B=1", {{"A", " x;y "}, {"B", "1"}}},
        ParseCase{"SingleQuotedValueWithDoubledQuote", "A='it''s';B=2", {{"A", "it's"}, {"B", "2"}}},
        ParseCase{"EmptyValue", "A=;B=", {{"A", ""}, {"B", ""}}},
        ParseCase{"EqualsInsideValue", "A=x=y", {{"A", "x=y"}}}),
    [](const auto& info) { return std::string(info.param.Name); });

class ConnectionStringMalformed : public ::testing::TestWithParam<const char*> {};

TEST_P(ConnectionStringMalformed, IsRejected) {
    EXPECT_THROW(ConnectionString::Parse(GetParam()), ContentError);
}

INSTANTIATE_TEST_SUITE_P(Texts, ConnectionStringMalformed,
                         ::testing::Values("Provider", "A=1;B", "=value", " =value", "A=\"open", "A='x'y;B=1",
                                           "A=\"x\"\""));

TEST(ConnectionStringValue, KeysCompareCaseInsensitivelyAndTheLastRepeatWins) {
    const ConnectionString settings = ConnectionString::Parse("data source=a.dat;DATA SOURCE=b.dat;Mode=Read");
    EXPECT_EQ(settings.Value("Data Source"), "b.dat");
    EXPECT_EQ(settings.Value("mode"), "Read");
    EXPECT_EQ(settings.Value("Provider"), std::nullopt);
}

TEST(ConnectionStringValue, WipeForgetsEverySetting) {
    ConnectionString settings = ConnectionString::Parse("Jet OLEDB:Database Password=qorvektalimsun");
    settings.Wipe();
    EXPECT_TRUE(settings.Settings().empty());
    EXPECT_EQ(settings.Value("Jet OLEDB:Database Password"), std::nullopt);
}

TEST(ConnectionStrings, AreTheTwoContentFilesWithTheirKeys) {
    const ConnectionString quran = ConnectionString::Parse(QuranConnectionString);
    EXPECT_EQ(quran.Value("Provider"), "Microsoft.Jet.OLEDB.4.0");
    EXPECT_EQ(quran.Value("Data Source"), "quran.dat");
    EXPECT_EQ(quran.Value("Mode"), "Share Deny Write");
    EXPECT_EQ(quran.Value("Persist Security Info"), "False");
    EXPECT_EQ(quran.Value("Jet OLEDB:Database Password"), QuranKey);
    const ConnectionString sound = ConnectionString::Parse(SoundConnectionString);
    EXPECT_EQ(sound.Value("Data Source"), "snd.wav");
    EXPECT_EQ(sound.Value("Jet OLEDB:Database Password"), SoundKey);
}

TEST_F(ConnectionTest, OpensAFileByAbsolutePath) {
    Connection connection(ConnectionTo(QuranPath, QuranKey));
    EXPECT_NE(connection.Handle(), nullptr);
    EXPECT_EQ(connection.FilePath(), QuranPath);
}

TEST_F(ConnectionTest, ResolvesABareNameAgainstTheWorkingDirectoryWhenOpening) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(Dir.path()));
    std::unique_ptr<Connection> connection;
    std::string error;
    try {
        connection = std::make_unique<Connection>(QuranConnectionString);
    } catch (const ContentError& e) {
        error = e.what();
    }
    QDir::setCurrent(previous);
    ASSERT_TRUE(connection) << error;
    EXPECT_EQ(connection->FilePath(), QuranPath);
}

TEST_F(ConnectionTest, MissingFileFailsNamingItAndIsNotCreated) {
    const QString missing = Dir.filePath(QStringLiteral("snd.wav"));
    const std::string error = OpenError(ConnectionTo(missing, SoundKey));
    EXPECT_NE(error.find(missing.toStdString()), std::string::npos) << error;
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(ConnectionTest, WrongPasswordFails) {
    const std::string error = OpenError(ConnectionTo(QuranPath, SoundKey));
    EXPECT_NE(error.find("is not a database"), std::string::npos) << error;
}

TEST_F(ConnectionTest, MissingPasswordFailsOnAnEncryptedFile) {
    const std::string error = OpenError("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + QuranPath.toStdString());
    EXPECT_NE(error.find("is not a database"), std::string::npos) << error;
}

TEST_F(ConnectionTest, GarbageAndEmptyFilesFail) {
    const QString garbage = Dir.filePath(QStringLiteral("garbage.dat"));
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    EXPECT_NE(OpenError(ConnectionTo(garbage, QuranKey)).find("is not a database"), std::string::npos);

    const QString empty = Dir.filePath(QStringLiteral("empty.dat"));
    QFile emptyFile(empty);
    ASSERT_TRUE(emptyFile.open(QIODevice::WriteOnly));
    emptyFile.close();
    EXPECT_NE(OpenError(ConnectionTo(empty, QuranKey)).find("is not a database"), std::string::npos);
    EXPECT_EQ(QFileInfo(empty).size(), 0);
}

struct BadSettingsCase {
    const char* Name;
    std::string Text;
};

class ConnectionSettingsRejected : public ::testing::TestWithParam<BadSettingsCase> {};

TEST_P(ConnectionSettingsRejected, BeforeTouchingAnyFile) {
    EXPECT_THROW(Connection connection(GetParam().Text), ContentError);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, ConnectionSettingsRejected,
    ::testing::Values(BadSettingsCase{"NoProvider", "Data Source=quran.dat"},
                      BadSettingsCase{"OtherProvider", "Provider=SQLOLEDB;Data Source=quran.dat"},
                      BadSettingsCase{"NoDataSource", "Provider=Microsoft.Jet.OLEDB.4.0;Mode=Read"},
                      BadSettingsCase{"EmptyDataSource", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source="},
                      BadSettingsCase{"WriteMode", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=q;Mode=ReadWrite"},
                      BadSettingsCase{"ExclusiveMode",
                                      "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=q;Mode=Share Exclusive"},
                      BadSettingsCase{"UnknownMode", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=q;Mode=Sometimes"},
                      BadSettingsCase{"BadPersistFlag",
                                      "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=q;Persist Security Info=maybe"},
                      BadSettingsCase{"Malformed", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ConnectionTest, FailsWithoutWaitingForeverWhileAnotherProgramWrites) {
    SqliteDatabase writer = OpenWriter(QuranPath, QuranKey);
    ASSERT_EQ(Exec(writer, "BEGIN EXCLUSIVE"), SQLITE_OK);
    const std::string error = OpenError(ConnectionTo(QuranPath, QuranKey));
    EXPECT_NE(error.find("open for writing in another program"), std::string::npos) << error;
    ASSERT_EQ(Exec(writer, "ROLLBACK"), SQLITE_OK);
    EXPECT_EQ(OpenError(ConnectionTo(QuranPath, QuranKey)), "");
}

TEST_F(ConnectionTest, DeniesWritesByOthersForItsWholeLife) {
    SqliteDatabase writer = OpenWriter(QuranPath, QuranKey);
    {
        Connection connection(ConnectionTo(QuranPath, QuranKey));
        EXPECT_EQ(Exec(writer, "INSERT INTO Soureh (SourehID) VALUES (2)") & 0xff, SQLITE_BUSY);
    }
    EXPECT_EQ(Exec(writer, "INSERT INTO Soureh (SourehID) VALUES (2)"), SQLITE_OK);
}

TEST_F(ConnectionTest, ShareDenyNoneLetsOthersWrite) {
    SqliteDatabase writer = OpenWriter(QuranPath, QuranKey);
    Connection connection(ConnectionTo(QuranPath, QuranKey, "Read|Share Deny None"));
    EXPECT_EQ(Exec(writer, "INSERT INTO Soureh (SourehID) VALUES (2)"), SQLITE_OK);
}

TEST_F(ConnectionTest, TwoReadersShareTheFile) {
    Connection first(ConnectionTo(QuranPath, QuranKey));
    EXPECT_NO_THROW(Connection second(ConnectionTo(QuranPath, QuranKey)));
}
