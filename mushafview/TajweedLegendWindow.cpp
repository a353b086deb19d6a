#include "mushafview/TajweedLegendWindow.h"

#include "mushafview/MushafViewCaptions.h"
#include "tajweed/TajweedLegend.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <vector>

TTajweedLegendWindow::TTajweedLegendWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(CaptionTajweedLegend);
    setLayoutDirection(Qt::RightToLeft);
    setModal(false);

    // Rules that share a colour share a row, in the legend's order.
    struct Row {
        std::uint32_t Colour;
        QStringList Names;
        QString Example;
    };
    std::vector<Row> rows;
    for (const TajweedLegendEntry& entry : TajweedLegend()) {
        auto row =
            std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.Colour == entry.Colour; });
        if (row == rows.end())
            row = rows.insert(rows.end(), Row{entry.Colour, {}, entry.Example.toString()});
        row->Names << entry.PersianName.toString();
    }

    Rows = new QTableWidget(int(rows.size()), 3, this);
    Rows->setHorizontalHeaderLabels({CaptionLegendColour, CaptionLegendRule, CaptionLegendExample});
    Rows->verticalHeader()->hide();
    Rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Rows->setSelectionMode(QAbstractItemView::NoSelection);
    QFont example = font();
    example.setPointSizeF(example.pointSizeF() * 1.6);
    for (int i = 0; i < int(rows.size()); ++i) {
        const Row& row = rows[size_t(i)];
        const QColor colour = QColor::fromRgb(QRgb(row.Colour));
        auto* swatch = new QTableWidgetItem;
        swatch->setBackground(colour);
        Rows->setItem(i, 0, swatch);
        Rows->setItem(i, 1, new QTableWidgetItem(row.Names.join(QStringLiteral("، "))));
        auto* word = new QTableWidgetItem(row.Example);
        word->setForeground(colour);
        word->setFont(example);
        Rows->setItem(i, 2, word);
    }
    Rows->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    Rows->resizeColumnToContents(2);
    Rows->resizeRowsToContents();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Rows);
    resize(560, 520);
}
