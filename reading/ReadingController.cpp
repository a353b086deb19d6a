#include "reading/ReadingController.h"

#include "content/MushafCounts.h"
#include "model/Utility.h"

#include <QPointer>
#include <QScopedValueRollback>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <utility>

TReadingController::TReadingController(IReadingSelection* selection, QObject* parent, BookSource book)
    : QObject(parent), Selection(selection), BookOf(std::move(book)) {
    if (!BookOf)
        BookOf = [] { return GlobalQuran.get(); };
}

TQuran* TReadingController::Book() const {
    return BookOf();
}

bool TReadingController::HasBook() const {
    const TQuran* book = Book();
    return book && book->Soureh;
}

int TReadingController::NumberOfAyehOf(int sourehId) const {
    if (!HasBook())
        return 0;
    const ResultSet query(*Book()->QuranConnection, Statements::Soureh(sourehId));
    return query.RecordCount() == 1 ? query.FieldByName("NumberOfAyeh").AsInteger() : 0;
}

int TReadingController::RepeatCount() const {
    return RepeatCountOf(Selection->RepeatCount());
}

// --- Shared steps ---

void TReadingController::ShowTranslation() {
    TAyeh* ayeh = HasBook() ? Book()->Soureh->Ayeh.get() : nullptr;
    const QString text = ayeh ? ayeh->FarsiTranslation : QString();
    Selection->ShowTranslation(text);
    Q_EMIT TranslationShown(text);
}

void TReadingController::ResetPause() {
    PausedNow = false;
    Q_EMIT PausedChanged(false);
}

void TReadingController::RefillAyehList(int sourehId) {
    const std::optional<QStringList> ayehs = Book()->SelectSoureh(sourehId)->GetAyehList();
    Selection->SetAyehs(ayehs ? *ayehs : QStringList());
    Q_EMIT AyehListChanged(sourehId, Selection->AyehIndex() + 1);
}

void TReadingController::PauseIfPlaying() {
    if (Book()->Player->Mode() == pmPlaying)
        Book()->Player->Pause();
}

TAyeh* TReadingController::SelectInBook(int sourehId, int ayehId) {
    return Book()->SelectSoureh(sourehId)->SelectAyeh(ayehId);
}

TAyeh* TReadingController::Select(int sourehId, int ayehId) {
    if (sourehId < 1 || sourehId > Selection->SourehCount())
        return nullptr;
    Selection->SetSourehIndex(sourehId - 1);
    Q_EMIT SourehListChanged(sourehId);
    RefillAyehList(Selection->SourehIndex() + 1);
    if (ayehId < 1 || ayehId > Selection->AyehCount())
        return nullptr;
    Selection->SetAyehIndex(ayehId - 1);
    Q_EMIT AyehListChanged(sourehId, ayehId);
    return SelectInBook(sourehId, ayehId);
}

bool TReadingController::ReciteAndShow(TAyeh* ayeh, int count) {
    const QPointer<TReadingController> alive(this);
    ayeh->Recite(count);
    if (!alive || !HasBook())
        return false;
    ShowTranslation();
    FollowOn();
    Announce();
    return true;
}

void TReadingController::Announce() {
    TQuran* book = Book();
    if (!book || !book->Soureh)
        return;
    const TAyeh* ayeh = book->Soureh->Ayeh.get();
    const int pageId = book->Page ? book->Page->PageID : 0;
    if (pageId != ToldPage) {
        ToldPage = pageId;
        Q_EMIT PageChanged(pageId);
    }
    if (ayeh && (ayeh->Soureh->SourehID != ToldSoureh || ayeh->AyehID != ToldAyeh)) {
        ToldSoureh = ayeh->Soureh->SourehID;
        ToldAyeh = ayeh->AyehID;
        Q_EMIT CurrentAyehChanged(ToldSoureh, ToldAyeh, pageId);
    }
    const PlayerMode mode = book->Player->Mode();
    if (mode != ToldMode) {
        ToldMode = mode;
        Q_EMIT PlayStateChanged(mode);
    }
}

// --- Selection ---

void TReadingController::ShowStartPosition(int sourehId, int ayehId) {
    if (!HasBook())
        return;
    const std::optional<QStringList> sourehs = Book()->GetSourehList();
    Selection->SetSourehs(sourehs ? *sourehs : QStringList());
    if (Selection->SourehCount() == 0)
        return;
    // A hand-edited store may name a soureh or ayeh the book does not have.
    TAyeh* ayeh = Select(sourehId, ayehId);
    if (!ayeh && !(ayeh = Select(1, 1)))
        return;
    ayeh->Highlight();
    Announce();
}

void TReadingController::SourehChosen() {
    if (!HasBook() || Selection->SourehIndex() < 0)
        return;
    EndPractice();
    if (Book()->Player->Mode() == pmPlaying)
        Book()->Player->Stop();
    RefillAyehList(Selection->SourehIndex() + 1);
    Selection->SetAyehIndex(0);
    Q_EMIT AyehListChanged(Selection->SourehIndex() + 1, 1);
    Announce();
}

void TReadingController::ChooseSoureh(int sourehId) {
    if (!HasBook() || sourehId < 1 || sourehId > Selection->SourehCount())
        return;
    Selection->SetSourehIndex(sourehId - 1);
    Q_EMIT SourehListChanged(sourehId);
    SourehChosen();
}

void TReadingController::ShowAyeh(int sourehId, int ayehId) {
    if (!HasBook() || sourehId < 1 || sourehId > Selection->SourehCount())
        return;
    EndPractice();
    if (Book()->Player->Mode() == pmPlaying)
        Book()->Player->Stop();
    TAyeh* ayeh = Select(sourehId, ayehId);
    if (!ayeh)
        return;
    // The page is drawn afresh, so that an ayeh painted earlier on it is red no more.
    if (TQuranPage* page = ayeh->GetPage())
        page->Show();
    ayeh->Highlight();
    ShowTranslation();
    Announce();
}

void TReadingController::StepAyeh(int step) {
    if (!HasBook() || !Book()->Soureh->Ayeh)
        return;
    const TSoureh& soureh = *Book()->Soureh;
    int sourehId = soureh.SourehID;
    int ayehId = soureh.Ayeh->AyehID + step;
    if (ayehId > soureh.NumberOfAyeh) {
        if (sourehId >= Selection->SourehCount())
            return;
        ++sourehId;
        ayehId = 1;
    } else if (ayehId < 1) {
        if (sourehId <= 1)
            return;
        --sourehId;
        ayehId = NumberOfAyehOf(sourehId);
    }
    ShowAyeh(sourehId, ayehId);
}

void TReadingController::SetReciter(int ghariId) {
    if (TQuran* book = Book())
        book->GhariID = ghariId;
    FollowingChanged();
}

// --- Recitation ---

void TReadingController::ReciteChosen() {
    if (!HasBook())
        return;
    EndPractice();
    ResetPause();
    PauseIfPlaying();
    const int sourehId = Selection->SourehIndex() + 1;
    const int ayehId = Selection->AyehIndex() + 1;
    if (sourehId < 1 || ayehId < 1)
        return;
    ReciteAndShow(SelectInBook(sourehId, ayehId), RepeatCount());
}

void TReadingController::ReciteAyeh(int sourehId, int ayehId) {
    if (!HasBook())
        return;
    EndPractice();
    ResetPause();
    PauseIfPlaying();
    TAyeh* ayeh = Select(sourehId, ayehId);
    if (!ayeh)
        return;
    ReciteAndShow(ayeh, RepeatCount());
}

bool TReadingController::PauseOrContinue() {
    const PlayerMode mode = HasBook() ? Book()->Player->Mode() : pmNotReady;
    if (mode != pmPlaying && mode != pmPaused && mode != pmOpen)
        return false;
    AudioPlayer* player = Book()->Player;
    if (!PausedNow) {
        PausedNow = true;
        Q_EMIT PausedChanged(true);
        player->Pause();
        // Paused as it began from the queue, the queued recording is what was heard: it stays.
        if (player->QueuedFile().isEmpty())
            Book()->DropQueuedSound();
    } else {
        PausedNow = false;
        Q_EMIT PausedChanged(false);
        player->Play();
        FollowOn();
    }
    Announce();
    return true;
}

// --- Pages ---

bool TReadingController::GoToPage(int pageId) {
    if (pageId < FirstPageID || pageId > LastPageID)
        return false;
    if (!HasBook())
        return true;
    TQuran* book = Book();
    book->GoToPage(pageId);
    if (book->ScrollBox)
        book->ScrollBox->SetVertPosition(0);
    const int sourehId = book->Page->FirstSourehID;
    const int ayehId = book->Page->FirstAyehID;
    // A page without ayehs is shown, and the selection stays where it was.
    if (sourehId < 1 || sourehId > Selection->SourehCount() || ayehId < 1) {
        Announce();
        return true;
    }
    if (TAyeh* ayeh = Select(sourehId, ayehId))
        ayeh->Highlight();
    ShowTranslation();
    Announce();
    return true;
}

void TReadingController::TurnPage(int step) {
    if (!HasBook() || !Book()->Page)
        return;
    const int pageId = Book()->Page->PageID + step;
    if (pageId < FirstPageID || pageId > LastPageID)
        return;
    GoToPage(pageId);
}

// --- Practice ---

bool TReadingController::CanPractise(const PracticePlan& plan) const {
    return HasBook() && IsValidPassage(plan.FromSoureh, plan.FromAyeh, plan.ToSoureh, plan.ToAyeh) &&
           plan.ToSoureh <= Selection->SourehCount();
}

void TReadingController::StartPractice(const PracticePlan& plan) {
    if (!CanPractise(plan))
        return;
    EndPractice();
    ResetPause();
    PauseIfPlaying();
    const int repeats = std::max(1, RepeatCount());
    TAyeh* first = nullptr;
    {
        const QScopedValueRollback selecting(ChainMoving, true);
        first = Select(plan.FromSoureh, plan.FromAyeh);
        if (!first)
            return;
        Selection->SetRepeatCount(repeats);
        Q_EMIT RepeatCountChanged(repeats);
    }
    Practice = PracticeRun{plan, repeats, 1};
    Q_EMIT PracticeStarted(plan);
    ReciteAndShow(first, repeats);
}

void TReadingController::EndPractice() {
    if (!Practice)
        return;
    Practice.reset();
    Q_EMIT PracticeEnded();
}

void TReadingController::StopPractice() {
    EndPractice();
    if (!HasBook())
        return;
    const PlayerMode mode = Book()->Player->Mode();
    if (mode == pmPlaying || mode == pmPaused) {
        ResetPause();
        Book()->Player->Stop();
        Announce();
    }
}

// --- The continuous recitation ---

void TReadingController::PlayerNotified(qint64 play) {
    // A failure here (a player query without a file, a database error while the next soureh
    // or ayeh loads) ends the chain in silence, as far as it had got.
    try {
        if (!HasBook())
            return;
        TQuran* book = Book();
        AudioPlayer* player = book->Player;
        const PlayerMode mode = player->Mode();
        if (mode == pmPaused || mode == pmNotReady || !player->Enabled())
            return;
        // Only the end of the play the book awaits moves the chain: not the notice of an
        // earlier play, of a command, of a play cut short or superseded, nor any notice while
        // a recitation is being started (its events run before it begins its play).
        if (play == 0 || play != book->AwaitedPlay || player->Position() != player->Length())
            return;
        TAyeh* current = book->Soureh->Ayeh.get();
        if (!current)
            return;

        const PracticeStep next = WhatFollowsNow();
        if (Practice) {
            if (next.Over)
                EndPractice();
            else
                Practice->Round = next.Round;
        }
        const ChainStep& step = next.Step;
        const QPointer<TReadingController> alive(this);
        TAyeh* ayeh = nullptr;
        {
            // The chain's own moves neither end a practice nor drop the queued recording,
            // which the step is about to adopt.
            const QScopedValueRollback moving(ChainMoving, true);
            if (step.RepeatBox >= 0) {
                Selection->SetRepeatCount(step.RepeatBox);
                Q_EMIT RepeatCountChanged(step.RepeatBox);
            }
            if (step.What == ChainStep::ReciteCurrent)
                ayeh = current;
            else if (step.What == ChainStep::ReciteNext)
                ayeh = Select(step.SourehID, step.AyehID);
        }
        if (ayeh)
            ayeh->Recite(step.Count);
        if (!alive || !HasBook())
            return;
        ShowTranslation();
        Book()->Player->SetNotify(true);
        FollowOn();
        Announce();
    } catch (...) {
    }
}

void TReadingController::FollowOn() {
    if (!HasBook())
        return;
    TQuran* book = Book();
    AudioPlayer* player = book->Player;
    const TAyeh* current = book->Soureh->Ayeh.get();
    // Only the recording a recitation began, while it plays, is followed.
    if (!current || player->Mode() != pmPlaying || book->AwaitedPlay == 0 ||
        book->AwaitedPlay != player->CurrentPlay()) {
        book->DropQueuedSound();
        return;
    }
    // The Bismillah sounds until the ayeh's own recording begins.
    if (Practice)
        player->SetTrailingSilence(PracticePauseMs(
            Practice->Plan, current->RecitationStarted ? current->Soureh->SourehID : 0, player->Length()));
    const ChainRecording next = WhatFollowsNow().Step.Sounds;
    if (next.GhariID == 0)
        book->DropQueuedSound();
    else
        book->QueueSound(next.SourehID, next.AyehID);
}

void TReadingController::SelectionChanged() {
    if (ChainMoving)
        return;
    EndPractice();
    FollowingChanged();
}

void TReadingController::FollowingChanged() {
    if (ChainMoving || !HasBook())
        return;
    // Dropped at once, so that nothing of it is heard; prepared again once the command that
    // made the change is done, from the state it leaves.
    Book()->DropQueuedSound();
    if (FollowOnPending)
        return;
    FollowOnPending = true;
    QTimer::singleShot(0, this, [this] {
        FollowOnPending = false;
        try {
            FollowOn();
        } catch (const std::exception& error) {
            Q_EMIT Failed(QString::fromUtf8(error.what()));
        } catch (...) {
            Q_EMIT Failed(QStringLiteral("Unknown error"));
        }
    });
}

PracticeStep TReadingController::WhatFollowsNow() const {
    const TQuran* book = Book();
    const TSoureh* soureh = book->Soureh.get();
    const TAyeh* current = soureh->Ayeh.get();
    const ChainState state{book->GhariID,
                           Selection->RepeatCount(),
                           Selection->SourehIndex() + 1,
                           Selection->AyehIndex() + 1,
                           Selection->SourehCount(),
                           soureh->NumberOfAyeh,
                           soureh->SourehID,
                           current ? current->AyehID : 0,
                           current && current->RecitationStarted,
                           current && current->BismillahPlayed};
    if (Practice)
        return WhatFollowsInPractice(state, *Practice);
    return {WhatFollows(state), 0, false};
}
