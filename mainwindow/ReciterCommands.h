#pragma once
// The reciter list's context menu: importing a recitation for the reciter the list shows, and
// renaming that reciter. Both write the user's own snd.wav in the per-user content folder
// (recordings/UserContent.h), starting from it once it exists, all or nothing, on a thread of
// their own while a progress dialog with a cancel button keeps the window alive; the
// recitation is stopped first. The file's lock is held from the start of a change to its end,
// so a reader in another window is told to wait instead of undoing the change. The new file
// replaces the old only back on this thread, after a cancel click had its chance. After a
// change the reader goes on in the per-user folder, as it starts there next time.

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QString>
#include <atomic>
#include <memory>

class ChangeLock;
class QInputDialog;
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
    // The name dialog of a change, with a line saying where the change goes when the
    // recordings in use are not the user's own.
    QInputDialog* NameDialog(const QString& title, const QString& current);
    // Links the per-user folder to the text and farewell sound in use, and the reader goes on
    // in it, as at its next start.
    void UseUserContent(const Change& change);

    TTntMainForm* Form;
    QThread* Worker = nullptr;
    QProgressDialog* Progress = nullptr;
    QPushButton* CancelButton = nullptr;
    std::shared_ptr<Change> Running;
    std::unique_ptr<ChangeLock> Lock;
    std::shared_ptr<Result> Outcome;
    std::shared_ptr<std::atomic<bool>> CancelRequested;
    QElapsedTimer Clock;
};
