#include "tests/tools/TextContent.h"

#include "content/ContentKeys.h"
#include "tests/tools/SoundToolSupport.h"
#include "tools/ImportSupport.h"
#include "tools/PrintedMushaf.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>

QString SharedContentFolder(QString* why) {
    static std::unique_ptr<QTemporaryDir> folder;
    static QString failure;
    if (!folder && failure.isEmpty()) {
        const QString sources = InstalledQuranDbPackage();
        if (sources.isEmpty() || InstalledPrintPackage().isEmpty()) {
            failure =
                QStringLiteral("the quran-db or @saqfish/asim sources are not installed (scripts/setup.sh)");
        } else {
            auto made = std::make_unique<QTemporaryDir>();
            const ToolRun run =
                RunContentTool({QStringLiteral("build-text"), QStringLiteral("--sources"), sources,
                                QStringLiteral("--print"), InstalledPrintPackage(), QStringLiteral("--pages"),
                                QString::fromUtf8(SharedPages), made->path()});
            if (run.ExitCode == 0)
                folder = std::move(made);
            else
                failure = QStringLiteral("build-text failed (%1): %2").arg(run.ExitCode).arg(run.Err);
        }
    }
    if (why)
        *why = failure;
    return folder ? folder->path() : QString();
}

void SharedContentTest::SetUp() {
    QString why;
    Folder = SharedContentFolder(&why);
    if (Folder.isEmpty()) {
        if (why.contains(QStringLiteral("not installed")))
            GTEST_SKIP() << why.toStdString();
        FAIL() << why.toStdString();
    }
    Db = QDir(Folder).filePath(QStringLiteral("quran.dat"));
}

QString InstalledPrintPackage() {
    const QString dir = QStringLiteral(GOLVAR_SOURCE_DIR "/.cache/sources/asim");
    return QFileInfo::exists(dir + QStringLiteral("/data/hafs/raw.json")) ? dir : QString();
}

const PrintedMushaf* InstalledPrint() {
    static const std::unique_ptr<PrintedMushaf> print = []() -> std::unique_ptr<PrintedMushaf> {
        if (InstalledPrintPackage().isEmpty())
            return nullptr;
        return std::make_unique<PrintedMushaf>(PrintedMushaf::Load(InstalledPrintPackage()));
    }();
    return print.get();
}

std::vector<std::vector<QString>> TextRows(const QString& path, const char* sql) {
    std::vector<std::vector<QString>> rows;
    try {
        KeyedDatabase database(path, QuranDatabaseKey, KeyedDatabase::OpenMode::ReadOnly);
        SqliteStatement statement(database.Handle(), sql);
        while (sqlite3_step(statement.Get()) == SQLITE_ROW) {
            std::vector<QString> row;
            for (int i = 0; i < sqlite3_column_count(statement.Get()); ++i)
                row.push_back(QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement.Get(), i))));
            rows.push_back(std::move(row));
        }
    } catch (const std::exception& error) {
        ADD_FAILURE() << sql << ": " << error.what();
    }
    return rows;
}

std::vector<AyehGeometry> PageAyehs(const QString& path, int pageId) {
    const std::string sql =
        "SELECT SourehID, AyehID, PageID, StartLine, EndLine, StartCol, EndCol, StartAyeh, EndAyeh "
        "FROM Ayeh WHERE PageID = " +
        std::to_string(pageId) + " ORDER BY SourehID, AyehID";
    std::vector<AyehGeometry> ayehs;
    for (const auto& row : TextRows(path, sql.c_str()))
        ayehs.push_back({row[0].toInt(), row[1].toInt(), row[2].toInt(), row[3].toInt(), row[4].toInt(),
                         row[5].toInt(), row[6].toInt(), row[7].toInt(), row[8].toInt()});
    return ayehs;
}

QByteArray PageBlob(const QString& path, int pageId) {
    try {
        KeyedDatabase database(path, QuranDatabaseKey, KeyedDatabase::OpenMode::ReadOnly);
        SqliteStatement statement(database.Handle(), "SELECT PageBMP FROM Pages WHERE PageID = ?1");
        sqlite3_bind_int(statement.Get(), 1, pageId);
        if (sqlite3_step(statement.Get()) == SQLITE_ROW)
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement.Get(), 0)),
                              sqlite3_column_bytes(statement.Get(), 0));
    } catch (const std::exception& error) {
        ADD_FAILURE() << error.what();
    }
    return {};
}

QImage PagePicture(const QString& path, int pageId) {
    return QImage::fromData(PageBlob(path, pageId), "BMP");
}

void ExecuteOn(const QString& path, const QString& sql) {
    try {
        KeyedDatabase database(path, QuranDatabaseKey, KeyedDatabase::OpenMode::ReadWrite);
        // Fixture edits need no durability; skipping the flushes keeps the tests quick.
        database.Exec("PRAGMA synchronous = OFF; " + sql.toStdString());
    } catch (const std::exception& error) {
        ADD_FAILURE() << sql.toStdString() << ": " << error.what();
    }
}
