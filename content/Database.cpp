// Connection strings and connections.
#include "content/Database.h"

#include "content/ContentKeys.h"
#include "content/TextRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring> // explicit_bzero
#include <sqlite3.h>

namespace {

std::string ReaderConnectionString(const char* file, const char* key) {
    return std::string("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file +
           ";Mode=Share Deny Write;Persist Security Info=False;Jet OLEDB:Database Password=" + key;
}

const std::string QuranConnectionText = ReaderConnectionString(QuranDatabaseFile, QuranDatabaseKey);
const std::string SoundConnectionText = ReaderConnectionString(SoundDatabaseFile, SoundDatabaseKey);

} // namespace

const char* const QuranConnectionString = QuranConnectionText.c_str();
const char* const SoundConnectionString = SoundConnectionText.c_str();

using namespace content_detail;

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

[[noreturn]] void Malformed(std::string_view why, size_t position) {
    throw ContentError("Malformed connection string (" + std::string(why) + " at character " +
                       std::to_string(position + 1) + ").");
}

} // namespace

void ConnectionString::Wipe() {
    for (auto& [key, value] : Items) {
        explicit_bzero(key.data(), key.size());
        explicit_bzero(value.data(), value.size());
    }
    Items.clear();
}

ConnectionString ConnectionString::Parse(std::string_view text) {
    ConnectionString result;
    // Values are built in place and the vector never grows past this, so no stray copy of a
    // secret is left behind by a reallocation.
    result.Items.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), ';')) + 1);
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        while (i < n && IsBlank(text[i]))
            ++i;
        if (i == n)
            break;
        if (text[i] == ';') { // empty item
            ++i;
            continue;
        }
        const size_t keyStart = i;
        while (i < n && text[i] != '=' && text[i] != ';')
            ++i;
        if (i == n || text[i] == ';')
            Malformed("setting without '='", keyStart);
        const std::string_view key = Trim(text.substr(keyStart, i - keyStart));
        if (key.empty())
            Malformed("setting without a name", keyStart);
        ++i; // '='
        while (i < n && IsBlank(text[i]))
            ++i;
        auto& item = result.Items.emplace_back(std::string(key), std::string());
        std::string& value = item.second;
        if (i < n && (text[i] == '"' || text[i] == '\'')) {
            const char quote = text[i];
            const size_t quoteStart = i++;
            for (;;) {
                if (i == n)
                    Malformed("unterminated quoted value", quoteStart);
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            while (i < n && IsBlank(text[i]))
                ++i;
            if (i < n && text[i] != ';')
                Malformed("text after a quoted value", i);
        } else {
            const size_t valueStart = i;
            while (i < n && text[i] != ';')
                ++i;
            value.append(Trim(text.substr(valueStart, i - valueStart)));
        }
        if (i < n)
            ++i; // ';'
    }
    return result;
}

std::optional<std::string> ConnectionString::Value(std::string_view key) const {
    // A repeated key: the last one wins.
    // Walked backwards by hand: the ranges of this standard library are beyond clang-tidy's
    // parser, which reads this file too.
    // NOLINTNEXTLINE(modernize-loop-convert)
    for (auto it = Items.rbegin(); it != Items.rend(); ++it) {
        if (EqualsNoCase(it->first, key))
            return it->second;
    }
    return std::nullopt;
}

namespace {

constexpr const char* PasswordKey = "Jet OLEDB:Database Password";
constexpr int LockWaitMilliseconds = 250;

struct OpenOptions {
    bool DenyWrite = false;
};

OpenOptions ParseMode(const std::optional<std::string>& mode) {
    OpenOptions options;
    if (!mode)
        return options;
    // "Read|Share Deny Write" and the like: flags joined by '|'.
    std::string_view rest = *mode;
    for (;;) {
        const size_t bar = rest.find('|');
        const std::string_view flag = Trim(rest.substr(0, bar));
        if (EqualsNoCase(flag, "Share Deny Write"))
            options.DenyWrite = true;
        else if (EqualsNoCase(flag, "Read") || EqualsNoCase(flag, "Share Deny None"))
            ;
        else if (EqualsNoCase(flag, "Write") || EqualsNoCase(flag, "ReadWrite"))
            throw ContentError("The content databases are read-only; Mode \"" + *mode +
                               "\" is not supported.");
        else if (EqualsNoCase(flag, "Share Deny Read") || EqualsNoCase(flag, "Share Exclusive"))
            throw ContentError("Mode \"" + *mode +
                               "\" is not supported: other programs may always read the content databases.");
        else
            throw ContentError("Unknown Mode \"" + *mode + "\" in the connection string.");
        if (bar == std::string_view::npos)
            break;
        rest.remove_prefix(bar + 1);
    }
    return options;
}

void CheckBoolean(const std::optional<std::string>& value, std::string_view key) {
    if (value && !EqualsNoCase(*value, "True") && !EqualsNoCase(*value, "False") &&
        !EqualsNoCase(*value, "Yes") && !EqualsNoCase(*value, "No"))
        throw ContentError("\"" + std::string(key) + "\" must be True or False, not \"" + *value + "\".");
}

// Wipes the parsed settings however the constructor leaves.
struct WipeOnExit {
    ConnectionString& Settings;
    ~WipeOnExit() { Settings.Wipe(); }
};

[[noreturn]] void FailToOpen(const QString& path, const std::string& why) {
    throw ContentError("Cannot open the database \"" + QDir::toNativeSeparators(path).toStdString() +
                       "\": " + why);
}

// Runs a one-row statement and gives its first column as text; an engine failure while
// opening is reported with the file's name.
std::string ProbeValue(sqlite3* handle, const QString& path, const char* sql) {
    const auto failWithEngineMessage = [&]() {
        const int code = sqlite3_errcode(handle);
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            FailToOpen(path, "the file is open for writing in another program.");
        FailToOpen(path, sqlite3_errmsg(handle));
    };
    SqliteStatement statement;
    try {
        statement = SqliteStatement(handle, sql);
    } catch (const ContentError&) {
        failWithEngineMessage();
    }
    if (sqlite3_step(statement.Get()) != SQLITE_ROW)
        failWithEngineMessage();
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement.Get(), 0));
    return text ? text : "";
}

} // namespace

Connection::Connection(std::string_view connectionString) {
    ConnectionString settings = ConnectionString::Parse(connectionString);
    const WipeOnExit wipe{settings};

    const std::optional<std::string> provider = settings.Value("Provider");
    if (!provider || provider->empty())
        throw ContentError("The connection string names no Provider.");
    if (!EqualsNoCase(*provider, "Microsoft.Jet.OLEDB.4.0"))
        throw ContentError("Provider \"" + *provider + "\" is not supported.");
    const std::optional<std::string> source = settings.Value("Data Source");
    if (!source || source->empty())
        throw ContentError("The connection string names no Data Source.");
    const OpenOptions options = ParseMode(settings.Value("Mode"));
    CheckBoolean(settings.Value("Persist Security Info"), "Persist Security Info");

    Path = QDir::cleanPath(QDir::current().absoluteFilePath(QString::fromStdString(*source)));

    // Read-only and never created: a missing file fails here instead of becoming an empty
    // database.
    sqlite3* handle = nullptr;
    const int opened = sqlite3_open_v2(QFile::encodeName(Path).constData(), &handle,
                                       SQLITE_OPEN_READONLY | SQLITE_OPEN_PRIVATECACHE, nullptr);
    SqliteDatabase database(handle);
    if (opened != SQLITE_OK) {
        if (!QFileInfo::exists(Path))
            FailToOpen(Path, "the file does not exist.");
        FailToOpen(Path, handle ? sqlite3_errmsg(handle) : "out of memory");
    }

    if (std::optional<std::string> password = settings.Value(PasswordKey); password && !password->empty()) {
        const int keyed = sqlite3_key(handle, password->data(), static_cast<int>(password->size()));
        explicit_bzero(password->data(), password->size());
        if (keyed != SQLITE_OK)
            FailToOpen(Path, sqlite3_errmsg(handle));
    }

    // A writer in another process may hold the file briefly; wait a little, never forever.
    sqlite3_busy_timeout(handle, LockWaitMilliseconds);

    // The engine notices a wrong key or a file that is no database only on the first read.
    // With writes denied, the read runs inside a transaction that stays open: its shared lock
    // keeps every other connection from committing a write until this connection closes.
    if (options.DenyWrite && sqlite3_exec(handle, "BEGIN DEFERRED", nullptr, nullptr, nullptr) != SQLITE_OK)
        FailToOpen(Path, sqlite3_errmsg(handle));
    ProbeValue(handle, Path, "SELECT count(*) FROM sqlite_master");
    // The engine takes an empty file for an empty database; it is no content database.
    if (ProbeValue(handle, Path, "PRAGMA page_count") == "0")
        FailToOpen(Path, "file is empty, so it is not a database.");
    // A write-ahead log lets others write beside a reader, so writes could not be denied.
    if (options.DenyWrite && EqualsNoCase(ProbeValue(handle, Path, "PRAGMA journal_mode"), "wal"))
        FailToOpen(Path, "the file uses a write-ahead log, so writes by other programs cannot be denied.");
    Database = std::move(database);
}

Connection::~Connection() {
    // Ends the read transaction (if any) and with it the shared lock.
    if (Database && !sqlite3_get_autocommit(Database.Get()))
        sqlite3_exec(Database.Get(), "ROLLBACK", nullptr, nullptr, nullptr);
}
