// The practice: starting it from its plan, and the ways it ends. While it runs the chain
// follows WhatFollowsInPractice; a click on an ayeh, the recite button, another soureh or
// ayeh chosen, the dialog's Stop or the end of the chain ends it, and the reader goes on as
// without one.
#include "audio/AudioPlayer.h"
#include "content/ContentKeys.h"
#include "mainwindow/CommandSteps.h"
#include "mainwindow/Main.h"
#include "model/Utility.h"

#include <QScopedValueRollback>
#include <QSettings>
#include <algorithm>

void TTntMainForm::StartPractice(const PracticePlan& plan) {
    if (!HasBook() || !IsValidPassage(plan.FromSoureh, plan.FromAyeh, plan.ToSoureh, plan.ToAyeh) ||
        plan.ToSoureh > TntComboBoxSourehsList->count())
        return;
    {
        // A store that cannot be written is passed over: the practice runs all the same.
        QSettings settings(SettingsOrganisation, SettingsApplication);
        WritePracticePlan(settings, plan);
        settings.sync();
    }
    EndPractice();
    ResetPauseButton();
    if (GlobalQuran->Player->Mode() == pmPlaying)
        GlobalQuran->Player->Pause();
    const int repeats = std::max(1, RepeatCount(*this));
    TAyeh* first = nullptr;
    {
        const QScopedValueRollback selecting(ChainMoving, true);
        TntComboBoxSourehsList->setCurrentIndex(plan.FromSoureh - 1);
        RefillAyehList(plan.FromSoureh);
        if (plan.FromAyeh > TntComboBoxAyehsList->count())
            return;
        TntComboBoxAyehsList->setCurrentIndex(plan.FromAyeh - 1);
        first = SelectAyeh(plan.FromSoureh, plan.FromAyeh);
        SpinEditReadingCount->SetValue(repeats);
    }
    Practice = PracticeRun{plan, repeats, 1};
    ReciteAndShow(*this, first, repeats);
}

void TTntMainForm::EndPractice() {
    Practice.reset();
}

void TTntMainForm::StopPractice() {
    EndPractice();
    if (!HasBook())
        return;
    const PlayerMode mode = GlobalQuran->Player->Mode();
    if (mode == pmPlaying || mode == pmPaused) {
        ResetPauseButton();
        GlobalQuran->Player->Stop();
    }
}

void TTntMainForm::SelectionChanged() {
    if (ChainMoving)
        return;
    EndPractice();
    FollowingChanged();
}
