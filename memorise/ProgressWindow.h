#pragma once
// The progress window: the map of the pages or sourehs coloured by state (a toggle), the
// counts of each state beside it as the legend, the notes on ayehs, and the export and
// import of grades and notes as CSV. A click on a page asks for it to be opened.
//
// Without the learner's data (a newer reader's file, a folder that cannot be written) it
// shows an empty map and the reason, and exports and imports nothing.

#include "learning/LearnerData.h"
#include "learning/ReviewPlan.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class TProgressMapView;

class TProgressWindow final : public QDialog {
    Q_OBJECT
public:
    // learner may be null; it and pages must outlive the window. sourehs: entry k - 1 names soureh
    // k. notice: what the learner should know about the data (a file moved aside), or empty.
    TProgressWindow(QWidget* parent, LearnerData* learner, const AyehPages& pages, QStringList sourehs,
                    const QString& notice = {});

    TProgressMapView* Map = nullptr;
    QRadioButton* ByPage = nullptr;
    QRadioButton* BySoureh = nullptr;
    std::array<QLabel*, 4> Counts{}; // by Progress
    QLabel* AyehTotals = nullptr;
    QListWidget* NotesList = nullptr;
    QPushButton* ExportButton = nullptr;
    QPushButton* ImportButton = nullptr;
    QLabel* Notice = nullptr;

    // Reads the data again: the map, the counts and the notes.
    void Refresh();

    // Write or read a CSV file. Each returns the Persian message for the learner, and
    // whether it failed; a failed import has changed nothing.
    struct Outcome {
        bool Ok = false;
        QString Message;
    };
    Outcome ExportTo(const QString& file);
    Outcome ImportFrom(const QString& file);
    // The same after a file dialog; the message is shown in the window, a failure also in a
    // message box.
    void ChooseExport();
    void ChooseImport();

Q_SIGNALS:
    void OpenPage(int pageId);
    // A note in the list chosen (double click or Enter): its ayeh.
    void OpenAyeh(int sourehId, int ayehId);

private:
    void Report(const Outcome& outcome);

    LearnerData* Data;
    const AyehPages& Pages;
    QStringList Sourehs;
};
