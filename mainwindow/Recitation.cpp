// The continuous recitation: what follows when a recording ends. The chain keeps no state of
// its own; at each notice it reads the player, the repeat box, the lists and the current ayeh.
#include "mainwindow/Main.h"

#include "audio/AudioPlayer.h"
#include "mainwindow/CommandSteps.h"
#include "model/Utility.h"

#include <QPointer>
#include <QScopedValueRollback>

namespace {

constexpr int LastSourehID = 114;

// True while the handler itself is moving the chain on. A notice handled inside that step
// (Recite lets pending events run before it loads the next recording) can only speak of the
// recording that has just ended, which the outer call is already moving on from; acting on
// it again would skip the ayeh being started. A recording that ends before its notices are
// handled brings two of them: that of its play and that of the close before it.
bool MovingOn = false;

} // namespace

void TTntMainForm::MediaPlayer1Notify(QObject*, qint64) {
    // A failure here (a player query without a file, a database error while the next soureh
    // or ayeh loads) ends the chain in silence, as far as it had got.
    try {
        if (MovingOn || !HasBook())
            return;
        AudioPlayer* player = GlobalQuran->Player;
        const PlayerMode mode = player->Mode();
        if (mode == pmPaused || mode == pmNotReady)
            return;
        const int count = RepeatCount(*this);
        const int sourehId = TntComboBoxSourehsList->currentIndex() + 1;
        const int ayehId = TntComboBoxAyehsList->currentIndex() + 1;
        TSoureh* soureh = GlobalQuran->Soureh.get();
        const int numberOfAyeh = soureh->NumberOfAyeh;
        if (!player->Enabled())
            return;
        // Only the end of a recording moves the chain: a play cut short, superseded or
        // paused leaves the position before the end.
        if (player->Position() != player->Length())
            return;
        TAyeh* current = soureh->Ayeh.get();
        if (!current || sourehId < 1 || ayehId < 1)
            return;

        const QPointer<TTntMainForm> alive(this);
        const QScopedValueRollback<bool> movingOn(MovingOn, true);
        if (ayehId == 1 && !current->RecitationStarted) {
            // In the usual course the Bismillah before ayeh 1 has just ended.
            current->Recite(count);
        } else if (const int left = count - 1; left >= 1) {
            SpinEditReadingCount->SetValue(left);
            current->Recite(left);
        } else if (left == 0) {
            SpinEditReadingCount->SetValue(1);
            int nextSoureh = sourehId;
            int nextAyeh = ayehId + 1;
            if (nextAyeh > numberOfAyeh) {
                nextSoureh = sourehId + 1 > LastSourehID ? 1 : sourehId + 1;
                nextAyeh = 1;
            }
            if (nextSoureh > TntComboBoxSourehsList->count())
                return;
            TntComboBoxSourehsList->setCurrentIndex(nextSoureh - 1);
            RefillAyehList(TntComboBoxSourehsList->currentIndex() + 1);
            TntComboBoxAyehsList->setCurrentIndex(nextAyeh - 1);
            SelectAyeh(nextSoureh, nextAyeh)->Recite(1);
        }
        // A count of 0 or less: nothing more is started, and the chain ends here.
        if (!alive || !HasBook())
            return;
        ShowTranslation();
        GlobalQuran->Player->SetNotify(true);
    } catch (...) {
    }
}
