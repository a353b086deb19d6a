#include "tests/tools/SoundToolSupport.h"

#include "content/Database.h"
#include "tools/Sounds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <sqlite3.h>

ToolRun RunContentTool(const QStringList& args) {
    QProcess process;
    process.setProgram(QStringLiteral(GOLVAR_BINARY_DIR "/golvar-content"));
    process.setArguments(args);
    process.start();
    ToolRun run;
    if (!process.waitForFinished(120000)) {
        ADD_FAILURE() << "golvar-content did not finish: " << process.errorString().toStdString();
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

ToolRun RunContentToolWhileOpen(const QString& folder, const char* connectionString,
                                const QStringList& args) {
    const QString previous = QDir::currentPath();
    EXPECT_TRUE(QDir::setCurrent(folder));
    ToolRun run;
    {
        const Connection reader(connectionString);
        run = RunContentTool(args);
    }
    QDir::setCurrent(previous);
    return run;
}

std::map<RecordingKey, QByteArray> ReadSounds(const QString& path) {
    KeyedDatabase database(path, SoundDatabaseKey, KeyedDatabase::OpenMode::ReadOnly);
    SqliteStatement rows(database.Handle(), "SELECT SourehID, AyehID, GhariID, Sound FROM Sounds");
    std::map<RecordingKey, QByteArray> sounds;
    while (sqlite3_step(rows.Get()) == SQLITE_ROW) {
        const auto* blob = static_cast<const char*>(sqlite3_column_blob(rows.Get(), 3));
        sounds[{sqlite3_column_int(rows.Get(), 0), sqlite3_column_int(rows.Get(), 1),
                sqlite3_column_int(rows.Get(), 2)}] = QByteArray(blob, sqlite3_column_bytes(rows.Get(), 3));
    }
    return sounds;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QString InstalledQuranDbPackage() {
    const QString dir = QStringLiteral(GOLVAR_SOURCE_DIR "/.cache/sources/quran-db");
    return QFileInfo::exists(dir + QStringLiteral("/utils/quran_text.js")) ? dir : QString();
}
