// The player's notice and the practice's start: the continuous recitation and the practice
// themselves are the reading controller's.
#include "mainwindow/Main.h"

void TTntMainForm::MediaPlayer1Notify(QObject*, qint64 Play) {
    Reading->PlayerNotified(Play);
}

void TTntMainForm::StartPractice(const PracticePlan& plan) {
    if (!Reading->CanPractise(plan))
        return;
    // A store that cannot be written is passed over: the practice runs all the same.
    Settings.WritePracticePlan(plan);
    Reading->StartPractice(plan);
}
