#pragma once
// Pieces shared by the commands of the content tool: the writing of content databases
// (recordings/ContentWriter.h), a progress bar for the terminal, interruption by a signal
// and the command-line conventions.

#include "recordings/ContentWriter.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

class QCommandLineParser;

// "label [#####-----] 40/100  0:12 left" redrawn in place on stderr, only when stderr is a
// terminal; otherwise silent.
class ProgressBar final {
public:
    ProgressBar(QString label, qint64 total);
    ~ProgressBar();
    void Advance(qint64 steps = 1);
    void Finish(); // draws the full bar and ends the line

private:
    void Draw();
    QString Label;
    qint64 Total;
    qint64 Done = 0;
    bool Enabled;
    bool Finished = false;
    QElapsedTimer Clock;
    qint64 LastDrawMs = -1;
};

// While one exists, SIGINT and SIGTERM only raise a flag, so that a long write can stop
// between two steps and roll back instead of dying halfway. CheckInterrupted throws
// ToolError once the flag is up.
class InterruptGuard final {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
    static void CheckInterrupted();
    static bool Interrupted();
};

// A source package fetched at set-up: `explicitDir` when given, else .cache/sources/`folderName`
// in the current folder or above the tool's own folder (the build folder). Throws ToolError
// naming the package (`what`) and the command-line `option` that names another folder.
QString FindSourcePackage(const QString& explicitDir, const QString& folderName, const QString& what,
                          const QString& option);
// The quran-db package folder, found as above.
QString FindQuranDbPackage(const QString& explicitDir);

// Command-line handling shared by the commands. Parses `args` (the words after the command)
// with `parser`; prints `help` and yields 0 for --help, prints the usage error and yields 2
// for an unknown option or a wrong number of positional words, and yields -1 to go on.
int ParseCommandLine(QCommandLineParser& parser, const QStringList& args, const char* command,
                     const char* help, int positionalCount);
// "golvar-content COMMAND: message" on stderr; returns `exitCode`.
int ReportFailure(const char* command, const QString& message, int exitCode = 1);
void PrintNote(const QString& message);
