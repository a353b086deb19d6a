#include "tools/Sounds.h"

#include "content/MushafCounts.h"
#include "tools/Commands.h"
#include "tools/PageList.h"
#include "tools/QuranSources.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryFile>
#include <QTextStream>
#include <QtConcurrent/QtConcurrentMap>
#include <SDL.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <set>
#include <sndfile.h>
#include <sqlite3.h>
#include <tuple>

// ---------------------------------------------------------------------------------------
// verify: the recordings

namespace {

bool IsReaderKey(sqlite3_int64 soureh, sqlite3_int64 ayeh, sqlite3_int64 ghari) {
    if (ghari < 1 || ghari > ReciterCount)
        return false;
    if (soureh == 0)
        return ayeh == 0;
    return soureh <= SourehCount && ayeh >= 1 && ayeh <= NumberOfAyehs(int(soureh));
}

} // namespace

int VerifyRecordings(const QString& soundDbPath, QTextStream& report) {
    constexpr int ListLimit = 20;
    int faults = 0;
    int listed = 0;
    auto fault = [&](const QString& text) {
        ++faults;
        if (listed++ < ListLimit)
            report << "fault: " << text << '\n';
    };

    std::optional<KeyedDatabase> opened;
    try {
        opened.emplace(OpenSoundDatabase(soundDbPath, KeyedDatabase::OpenMode::ReadOnly));
    } catch (const ToolError& error) {
        report << "fault: " << QString::fromUtf8(error.what()) << '\n';
        return 1;
    }
    KeyedDatabase& database = *opened;
    report << "Recordings in " << database.Path() << ":\n";

    std::map<int, QString> names;
    if (database.HasTable("Reciters") && database.HasColumn("Reciters", "GhariID") &&
        database.HasColumn("Reciters", "Name")) {
        SqliteStatement rows(database.Handle(), "SELECT GhariID, Name FROM Reciters");
        while (sqlite3_step(rows.Get()) == SQLITE_ROW)
            names[sqlite3_column_int(rows.Get(), 0)] =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(rows.Get(), 1)));
    }

    // Present keys per reciter, in the reader's key space; each is counted once.
    std::array<std::set<std::pair<int, int>>, ReciterCount + 1> present;
    ProgressBar progress(QStringLiteral("recordings"), [&] {
        SqliteStatement count(database.Handle(), "SELECT count(*) FROM Sounds");
        return sqlite3_step(count.Get()) == SQLITE_ROW ? sqlite3_column_int64(count.Get(), 0) : 0;
    }());
    SqliteStatement rows(database.Handle(), "SELECT SourehID, AyehID, GhariID, Sound, typeof(SourehID),"
                                            " typeof(AyehID), typeof(GhariID) FROM Sounds"
                                            " ORDER BY GhariID, SourehID, AyehID");
    std::map<std::tuple<qint64, qint64, qint64>, int> seen;
    int rc;
    while ((rc = sqlite3_step(rows.Get())) == SQLITE_ROW) {
        progress.Advance();
        const sqlite3_int64 s = sqlite3_column_int64(rows.Get(), 0);
        const sqlite3_int64 a = sqlite3_column_int64(rows.Get(), 1);
        const sqlite3_int64 g = sqlite3_column_int64(rows.Get(), 2);
        const QString where =
            QStringLiteral("reciter %1, %2")
                .arg(g)
                .arg(s == 0 && a == 0 ? QStringLiteral("Bismillah") : QStringLiteral("%1:%2").arg(s).arg(a));
        bool integers = true;
        for (int column = 4; column <= 6; ++column)
            integers = integers &&
                       std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(rows.Get(), column)),
                                   "integer") == 0;
        if (!integers || !IsReaderKey(s, a, g)) {
            fault(
                QStringLiteral(
                    "a row with the key %1 (soureh %2, ayeh %3, reciter %4), which the reader never asks for")
                    .arg(where,
                         QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(rows.Get(), 0))),
                         QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(rows.Get(), 1))),
                         QString::fromUtf8(
                             reinterpret_cast<const char*>(sqlite3_column_text(rows.Get(), 2)))));
            continue;
        }
        if (++seen[{s, a, g}] == 2)
            fault(QStringLiteral("%1 has more than one row; the reader plays none of them").arg(where));
        present[size_t(g)].emplace(int(s), int(a));
        const void* blob = sqlite3_column_blob(rows.Get(), 3);
        const QByteArray wav =
            QByteArray::fromRawData(static_cast<const char*>(blob), sqlite3_column_bytes(rows.Get(), 3));
        if (const QString why = PlayerDecodeFailure(wav); !why.isEmpty())
            fault(QStringLiteral("the recording of %1 does not decode: %2").arg(where, why));
    }
    if (rc != SQLITE_DONE)
        fault(QStringLiteral("reading the recordings failed: %1")
                  .arg(QString::fromUtf8(sqlite3_errmsg(database.Handle()))));
    progress.Finish();

    for (int g = 1; g <= ReciterCount; ++g) {
        const auto& keys = present[size_t(g)];
        const std::vector<std::pair<int, int>> missing = MissingRecordings(keys);
        const int ayehs = int(keys.size()) - (keys.count({0, 0}) ? 1 : 0);
        report << "  reciter " << g;
        if (names.count(g))
            report << " (" << names[g] << ")";
        report << ": " << ayehs << " of " << TotalAyehCount << " ayehs, "
               << (keys.count({0, 0}) ? "with" : "without") << " a Bismillah";
        if (!missing.empty())
            report << "; missing " << missing.size() << ": " << DescribeAyehRanges(missing, 12);
        report << '\n';
        if (keys.empty())
            fault(QStringLiteral("reciter %1 has no recording at all").arg(g));
    }
    if (listed > ListLimit)
        report << "fault: ... and " << (listed - ListLimit) << " more\n";
    report << (faults == 0 ? QStringLiteral("Recordings: no faults.\n")
                           : QStringLiteral("Recordings: %1 faults.\n").arg(faults));
    return faults;
}

// ---------------------------------------------------------------------------------------
// sample-sounds: generated recordings that are plainly not a recitation

namespace {

constexpr int SampleRate = 8000;

struct Partial {
    double Ratio;
    double Amplitude;
};

// Each sample reciter is a voice of its own: a register and a mix of partials. A decay above
// zero makes every note ring out like a bell.
struct Timbre {
    double RootHz;
    std::vector<Partial> Partials;
    double Decay;
};

const std::array<Timbre, ReciterCount>& Timbres() {
    static const std::array<Timbre, ReciterCount> timbres = {{
        {262.0, {{1, 1.0}}, 0.0},
        {196.0, {{1, 1.0}, {2, 0.5}, {3, 0.25}}, 0.0},
        {220.0, {{1, 1.0}, {3, 0.35}, {5, 0.2}}, 0.0},
        {165.0, {{1, 1.0}, {2, 0.6}, {3, 0.45}, {4, 0.3}, {5, 0.2}}, 0.0},
        {330.0, {{1, 1.0}, {2.76, 0.4}, {5.4, 0.2}}, 2.5},
    }};
    return timbres;
}

// An ayeh sounds for a time that grows with its letters.
double DurationFor(const QString& text) {
    int letters = 0;
    for (const QChar c : text)
        letters += c.isLetter() ? 1 : 0;
    return 0.3 + 0.0065 * letters;
}

// A soft pentatonic phrase: about four notes a second, each rising and falling smoothly
// from and to silence (so no clicks), the melody a gentle walk fixed by soureh and ayeh,
// ending on the root.
MonoAudio SynthesizePhrase(const Timbre& timbre, double seconds, int sourehId, int ayehId) {
    static constexpr std::array<int, 8> Scale = {0, 2, 4, 7, 9, 12, 14, 16};
    const int notes = std::max(1, int(std::lround(seconds / 0.27)));
    const int total = int(std::lround(seconds * SampleRate));
    MonoAudio audio;
    audio.SampleRate = SampleRate;
    audio.Samples.assign(size_t(total), 0.0f);

    double amplitudeSum = 0;
    for (const Partial& p : timbre.Partials)
        amplitudeSum += p.Amplitude;
    const double gain = 0.3 / amplitudeSum;

    quint32 state = quint32(sourehId) * 2654435761u ^ quint32(ayehId) * 40503u ^ 0x9e3779b9u;
    int degree = 2;
    constexpr double Attack = 0.025;
    constexpr double Release = 0.06;
    for (int n = 0; n < notes; ++n) {
        state = state * 1664525u + 1013904223u;
        if (n == notes - 1)
            degree = 0;
        else
            degree = std::clamp(degree + int((state >> 24) % 5) - 2, 0, int(Scale.size()) - 1);
        const double frequency = timbre.RootHz * std::pow(2.0, Scale[size_t(degree)] / 12.0);
        const int begin = int(std::lround(double(n) * total / notes));
        const int end = int(std::lround(double(n + 1) * total / notes));
        const double length = double(end - begin) / SampleRate;
        for (int i = begin; i < end; ++i) {
            const double t = double(i - begin) / SampleRate;
            double envelope = 1.0;
            if (t < Attack)
                envelope = 0.5 - 0.5 * std::cos(std::numbers::pi * t / Attack);
            else if (length - t < Release)
                envelope = 0.5 - 0.5 * std::cos(std::numbers::pi * std::max(0.0, length - t) / Release);
            if (timbre.Decay > 0)
                envelope *= std::exp(-timbre.Decay * t);
            double value = 0;
            for (const Partial& p : timbre.Partials) {
                const double f = frequency * p.Ratio;
                if (f < 0.45 * SampleRate) // nothing above what the rate can carry
                    value += p.Amplitude * std::sin(2 * std::numbers::pi * f * t);
            }
            audio.Samples[size_t(i)] = float(gain * envelope * value);
        }
    }
    return audio;
}

const char* const SampleSoundsHelp =
    "Usage: golvar-content sample-sounds [--sources DIR] [--sourehs LIST] OUT\n"
    "\n"
    "Makes OUT/snd.wav, a sound database of five sample reciters, each with a recording of\n"
    "every ayeh and a Bismillah. The recordings are generated tone patterns, not recitations:\n"
    "an ayeh's phrase lasts longer the more letters the ayeh has, and every sample reciter\n"
    "has a timbre of its own. They are IMA ADPCM WAV files, mono at 8000 Hz. The reciters are\n"
    "named in the Reciters table. An existing OUT/snd.wav is replaced only when the new file\n"
    "is complete.\n"
    "\n"
    "Options:\n"
    "  --sources DIR   the quran-db package folder (default: .cache/sources/quran-db)\n"
    "  --sourehs LIST  only these sourehs, e.g. 1,2,110-114 (for quick tests)\n"
    "  --help          show this text\n"
    "\n"
    "Exit status: 0 done, 1 failed, 2 wrong usage.\n";

} // namespace

int RunSampleSounds(const QStringList& args) {
    constexpr const char* Command = "sample-sounds";
    QCommandLineParser parser;
    const QCommandLineOption sourcesOption(QStringLiteral("sources"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption sourehsOption(QStringLiteral("sourehs"), QString(), QStringLiteral("LIST"));
    parser.addOptions({sourcesOption, sourehsOption});
    if (const int code = ParseCommandLine(parser, args, Command, SampleSoundsHelp, 1); code >= 0)
        return code;

    QList<int> sourehs;
    if (parser.isSet(sourehsOption)) {
        try {
            sourehs = ParsePageList(parser.value(sourehsOption), SourehCount);
        } catch (const ToolError&) {
            return ReportFailure(
                Command,
                QStringLiteral("--sourehs wants soureh numbers from 1 to %1, such as 1,2,110-114")
                    .arg(SourehCount),
                2);
        }
    } else {
        for (int s = 1; s <= SourehCount; ++s)
            sourehs.push_back(s);
    }
    const QString outDir = parser.positionalArguments().front();

    try {
        const InterruptGuard interruptible;
        QElapsedTimer clock;
        clock.start();
        const QuranSources sources = QuranSources::Load(FindQuranDbPackage(parser.value(sourcesOption)));

        if (!QDir().mkpath(outDir))
            throw ToolError(
                QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(outDir)));
        const QString target = QDir(outDir).filePath(QString::fromLatin1(SoundDatabaseFile));
        // Built beside the target and renamed over it, so that the old file stays whole until
        // the new one is.
        QTemporaryFile temporary(QDir(outDir).filePath(QStringLiteral(".snd.wav.XXXXXX")));
        if (!temporary.open())
            throw ToolError(QStringLiteral("cannot write in %1: %2")
                                .arg(QDir::toNativeSeparators(outDir), temporary.errorString()));
        temporary.close();

        qint64 recordings = 0;
        {
            KeyedDatabase database(temporary.fileName(), SoundDatabaseKey, KeyedDatabase::OpenMode::Create);
            // A failed run throws the whole file away, so no journal is needed.
            database.Exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
            WriteTransaction transaction(database);
            CreateSoundTables(database);
            for (int g = 1; g <= ReciterCount; ++g)
                StoreReciterName(
                    database, g,
                    QStringLiteral("نمونه %1").arg(QLocale(QLocale::Persian, QLocale::Iran).toString(g)));

            qint64 perReciter = 1;
            for (const int s : sourehs)
                perReciter += NumberOfAyehs(s);
            ProgressBar progress(QStringLiteral("sample recordings"), perReciter * ReciterCount);
            SqliteStatement insert(
                database.Handle(),
                "INSERT INTO Sounds (SourehID, AyehID, GhariID, Sound) VALUES (?1, ?2, ?3, ?4)");
            // The recordings are made on every core, a batch at a time, and stored in order.
            struct Recording {
                int SourehId, AyehId, GhariId;
                double Seconds;
            };
            std::vector<Recording> batch;
            auto flush = [&] {
                InterruptGuard::CheckInterrupted();
                const QList<QByteArray> wavs =
                    QtConcurrent::blockingMapped<QList<QByteArray>>(batch, [](const Recording& r) {
                        try {
                            return EncodeWav(SynthesizePhrase(Timbres()[size_t(r.GhariId - 1)], r.Seconds,
                                                              r.SourehId, r.AyehId),
                                             WavEncoding::ImaAdpcm);
                        } catch (const ToolError&) {
                            return QByteArray(); // reported below; exceptions must not cross the pool
                        }
                    });
                for (size_t i = 0; i < batch.size(); ++i) {
                    const QByteArray& wav = wavs[qsizetype(i)];
                    if (wav.isEmpty())
                        throw ToolError(QStringLiteral("cannot encode a sample recording"));
                    sqlite3_reset(insert.Get());
                    sqlite3_bind_int(insert.Get(), 1, batch[i].SourehId);
                    sqlite3_bind_int(insert.Get(), 2, batch[i].AyehId);
                    sqlite3_bind_int(insert.Get(), 3, batch[i].GhariId);
                    sqlite3_bind_blob(insert.Get(), 4, wav.constData(), int(wav.size()), SQLITE_STATIC);
                    if (sqlite3_step(insert.Get()) != SQLITE_DONE)
                        database.Fail(QStringLiteral("cannot store a recording"));
                    ++recordings;
                }
                progress.Advance(qint64(batch.size()));
                batch.clear();
            };
            auto add = [&](int s, int a, int g, const QString& ayehText) {
                batch.push_back({s, a, g, DurationFor(ayehText)});
                if (batch.size() == 256)
                    flush();
            };
            for (int g = 1; g <= ReciterCount; ++g) {
                add(0, 0, g, sources.Ayeh(1, 1).Text); // 1:1 is the Bismillah
                for (const int s : sourehs)
                    for (int a = 1; a <= NumberOfAyehs(s); ++a)
                        add(s, a, g, sources.Ayeh(s, a).Text);
            }
            flush();
            transaction.Commit();
            progress.Finish();
        }

        ReplaceFile(temporary.fileName(), target,
                    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        temporary.setAutoRemove(false);
        PrintNote(QStringLiteral("%1: %2 sample recordings of %3 reciters, %4 MB, in %5 s")
                      .arg(QDir::toNativeSeparators(target))
                      .arg(recordings)
                      .arg(ReciterCount)
                      .arg(double(QFileInfo(target).size()) / 1e6, 0, 'f', 1)
                      .arg(double(clock.elapsed()) / 1000.0, 0, 'f', 1));
        return 0;
    } catch (const ToolError& error) {
        return ReportFailure(Command, QString::fromUtf8(error.what()));
    } catch (const ContentError& error) {
        return ReportFailure(Command, QString::fromUtf8(error.what()));
    }
}
