#pragma once
// The memorisation windows opened from the main window, through additions only: the key
// Ctrl+H, the page's context menu («حفظ از این آیه…», «یادداشت این آیه…», «مرور امروز»,
// «پیشرفت حفظ») and the note shown in the page's tooltip. No control of the window changes.
//
// The learner's file is opened at first use; when it was damaged and moved aside, or cannot
// be used, the learner is told once, at the next command they give here.

#include "learning/LearnerData.h"
#include "learning/LearningClock.h"
#include "learning/ReviewPlan.h"
#include "learning/Sitting.h"
#include "model/Practice.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class QMenu;
class TDueDialog;
class TPracticeDialog;
class TProgressWindow;
class TReadingAids;
class TSittingPanel;
class TTntMainForm;

class TMemoriseCommands final : public QObject {
    Q_OBJECT
public:
    // form owns this object; aids is the form's, whose page menu gains the entries.
    TMemoriseCommands(TTntMainForm* form, TReadingAids* aids);
    ~TMemoriseCommands() override;

    // Ctrl+H and «حفظ از این آیه…»: the passage chooser, from the ayeh given (by default the
    // one chosen in the lists) to the last ayeh of its soureh on its page.
    void ChoosePassage(int fromSoureh = 0, int fromAyeh = 0);
    // A sitting over the ayehs from the first to the last.
    void StartPassage(const PracticePlan& plan);
    // A sitting over what is due.
    void StartDue(const std::vector<DuePage>& due);
    void ShowDue();
    void EditNote(int sourehId, int ayehId);
    void ShowProgress();

    // The page menu's entries, added at its end.
    void AddMenuEntries(QMenu* menu, int sourehId, int ayehId);

    // Open windows, or null.
    TSittingPanel* Panel() const;
    TProgressWindow* ProgressWindow() const;
    TDueDialog* DueDialog() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The learner's data, opened at first use; null when unavailable. quiet keeps the
    // opening's message for the next command instead of showing it now.
    LearnerData* Learner(bool quiet = false);
    // Shows the opening's message once.
    void TellOpening();
    // Every ayeh's page of the open book; null without a book.
    const AyehPages* Pages();
    QStringList SourehNames() const;
    WordCounts Words();
    void StartSitting(std::vector<SittingAyeh> ayehs);
    bool ShowNoteTip(QEvent* event);

    TTntMainForm* Form;
    TReadingAids* Aids;
    SystemLearningClock Clock;
    std::optional<LearnerOpening> Opening;
    bool Told = false;
    AyehPages BookPages;
    std::weak_ptr<const void> PagesBook;
    bool PagesRead = false;
    QPointer<TSittingPanel> Sitting;
    QPointer<TProgressWindow> Progress;
    QPointer<TDueDialog> Due;
    QPointer<TPracticeDialog> Chooser;
};
