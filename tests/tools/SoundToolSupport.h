#pragma once
// Helpers for the tests of the sound and translation commands: running golvar-content as
// a user would, and writing audio fixtures with libsndfile.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct ToolRun {
    int ExitCode = -1;
    QString Out;
    QString Err;
};

// Runs the built golvar-content with `args` and waits for it (at most two minutes).
ToolRun RunContentTool(const QStringList& args);

QByteArray FileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);

// Writes a sine tone of `seconds` to `path` in the libsndfile `format` (major | subtype).
void WriteToneFile(const QString& path, int format, int sampleRate, int channels, double seconds);

// The quran-db package fetched at set-up, or empty when it is not there.
QString InstalledQuranDbPackage();
