#pragma once
// The commands of golvar-content. Each takes the arguments after its name and returns the
// process exit code: 0 done, 1 failed (or, for verify, faults found), 2 wrong usage.

#include <QStringList>

int RunBuildText(const QStringList& args);
int RunSampleSounds(const QStringList& args);
int RunImportRecitation(const QStringList& args);
int RunImportTranslation(const QStringList& args);
int RunVerify(const QStringList& args);
int RunTajweed(const QStringList& args);
