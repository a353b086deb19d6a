#include "recordings/SoundDatabase.h"

#include "audio/AudioPlayer.h"
#include "audio/Resampler.h"
#include "audio/WavDecoder.h"
#include "content/MushafCounts.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryFile>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sndfile.h>
#include <sqlite3.h>

// ---------------------------------------------------------------------------------------
// WAV files in memory

namespace {

// A growable file in memory for libsndfile's virtual I/O.
struct MemoryFile {
    QByteArray Bytes;
    sf_count_t Position = 0;
};

sf_count_t MemoryLength(void* user) {
    return static_cast<MemoryFile*>(user)->Bytes.size();
}

sf_count_t MemorySeek(sf_count_t offset, int whence, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    sf_count_t base = 0;
    if (whence == SEEK_CUR)
        base = file->Position;
    else if (whence == SEEK_END)
        base = file->Bytes.size();
    if (base + offset < 0)
        return -1;
    file->Position = base + offset;
    return file->Position;
}

sf_count_t MemoryRead(void* buffer, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t available = std::max<sf_count_t>(0, file->Bytes.size() - file->Position);
    const sf_count_t n = std::min(count, available);
    if (n > 0)
        std::memcpy(buffer, file->Bytes.constData() + file->Position, size_t(n));
    file->Position += n;
    return n;
}

sf_count_t MemoryWrite(const void* buffer, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t end = file->Position + count;
    if (end > file->Bytes.size())
        file->Bytes.resize(qsizetype(end), '\0');
    std::memcpy(file->Bytes.data() + file->Position, buffer, size_t(count));
    file->Position = end;
    return count;
}

sf_count_t MemoryTell(void* user) {
    return static_cast<MemoryFile*>(user)->Position;
}

SF_VIRTUAL_IO MemoryIo = {MemoryLength, MemorySeek, MemoryRead, MemoryWrite, MemoryTell};

// No recording comes at a higher rate; a damaged header would make the converter's work grow
// without bound. The player's decoder refuses the same.
constexpr int MaximumDecodedRate = 384000;

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

// Reads a file libsndfile opened, one block at a time, mixed down to mono: some formats (MP3)
// know their length only roughly, so it reads until the decoder stops. Returns the frames read;
// throws ToolError, also for a file without any sound.
template <class Block>
std::int64_t ReadMono(SNDFILE* file, const SF_INFO& info, const QString& name, Block&& block) {
    if (info.channels < 1 || info.samplerate < 1)
        throw ToolError(QStringLiteral("%1: no sound in it").arg(name));
    constexpr sf_count_t BlockFrames = 4096;
    std::vector<float> frames(static_cast<std::size_t>(BlockFrames * info.channels));
    std::vector<float> mono(static_cast<std::size_t>(BlockFrames));
    std::int64_t read = 0;
    for (;;) {
        const sf_count_t count = sf_readf_float(file, frames.data(), BlockFrames);
        if (count <= 0)
            break;
        read += count;
        for (sf_count_t f = 0; f < count; ++f) {
            float sum = 0;
            for (int c = 0; c < info.channels; ++c)
                sum += frames[static_cast<std::size_t>(f * info.channels + c)];
            mono[static_cast<std::size_t>(f)] = sum / float(info.channels);
        }
        block(mono.data(), count, read);
    }
    if (sf_error(file) != SF_ERR_NO_ERROR)
        throw ToolError(QStringLiteral("%1: %2").arg(name, QString::fromUtf8(sf_strerror(file))));
    if (read == 0)
        throw ToolError(QStringLiteral("%1: no sound in it").arg(name));
    return read;
}

MonoAudio ReadAll(SNDFILE* file, const SF_INFO& info, const QString& name) {
    MonoAudio audio;
    audio.SampleRate = info.samplerate;
    ReadMono(file, info, name, [&](const float* samples, sf_count_t count, std::int64_t) {
        audio.Samples.insert(audio.Samples.end(), samples, samples + count);
    });
    return audio;
}

// A WAV file of mono `rate` being written into `memory`; the header sizes are written when it
// closes. Throws ToolError.
SndfileHandle OpenWavWriter(MemoryFile& memory, int rate, WavEncoding encoding) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format =
        SF_FORMAT_WAV | (encoding == WavEncoding::ImaAdpcm ? SF_FORMAT_IMA_ADPCM : SF_FORMAT_PCM_16);
    SndfileHandle file(sf_open_virtual(&MemoryIo, SFM_WRITE, &info, &memory));
    if (!file)
        throw ToolError(
            QStringLiteral("cannot encode a WAV file: %1").arg(QString::fromUtf8(sf_strerror(nullptr))));
    sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return file;
}

// Appends `count` samples to a file OpenWavWriter opened. Throws ToolError.
void WriteSamples(SNDFILE* file, const float* samples, sf_count_t count) {
    if (sf_writef_float(file, samples, count) != count)
        throw ToolError(
            QStringLiteral("cannot encode a WAV file: %1").arg(QString::fromUtf8(sf_strerror(file))));
}

// The sample rate a sound file's header states, or 0 when libsndfile cannot read it.
int StatedRate(const QByteArray& bytes) {
    MemoryFile memory{bytes, 0};
    SF_INFO info{};
    const SndfileHandle file(sf_open_virtual(&MemoryIo, SFM_READ, &info, &memory));
    return file ? info.samplerate : 0;
}

} // namespace

QByteArray EncodeWav(const MonoAudio& audio, WavEncoding encoding) {
    MemoryFile memory;
    SndfileHandle file = OpenWavWriter(memory, audio.SampleRate, encoding);
    WriteSamples(file.get(), audio.Samples.data(), sf_count_t(audio.Samples.size()));
    file.reset(); // writes the final header sizes
    return memory.Bytes;
}

MonoAudio DecodeAudioBytes(const QByteArray& bytes) {
    MemoryFile memory{bytes, 0};
    SF_INFO info{};
    SndfileHandle file(sf_open_virtual(&MemoryIo, SFM_READ, &info, &memory));
    if (!file)
        throw ToolError(QStringLiteral("cannot decode: %1").arg(QString::fromUtf8(sf_strerror(nullptr))));
    return ReadAll(file.get(), info, QStringLiteral("recording"));
}

MonoAudio Resample(const MonoAudio& audio, int rate) {
    if (audio.SampleRate == rate || audio.Samples.empty())
        return audio;
    try {
        Resampler converter({SampleType::F32, 1, audio.SampleRate}, {SampleType::F32, 1, rate});
        std::vector<std::uint8_t> bytes;
        converter.Put(audio.Samples.data(), audio.Samples.size() * sizeof(float), bytes);
        converter.Finish(bytes);
        MonoAudio out;
        out.SampleRate = rate;
        out.Samples.resize(bytes.size() / sizeof(float));
        if (!out.Samples.empty())
            std::memcpy(out.Samples.data(), bytes.data(), out.Samples.size() * sizeof(float));
        return out;
    } catch (const AudioError& error) {
        throw ToolError(QStringLiteral("cannot resample: %1").arg(QString::fromUtf8(error.what())));
    }
}

StoredRecording ConvertRecordingFile(const QString& path, int maxRate, WavEncoding encoding) {
    const QString name = QDir::toNativeSeparators(path);
    SF_INFO info{};
    const SndfileHandle in(sf_open(QFile::encodeName(path).constData(), SFM_READ, &info));
    if (!in)
        throw ToolError(QStringLiteral("%1: %2").arg(name, QString::fromUtf8(sf_strerror(nullptr))));
    if (info.channels < 1 || info.samplerate < 1)
        throw ToolError(QStringLiteral("%1: no sound in it").arg(name));
    if (info.samplerate > MaximumDecodedRate)
        throw ToolError(
            QStringLiteral("%1: a sample rate of %2 Hz is not taken").arg(name).arg(info.samplerate));
    StoredRecording stored;
    stored.Rate = std::min(info.samplerate, maxRate);

    MemoryFile memory;
    SndfileHandle out = OpenWavWriter(memory, stored.Rate, encoding);
    // Each block is converted and encoded before the next is read.
    const std::int64_t longest = std::int64_t{LongestRecordingSeconds} * info.samplerate;
    std::vector<std::uint8_t> converted;
    std::vector<float> samples;
    const auto write = [&] {
        if (converted.size() < sizeof(float))
            return;
        samples.resize(converted.size() / sizeof(float));
        std::memcpy(samples.data(), converted.data(), samples.size() * sizeof(float));
        converted.clear();
        WriteSamples(out.get(), samples.data(), sf_count_t(samples.size()));
        stored.Frames += std::int64_t(samples.size());
    };
    std::int64_t decoded = 0;
    try {
        Resampler converter({SampleType::F32, 1, info.samplerate}, {SampleType::F32, 1, stored.Rate});
        decoded = ReadMono(in.get(), info, name, [&](const float* mono, sf_count_t count, std::int64_t read) {
            if (read > longest)
                throw ToolError(QStringLiteral("%1: longer than %2 minutes, more than any ayeh's recitation")
                                    .arg(name)
                                    .arg(LongestRecordingSeconds / 60));
            converter.Put(mono, static_cast<std::size_t>(count) * sizeof(float), converted);
            write();
        });
        converter.Finish(converted);
        write();
    } catch (const AudioError& error) {
        throw ToolError(QStringLiteral("%1: cannot convert: %2").arg(name, QString::fromUtf8(error.what())));
    }
    if (stored.Frames != Resampler::OutputFrames(decoded, info.samplerate, stored.Rate))
        throw ToolError(
            QStringLiteral("%1: %2 frames decoded became %3").arg(name).arg(decoded).arg(stored.Frames));
    if (sf_close(out.release()) != 0) // writes the final header sizes
        throw ToolError(QStringLiteral("cannot encode a WAV file for %1").arg(name));
    stored.Wav = std::move(memory.Bytes);
    return stored;
}

std::int64_t StoredFrames(const QByteArray& wav) {
    MemoryFile memory{wav, 0};
    SF_INFO info{};
    const SndfileHandle file(sf_open_virtual(&MemoryIo, SFM_READ, &info, &memory));
    return file ? std::int64_t{info.frames} : -1;
}

QString PlayerDecodeFailure(const QByteArray& wav) {
    if (wav.isEmpty())
        return QStringLiteral("the recording is empty");
    // The reader writes a recording out to a file and opens that with the player's decoder;
    // so does this check, so that a recording passes here exactly when it plays there.
    QTemporaryFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("golvar-check-XXXXXX.wav")));
    if (!file.open() || file.write(wav) != wav.size() || !file.flush())
        return QStringLiteral("it cannot be written to %1 for the decoder: %2")
            .arg(QDir::toNativeSeparators(QDir::tempPath()), file.errorString());
    // The player converts to its device's rate, which cannot fail once the decoder has taken a
    // recording (its checks all come first). Keeping the rate the header states spares the
    // resampling, which would make the check of a whole recitation several times slower.
    OutputFormat target;
    if (const int rate = StatedRate(wav); rate > 0)
        target.Rate = rate;
    try {
        if (DecodeWav(file.fileName(), target)->Frames() == 0)
            return QStringLiteral("the recording holds no sound");
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

// ---------------------------------------------------------------------------------------
// The sound database

KeyedDatabase OpenSoundDatabase(const QString& path, KeyedDatabase::OpenMode mode) {
    KeyedDatabase database(path, SoundDatabaseKey, mode);
    CheckSoundDatabase(database);
    return database;
}

void CheckSoundDatabase(KeyedDatabase& database) {
    if (!database.HasTable("Sounds"))
        throw ToolError(
            QStringLiteral("%1 is not a sound database: it has no Sounds table.").arg(database.Path()));
    for (const char* column : {"SourehID", "AyehID", "GhariID", "Sound"}) {
        if (!database.HasColumn("Sounds", column))
            throw ToolError(QStringLiteral("%1 is not a sound database: its Sounds table has no %2 column.")
                                .arg(database.Path(), QString::fromLatin1(column)));
    }
}

void CreateSoundTables(KeyedDatabase& database) {
    database.Exec("CREATE TABLE Sounds (SourehID INTEGER NOT NULL, AyehID INTEGER NOT NULL,"
                  " GhariID INTEGER NOT NULL, Sound BLOB NOT NULL,"
                  " PRIMARY KEY (SourehID, AyehID, GhariID));"
                  "CREATE TABLE Reciters (GhariID INTEGER PRIMARY KEY, Name TEXT NOT NULL);");
}

void StoreReciterName(KeyedDatabase& database, int ghariId, const QString& name) {
    database.Exec("CREATE TABLE IF NOT EXISTS Reciters (GhariID INTEGER PRIMARY KEY, Name TEXT NOT NULL);");
    SqliteStatement insert(database.Handle(),
                           "INSERT OR REPLACE INTO Reciters (GhariID, Name) VALUES (?1, ?2)");
    const QByteArray utf8 = name.toUtf8();
    sqlite3_bind_int(insert.Get(), 1, ghariId);
    sqlite3_bind_text(insert.Get(), 2, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(insert.Get()) != SQLITE_DONE)
        database.Fail(QStringLiteral("cannot store the reciter's name"));
}

QString DescribeAyehRanges(const std::vector<std::pair<int, int>>& ayehs, int limit,
                           const QString& bismillah) {
    QStringList parts;
    size_t i = 0;
    while (i < ayehs.size() && parts.size() < limit) {
        size_t j = i;
        while (j + 1 < ayehs.size() && ayehs[j + 1].first == ayehs[i].first && ayehs[i].first != 0 &&
               ayehs[j + 1].second == ayehs[j].second + 1)
            ++j;
        const auto [s, a] = ayehs[i];
        parts << (s == 0   ? bismillah
                  : j == i ? QStringLiteral("%1:%2").arg(s).arg(a)
                           : QStringLiteral("%1:%2-%3").arg(s).arg(a).arg(ayehs[j].second));
        i = j + 1;
    }
    QString text = parts.join(QStringLiteral(", "));
    if (i < ayehs.size())
        text += QStringLiteral(", ...");
    return text;
}

std::vector<std::pair<int, int>> MissingRecordings(const std::set<std::pair<int, int>>& present) {
    std::vector<std::pair<int, int>> missing;
    if (!present.count({0, 0}))
        missing.emplace_back(0, 0);
    for (int s = 1; s <= SourehCount; ++s)
        for (int a = 1; a <= NumberOfAyehs(s); ++a)
            if (!present.count({s, a}))
                missing.emplace_back(s, a);
    return missing;
}
