#pragma once
// A memorisation sitting, without any display: a run of ayehs whose words are hidden, which
// the learner reveals word by word (or an ayeh at a time) while reciting from memory, then
// grades, ayeh after ayeh, until the run or the learner ends it.
//
// Words are counted per ayeh in reading order, as the page's typesetting has them; the view
// hides and shows words by these counts.

#include "learning/ReviewPlan.h"
#include "learning/Schedule.h"

#include <functional>
#include <vector>

class LearnerData;
class QSettings;

// What stays shown of an ayeh not yet revealed.
enum class SittingHint { Nothing = 0, FirstWord = 1 };

// The choices kept in the settings file.
struct SittingOptions {
    SittingHint Hint = SittingHint::Nothing;
    bool PlayRevealed = false; // the reciter plays each ayeh once it is revealed
    bool operator==(const SittingOptions&) const = default;
};
// A missing or damaged value falls back to the default's; never throws.
SittingOptions ReadSittingOptions(const QSettings& settings);
void WriteSittingOptions(QSettings& settings, const SittingOptions& options);

struct SittingAyeh {
    int SourehID = 0;
    int AyehID = 0;
    int PageID = 0;
    int Words = 0;
    bool operator==(const SittingAyeh&) const = default;
};

// The number of words of an ayeh in reading order.
using WordCounts = std::function<int(int sourehId, int ayehId)>;

// The ayehs from the first to the last (Mushaf order, across sourehs); none when the passage
// is not valid (model/Practice.h).
std::vector<SittingAyeh> PassageAyehs(int fromSoureh, int fromAyeh, int toSoureh, int toAyeh,
                                      const AyehPages& pages, const WordCounts& words);
// The ayehs due, page after page.
std::vector<SittingAyeh> DueAyehs(const std::vector<DuePage>& due, const WordCounts& words);

// What grading an ayeh led to.
enum class SittingStep {
    SamePage, // the next ayeh is on the page shown
    NewPage,  // the next ayeh is on another page: turn to it
    Ended,    // that was the last ayeh
};

class MemorisationSitting final {
public:
    MemorisationSitting(std::vector<SittingAyeh> ayehs, SittingHint hint);

    const std::vector<SittingAyeh>& Ayehs() const { return Run; }
    // The ayeh being recited: an index into Ayehs(), equal to its size once ended.
    size_t Position() const { return At; }
    bool Ended() const { return At >= Run.size(); }
    const SittingAyeh& Current() const; // only while not ended

    // The words shown of ayeh `index`, counted from its first in reading order: all of an
    // ayeh already graded (and of every ayeh once ended), those revealed of the current one,
    // the hint of those to come.
    int ShownWords(size_t index) const;

    // Each is false, changing nothing, when there is nothing to do (ended, or no word left).
    bool RevealWord();
    bool RevealAyeh();
    bool StepBack(); // hides the last word revealed, never the hint

    // Keeps the grade of the current ayeh and goes on to the next.
    SittingStep GiveGrade(Grade grade);
    // The grades given so far, one per ayeh passed.
    const std::vector<Grade>& Grades() const { return Given; }
    // Shows everything; grading ends.
    void End();

private:
    int Hinted(const SittingAyeh& ayeh) const;

    std::vector<SittingAyeh> Run;
    SittingHint Hint;
    size_t At = 0;
    int Shown = 0;
    std::vector<Grade> Given;
};

// Records the grade of the sitting's current ayeh in the learner's data, then goes on. When it
// cannot be recorded the error passes on and the sitting stays at that ayeh.
SittingStep GradeAndRecord(MemorisationSitting& sitting, LearnerData& data, Grade grade);
