#include "fuzz/FuzzEntries.h"

#include "audio/AudioPlayer.h"
#include "audio/WavDecoder.h"
#include "content/Database.h"
#include "model/Page.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <cstdlib>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <string_view>

namespace golvar_fuzz {

namespace {

// Keeps the pixel reads from being optimised away.
volatile unsigned Sink;

// A private folder for the files the entries need, removed at exit by its own destructor
// (an exit handler registered while the path was being made would run after the path died).
struct PrivateFolder {
    PrivateFolder() {
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/golvar-fuzz.XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        Path = QString::fromLocal8Bit(pattern);
    }
    ~PrivateFolder() { QDir(Path).removeRecursively(); }
    QString Path;
};

const QString& WorkFolder() {
    static const PrivateFolder folder;
    return folder.Path;
}

void ExecOrAbort(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        std::abort();
}

// An Ayeh-shaped table with the kinds of values a filter meets: ordinary integers, nulls,
// texts with and without a number, reals and extreme integers.
QString CreateFilterDatabase() {
    const QString path = WorkFolder() + QStringLiteral("/filter.dat");
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        std::abort();
    const SqliteDatabase db(raw);
    if (sqlite3_key(raw, "fuzz", 4) != SQLITE_OK)
        std::abort();
    ExecOrAbort(raw, "CREATE TABLE Ayeh (SourehID INTEGER, AyehID INTEGER, StartAyeh INTEGER, "
                     "EndAyeh INTEGER, Note TEXT, Weight REAL)");
    ExecOrAbort(raw, "INSERT INTO Ayeh VALUES (1, 1, 1, 463, 'a', 1.5), (1, 2, 463, 900, '12', -0.5), "
                     "(2, 1, NULL, 20, NULL, NULL), (2, 2, 9223372036854775807, -9223372036854775808, "
                     "'7x', 1e300), (3, 0, 0, 0, '', 0), (NULL, NULL, NULL, NULL, NULL, NULL)");
    return path;
}

struct FilterFixture {
    std::unique_ptr<Connection> Db;
    std::unique_ptr<ResultSet> Rows;
};

FilterFixture& Filtered() {
    static FilterFixture fixture = [] {
        FilterFixture made;
        const std::string text =
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + CreateFilterDatabase().toStdString() +
            ";Mode=Share Deny Write;Jet OLEDB:Database Password=fuzz";
        made.Db = std::make_unique<Connection>(text);
        made.Rows = std::make_unique<ResultSet>(*made.Db, "select * from Ayeh ");
        return made;
    }();
    return fixture;
}

} // namespace

void PageBlob(const std::uint8_t* data, std::size_t size) {
    const QByteArray blob(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QImage picture;
    try {
        picture = DecodePagePicture(blob);
    } catch (const ModelError&) {
        return;
    }
    ConvertPagePictureTo24Bits(picture);
    unsigned sum = 0;
    const int rowBytes = picture.width() * 3;
    for (int y = 0; y < picture.height(); ++y) {
        const uchar* row = picture.constScanLine(y);
        for (int x = 0; x < rowBytes; x += 97)
            sum += row[x];
    }
    Sink = sum;
}

void Wav(const std::uint8_t* data, std::size_t size) {
    const QString path = WorkFolder() + QStringLiteral("/input.wav");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != qint64(size))
        std::abort();
    file.close();
    try {
        const auto sound = DecodeWav(path, OutputFormat{});
        if (sound->Bytes.size() % static_cast<std::size_t>(sound->Format.FrameBytes()) != 0)
            std::abort(); // the player copies whole frames
    } catch (const AudioError&) {
    }
}

void ConnectionStringText(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        ConnectionString parsed = ConnectionString::Parse(text);
        for (const auto& [key, value] : parsed.Settings()) {
            const auto found = parsed.Value(key);
            if (!found)
                std::abort(); // every parsed key can be asked for
        }
        (void)parsed.Value("Data Source");
        parsed.Wipe();
        if (!parsed.Settings().empty())
            std::abort();
    } catch (const ContentError&) {
    }
}

void FilterText(const std::uint8_t* data, std::size_t size) {
    ResultSet& rows = *Filtered().Rows;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        rows.SetFilter(text);
    } catch (const ContentError&) {
        // The previous filter stays in force.
    }
    rows.SetFiltered(true);
    int seen = 0;
    for (rows.First(); !rows.Eof(); rows.Next()) {
        if (!rows.FieldByName("SourehID").IsNull())
            (void)rows.FieldByName("SourehID").AsInteger();
        ++seen;
    }
    if (seen != rows.RecordCount())
        std::abort();
    (void)rows.Locate("AyehID", 2);
    rows.SetFiltered(false);
    if (rows.RecordCount() != 6)
        std::abort();
}

} // namespace golvar_fuzz
