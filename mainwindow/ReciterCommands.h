#pragma once
// The reciter list's context menu: importing a recitation for the reciter the list shows, and
// renaming that reciter. Both write the user's own snd.wav in the per-user content folder
// (recordings/UserContent.h), all or nothing, on a thread of their own while a progress
// dialog with a cancel button keeps the window alive; the recitation is stopped first. After
// a change the reader goes on in the per-user folder, as the launcher starts it next time.

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QString>
#include <atomic>
#include <memory>

class QPushButton;
class QProgressDialog;
class QThread;
class TTntMainForm;

class TReciterCommands final : public QObject {
    Q_OBJECT
public:
    // Owned by the form; gives its reciter list the context menu.
    explicit TReciterCommands(TTntMainForm* form);
    // Asks a running change to stop and waits for it: nothing is changed then.
    ~TReciterCommands() override;

    // The menu for the reciter the list shows, at a point of the list.
    void TntComboBoxGhariListContextPopup(const QPoint& pos);
    // Asks for a folder and a name, then imports.
    void ImportRecitationClick();
    // Asks for a name, then stores it.
    void RenameReciterClick();

private:
    struct Change;
    struct Result;

    void AskName(const QString& folder);
    void Start(const std::shared_ptr<Change>& change);
    void ShowProgress(qint64 done, qint64 total);
    void CancelClick();
    void Finished();
    // Links the per-user folder to the text and farewell sound in use, and the reader goes on
    // in it, as at its next start.
    void UseUserContent(const Change& change);

    TTntMainForm* Form;
    QThread* Worker = nullptr;
    QProgressDialog* Progress = nullptr;
    QPushButton* CancelButton = nullptr;
    std::shared_ptr<Change> Running;
    std::shared_ptr<Result> Outcome;
    std::shared_ptr<std::atomic<bool>> CancelRequested;
    QElapsedTimer Clock;
};
