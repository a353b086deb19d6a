#include "memorise/DueDialog.h"

#include "memorise/MemoriseCaptions.h"
#include "model/AyehSearch.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
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

// The pages as rows, each described only when the view asks for it: the view shows a screen
// of them, and six hundred rows made up front would cost more than the rest of the dialog.
class DueModel final : public QAbstractTableModel {
public:
    DueModel(QObject* parent, const std::vector<DuePage>& pages, QStringList sourehs)
        : QAbstractTableModel(parent), Pages(pages), Sourehs(std::move(sourehs)) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(Pages.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 4; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const DueRow row = DescribeDuePage(Pages[size_t(index.row())], Sourehs);
        const QString* cells[] = {&row.Page, &row.Sourehs, &row.Ayehs, &row.Count};
        return *cells[index.column()];
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return {};
        const QString* captions[] = {&CaptionDuePage, &CaptionDueSoureh, &CaptionDueAyehs, &CaptionDueCount};
        return *captions[section];
    }

private:
    const std::vector<DuePage>& Pages;
    QStringList Sourehs;
};

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

    Table = new QTableView(this);
    Table->setModel(new DueModel(Table, Pages, sourehs));
    Table->verticalHeader()->hide();
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    // Rows of one height: measuring each row's contents would describe every page.
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    int total = 0;
    for (const DuePage& page : Pages)
        total += int(page.Ayehs.size());
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

TDueDialog::~TDueDialog() {
    // The table's rows read the pages held here.
    delete Table;
}

void TDueDialog::Start() {
    if (Pages.empty())
        return;
    accept();
    Q_EMIT StartRequested(Pages);
}
