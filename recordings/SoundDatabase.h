#pragma once
// The recordings of the sound database (snd.wav): WAV files in memory, decoding of imported
// recordings, the tables and which recordings a reciter lacks.
//
// Every recording is a complete WAV file that the reader writes out unchanged and plays with
// its player's decoding (audio/WavDecoder.h), so every file stored here must decode there:
// 16-bit PCM or IMA ADPCM.

#include "content/ContentKeys.h"
#include "recordings/ContentWriter.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

inline constexpr int ReciterCount = 5;

// Mono samples in -1..1 at SampleRate frames per second.
struct MonoAudio {
    std::vector<float> Samples;
    int SampleRate = 0;
    double Seconds() const { return SampleRate > 0 ? double(Samples.size()) / SampleRate : 0.0; }
};

// The two ways recordings are stored.
enum class WavEncoding { ImaAdpcm, Pcm16 };

// The longest recording of one ayeh taken in: 15 minutes. The longest ayeh, 2:282 (128 words),
// recited slowly in the melodic style at about three seconds a word, lasts six to seven
// minutes; the limit leaves more than twice that, and bounds what one recording costs (about
// 10 MB stored as IMA ADPCM at 22050 Hz, 40 MB as 16-bit PCM) while its decoding takes
// constant memory.
inline constexpr int LongestRecordingSeconds = 15 * 60;

// A complete WAV file in memory, written by libsndfile. Throws ToolError.
QByteArray EncodeWav(const MonoAudio& audio, WavEncoding encoding);
// Decodes any file libsndfile reads from memory (WAV, FLAC, Ogg Vorbis, MP3...) and mixes it
// down to mono. Throws ToolError with the decoder's message, also for a file without any sound.
MonoAudio DecodeAudioBytes(const QByteArray& bytes);
// Resamples with the player's converter; returns the audio unchanged when it already has
// `rate`.
MonoAudio Resample(const MonoAudio& audio, int rate);

// A recording made ready to store: a complete WAV file, mono, and the frames it holds.
struct StoredRecording {
    QByteArray Wav;
    std::int64_t Frames = 0;
    int Rate = 0;
};
// Decodes any file libsndfile reads block by block, mixes it down to mono, converts it to no
// more than `maxRate` and encodes it: memory is bounded by LongestRecordingSeconds, not by the
// file. Throws ToolError naming the file: one that cannot be decoded, holds no sound, or
// lasts longer than LongestRecordingSeconds.
StoredRecording ConvertRecordingFile(const QString& path, int maxRate, WavEncoding encoding);
// The frames a WAV file in memory holds by its header; -1 when libsndfile cannot read it.
// IMA ADPCM counts whole blocks, so it may exceed the frames encoded by less than one block.
std::int64_t StoredFrames(const QByteArray& wav);
// Decodes `wav` with the reader's player's own decoding (DecodeWav, which reads a file: a
// temporary one). Returns an empty text when it decodes to at least one sample frame, else
// the reason.
QString PlayerDecodeFailure(const QByteArray& wav);

// Throws ToolError unless `database` has a Sounds table with the four columns.
void CheckSoundDatabase(KeyedDatabase& database);
// Opens an existing sound database, checking its key and its Sounds table. Throws ToolError.
KeyedDatabase OpenSoundDatabase(const QString& path, KeyedDatabase::OpenMode mode);
// Creates the Sounds table, unique on (SourehID, AyehID, GhariID), and the Reciters table
// of reciter names, which the reader shows when present.
void CreateSoundTables(KeyedDatabase& database);
// Stores (or replaces) reciter `ghariId`'s name, creating the Reciters table when missing.
void StoreReciterName(KeyedDatabase& database, int ghariId, const QString& name);

// "Bismillah, 2:1-286, 3:5" for (soureh, ayeh) pairs in order, (0, 0) being the Bismillah
// (named `bismillah`); at most `limit` ranges, then "...".
QString DescribeAyehRanges(const std::vector<std::pair<int, int>>& ayehs, int limit,
                           const QString& bismillah = QStringLiteral("Bismillah"));
// The Bismillah (0, 0) and the ayehs of the Mushaf that `present` lacks, in order.
std::vector<std::pair<int, int>> MissingRecordings(const std::set<std::pair<int, int>>& present);
