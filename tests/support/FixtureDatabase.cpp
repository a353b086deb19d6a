#include "tests/support/FixtureDatabase.h"

#include <QFile>
#include <QtEndian>
#include <climits>
#include <sqlite3.h>

namespace {

void Check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw ContentError(sqlite3_errmsg(db));
}

void Bind(sqlite3* db, sqlite3_stmt* stmt, int index, const QVariant& value) {
    if (!value.isValid()) {
        Check(db, sqlite3_bind_null(stmt, index));
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        Check(db, sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0));
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::UChar:
        Check(db, sqlite3_bind_int64(stmt, index, value.toLongLong()));
        break;
    case QMetaType::Double:
        Check(db, sqlite3_bind_double(stmt, index, value.toDouble()));
        break;
    case QMetaType::QString: {
        const QByteArray utf8 = value.toString().toUtf8();
        Check(db, sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
        break;
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        // A null pointer would store NULL, so an empty array becomes a zero-length blob.
        if (bytes.isEmpty())
            Check(db, sqlite3_bind_zeroblob(stmt, index, 0));
        else
            Check(db, sqlite3_bind_blob(stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT));
        break;
    }
    default:
        throw ContentError(std::string("Unsupported fixture value type: ") + value.typeName());
    }
}

} // namespace

FixtureDatabase::FixtureDatabase(const QString& path, const std::string& key) {
    if (QFile::exists(path) && !QFile::remove(path))
        throw ContentError("Cannot replace fixture file " + path.toStdString());
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database = SqliteDatabase(handle);
    if (rc != SQLITE_OK)
        throw ContentError(handle ? sqlite3_errmsg(handle) : "out of memory");
    Check(handle, sqlite3_key(handle, key.data(), int(key.size())));
    // The file exists on disk only after the first write; this makes an empty keyed database.
    Exec("PRAGMA user_version = 1;");
}

void FixtureDatabase::Exec(const std::string& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(Database.Get(), sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errmsg(Database.Get());
        sqlite3_free(message);
        throw ContentError(text);
    }
}

void FixtureDatabase::Insert(const std::string& table,
                             const std::vector<std::pair<std::string, QVariant>>& row) {
    std::string columns;
    std::string marks;
    for (const auto& [name, value] : row) {
        if (!columns.empty()) {
            columns += ", ";
            marks += ", ";
        }
        columns += '"' + name + '"';
        marks += '?';
    }
    const std::string sql = "INSERT INTO \"" + table + "\" (" + columns + ") VALUES (" + marks + ")";
    SqliteStatement stmt(Database.Get(), sql);
    int index = 1;
    for (const auto& item : row)
        Bind(Database.Get(), stmt.Get(), index++, item.second);
    Check(Database.Get(), sqlite3_step(stmt.Get()));
}

void FixtureDatabase::Begin() {
    Exec("BEGIN");
}
void FixtureDatabase::Commit() {
    Exec("COMMIT");
}

// No keys or constraints, so that tests can store duplicate or partial rows.
void CreateQuranTables(FixtureDatabase& db) {
    db.Exec("CREATE TABLE Soureh (SourehID INTEGER, SourehName TEXT, Maki INTEGER,"
            " PageID INTEGER, NumberOfAyeh INTEGER);"
            "CREATE TABLE Ayeh (SourehID INTEGER, AyehID INTEGER, PageID INTEGER,"
            " StartLine INTEGER, EndLine INTEGER, StartCol INTEGER, EndCol INTEGER,"
            " StartAyeh INTEGER, EndAyeh INTEGER, FarsiTranslation TEXT);"
            "CREATE TABLE Pages (PageID INTEGER, PageBMP BLOB, Joze INTEGER, Hezb TEXT,"
            " OtherComment TEXT);"
            "CREATE TABLE Lines (LineID INTEGER, PageID INTEGER, StartRow INTEGER, EndRow INTEGER);");
}

void CreateSoundTables(FixtureDatabase& db) {
    db.Exec("CREATE TABLE Sounds (SourehID INTEGER, AyehID INTEGER, GhariID INTEGER, Sound BLOB);");
}

void CreateAyehTextTable(FixtureDatabase& db) {
    db.Exec("CREATE TABLE AyehText (SourehID INTEGER, AyehID INTEGER, Text TEXT);");
}

QByteArray MakeBitmap8(int width, int height, quint8 background, const std::vector<QRect>& darkRects,
                       quint8 ink) {
    const int stride = (width + 3) / 4 * 4;
    const int paletteSize = 256 * 4;
    const int pixelOffset = 14 + 40 + paletteSize;
    const int fileSize = pixelOffset + stride * height;
    QByteArray file(fileSize, '\0');
    auto* data = reinterpret_cast<uchar*>(file.data());
    // File header.
    data[0] = 'B';
    data[1] = 'M';
    qToLittleEndian<quint32>(quint32(fileSize), data + 2);
    qToLittleEndian<quint32>(pixelOffset, data + 10);
    // Information header.
    uchar* info = data + 14;
    qToLittleEndian<quint32>(40, info);
    qToLittleEndian<qint32>(width, info + 4);
    qToLittleEndian<qint32>(height, info + 8); // positive: rows stored bottom-up
    qToLittleEndian<quint16>(1, info + 12);
    qToLittleEndian<quint16>(8, info + 14);
    qToLittleEndian<quint32>(0, info + 16); // BI_RGB
    qToLittleEndian<quint32>(quint32(stride * height), info + 20);
    qToLittleEndian<qint32>(2835, info + 24);
    qToLittleEndian<qint32>(2835, info + 28);
    qToLittleEndian<quint32>(256, info + 32);
    qToLittleEndian<quint32>(0, info + 36);
    uchar* palette = info + 40;
    for (int i = 0; i < 256; ++i) {
        palette[i * 4 + 0] = uchar(i);
        palette[i * 4 + 1] = uchar(i);
        palette[i * 4 + 2] = uchar(i);
    }
    uchar* pixels = data + pixelOffset;
    for (int y = 0; y < height; ++y) {
        uchar* line = pixels + (height - 1 - y) * stride;
        for (int x = 0; x < width; ++x)
            line[x] = background;
    }
    const QRect bounds(0, 0, width, height);
    for (const QRect& rect : darkRects) {
        const QRect area = rect.intersected(bounds);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            uchar* line = pixels + (height - 1 - y) * stride;
            for (int x = area.left(); x <= area.right(); ++x)
                line[x] = ink;
        }
    }
    return file;
}

QByteArray WithBlobHeader(const QByteArray& bitmapFile) {
    QByteArray header(8, '\0');
    auto* data = reinterpret_cast<uchar*>(header.data());
    qToLittleEndian<quint16>(1, data);
    qToLittleEndian<quint16>(0x0100, data + 2);
    qToLittleEndian<quint32>(quint32(bitmapFile.size()), data + 4);
    return header + bitmapFile;
}

std::string FixtureConnectionString(const QString& path, const std::string& key, const std::string& mode) {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path.toStdString() + ";Mode=" + mode +
           ";Persist Security Info=False;Jet OLEDB:Database Password=" + key;
}
