#include "learning/Sitting.h"

#include "content/ContentKeys.h"
#include "content/MushafCounts.h"
#include "learning/LearnerData.h"

#include <QSettings>
#include <QString>
#include <algorithm>
#include <utility>

namespace {

QString Key(const char* value) {
    return QString::fromLatin1(MemoriseGroup) + u'/' + QString::fromLatin1(value);
}

bool IsAyeh(int sourehId, int ayehId) {
    return ayehId >= 1 && ayehId <= NumberOfAyehs(sourehId);
}

} // namespace

SittingOptions ReadSittingOptions(const QSettings& settings) {
    SittingOptions options;
    bool ok = false;
    const int hint = settings.value(Key(MemoriseHintValue)).toString().toInt(&ok);
    if (ok && (hint == int(SittingHint::Nothing) || hint == int(SittingHint::FirstWord)))
        options.Hint = SittingHint(hint);
    const QString play = settings.value(Key(MemorisePlayRevealedValue)).toString();
    if (play == QStringLiteral("true") || play == QStringLiteral("false"))
        options.PlayRevealed = play == QStringLiteral("true");
    return options;
}

void WriteSittingOptions(QSettings& settings, const SittingOptions& options) {
    settings.setValue(Key(MemoriseHintValue), int(options.Hint));
    settings.setValue(Key(MemorisePlayRevealedValue), options.PlayRevealed);
}

std::vector<SittingAyeh> PassageAyehs(int fromSoureh, int fromAyeh, int toSoureh, int toAyeh,
                                      const AyehPages& pages, const WordCounts& words) {
    std::vector<SittingAyeh> ayehs;
    if (!IsAyeh(fromSoureh, fromAyeh) || !IsAyeh(toSoureh, toAyeh) ||
        std::pair(toSoureh, toAyeh) < std::pair(fromSoureh, fromAyeh))
        return ayehs;
    for (int soureh = fromSoureh, ayeh = fromAyeh;;) {
        ayehs.push_back({soureh, ayeh, pages.PageOf(soureh, ayeh), words(soureh, ayeh)});
        if (soureh == toSoureh && ayeh == toAyeh)
            return ayehs;
        if (++ayeh > NumberOfAyehs(soureh)) {
            ++soureh;
            ayeh = 1;
        }
    }
}

std::vector<SittingAyeh> DueAyehs(const std::vector<DuePage>& due, const WordCounts& words) {
    std::vector<SittingAyeh> ayehs;
    for (const DuePage& page : due)
        for (const AyehReview& review : page.Ayehs)
            ayehs.push_back(
                {review.SourehID, review.AyehID, page.PageID, words(review.SourehID, review.AyehID)});
    return ayehs;
}

MemorisationSitting::MemorisationSitting(std::vector<SittingAyeh> ayehs, SittingHint hint)
    : Run(std::move(ayehs)), Hint(hint) {
    for (SittingAyeh& ayeh : Run)
        ayeh.Words = std::max(0, ayeh.Words);
    if (!Run.empty())
        Shown = Hinted(Run.front());
}

int MemorisationSitting::Hinted(const SittingAyeh& ayeh) const {
    return Hint == SittingHint::FirstWord ? std::min(1, ayeh.Words) : 0;
}

const SittingAyeh& MemorisationSitting::Current() const {
    return Run.at(At);
}

int MemorisationSitting::ShownWords(size_t index) const {
    const SittingAyeh& ayeh = Run.at(index);
    if (index < At)
        return ayeh.Words;
    return index == At ? Shown : Hinted(ayeh);
}

bool MemorisationSitting::RevealWord() {
    if (Ended() || Shown >= Current().Words)
        return false;
    ++Shown;
    return true;
}

bool MemorisationSitting::RevealAyeh() {
    if (Ended() || Shown >= Current().Words)
        return false;
    Shown = Current().Words;
    return true;
}

bool MemorisationSitting::StepBack() {
    if (Ended() || Shown <= Hinted(Current()))
        return false;
    --Shown;
    return true;
}

SittingStep MemorisationSitting::GiveGrade(Grade grade) {
    if (Ended())
        return SittingStep::Ended;
    Given.push_back(grade);
    const int page = Current().PageID;
    if (++At >= Run.size())
        return SittingStep::Ended;
    Shown = Hinted(Current());
    return Current().PageID == page ? SittingStep::SamePage : SittingStep::NewPage;
}

void MemorisationSitting::End() {
    At = Run.size();
    Shown = 0;
}

SittingStep GradeAndRecord(MemorisationSitting& sitting, LearnerData& data, Grade grade) {
    if (sitting.Ended())
        return SittingStep::Ended;
    data.RecordGrade(sitting.Current().SourehID, sitting.Current().AyehID, grade);
    return sitting.GiveGrade(grade);
}
