#pragma once
// The practice dialog: the passage from a first to a last ayeh (soureh and ayeh lists, the
// last never before the first), the rounds (1 to 99, or without end) and the pause after each
// ayeh, with Start and Stop. Right to left, in the main window's list font and colours.

#include "model/Practice.h"

#include <QDialog>
#include <QFont>
#include <QStringList>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

class TPracticeDialog final : public QDialog {
    Q_OBJECT
public:
    // sourehs: the soureh list's entries, entry k - 1 for soureh k; ayehCount: the ayehs of a
    // soureh of the book.
    TPracticeDialog(QWidget* parent, const QFont& font, const QStringList& sourehs,
                    std::function<int(int sourehId)> ayehCount,
                    std::function<void(const PracticePlan&)> start, std::function<void()> stop);

    QComboBox* FromSoureh = nullptr;
    QComboBox* FromAyeh = nullptr;
    QComboBox* ToSoureh = nullptr;
    QComboBox* ToAyeh = nullptr;
    QSpinBox* Rounds = nullptr;
    QComboBox* Pause = nullptr;
    QSpinBox* PauseSeconds = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* StopButton = nullptr;

    // Shows plan; a passage the book does not hold is replaced by its nearest that it does.
    void Show(const PracticePlan& plan);
    // The plan the controls show.
    PracticePlan Plan() const;
    // Closes the dialog and starts the practice the controls show.
    void Start();
    // Ends a practice that runs, with its recording.
    void Stop();

private:
    void FillAyehs(QComboBox* ayehs, int sourehId, int chosen);
    // Holds the last ayeh at or after the first.
    void KeepOrder(bool firstMoved);

    std::function<int(int)> AyehCount;
    std::function<void(const PracticePlan&)> OnStart;
    std::function<void()> OnStop;
};
