#include "memorise/SittingPanel.h"

#include "learning/LearnerData.h"
#include "memorise/MemoriseCaptions.h"
#include "model/AyehSearch.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The grade of a digit key in any of the learner's scripts: 1 to 4, or none.
std::optional<Grade> GradeOfKey(const QKeyEvent& event) {
    if (event.key() >= Qt::Key_1 && event.key() <= Qt::Key_4)
        return GradeFromNumber(event.key() - Qt::Key_0);
    const QString text = event.text();
    if (text.size() == 1 && text[0].isDigit())
        return GradeFromNumber(text[0].digitValue());
    return std::nullopt;
}

} // namespace

TSittingPanel::TSittingPanel(QWidget* parent, std::vector<SittingAyeh> ayehs, SittingHint hint,
                             LearnerData* learner, QStringList sourehs)
    : QDialog(parent), Run(std::move(ayehs), hint), Data(learner), Sourehs(std::move(sourehs)) {
    setWindowTitle(CaptionSittingTitle);
    setLayoutDirection(Qt::RightToLeft);
    setModal(false);
    setFocusPolicy(Qt::StrongFocus);

    AyehLabel = new QLabel(this);
    WordsLabel = new QLabel(this);
    Error = new QLabel(this);
    Error->setWordWrap(true);
    Error->hide();
    // The keys belong to the panel: a focused button would take Space and Enter for itself.
    const auto button = [this](const QString& caption, auto command) {
        auto* made = new QPushButton(caption, this);
        made->setFocusPolicy(Qt::NoFocus);
        made->setAutoDefault(false);
        connect(made, &QPushButton::clicked, this, command);
        return made;
    };
    RevealWordButton = button(CaptionRevealWord, [this] { RevealWord(); });
    RevealAyehButton = button(CaptionRevealAyeh, [this] { RevealAyeh(); });
    StepBackButton = button(CaptionStepBack, [this] { StepBack(); });
    const QString grades[] = {CaptionForgot, CaptionHard, CaptionGood, CaptionEasy};
    for (int g = 0; g < 4; ++g) {
        GradeButtons[size_t(g)] = button(grades[g], [this, g] { GiveGrade(Grade(g + 1)); });
        GradeButtons[size_t(g)]->setToolTip(CaptionKeyHint.arg(PersianNumber(g + 1)));
    }
    EndButton = button(CaptionEndSitting, [this] { End(); });

    auto* reveal = new QHBoxLayout;
    reveal->addWidget(RevealWordButton);
    reveal->addWidget(RevealAyehButton);
    reveal->addWidget(StepBackButton);
    auto* grade = new QHBoxLayout;
    for (QPushButton* b : GradeButtons)
        grade->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AyehLabel);
    layout->addWidget(WordsLabel);
    layout->addLayout(reveal);
    layout->addLayout(grade);
    layout->addWidget(Error);
    layout->addWidget(EndButton, 0, Qt::AlignLeft);
    Show();
}

void TSittingPanel::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setFocus(Qt::OtherFocusReason);
    // The view learns of the first ayeh once there is someone to see it.
    if (!Announced && !Run.Ended()) {
        Announced = true;
        const SittingAyeh& first = Run.Current();
        Q_EMIT AyehChanged(first.SourehID, first.AyehID, first.PageID);
        Q_EMIT RevealedChanged(first.SourehID, first.AyehID, Run.ShownWords(Run.Position()));
    }
}

void TSittingPanel::Show() {
    const bool going = !Run.Ended();
    for (QPushButton* b : {RevealWordButton, RevealAyehButton, StepBackButton})
        b->setEnabled(going);
    for (QPushButton* b : GradeButtons)
        b->setEnabled(going);
    if (!going) {
        AyehLabel->setText(CaptionSittingEnded.arg(PersianNumber(int(Run.Grades().size()))));
        WordsLabel->clear();
        return;
    }
    const SittingAyeh& ayeh = Run.Current();
    const QString soureh = ayeh.SourehID >= 1 && ayeh.SourehID <= Sourehs.size()
                               ? Sourehs[ayeh.SourehID - 1]
                               : PersianNumber(ayeh.SourehID);
    AyehLabel->setText(CaptionSittingAyeh.arg(soureh, PersianNumber(ayeh.AyehID),
                                              PersianNumber(int(Run.Position()) + 1),
                                              PersianNumber(int(Run.Ayehs().size()))));
    WordsLabel->setText(
        CaptionSittingWords.arg(PersianNumber(Run.ShownWords(Run.Position())), PersianNumber(ayeh.Words)));
}

std::set<WordKey> TSittingPanel::HiddenWords() const {
    std::set<WordKey> hidden;
    for (size_t i = 0; i < Run.Ayehs().size(); ++i) {
        const SittingAyeh& ayeh = Run.Ayehs()[i];
        for (int word = Run.ShownWords(i) + 1; word <= ayeh.Words; ++word)
            hidden.insert({ayeh.SourehID, ayeh.AyehID, word});
    }
    return hidden;
}

void TSittingPanel::RevealWord() {
    if (Run.RevealWord()) {
        Q_EMIT RevealedChanged(Run.Current().SourehID, Run.Current().AyehID, Run.ShownWords(Run.Position()));
        Show();
    }
}

void TSittingPanel::RevealAyeh() {
    if (Run.RevealAyeh()) {
        Q_EMIT RevealedChanged(Run.Current().SourehID, Run.Current().AyehID, Run.ShownWords(Run.Position()));
        Show();
    }
}

void TSittingPanel::StepBack() {
    if (Run.StepBack()) {
        Q_EMIT RevealedChanged(Run.Current().SourehID, Run.Current().AyehID, Run.ShownWords(Run.Position()));
        Show();
    }
}

void TSittingPanel::GiveGrade(Grade grade) {
    if (Run.Ended())
        return;
    SittingStep step = SittingStep::Ended;
    try {
        step = Data ? GradeAndRecord(Run, *Data, grade) : Run.GiveGrade(grade);
    } catch (const std::exception& error) {
        Error->setText(CaptionGradeNotSaved.arg(QString::fromUtf8(error.what())));
        Error->show();
        return;
    }
    Error->hide();
    Show();
    if (step == SittingStep::Ended) {
        Finish();
        return;
    }
    const SittingAyeh& next = Run.Current();
    if (step == SittingStep::NewPage)
        Q_EMIT PageTurnNeeded(next.PageID);
    Q_EMIT AyehChanged(next.SourehID, next.AyehID, next.PageID);
    Q_EMIT RevealedChanged(next.SourehID, next.AyehID, Run.ShownWords(Run.Position()));
}

void TSittingPanel::Finish() {
    if (Over)
        return;
    Over = true;
    Run.End();
    Show();
    Q_EMIT Ended();
}

void TSittingPanel::End() {
    Finish();
    QDialog::reject();
}

void TSittingPanel::reject() {
    End();
}

void TSittingPanel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Left:
        RevealWord();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        RevealAyeh();
        return;
    case Qt::Key_Right:
        StepBack();
        return;
    case Qt::Key_Escape:
        End();
        return;
    default:
        break;
    }
    if (const std::optional<Grade> grade = GradeOfKey(*event)) {
        GiveGrade(*grade);
        return;
    }
    QDialog::keyPressEvent(event);
}
