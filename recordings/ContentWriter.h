#pragma once
// Writing the content databases: the error type of every writer, a keyed connection opened
// by path and an all-or-nothing change made in a copy, with the Mushaf's counts that every
// writer checks its rows against. Used by the content tool and by the reader's recitation
// import; no widgets.

#include "content/Database.h"
#include "content/MushafCounts.h"

#include <QFileDevice>
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

// Every failure of a content writer, with a message for the person who asked for the change.
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

// What a change does about a program that has the file it reads open.
enum class OpenElsewhere {
    // Reported before any work: that program would go on with the old file unawares.
    Refuse,
    // Allowed: that program (the reader making the change) opens the new file afterwards.
    Allow,
};

// Another process is changing the file: a change now would undo its change or be undone.
class ChangeRunningElsewhere : public ToolError {
public:
    using ToolError::ToolError;
};

// The one change of a content file at a time, across processes: a lock file beside the file
// (through any links, beside their final target), held from before the change reads its
// source until the new file has replaced the old. Every change of a file holds it, so a copy
// that a change left beside the file is the leftover of one that was interrupted (killed, a
// crash, a logout) once this lock is free: taking it removes them.
class ChangeLock final {
public:
    // Takes the lock at once or throws ChangeRunningElsewhere; throws ToolError when the
    // folder cannot hold the lock file.
    explicit ChangeLock(const QString& file);
    ~ChangeLock();
    ChangeLock(const ChangeLock&) = delete;
    ChangeLock& operator=(const ChangeLock&) = delete;

    // The file changed: the final target of the name given.
    const QString& File() const { return Target; }

    // Removes the leftover copies beside `file` unless a change of it is running; never
    // throws. For the start of a program that changes the file.
    static void RemoveLeftovers(const QString& file);

private:
    QString Target;
    std::unique_ptr<QLockFile> Lock;
};

// The final target of `path` through any symbolic links (also one whose target does not
// exist yet); `path` itself, made absolute, when it is no link.
QString FinalTarget(const QString& path);

// An all-or-nothing change of a database: the change goes into a copy made beside the
// target (beside the final target of a link, so that a link stays a link), which replaces the
// target only at Commit. Until then the target stays byte for byte as it was, whatever becomes
// of this process (an engine's rollback would restore the content but, encrypted anew, not the
// bytes). The target's ChangeLock is held throughout, and from the start a read lock on the
// source keeps other writers out, so no change made meanwhile is lost by the replacement.
class ReplacementCopy final {
public:
    // `check` looks at the locked source before anything is copied, throwing ToolError when
    // it is not the kind of database the change is meant for. The source is only read; it
    // may be the target itself (a change in place). This one takes the target's ChangeLock
    // itself (ChangeRunningElsewhere when another process holds it).
    ReplacementCopy(const QString& source, const QString& target, const std::string& key,
                    const std::function<void(KeyedDatabase&)>& check, OpenElsewhere openElsewhere);
    // The same under `lock`, which the caller took on the target and holds past Commit.
    ReplacementCopy(const ChangeLock& lock, const QString& source, const std::string& key,
                    const std::function<void(KeyedDatabase&)>& check, OpenElsewhere openElsewhere);
    ~ReplacementCopy(); // removes an uncommitted copy
    ReplacementCopy(const ReplacementCopy&) = delete;
    ReplacementCopy& operator=(const ReplacementCopy&) = delete;

    KeyedDatabase& Original() { return Source; } // for reading only
    KeyedDatabase& Copy() { return *Target; }    // inside one open transaction, until Finish
    // Commits the copy's transaction and closes it, so that every page is on disk; the target
    // is not touched yet. Throws ToolError.
    void Finish();
    // Finishes, when that was not done, and renames the copy over the target. Throws
    // ToolError, the target left as it was.
    void Commit();

private:
    void Begin(const std::string& key, const std::function<void(KeyedDatabase&)>& check,
               OpenElsewhere openElsewhere);

    std::unique_ptr<ChangeLock> OwnLock;
    KeyedDatabase Source;
    QString TargetPath;
    QString CopyPath;
    std::optional<KeyedDatabase> Target;
    std::optional<WriteTransaction> TargetTransaction;
    bool Committed = false;
};
