#pragma once
// A sound file in any format libsndfile writes (FLAC, Ogg Vorbis, MP3, WAV...), holding the
// known signal of WavFixtures.h. Declared apart so that the tests of the content tool, whose
// own WavEncoding would clash with the fixtures', can write one too.

#include <QString>

// Writes the signal of a WavSpec{Pcm16, rate, channels, durationMs} at path in libsndfile's
// format (major | subtype). Throws std::runtime_error when the file cannot be written.
void WriteSoundFile(const QString& path, int format, int rate, int channels, int durationMs);
