// The continuous recitation: what follows when a recording ends. The chain keeps no state of
// its own; at each notice it reads the player, the repeat box, the lists and the current ayeh,
// and WhatFollows decides.
#include "audio/AudioPlayer.h"
#include "mainwindow/CommandSteps.h"
#include "mainwindow/Main.h"
#include "mainwindow/RecitationRule.h"
#include "model/Utility.h"

#include <QPointer>

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

        const ChainStep step = WhatFollows(
            {GlobalQuran->GhariID, SpinEditReadingCount->Value(), TntComboBoxSourehsList->currentIndex() + 1,
             TntComboBoxAyehsList->currentIndex() + 1, TntComboBoxSourehsList->count(), soureh->NumberOfAyeh,
             soureh->SourehID, current->AyehID, current->RecitationStarted, current->BismillahPlayed});
        const QPointer<TTntMainForm> alive(this);
        if (step.RepeatBox >= 0)
            SpinEditReadingCount->SetValue(step.RepeatBox);
        if (step.What == ChainStep::ReciteCurrent) {
            current->Recite(step.Count);
        } else if (step.What == ChainStep::ReciteNext) {
            TntComboBoxSourehsList->setCurrentIndex(step.SourehID - 1);
            RefillAyehList(TntComboBoxSourehsList->currentIndex() + 1);
            TntComboBoxAyehsList->setCurrentIndex(step.AyehID - 1);
            SelectAyeh(step.SourehID, step.AyehID)->Recite(step.Count);
        }
        if (!alive || !HasBook())
            return;
        ShowTranslation();
        GlobalQuran->Player->SetNotify(true);
    } catch (...) {
    }
}
