#pragma once
// The note on one ayeh (the mistakes a teacher pointed out): written, changed or removed,
// and kept in the learner's data.

#include <QDialog>
#include <QString>

class LearnerData;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The page's tooltip for an ayeh: its translation, and its note below it when there is one.
QString AyehTooltip(const QString& translation, const QString& note);

class TNoteDialog final : public QDialog {
    Q_OBJECT
public:
    // learner must outlive the dialog. sourehName: how the title names the soureh.
    TNoteDialog(QWidget* parent, LearnerData& learner, int sourehId, int ayehId, const QString& sourehName);

    QPlainTextEdit* Text = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* RemoveButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QLabel* Error = nullptr;

    // Keep the text shown (a blank text removes the note), or remove the note; each closes
    // the dialog, or, when the data cannot be written, shows why and stays open.
    bool Save();
    bool Remove();

private:
    bool Keep(const QString& text);

    LearnerData& Data;
    int SourehID;
    int AyehID;
};
