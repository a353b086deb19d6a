#pragma once
// A practice: a passage of ayehs recited in rounds, with a pause after each recording of an
// ayeh in which the listener recites it back. The plan is what the user sets and the settings
// file keeps; it needs no display.

#include <QtGlobal>

class QSettings;

inline constexpr int EndlessRounds = 0;
inline constexpr int MostPracticeRounds = 99;
inline constexpr int FewestPauseSeconds = 1;
inline constexpr int MostPauseSeconds = 30;

enum class PracticePause {
    None = 0,            // the next recording follows at once
    Fixed = 1,           // PauseSeconds of silence
    AyehLength = 2,      // as long as the recording that has ended
    TwiceAyehLength = 3, // twice as long
};

struct PracticePlan {
    // The passage, from its first ayeh to its last, in Mushaf order.
    int FromSoureh = 1;
    int FromAyeh = 1;
    int ToSoureh = 1;
    int ToAyeh = 7;
    // 1 to MostPracticeRounds, or EndlessRounds.
    int Rounds = 1;
    PracticePause Pause = PracticePause::None;
    // FewestPauseSeconds to MostPauseSeconds; used with PracticePause::Fixed.
    int PauseSeconds = 5;
    bool operator==(const PracticePlan&) const = default;
};

// Whether both ends are ayehs of the Mushaf and the last does not come before the first.
bool IsValidPassage(int fromSoureh, int fromAyeh, int toSoureh, int toAyeh);
// Whether (sourehId, ayehId) lies within the plan's passage, both ends included.
bool InPassage(const PracticePlan& plan, int sourehId, int ayehId);

// The silence after a recording of lengthMs that has ended: none after the Bismillah
// (soureh 0), else as the plan says.
qint64 PracticePauseMs(const PracticePlan& plan, int sourehId, qint64 lengthMs);

// The plan kept in settings. Each value that is missing or damaged falls back to the default
// plan's, and a passage that is not valid as a whole to the default passage; never throws.
PracticePlan ReadPracticePlan(const QSettings& settings);
void WritePracticePlan(QSettings& settings, const PracticePlan& plan);
