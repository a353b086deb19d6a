#include "memorise/ProgressWindow.h"

#include "content/MushafCounts.h"
#include "memorise/MemoriseCaptions.h"
#include "memorise/ProgressMapView.h"
#include "model/AyehSearch.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int NoteSourehRole = Qt::UserRole;
constexpr int NoteAyehRole = Qt::UserRole + 1;

// A small square of a state's colour, for the legend.
QLabel* Swatch(QWidget* parent, Progress state) {
    auto* swatch = new QLabel(parent);
    swatch->setFixedSize(14, 14);
    swatch->setStyleSheet(
        QStringLiteral("background: %1; border: 1px solid #888;").arg(ProgressColour(state).name()));
    return swatch;
}

} // namespace

TProgressWindow::TProgressWindow(QWidget* parent, LearnerData* learner, const AyehPages& pages,
                                 QStringList sourehs, const QString& notice)
    : QDialog(parent), Data(learner), Pages(pages), Sourehs(std::move(sourehs)) {
    setWindowTitle(CaptionProgressTitle);
    setLayoutDirection(Qt::RightToLeft);
    setModal(false);

    Map = new TProgressMapView(this);
    Map->SetSourehNames(Sourehs);
    ByPage = new QRadioButton(CaptionByPage, this);
    BySoureh = new QRadioButton(CaptionBySoureh, this);
    ByPage->setChecked(true);
    auto* units = new QButtonGroup(this);
    units->addButton(ByPage);
    units->addButton(BySoureh);
    connect(ByPage, &QRadioButton::toggled, this, [this](bool pagesShown) {
        Map->SetUnit(pagesShown ? ProgressUnit::Pages : ProgressUnit::Sourehs);
        Refresh();
    });
    connect(Map, &TProgressMapView::PageChosen, this, &TProgressWindow::OpenPage);

    auto* side = new QVBoxLayout;
    auto* unitRow = new QHBoxLayout;
    unitRow->addWidget(ByPage);
    unitRow->addWidget(BySoureh);
    unitRow->addStretch();
    side->addLayout(unitRow);
    for (int state = 0; state < 4; ++state) {
        auto* row = new QHBoxLayout;
        row->addWidget(Swatch(this, Progress(state)));
        Counts[size_t(state)] = new QLabel(this);
        row->addWidget(Counts[size_t(state)], 1);
        side->addLayout(row);
    }
    AyehTotals = new QLabel(this);
    AyehTotals->setWordWrap(true);
    side->addWidget(AyehTotals);
    side->addWidget(new QLabel(CaptionNotes, this));
    NotesList = new QListWidget(this);
    NotesList->setWordWrap(true);
    side->addWidget(NotesList, 1);
    connect(NotesList, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        Q_EMIT OpenAyeh(item->data(NoteSourehRole).toInt(), item->data(NoteAyehRole).toInt());
    });
    ExportButton = new QPushButton(CaptionExport, this);
    ImportButton = new QPushButton(CaptionImport, this);
    connect(ExportButton, &QPushButton::clicked, this, &TProgressWindow::ChooseExport);
    connect(ImportButton, &QPushButton::clicked, this, &TProgressWindow::ChooseImport);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ExportButton);
    buttons->addWidget(ImportButton);
    side->addLayout(buttons);
    Notice = new QLabel(this);
    Notice->setWordWrap(true);
    Notice->setText(Data ? notice : (notice.isEmpty() ? CaptionNoPlan : notice));
    side->addWidget(Notice);
    ExportButton->setEnabled(Data != nullptr);
    ImportButton->setEnabled(Data != nullptr);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Map, 3);
    layout->addLayout(side, 2);
    Refresh();
}

void TProgressWindow::Refresh() {
    const std::vector<AyehReview> reviews = Data ? Data->Reviews() : std::vector<AyehReview>{};
    Map->SetMap(MakeProgressMap(reviews, Pages, Data ? Data->Today() : 0));
    const ProgressMap& map = Map->Map();
    const ProgressCounts& counts = Map->Unit() == ProgressUnit::Pages ? map.PageCounts : map.SourehCounts;
    for (int state = 0; state < 4; ++state)
        Counts[size_t(state)]->setText(
            CaptionCountOf.arg(ProgressName(Progress(state)), PersianNumber(counts.ByState[size_t(state)])));
    AyehTotals->setText(CaptionAyehTotals.arg(
        PersianNumber(map.AyehCounts[Progress::Memorised]), PersianNumber(map.AyehCounts[Progress::Learning]),
        PersianNumber(map.AyehCounts[Progress::Due]), PersianNumber(TotalAyehCount)));
    NotesList->clear();
    if (!Data)
        return;
    for (const AyehNote& note : Data->Notes()) {
        const QString soureh = note.SourehID >= 1 && note.SourehID <= Sourehs.size()
                                   ? Sourehs[note.SourehID - 1]
                                   : PersianNumber(note.SourehID);
        auto* item = new QListWidgetItem(CaptionNoteLine.arg(soureh, PersianNumber(note.AyehID), note.Text),
                                         NotesList);
        item->setData(NoteSourehRole, note.SourehID);
        item->setData(NoteAyehRole, note.AyehID);
    }
}

TProgressWindow::Outcome TProgressWindow::ExportTo(const QString& file) {
    if (!Data)
        return {false, CaptionExportFailed.arg(CaptionNoPlan)};
    try {
        Data->ExportCsv(file);
    } catch (const std::exception& error) {
        return {false, CaptionExportFailed.arg(QString::fromUtf8(error.what()))};
    }
    return {true, CaptionExported.arg(QDir::toNativeSeparators(file))};
}

TProgressWindow::Outcome TProgressWindow::ImportFrom(const QString& file) {
    if (!Data)
        return {false, CaptionImportFailed.arg(CaptionNoPlan)};
    ImportSummary summary;
    try {
        summary = Data->ImportCsv(file);
    } catch (const std::exception& error) {
        return {false, CaptionImportFailed.arg(QString::fromUtf8(error.what()))};
    }
    Refresh();
    return {true,
            CaptionImported.arg(PersianNumber(summary.GradesAdded), PersianNumber(summary.GradesAlreadyThere),
                                PersianNumber(summary.Notes))};
}

void TProgressWindow::Report(const Outcome& outcome) {
    Notice->setText(outcome.Message);
    if (!outcome.Ok)
        QMessageBox::warning(this, CaptionProgressTitle, outcome.Message);
}

void TProgressWindow::ChooseExport() {
    const QString file = QFileDialog::getSaveFileName(
        this, CaptionExport, QDir::home().filePath(CaptionCsvDefaultName), CaptionCsvFilter);
    if (!file.isEmpty())
        Report(ExportTo(file));
}

void TProgressWindow::ChooseImport() {
    const QString file =
        QFileDialog::getOpenFileName(this, CaptionImport, QDir::homePath(), CaptionCsvFilter);
    if (!file.isEmpty())
        Report(ImportFrom(file));
}
