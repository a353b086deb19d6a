#include "model/Practice.h"

#include "content/ContentKeys.h"
#include "content/MushafCounts.h"

#include <QSettings>
#include <QString>
#include <climits>
#include <utility>

namespace {

// Mushaf order of two ayehs.
std::pair<int, int> Place(int sourehId, int ayehId) {
    return {sourehId, ayehId};
}

bool IsAyeh(int sourehId, int ayehId) {
    return ayehId >= 1 && ayehId <= NumberOfAyehs(sourehId);
}

QString Key(const char* value) {
    return QString::fromLatin1(PracticeGroup) + u'/' + QString::fromLatin1(value);
}

// A stored whole number within [low, high], else fallback.
int ReadNumber(const QSettings& settings, const char* value, int low, int high, int fallback) {
    bool ok = false;
    const int number = settings.value(Key(value)).toString().trimmed().toInt(&ok);
    return ok && number >= low && number <= high ? number : fallback;
}

} // namespace

bool IsValidPassage(int fromSoureh, int fromAyeh, int toSoureh, int toAyeh) {
    return IsAyeh(fromSoureh, fromAyeh) && IsAyeh(toSoureh, toAyeh) &&
           Place(fromSoureh, fromAyeh) <= Place(toSoureh, toAyeh);
}

bool InPassage(const PracticePlan& plan, int sourehId, int ayehId) {
    const auto place = Place(sourehId, ayehId);
    return Place(plan.FromSoureh, plan.FromAyeh) <= place && place <= Place(plan.ToSoureh, plan.ToAyeh);
}

qint64 PracticePauseMs(const PracticePlan& plan, int sourehId, qint64 lengthMs) {
    if (sourehId == 0)
        return 0;
    switch (plan.Pause) {
    case PracticePause::Fixed:
        return qint64(plan.PauseSeconds) * 1000;
    case PracticePause::AyehLength:
        return lengthMs;
    case PracticePause::TwiceAyehLength:
        return 2 * lengthMs;
    case PracticePause::None:
        break;
    }
    return 0;
}

PracticePlan ReadPracticePlan(const QSettings& settings) {
    const PracticePlan fallback;
    PracticePlan plan;
    plan.FromSoureh = ReadNumber(settings, PracticeFromSourehValue, 1, SourehCount, fallback.FromSoureh);
    plan.FromAyeh = ReadNumber(settings, PracticeFromAyehValue, 1, INT_MAX, fallback.FromAyeh);
    plan.ToSoureh = ReadNumber(settings, PracticeToSourehValue, 1, SourehCount, fallback.ToSoureh);
    plan.ToAyeh = ReadNumber(settings, PracticeToAyehValue, 1, INT_MAX, fallback.ToAyeh);
    if (!IsValidPassage(plan.FromSoureh, plan.FromAyeh, plan.ToSoureh, plan.ToAyeh)) {
        plan.FromSoureh = fallback.FromSoureh;
        plan.FromAyeh = fallback.FromAyeh;
        plan.ToSoureh = fallback.ToSoureh;
        plan.ToAyeh = fallback.ToAyeh;
    }
    plan.Rounds =
        ReadNumber(settings, PracticeRoundsValue, EndlessRounds, MostPracticeRounds, fallback.Rounds);
    plan.Pause = PracticePause(ReadNumber(settings, PracticePauseValue, int(PracticePause::None),
                                          int(PracticePause::TwiceAyehLength), int(fallback.Pause)));
    plan.PauseSeconds = ReadNumber(settings, PracticePauseSecondsValue, FewestPauseSeconds, MostPauseSeconds,
                                   fallback.PauseSeconds);
    return plan;
}

void WritePracticePlan(QSettings& settings, const PracticePlan& plan) {
    settings.setValue(Key(PracticeFromSourehValue), plan.FromSoureh);
    settings.setValue(Key(PracticeFromAyehValue), plan.FromAyeh);
    settings.setValue(Key(PracticeToSourehValue), plan.ToSoureh);
    settings.setValue(Key(PracticeToAyehValue), plan.ToAyeh);
    settings.setValue(Key(PracticeRoundsValue), plan.Rounds);
    settings.setValue(Key(PracticePauseValue), int(plan.Pause));
    settings.setValue(Key(PracticePauseSecondsValue), plan.PauseSeconds);
}
