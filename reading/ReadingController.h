#pragma once
// The reading's commands, one set for every view: choose a soureh, select and recite an ayeh,
// pause or continue, go to or turn a page, step to the next or previous ayeh, start and end a
// practice. It carries the continuous recitation (what follows when a recording ends, and the
// recording queued to follow it without a gap) and the practice, and tells views what changed
// through its signals. It owns no widget: it acts on the book and on the view that holds the
// selection (IReadingSelection), and reads the selection there each time it acts.
//
// Re-entrancy: reciting and the sound cache's messages run pending events, in which any
// command, a notice or the closing of the window may run. A command that recites returns
// without touching anything more once this controller or the book has gone meanwhile.
//
// Errors of a command pass on to its caller (the view's handler shows them); the chain's own
// work ends in silence where it fails, and work deferred to the event loop reports through
// Failed.

#include "audio/AudioPlayer.h"
#include "model/Practice.h"
#include "reading/ReadingViews.h"
#include "reading/RecitationRule.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class TAyeh;
class TQuran;

class TReadingController final : public QObject {
    Q_OBJECT
public:
    // Where the book is found each time it is needed: the book may be built and freed while
    // this controller lives.
    using BookSource = std::function<TQuran*()>;

    // selection: the view holding the lists, the repeat count and the translation box; not
    // null, and it outlives this controller. book: GlobalQuran when empty.
    explicit TReadingController(IReadingSelection* selection, QObject* parent = nullptr,
                                BookSource book = {});

    // The book acted on, null while there is none (not built, or the window has been closed).
    TQuran* Book() const;
    // Whether there is a book with a current soureh to act on.
    bool HasBook() const;
    // The number of ayehs of a soureh of the book, read without making it current; 0 for a
    // soureh it does not have or without a book.
    int NumberOfAyehOf(int sourehId) const;

    // --- Selection ---
    // Fills the soureh list and selects the ayeh, highlighted on its page; a soureh or ayeh
    // the book does not have gives soureh 1, ayeh 1. Nothing is recited, no translation shown.
    void ShowStartPosition(int sourehId, int ayehId);
    // The user chose the soureh the soureh list now shows: ends a practice, stops a recording
    // that plays (a paused one stays paused), refills the ayeh list and selects its ayeh 1.
    // Nothing is highlighted, shown or recited.
    void SourehChosen();
    // Chooses sourehId in the soureh list, as the user does, then as SourehChosen.
    void ChooseSoureh(int sourehId);
    // Chooses the soureh and ayeh as the user does (SourehChosen, then the ayeh), paints the
    // ayeh red on its page drawn afresh, scrolls it into view and shows its translation.
    // Nothing is recited.
    void ShowAyeh(int sourehId, int ayehId);
    // ShowAyeh of the ayeh step places after (positive) or before (negative) the current one,
    // across soureh ends; nothing at either end of the book.
    void StepAyeh(int step);
    // The reciter (1..5) of the next recitation; one in progress plays on.
    void SetReciter(int ghariId);

    // --- Recitation ---
    // Ends a practice, sets the pause state back, pauses a recording that plays and recites
    // the ayeh the lists show, as often as the repeat count says, then shows its translation.
    void ReciteChosen();
    // As ReciteChosen for (sourehId, ayehId), which the lists then show: a click on an ayeh.
    // A soureh the book does not have changes nothing beyond the pause.
    void ReciteAyeh(int sourehId, int ayehId);
    // Pauses a recording that plays or continues the paused one. False, with nothing done,
    // when the player is neither playing, paused nor open.
    bool PauseOrContinue();
    // Whether the recording is paused by PauseOrContinue (the pause button reads "continue").
    bool Paused() const { return PausedNow; }

    // --- Pages ---
    // Shows page pageId scrolled to the top with its first ayeh selected, red and translated;
    // a recording in progress plays on. False, with nothing done, for a page outside 1..604.
    bool GoToPage(int pageId);
    // GoToPage of the page step pages on from the one shown; nothing beyond the first or the
    // last page.
    void TurnPage(int step);

    // --- Practice ---
    // Whether plan can start: a book, a valid passage, sourehs the soureh list holds.
    bool CanPractise(const PracticePlan& plan) const;
    // Recites plan's first ayeh as ReciteChosen does, each ayeh of the passage as often as the
    // repeat count says (at least once), and keeps to the passage for its rounds.
    void StartPractice(const PracticePlan& plan);
    // Ends a practice; the recitation in progress goes on as without one.
    void EndPractice();
    // Ends a practice and stops its recording.
    void StopPractice();
    bool Practicing() const { return Practice.has_value(); }
    const std::optional<PracticeRun>& CurrentPractice() const { return Practice; }

    // --- What views and the player report ---
    // The player's notice of the end of play number play (see AudioPlayer): the continuous
    // recitation's step. Only the end of the play the book awaits acts.
    void PlayerNotified(qint64 play);
    // The soureh or ayeh list's selection changed: one the chain or a practice did not make
    // itself ends the practice, and the queued recording is prepared again.
    void SelectionChanged();
    // Something the rule of what follows reads has changed (a list, the repeat count, the
    // reciter): the queued recording is dropped now and prepared again from the event loop.
    void FollowingChanged();

    // --- Steps the commands share, open to views ---
    // What follows the recording in progress, read from the selection and the book now, by
    // the practice's rule while one runs. Needs a book.
    PracticeStep WhatFollowsNow() const;
    // After a recitation has begun its recording: sets the practice's pause after it and
    // queues the recording that follows it, so that it starts on the sample after this one
    // ends; drops the queued one when nothing plays that the chain follows.
    void FollowOn();
    // The translation step: the translation box shows the book's current ayeh's translation.
    void ShowTranslation();
    // Sets the pause state back to "not paused" (the pause button up, reading "pause").
    void ResetPause();
    // Refills the ayeh list with the ayehs of sourehId, which becomes the book's soureh.
    void RefillAyehList(int sourehId);
    // The repeat count as the rule counts it: typed values beyond the view's range clamped.
    int RepeatCount() const;

Q_SIGNALS:
    // The book's current ayeh or the page shown changed (after a command or a chain step).
    void CurrentAyehChanged(int sourehId, int ayehId, int pageId);
    void PageChanged(int pageId);
    // The player's mode after a command or a chain step changed it.
    void PlayStateChanged(PlayerMode mode);
    void PausedChanged(bool paused);
    // The soureh list's selection was set; the ayeh list was refilled or its selection set.
    void SourehListChanged(int sourehId);
    void AyehListChanged(int sourehId, int ayehId);
    // The chain or a practice set the repeat count.
    void RepeatCountChanged(int count);
    void TranslationShown(const QString& text);
    void PracticeStarted(const PracticePlan& plan);
    void PracticeEnded();
    // Work run later from the event loop failed; a command's own errors pass to its caller.
    void Failed(const QString& message);

private:
    // The selection sequence: sourehId in the soureh list, its ayehs in the ayeh list, ayehId
    // there, and the ayeh made the book's current one. Null, with the lists as far as they
    // got, for a soureh or ayeh the lists do not hold.
    TAyeh* Select(int sourehId, int ayehId);
    // Makes (sourehId, ayehId) the book's current ayeh without touching the lists.
    TAyeh* SelectInBook(int sourehId, int ayehId);
    // Recites ayeh count times, then the translation step and FollowOn. False when this
    // controller or the book went while reciting ran events; nothing more has been done then.
    bool ReciteAndShow(TAyeh* ayeh, int count);
    // Pauses the player when it plays.
    void PauseIfPlaying();
    // Emits what changed of the current ayeh, the page and the player's mode since last told.
    void Announce();

    IReadingSelection* Selection;
    BookSource BookOf;
    std::optional<PracticeRun> Practice;
    bool PausedNow = false;
    // Set while the chain or a practice moves the lists' selection or the repeat count itself.
    bool ChainMoving = false;
    bool FollowOnPending = false;
    // What views were last told.
    int ToldSoureh = 0;
    int ToldAyeh = 0;
    int ToldPage = 0;
    PlayerMode ToldMode = pmNotReady;
};
