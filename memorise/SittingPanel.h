#pragma once
// The panel of a memorisation sitting: which ayeh is being recited and how much of it is
// revealed, with buttons and keys for the learner:
//
//   Space, Left   the next word        Enter   the rest of the ayeh   Right   one word back
//   1 to 4        forgot, hard, good, easy (Persian and Arabic-Indic digits too)
//   Escape        ends the sitting
//
// It drives a MemorisationSitting and records each grade in the learner's data; the view
// that hides the words listens to its signals.

#include "learning/Sitting.h"
#include "mushaf/MushafPage.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <set>
#include <vector>

class LearnerData;
class QLabel;
class QPushButton;

class TSittingPanel final : public QDialog {
    Q_OBJECT
public:
    // learner, when not null, must outlive the panel; without it grades are not kept.
    // sourehs: entry k - 1 names soureh k.
    TSittingPanel(QWidget* parent, std::vector<SittingAyeh> ayehs, SittingHint hint, LearnerData* learner,
                  QStringList sourehs);

    const MemorisationSitting& Sitting() const { return Run; }
    // The words of the passage the learner has not seen yet, for the page to leave out: of
    // each ayeh those after its shown ones (the end signs stay). Empty once the sitting is over.
    std::set<WordKey> HiddenWords() const;

    QLabel* AyehLabel = nullptr;
    QLabel* WordsLabel = nullptr;
    QLabel* Error = nullptr;
    QPushButton* RevealWordButton = nullptr;
    QPushButton* RevealAyehButton = nullptr;
    QPushButton* StepBackButton = nullptr;
    std::array<QPushButton*, 4> GradeButtons{}; // forgot, hard, good, easy
    QPushButton* EndButton = nullptr;

    void RevealWord();
    void RevealAyeh();
    void StepBack();
    // Records the grade and goes on to the next ayeh; a grade that cannot be kept is shown
    // and the sitting stays at its ayeh.
    void GiveGrade(Grade grade);
    // Shows everything and closes the panel.
    void End();

Q_SIGNALS:
    // The words shown of the current ayeh changed (counted from its first in reading order).
    void RevealedChanged(int sourehId, int ayehId, int shownWords);
    // The sitting moved on to another ayeh (also once at the start).
    void AyehChanged(int sourehId, int ayehId, int pageId);
    // The next ayeh is on another page than the last one.
    void PageTurnNeeded(int pageId);
    // The sitting is over: every ayeh graded, or the learner ended it.
    void Ended();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void Show();
    void Finish();

    MemorisationSitting Run;
    LearnerData* Data;
    QStringList Sourehs;
    bool Announced = false;
    bool Over = false;
};
