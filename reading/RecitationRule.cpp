#include "reading/RecitationRule.h"

#include "content/MushafCounts.h"
#include "model/Records.h"

#include <algorithm>

namespace {

// The recording Recite(count) starts on an ayeh with these flags.
ChainRecording SoundOf(int ghariId, int sourehId, int ayehId, bool bismillahPlayed, int count) {
    if (BismillahComesFirst(sourehId, ayehId) && !bismillahPlayed)
        return {ghariId, 0, 0};
    if (count > 0)
        return {ghariId, sourehId, ayehId};
    return {};
}

// Moving on to (sourehId, ayehId), which sounds count times and sets the box to count. The
// ayeh is a fresh record unless it is the current one, which keeps its flags.
ChainStep MoveOn(const ChainState& s, int sourehId, int ayehId, int count) {
    ChainStep step;
    step.What = ChainStep::ReciteNext;
    step.SourehID = sourehId;
    step.AyehID = ayehId;
    step.Count = count;
    step.RepeatBox = count;
    const bool same = sourehId == s.CurrentSourehID && ayehId == s.CurrentAyehID;
    step.Sounds = SoundOf(s.GhariID, sourehId, ayehId, same && s.BismillahPlayed, count);
    return step;
}

} // namespace

int RepeatCountOf(int typed) {
    return std::clamp(typed, FewestRepeats, MostRepeats);
}

ChainStep WhatFollows(const ChainState& s) {
    ChainStep step;
    if (s.SourehID < 1 || s.AyehID < 1)
        return step;
    const int count = RepeatCountOf(s.Count);
    const auto reciteCurrent = [&](int times) {
        step.What = ChainStep::ReciteCurrent;
        step.SourehID = s.CurrentSourehID;
        step.AyehID = s.CurrentAyehID;
        step.Count = times;
        step.Sounds = SoundOf(s.GhariID, s.CurrentSourehID, s.CurrentAyehID, s.BismillahPlayed, times);
    };

    // In the usual course the Bismillah before ayeh 1 has just ended: now the ayeh itself.
    if (s.AyehID == 1 && !s.RecitationStarted) {
        reciteCurrent(count);
        return step;
    }
    const int left = count - 1;
    if (left < 0)
        return step; // a count of 0: the chain ends with this recording
    if (left >= 1) {
        reciteCurrent(left);
        step.RepeatBox = left;
        return step;
    }

    int sourehId = s.SourehID;
    int ayehId = s.AyehID + 1;
    if (ayehId > s.NumberOfAyeh) {
        sourehId = sourehId + 1 > SourehCount ? 1 : sourehId + 1;
        ayehId = 1;
    }
    if (sourehId > s.SourehCount)
        return step; // content without that soureh: the chain ends
    return MoveOn(s, sourehId, ayehId, 1);
}

PracticeStep WhatFollowsInPractice(const ChainState& s, const PracticeRun& run) {
    const PracticePlan& plan = run.Plan;
    PracticeStep result{WhatFollows(s), run.Round, false};
    if (!InPassage(plan, s.SourehID, s.AyehID) || !InPassage(plan, s.CurrentSourehID, s.CurrentAyehID) ||
        result.Step.What == ChainStep::End) {
        result.Over = true;
        return result;
    }
    if (result.Step.What != ChainStep::ReciteNext)
        return result; // the ayeh after its Bismillah, or a repetition
    if (s.SourehID != plan.ToSoureh || s.AyehID != plan.ToAyeh) {
        result.Step = MoveOn(s, result.Step.SourehID, result.Step.AyehID, run.Repeats);
        return result;
    }
    if (plan.Rounds != EndlessRounds && run.Round >= plan.Rounds) {
        result = {ChainStep{}, run.Round, true};
        return result;
    }
    result.Step = MoveOn(s, plan.FromSoureh, plan.FromAyeh, run.Repeats);
    result.Round = run.Round + 1;
    return result;
}
