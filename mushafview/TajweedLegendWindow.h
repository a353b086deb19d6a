#pragma once
// The legend of the tajweed colours, in Persian: one row per colour with its swatch, the
// Persian names of the rules it marks and an example word.

#include <QDialog>

class QTableWidget;

class TTajweedLegendWindow final : public QDialog {
    Q_OBJECT
public:
    explicit TTajweedLegendWindow(QWidget* parent = nullptr);

    QTableWidget* Table() const { return Rows; }

private:
    QTableWidget* Rows = nullptr;
};
