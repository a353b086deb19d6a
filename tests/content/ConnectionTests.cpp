// Opening the content databases: connection strings, missing and foreign files, keys, and
// the lock that keeps other programs from writing while the reader has a file open.
#include "content/Database.h"
#include "tests/support/FixtureDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// Another program on the machine that opens an existing file for writing, runs `sql` without
// waiting for locks and keeps its connection (with any transaction left open) while it lives.
class OtherProgram final {
public:
    OtherProgram(const QString& path, const std::string& key, const char* sql) {
        Process.start(QStringLiteral(CONTENT_LOCK_HOLDER),
                      {path, QString::fromStdString(key), QString::fromUtf8(sql)});
        if (Process.waitForStarted(10000)) {
            while (!Process.canReadLine() && Process.waitForReadyRead(10000)) {
            }
        }
        const QByteArray line = Process.readLine().trimmed();
        if (line.startsWith("rc="))
            Code = line.mid(3).toInt();
    }
    ~OtherProgram() {
        Process.closeWriteChannel();
        if (!Process.waitForFinished(10000))
            Process.kill();
    }
    // The engine's result code of the SQL text, or -1 when the program did not report.
    int Result() const { return Code; }

private:
    QProcess Process;
    int Code = -1;
};

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

void PrintTo(const ParseCase& value, std::ostream* out) {
    *out << value.Name;
}

class ConnectionStringParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ConnectionStringParse, YieldsTheSettingsInOrder) {
    EXPECT_EQ(ConnectionString::Parse(GetParam().Text).Settings(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConnectionStringParse,
    ::testing::Values(
        ParseCase{"Plain", "A=1;B=two", {{"A", "1"}, {"B", "two"}}}, ParseCase{"Empty", "", {}},
        ParseCase{"EmptyItemsAndTrailingSemicolon", ";;A=1;; ;B=2;", {{"A", "1"}, {"B", "2"}}},
        ParseCase{"BlanksAroundKeysAndValuesTrimmed",
                  "  Data Source = quran.dat ; Mode= Share Deny Write ",
                  {{"Data Source", "quran.dat"}, {"Mode", "Share Deny Write"}}},
        ParseCase{"KeyWithColonAndBlanks",
                  "Jet OLEDB:Database Password=qorvektalimsun",
                  {{"Jet OLEDB:Database Password", "qorvektalimsun"}}},
        ParseCase{
            "DoubleQuotedValueKeepsSemicolonAndBlanks", "A=\" x;y \";B=1", {{"A", " x;y "}, {"B", "1"}}},
        ParseCase{"SingleQuotedValueWithDoubledQuote", "A='it''s';B=2", {{"A", "it's"}, {"B", "2"}}},
        ParseCase{"EmptyValue", "A=;B=", {{"A", ""}, {"B", ""}}},
        ParseCase{"EqualsInsideValue", "A=x=y", {{"A", "x=y"}}}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

class ConnectionStringMalformed : public ::testing::TestWithParam<const char*> {};

TEST_P(ConnectionStringMalformed, IsRejected) {
    EXPECT_THROW(ConnectionString::Parse(GetParam()), ContentError);
}

INSTANTIATE_TEST_SUITE_P(Texts, ConnectionStringMalformed,
                         ::testing::Values("Provider", "A=1;B", "=value", " =value", "A=\"open", "A='x'y;B=1",
                                           "A=\"x\"\""));

TEST(ConnectionStringValue, KeysCompareCaseInsensitivelyAndTheLastRepeatWins) {
    const ConnectionString settings =
        ConnectionString::Parse("data source=a.dat;DATA SOURCE=b.dat;Mode=Read");
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
    Connection connection(FixtureConnectionString(QuranPath, QuranKey));
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
    const std::string error = OpenError(FixtureConnectionString(missing, SoundKey));
    EXPECT_NE(error.find(missing.toStdString()), std::string::npos) << error;
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(ConnectionTest, WrongPasswordFails) {
    const std::string error = OpenError(FixtureConnectionString(QuranPath, SoundKey));
    EXPECT_NE(error.find("is not a database"), std::string::npos) << error;
}

TEST_F(ConnectionTest, MissingPasswordFailsOnAnEncryptedFile) {
    const std::string error =
        OpenError("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + QuranPath.toStdString());
    EXPECT_NE(error.find("is not a database"), std::string::npos) << error;
}

TEST_F(ConnectionTest, GarbageAndEmptyFilesFail) {
    const QString garbage = Dir.filePath(QStringLiteral("garbage.dat"));
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    EXPECT_NE(OpenError(FixtureConnectionString(garbage, QuranKey)).find("is not a database"),
              std::string::npos);

    const QString empty = Dir.filePath(QStringLiteral("empty.dat"));
    QFile emptyFile(empty);
    ASSERT_TRUE(emptyFile.open(QIODevice::WriteOnly));
    emptyFile.close();
    EXPECT_NE(OpenError(FixtureConnectionString(empty, QuranKey)).find("is not a database"),
              std::string::npos);
    EXPECT_EQ(QFileInfo(empty).size(), 0);
}

struct BadSettingsCase {
    const char* Name;
    std::string Text;
};

void PrintTo(const BadSettingsCase& value, std::ostream* out) {
    *out << value.Name;
}

class ConnectionSettingsRejected : public ::testing::TestWithParam<BadSettingsCase> {};

TEST_P(ConnectionSettingsRejected, BeforeTouchingAnyFile) {
    EXPECT_THROW(Connection connection(GetParam().Text), ContentError);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, ConnectionSettingsRejected,
    ::testing::Values(
        BadSettingsCase{"NoProvider", "Data Source=quran.dat"},
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
    [](const auto& testCase) { return std::string(testCase.param.Name); });

TEST_F(ConnectionTest, FailsWithoutWaitingForeverWhileAnotherProgramWrites) {
    {
        OtherProgram writer(QuranPath, QuranKey, "BEGIN EXCLUSIVE");
        ASSERT_EQ(writer.Result(), SQLITE_OK);
        const std::string error = OpenError(FixtureConnectionString(QuranPath, QuranKey));
        EXPECT_NE(error.find("open for writing in another program"), std::string::npos) << error;
    }
    EXPECT_EQ(OpenError(FixtureConnectionString(QuranPath, QuranKey)), "");
}

TEST_F(ConnectionTest, DeniesWritesByOtherProgramsForItsWholeLife) {
    const char* insert = "INSERT INTO Soureh (SourehID) VALUES (2)";
    {
        Connection connection(FixtureConnectionString(QuranPath, QuranKey));
        EXPECT_EQ(OtherProgram(QuranPath, QuranKey, insert).Result(), SQLITE_BUSY);
    }
    EXPECT_EQ(OtherProgram(QuranPath, QuranKey, insert).Result(), SQLITE_OK);
}

TEST_F(ConnectionTest, DeniesWritesByOtherConnectionsInTheSameProgram) {
    sqlite3* handle = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(QFile::encodeName(QuranPath).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
    const SqliteDatabase writer(handle);
    ASSERT_EQ(sqlite3_key(handle, QuranKey, int(std::strlen(QuranKey))), SQLITE_OK);
    const char* insert = "INSERT INTO Soureh (SourehID) VALUES (2)";
    {
        Connection connection(FixtureConnectionString(QuranPath, QuranKey));
        EXPECT_EQ(sqlite3_exec(handle, insert, nullptr, nullptr, nullptr), SQLITE_BUSY);
    }
    EXPECT_EQ(sqlite3_exec(handle, insert, nullptr, nullptr, nullptr), SQLITE_OK);
}

TEST_F(ConnectionTest, ShareDenyNoneLetsOthersWrite) {
    Connection connection(FixtureConnectionString(QuranPath, QuranKey, "Read|Share Deny None"));
    EXPECT_EQ(OtherProgram(QuranPath, QuranKey, "INSERT INTO Soureh (SourehID) VALUES (2)").Result(),
              SQLITE_OK);
}

TEST_F(ConnectionTest, TwoReadersShareTheFile) {
    Connection first(FixtureConnectionString(QuranPath, QuranKey));
    EXPECT_NO_THROW(Connection second(FixtureConnectionString(QuranPath, QuranKey)));
}
