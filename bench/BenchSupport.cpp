#include "bench/BenchSupport.h"

#include "content/ContentKeys.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

PrivateHome::PrivateHome() {
    if (!Dir.isValid()) {
        std::fprintf(stderr, "bench: no temporary folder\n");
        std::exit(2);
    }
    const QByteArray home = QFile::encodeName(Dir.path());
    ::setenv("HOME", home.constData(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/config").constData(), 1);
    ::setenv("XDG_CACHE_HOME", (home + "/cache").constData(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/share").constData(), 1);
}

QString ContentFolder() {
    const QByteArray given = qgetenv("GOLVAR_BENCH_DATA");
    const QString folder =
        QDir(given.isEmpty() ? QStringLiteral(GOLVAR_SOURCE_DIR "/data") : QFile::decodeName(given))
            .absolutePath();
    if (!QDir(folder).exists(QString::fromLatin1(QuranDatabaseFile))) {
        std::fprintf(stderr, "bench: %s holds no %s; run `make content` first\n", qPrintable(folder),
                     QuranDatabaseFile);
        std::exit(2);
    }
    return folder;
}

std::unique_ptr<Connection> OpenContentQuran() {
    const QString folder = ContentFolder();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    auto quran = std::make_unique<Connection>(QuranConnectionString);
    QDir::setCurrent(previous);
    return quran;
}

long long MonotonicNanoseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

Spread SpreadOf(std::vector<double> values) {
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}
