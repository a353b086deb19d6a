// The move-only owners of engine handles.
#include "content/Database.h"

#include <sqlite3.h>

#include <climits>

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
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &Handle, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(Handle);
        Handle = nullptr;
        throw ContentError(sqlite3_errmsg(db));
    }
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(Handle);
        Handle = std::exchange(other.Handle, nullptr);
    }
    return *this;
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(Handle); }
