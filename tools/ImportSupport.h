#pragma once
// Pieces shared by the commands that write and check the content databases: the tools'
// error type, a keyed connection opened by path with an all-or-nothing write, a progress bar
// for the terminal, the ayeh counts of the Mushaf and the command-line conventions.

#include "content/Database.h"

#include <QElapsedTimer>
#include <QFileDevice>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

class QCommandLineParser;

// Every failure of a content command, with a message for the person at the terminal.
class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit ToolError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// An SQLCipher file opened by its path, keyed right after opening. Opening checks the key
// with a first read, so a wrong key or a file that is no database fails here with a clear
// message. Only Create makes a new file; the other modes fail on a missing one.
class KeyedDatabase final {
public:
    enum class OpenMode { ReadOnly, ReadWrite, Create };
    KeyedDatabase(const QString& path, const std::string& key, OpenMode mode); // throws ToolError

    sqlite3* Handle() const { return Database.Get(); }
    const QString& Path() const { return FilePath; }

    void Exec(const std::string& sql); // throws ToolError with the engine's message
    bool HasTable(const char* name);
    bool HasColumn(const char* table, const char* column);
    // Throws ToolError with the engine's message for a failed step of `statement`.
    [[noreturn]] void Fail(const QString& what) const;

private:
    QString FilePath;
    SqliteDatabase Database;
};

// Takes the exclusive lock at once, so that a database another program (the reader) holds
// open is reported before any work, and rolls everything back unless Commit is reached.
class WriteTransaction final {
public:
    explicit WriteTransaction(KeyedDatabase& database); // throws ToolError
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void Commit(); // throws ToolError; the transaction is rolled back then

private:
    KeyedDatabase& Database;
    bool Open = true;
};

// Renames `from` over `to` in one step, so that whoever opens `to` finds the old file or the
// new one, never a mix, and gives it `permissions`. Throws ToolError.
void ReplaceFile(const QString& from, const QString& to, QFileDevice::Permissions permissions);

// An all-or-nothing change of an existing database: the change goes into a copy made beside
// it, which replaces the file only at Commit. Until then the file stays byte for byte as it
// was, whatever becomes of this process (an engine's rollback would restore the content but,
// encrypted anew, not the bytes). A program that has the original open (the reader) is
// reported before any work; from then on a read lock keeps other writers out, so no change
// made meanwhile is lost by the replacement.
class ReplacementCopy final {
public:
    // `check` looks at the locked original before anything is copied, throwing ToolError when
    // it is not the kind of database the change is meant for.
    ReplacementCopy(const QString& path, const std::string& key,
                    const std::function<void(KeyedDatabase&)>& check);
    ~ReplacementCopy(); // removes an uncommitted copy
    ReplacementCopy(const ReplacementCopy&) = delete;
    ReplacementCopy& operator=(const ReplacementCopy&) = delete;

    KeyedDatabase& Original() { return Source; } // for reading only
    KeyedDatabase& Copy() { return *Target; }    // inside one open transaction
    // Commits the copy and renames it over the original. Throws ToolError, the original
    // left as it was.
    void Commit();

private:
    KeyedDatabase Source;
    QString CopyPath;
    std::optional<KeyedDatabase> Target;
    std::optional<WriteTransaction> TargetTransaction;
    bool Committed = false;
};

// "label [#####-----] 40/100  0:12 left" redrawn in place on stderr, only when stderr is a
// terminal; otherwise silent.
class ProgressBar final {
public:
    ProgressBar(const QString& label, qint64 total);
    ~ProgressBar();
    void Advance(qint64 steps = 1);
    void Finish(); // draws the full bar and ends the line

private:
    void Draw();
    QString Label;
    qint64 Total;
    qint64 Done = 0;
    bool Enabled;
    bool Finished = false;
    QElapsedTimer Clock;
    qint64 LastDrawMs = -1;
};

// While one exists, SIGINT and SIGTERM only raise a flag, so that a long write can stop
// between two steps and roll back instead of dying halfway. CheckInterrupted throws
// ToolError once the flag is up.
class InterruptGuard final {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
    static void CheckInterrupted();
};

inline constexpr int SourehCount = 114;
inline constexpr int TotalAyehCount = 6236;
// Number of ayehs of soureh 1..114 in the Mushaf; 0 for any other number.
int NumberOfAyehs(int sourehId);

// A source package fetched at set-up: `explicitDir` when given, else .cache/sources/`folderName`
// in the current folder or above the tool's own folder (the build folder). Throws ToolError
// naming the package (`what`) and the command-line `option` that names another folder.
QString FindSourcePackage(const QString& explicitDir, const QString& folderName, const QString& what,
                          const QString& option);
// The quran-db package folder, found as above.
QString FindQuranDbPackage(const QString& explicitDir);

// Command-line handling shared by the commands. Parses `args` (the words after the command)
// with `parser`; prints `help` and yields 0 for --help, prints the usage error and yields 2
// for an unknown option or a wrong number of positional words, and yields -1 to go on.
int ParseCommandLine(QCommandLineParser& parser, const QStringList& args, const char* command,
                     const char* help, int positionalCount);
// "golvar-content COMMAND: message" on stderr; returns `exitCode`.
int ReportFailure(const char* command, const QString& message, int exitCode = 1);
void PrintNote(const QString& message);
