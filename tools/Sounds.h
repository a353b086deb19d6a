#pragma once
// The content tool's side of the sound database (snd.wav): the sample recordings and the
// checks that verify runs. Recordings themselves are in recordings/SoundDatabase.h.

#include "recordings/SoundDatabase.h"
#include "tools/ImportSupport.h"

#include <QString>

class QTextStream;

// Checks the recordings of a sound database and writes a report. Faults: the file cannot be
// opened with its key or has no Sounds table; a recording that is empty or does not decode
// in the player; two rows with the same key (the reader then plays neither); a row whose
// key no reader can ask for; a reciter 1..5 without any recording at all. Missing
// recordings of a reciter that has some are counted and listed, not counted as faults.
// Returns the number of faults.
int VerifyRecordings(const QString& soundDbPath, QTextStream& report);
