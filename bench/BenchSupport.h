#pragma once
// What every benchmark program shares: the content folder it runs on, a private home so that
// no run touches the user's settings or sound cache, and the measures the programs report.
// The stand-ins for the window's controls are the tests' (tests/support/DisplayDoubles.h).

#include "content/Database.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

// Points HOME and the XDG folders into a temporary folder for the life of the process.
// Call before the Qt application object exists.
class PrivateHome final {
public:
    PrivateHome();
    QString Path() const { return Dir.path(); }

private:
    QTemporaryDir Dir;
};

// The content folder: GOLVAR_BENCH_DATA when set, else "data" under the source tree.
// Exits with a message when it holds no quran.dat.
QString ContentFolder();

// quran.dat of the content folder, opened as the reader opens it: by name from that folder.
std::unique_ptr<Connection> OpenContentQuran();

// Monotonic clock in nanoseconds, comparable between processes.
long long MonotonicNanoseconds();

// Median, minimum and maximum of a list of figures.
struct Spread {
    double Median = 0;
    double Min = 0;
    double Max = 0;
};
Spread SpreadOf(std::vector<double> values);
