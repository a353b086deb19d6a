#include "recordings/ContentWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>

// ---------------------------------------------------------------------------------------
// KeyedDatabase

KeyedDatabase::KeyedDatabase(const QString& path, const std::string& key, OpenMode mode)
    : FilePath(QDir::toNativeSeparators(path)) {
    const QFileInfo info(path);
    if (mode != OpenMode::Create && !info.exists())
        throw ToolError(QStringLiteral("%1 does not exist.").arg(FilePath));
    if (info.isDir())
        throw ToolError(QStringLiteral("%1 is a folder, not a database file.").arg(FilePath));
    int flags = SQLITE_OPEN_PRIVATECACHE;
    switch (mode) {
    case OpenMode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case OpenMode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case OpenMode::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    sqlite3* handle = nullptr;
    const int opened = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, flags, nullptr);
    Database = SqliteDatabase(handle);
    if (opened != SQLITE_OK)
        Fail(QStringLiteral("cannot open it"));
    if (sqlite3_key(handle, key.data(), static_cast<int>(key.size())) != SQLITE_OK)
        Fail(QStringLiteral("cannot apply its key"));
    // Another program may hold a lock briefly; a reader that keeps the file open is reported
    // by WriteTransaction instead of being waited for.
    sqlite3_busy_timeout(handle, 250);
    // A wrong key shows only on the first read.
    const int probed = sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (probed == SQLITE_NOTADB)
        throw ToolError(QStringLiteral("%1 cannot be read with its key: it is not a database of the "
                                       "expected kind (wrong key, or not a database file).")
                            .arg(FilePath));
    if (probed != SQLITE_OK)
        Fail(QStringLiteral("cannot read it"));
}

void KeyedDatabase::Fail(const QString& what) const {
    const char* engine = Database ? sqlite3_errmsg(Database.Get()) : "out of memory";
    throw ToolError(QStringLiteral("%1: %2: %3").arg(FilePath, what, QString::fromUtf8(engine)));
}

void KeyedDatabase::Exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(Database.Get(), sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : sqlite3_errmsg(Database.Get()));
        sqlite3_free(message);
        throw ToolError(QStringLiteral("%1: %2").arg(FilePath, text));
    }
}

bool KeyedDatabase::HasTable(const char* name) {
    SqliteStatement statement(
        Database.Get(), "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    sqlite3_bind_text(statement.Get(), 1, name, -1, SQLITE_STATIC);
    return sqlite3_step(statement.Get()) == SQLITE_ROW;
}

bool KeyedDatabase::HasColumn(const char* table, const char* column) {
    if (!HasTable(table))
        return false;
    // The table names are the tools' own constants, never user input.
    SqliteStatement statement(Database.Get(), std::string("PRAGMA table_info(\"") + table + "\")");
    while (sqlite3_step(statement.Get()) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(statement.Get(), 1));
        if (name != nullptr && sqlite3_stricmp(name, column) == 0)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------
// WriteTransaction

WriteTransaction::WriteTransaction(KeyedDatabase& database) : Database(database) {
    const int rc = sqlite3_exec(Database.Handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        throw ToolError(QStringLiteral("%1 is open in another program (is the reader running?); "
                                       "close it and try again.")
                            .arg(Database.Path()));
    if (rc != SQLITE_OK)
        Database.Fail(QStringLiteral("cannot start writing"));
}

WriteTransaction::~WriteTransaction() {
    if (Open)
        sqlite3_exec(Database.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void WriteTransaction::Commit() {
    if (sqlite3_exec(Database.Handle(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString why = QString::fromUtf8(sqlite3_errmsg(Database.Handle()));
        throw ToolError(
            QStringLiteral("%1: writing failed, nothing was changed: %2").arg(Database.Path(), why));
    }
    Open = false;
}

// ---------------------------------------------------------------------------------------
// ChangeLock

namespace {

// The copies a ReplacementCopy of `target` makes beside it: ".snd.wav.XXXXXX".
QString CopyTemplate(const QFileInfo& target) {
    return target.dir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName()));
}

void RemoveCopiesBeside(const QString& target) {
    const QFileInfo info(target);
    const QRegularExpression copy(
        QStringLiteral("^\\.%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(info.fileName())));
    const QDir folder = info.dir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (copy.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
}

} // namespace

QString FinalTarget(const QString& path) {
    QFileInfo info(QDir::cleanPath(QDir::current().absoluteFilePath(path)));
    // As many links as the system follows itself before it gives up.
    for (int links = 0; links < 40 && info.isSymLink(); ++links)
        info.setFile(info.symLinkTarget());
    return info.absoluteFilePath();
}

ChangeLock::ChangeLock(const QString& file)
    : Target(FinalTarget(file)), Lock(std::make_unique<QLockFile>(Target + QStringLiteral(".lock"))) {
    // A change can take minutes: only a lock whose process is gone is stale.
    Lock->setStaleLockTime(0);
    if (!Lock->tryLock(0)) {
        qint64 pid = 0;
        if (Lock->error() == QLockFile::LockFailedError) {
            Lock->getLockInfo(&pid, nullptr, nullptr);
            throw ChangeRunningElsewhere(
                QStringLiteral(
                    "%1 is being changed by another program (process %2); try again once it is done.")
                    .arg(QDir::toNativeSeparators(Target))
                    .arg(pid));
        }
        throw ToolError(QStringLiteral("cannot write in %1 (its lock file cannot be made).")
                            .arg(QDir::toNativeSeparators(QFileInfo(Target).absolutePath())));
    }
    RemoveCopiesBeside(Target);
}

ChangeLock::~ChangeLock() = default;

void ChangeLock::RemoveLeftovers(const QString& file) {
    if (!QFileInfo(FinalTarget(file)).dir().exists())
        return;
    try {
        const ChangeLock lock(file);
    } catch (const ToolError&) {
        // A change running elsewhere is writing its copy; an unwritable folder has none.
    }
}

// ---------------------------------------------------------------------------------------
// ReplacementCopy

ReplacementCopy::ReplacementCopy(const QString& source, const QString& target, const std::string& key,
                                 const std::function<void(KeyedDatabase&)>& check,
                                 OpenElsewhere openElsewhere)
    : OwnLock(std::make_unique<ChangeLock>(target)),
      Source(source, key,
             openElsewhere == OpenElsewhere::Refuse ? KeyedDatabase::OpenMode::ReadWrite
                                                    : KeyedDatabase::OpenMode::ReadOnly),
      TargetPath(OwnLock->File()) {
    Begin(key, check, openElsewhere);
}

ReplacementCopy::ReplacementCopy(const ChangeLock& lock, const QString& source, const std::string& key,
                                 const std::function<void(KeyedDatabase&)>& check,
                                 OpenElsewhere openElsewhere)
    : Source(source, key,
             openElsewhere == OpenElsewhere::Refuse ? KeyedDatabase::OpenMode::ReadWrite
                                                    : KeyedDatabase::OpenMode::ReadOnly),
      TargetPath(lock.File()) {
    Begin(key, check, openElsewhere);
}

void ReplacementCopy::Begin(const std::string& key, const std::function<void(KeyedDatabase&)>& check,
                            OpenElsewhere openElsewhere) {
    if (openElsewhere == OpenElsewhere::Refuse) {
        const WriteTransaction probe(Source); // fails while another program has the file open
    }
    // Held until this connection closes, after the replacement.
    Source.Exec("BEGIN; SELECT count(*) FROM sqlite_master;");
    check(Source);

    // Only the name is reserved here; the engine fills the empty file.
    const QFileInfo info(TargetPath);
    QTemporaryFile reserve(CopyTemplate(info));
    if (!reserve.open())
        throw ToolError(QStringLiteral("cannot write in %1: %2")
                            .arg(QDir::toNativeSeparators(info.absolutePath()), reserve.errorString()));
    reserve.setAutoRemove(false);
    CopyPath = reserve.fileName();
    reserve.close();
    try {
        Target.emplace(CopyPath, key, KeyedDatabase::OpenMode::Create);
        // A failed run throws the copy away, so it needs no journal.
        Target->Exec("PRAGMA journal_mode = OFF");
        // The engine copies page by page, through its own locks: another handle on the
        // source file in this process would release them on closing.
        sqlite3_backup* backup = sqlite3_backup_init(Target->Handle(), "main", Source.Handle(), "main");
        if (backup == nullptr)
            Target->Fail(QStringLiteral("cannot copy %1").arg(Source.Path()));
        const int stepped = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
        if (stepped != SQLITE_DONE)
            throw ToolError(QStringLiteral("cannot copy %1 to %2: %3")
                                .arg(Source.Path(), QDir::toNativeSeparators(CopyPath),
                                     QString::fromUtf8(sqlite3_errstr(stepped))));
        TargetTransaction.emplace(*Target);
    } catch (...) {
        TargetTransaction.reset();
        Target.reset();
        QFile::remove(CopyPath);
        throw;
    }
}

ReplacementCopy::~ReplacementCopy() {
    TargetTransaction.reset();
    Target.reset();
    if (!Committed && !CopyPath.isEmpty())
        QFile::remove(CopyPath);
}

void ReplacementCopy::Finish() {
    if (!Target)
        return;
    TargetTransaction->Commit();
    TargetTransaction.reset();
    Target.reset(); // closed, so every page is on disk
}

void ReplacementCopy::Commit() {
    Finish();
    // A new target is the user's own: readable by all, writable by its owner.
    const QFileInfo existing(TargetPath);
    ReplaceFile(CopyPath, TargetPath,
                existing.exists()
                    ? existing.permissions()
                    : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    Committed = true;
}

void ReplaceFile(const QString& from, const QString& to, QFileDevice::Permissions permissions) {
    QFile::setPermissions(from, permissions);
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw ToolError(QStringLiteral("cannot replace %1: %2")
                            .arg(QDir::toNativeSeparators(to), QString::fromLocal8Bit(std::strerror(errno))));
}
