#pragma once
// «مرور امروز»: what is due today, page by page (the page, its sourehs, its ayehs and how
// many), and a button that asks for a sitting over all of it.

#include "learning/ReviewPlan.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <vector>

class QLabel;
class QPushButton;
class QTableView;

// A page's due ayehs as the list shows them: "۱–۳، ۵" per soureh, sourehs by name.
struct DueRow {
    QString Page;
    QString Sourehs;
    QString Ayehs;
    QString Count;
};
DueRow DescribeDuePage(const DuePage& page, const QStringList& sourehs);

class TDueDialog final : public QDialog {
    Q_OBJECT
public:
    // sourehs: entry k - 1 names soureh k.
    TDueDialog(QWidget* parent, std::vector<DuePage> due, const QStringList& sourehs);
    ~TDueDialog() override;

    QTableView* Table = nullptr; // its rows are described as they are shown
    QLabel* Summary = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* CloseButton = nullptr;

    const std::vector<DuePage>& Due() const { return Pages; }
    // Closes the dialog and asks for the sitting.
    void Start();

Q_SIGNALS:
    // The ayehs to review, page after page.
    void StartRequested(const std::vector<DuePage>& due);

private:
    std::vector<DuePage> Pages;
};
