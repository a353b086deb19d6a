#pragma once
// Read-only access to the two content databases (SQLCipher).
//
// A Connection opens its file at construction from a connection string of the form
// "Key=Value;Key=Value" and holds a shared lock for its whole life, so that no other
// process can write the file while the reader has it open. A ResultSet runs one statement
// and fetches every row at once; afterwards it needs no connection, so it may outlive the
// connection it was opened on.

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Every failure of the content store: the engine's message, a malformed connection string
// or filter, or a value that cannot be converted to the form asked for.
class ContentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Key=Value;..." settings. Keys compare case-insensitively; a value may be quoted with
// single or double quotes (a doubled quote inside stands for one).
class ConnectionString final {
public:
    static ConnectionString Parse(std::string_view text); // throws ContentError when malformed
    std::optional<std::string> Value(std::string_view key) const;
    const std::vector<std::pair<std::string, std::string>>& Settings() const { return Items; }
    // Overwrites every key and value in memory, then forgets them (used for passwords).
    void Wipe();

private:
    std::vector<std::pair<std::string, std::string>> Items;
};

// Move-only owner of an engine database handle.
class SqliteDatabase final {
public:
    SqliteDatabase() = default;
    explicit SqliteDatabase(sqlite3* handle) : Handle(handle) {}
    SqliteDatabase(SqliteDatabase&& other) noexcept : Handle(std::exchange(other.Handle, nullptr)) {}
    SqliteDatabase& operator=(SqliteDatabase&& other) noexcept;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    ~SqliteDatabase();

    sqlite3* Get() const { return Handle; }
    explicit operator bool() const { return Handle != nullptr; }

private:
    sqlite3* Handle = nullptr;
};

// Move-only owner of a prepared statement.
class SqliteStatement final {
public:
    SqliteStatement() = default;
    // Prepares exactly one statement; throws ContentError with the engine's message, or when
    // the text is empty or holds a second statement.
    SqliteStatement(sqlite3* db, std::string_view sql);
    SqliteStatement(SqliteStatement&& other) noexcept : Handle(std::exchange(other.Handle, nullptr)) {}
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement();

    sqlite3_stmt* Get() const { return Handle; }

private:
    sqlite3_stmt* Handle = nullptr;
};

// A connection to one content database. The constructor opens the file named by
// "Data Source" (resolved against the current working directory at that moment) read-only,
// never creating it, applies "Jet OLEDB:Database Password" as the SQLCipher key, runs a
// probe statement (a wrong key or a file that is no database fails here) and takes the
// shared lock. Every failure throws ContentError carrying the engine's message and the
// file's name; a writer elsewhere is waited for a fraction of a second at most.
//
// Settings: "Provider" must be "Microsoft.Jet.OLEDB.4.0" and "Data Source" must be given.
// "Mode" is a '|'-joined list: "Share Deny Write" holds the shared lock; "Read" and
// "Share Deny None" (or no Mode at all) hold none; modes that would write or keep other
// readers out are refused, as is any other. The password is never kept: the parsed settings
// are wiped once the key is applied, whatever "Persist Security Info" (True or False) says. Other keys are
// ignored.
class Connection final {
public:
    explicit Connection(std::string_view connectionString);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* Handle() const { return Database.Get(); }
    const QString& FilePath() const { return Path; }

private:
    QString Path;
    SqliteDatabase Database;
};

// The connection strings of the two content files.
extern const char* const QuranConnectionString;
extern const char* const SoundConnectionString;

// The fixed statement texts, fragment for fragment, with the numbers in decimal.
namespace Statements {
std::string SourehList();
std::string Soureh(int sourehId);
std::string AyehList(int sourehId);
std::string Ayeh(int sourehId, int ayehId);
std::string Page(int pageId);
std::string PageAyehs(int pageId);
std::string PageLines(int pageId);
std::string FirstAyeh(int pageId);
std::string Sound(int sourehId, int ayehId, int ghariId);
// What search and copy read: every ayeh's translation, whether the optional AyehText table
// is there (one row when it is), and its rows.
std::string AyehTranslations();
std::string AyehTextTable();
std::string AyehTexts();
// Every ayeh's page, for the review plan.
std::string AyehPages();
} // namespace Statements

// Translates a statement text into the engine's dialect ("top 1" becomes a trailing LIMIT 1).
std::string TranslateStatement(std::string_view statement);

class ResultSet;

// A column of the current row of a ResultSet. Reading a null as integer, text, truth
// value or bytes throws a ContentError (a conversion error); the caller tests IsNull first
// where a null is allowed. Past the last row every column reads as null.
class Field final {
public:
    int AsInteger() const;
    QString AsString() const;
    bool AsBoolean() const;
    bool IsNull() const;
    QByteArray AsBytes() const;

private:
    friend class ResultSet;
    Field(const ResultSet& owner, int column) : Owner(&owner), Column(column) {}
    const ResultSet* Owner;
    int Column;
};

// The rows of one statement, all fetched when it is opened.
class ResultSet final {
public:
    // Runs the statement (after TranslateStatement) and fetches every row; throws ContentError.
    ResultSet(const Connection& connection, std::string_view statement);
    ~ResultSet();
    ResultSet(const ResultSet&) = delete;
    ResultSet& operator=(const ResultSet&) = delete;

    // Number of rows, counting only those that pass the filter while it is on.
    int RecordCount() const;
    void First();
    void Next();
    bool Eof() const;

    // Throws ContentError when the statement has no column of that name (case-insensitive).
    Field FieldByName(std::string_view name) const;

    // A filter such as "StartAyeh <= 463 and EndAyeh >=463": comparisons of a column with an
    // integer (= <> < <= > >=), joined by "and" / "or" (case-insensitive, "and" binding
    // tighter), with parentheses; an empty text passes every row. A null, or a text that is no
    // number, fails every comparison. Setting the text parses it (throws ContentError when
    // malformed or naming an unknown column, and the previous filter stays); while the filter
    // is on, a new text applies at once. Switching the filter on or off makes the first row of
    // the new view current.
    void SetFilter(std::string_view expression);
    void SetFiltered(bool on);
    bool Filtered() const;

    // Makes current the first row of the current view (only the passing rows while the
    // filter is on) whose integer column equals value; false when none does (the current row
    // then stays where it was). Throws ContentError for an unknown column.
    bool Locate(std::string_view column, int value);

    struct Impl;

private:
    friend class Field;
    std::unique_ptr<Impl> D;
};

// The bitmap file inside a Pages.PageBMP blob: after an 8-byte header (count 1, type 0x0100,
// size = blob length - 8, little-endian) when there is one, else the whole blob.
QByteArray BitmapFileInBlob(const QByteArray& blob);
