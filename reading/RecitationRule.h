#pragma once
// The rule of the continuous recitation: what follows when a recording has ended. A pure
// function of what the view's selection and the book hold at that moment, without any
// display, so that the chain's step and whatever wants to know the next recording ahead of
// time (the queue) ask the same rule.

#include "model/Practice.h"

// The repeat counts the repeat box can show. A count typed beyond them and not yet confirmed
// counts as the nearest of them.
inline constexpr int FewestRepeats = 0;
inline constexpr int MostRepeats = 10;
int RepeatCountOf(int typed);

// What the chain reads when a recording has ended.
struct ChainState {
    int GhariID = 0;      // the book's reciter
    int Count = 0;        // the repeat box, as typed
    int SourehID = 0;     // the soureh list's selection (index + 1; 0 with none)
    int AyehID = 0;       // the ayeh list's selection (index + 1; 0 with none)
    int SourehCount = 0;  // entries in the soureh list
    int NumberOfAyeh = 0; // of the book's current soureh
    // The book's current ayeh, the one a repetition recites, and its two flags.
    int CurrentSourehID = 0;
    int CurrentAyehID = 0;
    bool RecitationStarted = false;
    bool BismillahPlayed = false;
};

// A recording by its numbers, as in the cache file "g-s-a.wav": soureh and ayeh 0 for the
// Bismillah; GhariID 0 for none.
struct ChainRecording {
    int GhariID = 0;
    int SourehID = 0;
    int AyehID = 0;
    bool operator==(const ChainRecording&) const = default;
};

struct ChainStep {
    enum Action {
        End,           // nothing more is started: the chain ends with this recording
        ReciteCurrent, // Recite(Count) on the book's current ayeh
        ReciteNext,    // select SourehID and AyehID in the lists and the book, then Recite(Count)
    };
    Action What = End;
    int SourehID = 0;
    int AyehID = 0;
    int Count = 0;
    // The value the repeat box is set to; -1 leaves it as it is.
    int RepeatBox = -1;
    // What the listener hears next: the Bismillah where it comes first, else the ayeh, or
    // nothing (a count of 0).
    ChainRecording Sounds;
    bool operator==(const ChainStep&) const = default;
};

ChainStep WhatFollows(const ChainState& state);

// A practice in progress: its plan, how often each ayeh sounds (the repeat box when it began,
// at least 1) and the round under way, from 1.
struct PracticeRun {
    PracticePlan Plan;
    int Repeats = 1;
    int Round = 1;
};

struct PracticeStep {
    ChainStep Step;
    // The round the step belongs to.
    int Round = 1;
    // The practice is over: its rounds are done, the chain ends, or the selection has left
    // the passage, and then Step is what the chain does without a practice.
    bool Over = false;
    bool operator==(const PracticeStep&) const = default;
};

// What follows while a practice runs: the same rule, except that moving on stays within the
// passage, going back to its first ayeh after its last until the rounds are done, and that
// each ayeh moved to sounds Repeats times.
PracticeStep WhatFollowsInPractice(const ChainState& state, const PracticeRun& run);
