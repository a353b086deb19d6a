#include "memorise/DueDialog.h"

#include "memorise/MemoriseCaptions.h"
#include "model/AyehSearch.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString SourehName(int sourehId, const QStringList& sourehs) {
    return sourehId >= 1 && sourehId <= sourehs.size() ? sourehs[sourehId - 1] : PersianNumber(sourehId);
}

// Runs of consecutive ayehs of one soureh: "۱–۳، ۵".
QString AyehRuns(const std::vector<int>& ayehs) {
    QStringList runs;
    for (size_t i = 0; i < ayehs.size();) {
        size_t end = i;
        while (end + 1 < ayehs.size() && ayehs[end + 1] == ayehs[end] + 1)
            ++end;
        runs << (end == i ? PersianNumber(ayehs[i])
                          : PersianNumber(ayehs[i]) + QChar(0x2013) + PersianNumber(ayehs[end]));
        i = end + 1;
    }
    return runs.join(QStringLiteral(u"، "));
}

} // namespace

DueRow DescribeDuePage(const DuePage& page, const QStringList& sourehs) {
    DueRow row;
    row.Page = page.PageID > 0 ? PersianNumber(page.PageID) : CaptionUnknownPage;
    QStringList names;
    QStringList ayehs;
    for (size_t i = 0; i < page.Ayehs.size();) {
        const int soureh = page.Ayehs[i].SourehID;
        std::vector<int> numbers;
        for (; i < page.Ayehs.size() && page.Ayehs[i].SourehID == soureh; ++i)
            numbers.push_back(page.Ayehs[i].AyehID);
        names << SourehName(soureh, sourehs);
        ayehs << AyehRuns(numbers);
    }
    row.Sourehs = names.join(QStringLiteral(u"، "));
    row.Ayehs = ayehs.join(QStringLiteral(u"؛ "));
    row.Count = PersianNumber(int(page.Ayehs.size()));
    return row;
}

TDueDialog::TDueDialog(QWidget* parent, std::vector<DuePage> due, const QStringList& sourehs)
    : QDialog(parent), Pages(std::move(due)) {
    setWindowTitle(CaptionDueTitle);
    setLayoutDirection(Qt::RightToLeft);

    Table = new QTableWidget(int(Pages.size()), 4, this);
    Table->setHorizontalHeaderLabels({CaptionDuePage, CaptionDueSoureh, CaptionDueAyehs, CaptionDueCount});
    Table->verticalHeader()->hide();
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    // Rows of a fixed height: measuring 600 rows' contents would cost more than filling them.
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    int total = 0;
    for (int r = 0; r < int(Pages.size()); ++r) {
        const DueRow row = DescribeDuePage(Pages[size_t(r)], sourehs);
        const QString cells[] = {row.Page, row.Sourehs, row.Ayehs, row.Count};
        for (int c = 0; c < 4; ++c)
            Table->setItem(r, c, new QTableWidgetItem(cells[c]));
        total += int(Pages[size_t(r)].Ayehs.size());
    }
    Summary =
        new QLabel(total > 0 ? CaptionDueSummary.arg(PersianNumber(total), PersianNumber(int(Pages.size())))
                             : CaptionNothingDue,
                   this);
    StartButton = new QPushButton(CaptionStartReview, this);
    StartButton->setEnabled(total > 0);
    StartButton->setDefault(true);
    CloseButton = new QPushButton(CaptionCloseDue, this);
    connect(StartButton, &QPushButton::clicked, this, &TDueDialog::Start);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(StartButton);
    buttons->addWidget(CloseButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Summary);
    layout->addWidget(Table, 1);
    layout->addLayout(buttons);
    resize(560, 420);
}

void TDueDialog::Start() {
    if (Pages.empty())
        return;
    accept();
    Q_EMIT StartRequested(Pages);
}
