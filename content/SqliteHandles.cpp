// The move-only owners of engine handles.
#include "content/Database.h"
#include "content/TextRules.h"

#include <climits>
#include <sqlite3.h>

SqliteDatabase& SqliteDatabase::operator=(SqliteDatabase&& other) noexcept {
    if (this != &other) {
        sqlite3_close_v2(Handle);
        Handle = std::exchange(other.Handle, nullptr);
    }
    return *this;
}

SqliteDatabase::~SqliteDatabase() {
    // close_v2 defers the close until the last statement is finalised, so the order in
    // which owners are destroyed never leaks the handle.
    sqlite3_close_v2(Handle);
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) {
    if (db == nullptr)
        throw ContentError("No database connection for the statement.");
    if (sql.size() >= static_cast<size_t>(INT_MAX))
        throw ContentError("Statement text too long.");
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &Handle, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(Handle);
        Handle = nullptr;
        throw ContentError(sqlite3_errmsg(db));
    }
    if (Handle == nullptr)
        throw ContentError("The statement text is empty.");
    // One statement only: anything but blanks and semicolons after it would be ignored
    // silently by the engine.
    for (const char* p = tail; p && p < sql.data() + sql.size(); ++p) {
        if (*p != ';' && !content_detail::IsBlank(*p)) {
            sqlite3_finalize(std::exchange(Handle, nullptr));
            throw ContentError("More than one statement in \"" + std::string(sql) + "\".");
        }
    }
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(Handle);
        Handle = std::exchange(other.Handle, nullptr);
    }
    return *this;
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(Handle);
}
