// The continuous recitation: what follows when a recording ends. The chain keeps no state of
// its own; at each notice it reads the player, the repeat box, the lists and the current ayeh,
// and WhatFollows decides.
#include "audio/AudioPlayer.h"
#include "mainwindow/CommandSteps.h"
#include "mainwindow/Main.h"
#include "mainwindow/RecitationRule.h"
#include "model/Utility.h"

#include <QPointer>
#include <QScopedValueRollback>
#include <QTimer>

void TTntMainForm::MediaPlayer1Notify(QObject*, qint64 Play) {
    // A failure here (a player query without a file, a database error while the next soureh
    // or ayeh loads) ends the chain in silence, as far as it had got.
    try {
        if (!HasBook())
            return;
        AudioPlayer* player = GlobalQuran->Player;
        const PlayerMode mode = player->Mode();
        if (mode == pmPaused || mode == pmNotReady || !player->Enabled())
            return;
        // Only the end of the play the book awaits moves the chain: not the notice of an
        // earlier play, of a command, of a play cut short or superseded, nor any notice while
        // a recitation is being started (its events run before it begins its play).
        if (Play == 0 || Play != GlobalQuran->AwaitedPlay || player->Position() != player->Length())
            return;
        TSoureh* soureh = GlobalQuran->Soureh.get();
        TAyeh* current = soureh->Ayeh.get();
        if (!current)
            return;

        const PracticeStep next = WhatFollowsNow();
        if (Practice) {
            if (next.Over)
                Practice.reset();
            else
                Practice->Round = next.Round;
        }
        const ChainStep& step = next.Step;
        const QPointer<TTntMainForm> alive(this);
        TAyeh* ayeh = nullptr;
        {
            // The chain's own moves neither end a practice nor drop the queued recording,
            // which the step is about to adopt.
            const QScopedValueRollback moving(ChainMoving, true);
            if (step.RepeatBox >= 0)
                SpinEditReadingCount->SetValue(step.RepeatBox);
            if (step.What == ChainStep::ReciteCurrent) {
                ayeh = current;
            } else if (step.What == ChainStep::ReciteNext) {
                TntComboBoxSourehsList->setCurrentIndex(step.SourehID - 1);
                RefillAyehList(TntComboBoxSourehsList->currentIndex() + 1);
                TntComboBoxAyehsList->setCurrentIndex(step.AyehID - 1);
                ayeh = SelectAyeh(step.SourehID, step.AyehID);
            }
        }
        if (ayeh)
            ayeh->Recite(step.Count);
        if (!alive || !HasBook())
            return;
        ShowTranslation();
        GlobalQuran->Player->SetNotify(true);
        FollowOn();
    } catch (...) {
    }
}

void TTntMainForm::FollowOn() {
    if (!HasBook())
        return;
    AudioPlayer* player = GlobalQuran->Player;
    const TAyeh* current = GlobalQuran->Soureh->Ayeh.get();
    // Only the recording a recitation began, while it plays, is followed.
    if (!current || player->Mode() != pmPlaying || GlobalQuran->AwaitedPlay == 0 ||
        GlobalQuran->AwaitedPlay != player->CurrentPlay()) {
        GlobalQuran->DropQueuedSound();
        return;
    }
    // The Bismillah sounds until the ayeh's own recording begins.
    if (Practice)
        player->SetTrailingSilence(PracticePauseMs(
            Practice->Plan, current->RecitationStarted ? current->Soureh->SourehID : 0, player->Length()));
    const ChainRecording next = WhatFollowsNow().Step.Sounds;
    if (next.GhariID == 0)
        GlobalQuran->DropQueuedSound();
    else
        GlobalQuran->QueueSound(next.SourehID, next.AyehID);
}

void TTntMainForm::FollowingChanged() {
    if (ChainMoving || !HasBook())
        return;
    // Dropped at once, so that nothing of it is heard; prepared again once the command that
    // made the change is done, from the state it leaves.
    GlobalQuran->DropQueuedSound();
    if (FollowOnPending)
        return;
    FollowOnPending = true;
    QTimer::singleShot(0, this, [this] {
        FollowOnPending = false;
        RunHandler([this] { FollowOn(); });
    });
}

PracticeStep TTntMainForm::WhatFollowsNow() const {
    const TSoureh* soureh = GlobalQuran->Soureh.get();
    const TAyeh* current = soureh->Ayeh.get();
    const ChainState state{GlobalQuran->GhariID,
                           SpinEditReadingCount->Value(),
                           TntComboBoxSourehsList->currentIndex() + 1,
                           TntComboBoxAyehsList->currentIndex() + 1,
                           TntComboBoxSourehsList->count(),
                           soureh->NumberOfAyeh,
                           soureh->SourehID,
                           current ? current->AyehID : 0,
                           current && current->RecitationStarted,
                           current && current->BismillahPlayed};
    if (Practice)
        return WhatFollowsInPractice(state, *Practice);
    return {WhatFollows(state), 0, false};
}
