#include "mainwindow/CommandSteps.h"

#include "mainwindow/Main.h"
#include "mainwindow/RecitationRule.h"
#include "model/Utility.h"

#include <QPointer>

bool HasBook() {
    return GlobalQuran && GlobalQuran->Soureh;
}

TAyeh* SelectAyeh(int sourehId, int ayehId) {
    return GlobalQuran->SelectSoureh(sourehId)->SelectAyeh(ayehId);
}

int RepeatCount(const TTntMainForm& form) {
    return RepeatCountOf(form.SpinEditReadingCount->Value());
}

bool ReciteAndShow(TTntMainForm& form, TAyeh* ayeh, int count) {
    const QPointer<TTntMainForm> alive(&form);
    ayeh->Recite(count);
    if (!alive || !HasBook())
        return false;
    form.ShowTranslation();
    form.FollowOn();
    return true;
}
