#pragma once
// Helpers for the tests of the sound and translation commands: running golvar-content as
// a user would and reading what it stored.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <tuple>

struct ToolRun {
    int ExitCode = -1;
    QString Out;
    QString Err;
};

// Runs the built golvar-content with `args` and waits for it (at most two minutes).
ToolRun RunContentTool(const QStringList& args);

// The same, while a reader's connection, opened in `folder` with `connectionString`, holds its
// database open.
ToolRun RunContentToolWhileOpen(const QString& folder, const char* connectionString, const QStringList& args);

// Every row of the Sounds table of the sound database at `path`, by (soureh, ayeh, reciter).
using RecordingKey = std::tuple<int, int, int>;
std::map<RecordingKey, QByteArray> ReadSounds(const QString& path);

QByteArray FileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);

// The quran-db package fetched at set-up, or empty when it is not there.
QString InstalledQuranDbPackage();
