#include "mainwindow/PracticeDialog.h"

#include "mainwindow/AidsDialogs.h"
#include "mainwindow/ErrorBox.h"
#include "mainwindow/ReadingAidsCaptions.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

TPracticeDialog::TPracticeDialog(QWidget* parent, const QFont& font, const QStringList& sourehs,
                                 std::function<int(int)> ayehCount,
                                 std::function<void(const PracticePlan&)> start, std::function<void()> stop)
    : QDialog(parent), AyehCount(std::move(ayehCount)), OnStart(std::move(start)), OnStop(std::move(stop)) {
    setWindowTitle(CaptionPracticeTitle);
    DressLikeMainWindow(this, font);

    const auto passageRow = [&](QComboBox*& soureh, QComboBox*& ayeh) {
        auto* row = new QHBoxLayout;
        soureh = new QComboBox(this);
        soureh->addItems(sourehs);
        ayeh = new QComboBox(this);
        ayeh->setMinimumContentsLength(4);
        row->addWidget(soureh, 1);
        row->addWidget(ayeh);
        return row;
    };
    auto* form = new QFormLayout;
    form->addRow(CaptionPracticeFrom, passageRow(FromSoureh, FromAyeh));
    form->addRow(CaptionPracticeTo, passageRow(ToSoureh, ToAyeh));

    Rounds = new QSpinBox(this);
    Rounds->setRange(EndlessRounds, MostPracticeRounds);
    Rounds->setSpecialValueText(CaptionPracticeEndless);
    form->addRow(CaptionPracticeRounds, Rounds);

    auto* pauseRow = new QHBoxLayout;
    Pause = new QComboBox(this);
    Pause->addItems({CaptionPauseNone, CaptionPauseFixed, CaptionPauseAyehLength, CaptionPauseTwice});
    PauseSeconds = new QSpinBox(this);
    PauseSeconds->setRange(FewestPauseSeconds, MostPauseSeconds);
    PauseSeconds->setSuffix(CaptionSeconds);
    pauseRow->addWidget(Pause, 1);
    pauseRow->addWidget(PauseSeconds);
    form->addRow(CaptionPracticePause, pauseRow);

    StartButton = new QPushButton(CaptionPracticeStart, this);
    StartButton->setDefault(true);
    StopButton = new QPushButton(CaptionPracticeStop, this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(StartButton);
    buttons->addWidget(StopButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(FromSoureh, &QComboBox::activated, this, [this] {
        FillAyehs(FromAyeh, FromSoureh->currentIndex() + 1, 1);
        KeepOrder(true);
    });
    connect(ToSoureh, &QComboBox::activated, this, [this] {
        FillAyehs(ToAyeh, ToSoureh->currentIndex() + 1, AyehCount(ToSoureh->currentIndex() + 1));
        KeepOrder(false);
    });
    connect(FromAyeh, &QComboBox::activated, this, [this] { KeepOrder(true); });
    connect(ToAyeh, &QComboBox::activated, this, [this] { KeepOrder(false); });
    connect(Pause, &QComboBox::currentIndexChanged, this,
            [this](int index) { PauseSeconds->setEnabled(index == int(PracticePause::Fixed)); });
    connect(StartButton, &QPushButton::clicked, this, [this] { RunHandler([this] { Start(); }); });
    connect(StopButton, &QPushButton::clicked, this, [this] { RunHandler([this] { Stop(); }); });
}

void TPracticeDialog::FillAyehs(QComboBox* ayehs, int sourehId, int chosen) {
    ayehs->clear();
    const int count = AyehCount(sourehId);
    for (int ayeh = 1; ayeh <= count; ++ayeh)
        ayehs->addItem(QString::number(ayeh));
    ayehs->setCurrentIndex(std::clamp(chosen, 1, std::max(count, 1)) - 1);
}

void TPracticeDialog::KeepOrder(bool firstMoved) {
    const auto from = std::pair(FromSoureh->currentIndex(), FromAyeh->currentIndex());
    const auto to = std::pair(ToSoureh->currentIndex(), ToAyeh->currentIndex());
    if (from <= to)
        return;
    // The end that did not move follows the one that did.
    QComboBox* soureh = firstMoved ? ToSoureh : FromSoureh;
    QComboBox* ayeh = firstMoved ? ToAyeh : FromAyeh;
    const auto& target = firstMoved ? from : to;
    soureh->setCurrentIndex(target.first);
    FillAyehs(ayeh, target.first + 1, target.second + 1);
}

void TPracticeDialog::Show(const PracticePlan& plan) {
    const int sourehs = FromSoureh->count();
    const int fromSoureh = std::clamp(plan.FromSoureh, 1, std::max(sourehs, 1));
    const int toSoureh = std::clamp(plan.ToSoureh, fromSoureh, std::max(sourehs, 1));
    FromSoureh->setCurrentIndex(fromSoureh - 1);
    FillAyehs(FromAyeh, fromSoureh, plan.FromAyeh);
    ToSoureh->setCurrentIndex(toSoureh - 1);
    FillAyehs(ToAyeh, toSoureh, plan.ToAyeh);
    KeepOrder(true);
    Rounds->setValue(plan.Rounds);
    Pause->setCurrentIndex(int(plan.Pause));
    PauseSeconds->setValue(plan.PauseSeconds);
    PauseSeconds->setEnabled(plan.Pause == PracticePause::Fixed);
    show();
    raise();
    activateWindow();
}

PracticePlan TPracticeDialog::Plan() const {
    PracticePlan plan;
    plan.FromSoureh = FromSoureh->currentIndex() + 1;
    plan.FromAyeh = FromAyeh->currentIndex() + 1;
    plan.ToSoureh = ToSoureh->currentIndex() + 1;
    plan.ToAyeh = ToAyeh->currentIndex() + 1;
    plan.Rounds = Rounds->value();
    plan.Pause = PracticePause(std::max(Pause->currentIndex(), 0));
    plan.PauseSeconds = PauseSeconds->value();
    return plan;
}

void TPracticeDialog::Start() {
    const PracticePlan plan = Plan();
    hide();
    OnStart(plan);
}

void TPracticeDialog::Stop() {
    hide();
    OnStop();
}
