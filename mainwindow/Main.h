#pragma once
// The main window: one Mushaf page in a scroll box inside an ornamental frame, the current
// ayeh's translation, the selection controls for reciter, soureh, ayeh and repeat count, and
// the command buttons.
//
// Layout and lifecycle live in Main.cpp; the command handlers in MainCommands.cpp; the
// player's notice in Recitation.cpp; keys, the page's context menu, search and bookmarks in
// ReadingAids.cpp. The handlers turn the controls into calls on the reading controller
// (Reading), which acts on the book and reads the selection back from these controls. Every
// handler is entered through RunHandler, so an error that escapes it reaches the standard
// error box and the window goes on.

#include "mainwindow/Controls.h"
#include "mainwindow/ErrorBox.h"
#include "reading/ReaderSettings.h"
#include "reading/ReadingController.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QToolButton>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>

class AudioPlayer;
class QButtonGroup;
class TQuran;

class TTntMainForm final : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 800;
    static constexpr int ClientHeight = 600;

    // Builds the controls, with player as MediaPlayer1 (the window takes it over; not null),
    // and runs TntFormCreate; an error there is shown in the standard error box and the
    // window is created all the same.
    explicit TTntMainForm(std::unique_ptr<AudioPlayer> player, QWidget* parent = nullptr);
    ~TTntMainForm() override;

    // The controls, in the window's declaration order; each is owned by the window.
    TPageScrollBox* ScrollBox1 = nullptr;           // the scroll box the page is shown in
    AudioPlayer* MediaPlayer1 = nullptr;            // the player of the recitations (no widget)
    TRepeatSpinBox* SpinEditReadingCount = nullptr; // how often each ayeh is recited, 0 to 10
    QToolButton* TntSpeedButton1 = nullptr;         // pause / continue, latching
    QToolButton* TntSpeedButtonPlay = nullptr;      // recites the chosen ayeh
    QComboBox* TntComboBoxSourehsList = nullptr;    // the 114 sourehs
    QComboBox* TntComboBoxAyehsList = nullptr;      // the ayehs of the chosen soureh
    TPageImage* TntImage1 = nullptr;                // the page picture inside ScrollBox1
    QToolButton* TntSpeedButtonClose = nullptr;     // closes the window
    QPlainTextEdit* TntMemo1 = nullptr;             // the current ayeh's translation
    QComboBox* TntComboBoxGhariList = nullptr;      // the five reciters
    QLabel* Image1 = nullptr;                       // the background picture behind every control
    QPushButton* BitBtn1 = nullptr;                 // opens the donation window
    QPushButton* BitBtn2 = nullptr;                 // opens the about window
    TPageNoEdit* txtPageNo = nullptr;               // the page shown; a number typed goes there
    QLabel* TntLabel1 = nullptr;                    // caption of txtPageNo
    QLabel* TntLabel2 = nullptr;                    // caption of the ayeh list
    QLabel* TntLabel3 = nullptr;                    // caption of the repeat box
    QPushButton* TntBitBtnGoToPage = nullptr;       // goes to the page typed in txtPageNo
    QLabel* TntLabel4 = nullptr;                    // the hint above the page: click to recite

    // The reader's own reciter names, used when the sound database names none.
    static QStringList DefaultReciterNames();
    // Fills the reciter list from the sound database's names (entry k names reciter k; places
    // it leaves unnamed keep the reader's own names), keeping the entry shown.
    void LoadReciterNames();
    // The lines the translation box shows until the first command.
    static QString PublisherText();

    // --- Lifecycle (Main.cpp) ---
    void TntFormCreate(QObject* Sender);
    void TntFormClose(QObject* Sender);
    // The reciter of the reciter list's chosen entry, 1..5: the entry's place in the list, not
    // its text, which two entries may share. 0 with none chosen.
    int ChosenGhariID() const;

    // --- Commands (MainCommands.cpp) ---
    void TntComboBoxGhariListChange(QObject* Sender);
    void TntComboBoxSourehsListChange(QObject* Sender);
    void TntSpeedButtonPlayClick(QObject* Sender);
    // Runs after the click has flipped the button between up and pressed.
    void TntSpeedButton1Click(QObject* Sender);
    void TntSpeedButtonCloseClick(QObject* Sender);
    void TntImage1MouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                            int Y);
    void TntImage1MouseMove(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y);
    void txtPageNoKeyPress(QObject* Sender, QChar Key);
    void TntBitBtnGoToPageClick(QObject* Sender);
    void BitBtn1Click(QObject* Sender);
    void BitBtn2Click(QObject* Sender);

    void ClickOnPosition(int X, int Y);
    void SaveLastPosition();
    void RestoreLastPosition();
    void ClearSoundCache(TQuran* Quran);
    // The application's tooltip delay.
    void SetHintPause(int Milliseconds);
    // The recitation commands and the page picture work only while this window's book exists.
    void EnableBookCommands();

    // --- Continuous recitation (Recitation.cpp) ---
    // Play: the number of the play the notice speaks of (see AudioPlayer).
    void MediaPlayer1Notify(QObject* Sender, qint64 Play);

    // --- Practice ---
    // Keeps plan in the settings file, then starts it through Reading.
    void StartPractice(const PracticePlan& plan);
    void StopPractice() { Reading->StopPractice(); }
    bool Practicing() const { return Reading->Practicing(); }

    // The reading's commands, through which every view of this window acts; the window's
    // controls follow its signals. Owned by the window.
    TReadingController* Reading = nullptr;
    // The per-user settings file: the last position, bookmarks and the practice last set.
    TReaderSettings Settings;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void ConnectHandlers();
    void SetFocusOrder();
    // Entry k names reciter k: by the sound database's name for k, else the reader's own.
    void FillReciterList(const std::map<int, QString>& named);

    // The controls follow what Reading says changed.
    void FollowReading();

    QButtonGroup* LatchGroup1 = nullptr;
    std::unique_ptr<IReadingSelection> ReadingSelection;
    TErrorBox ErrorBox;
    bool Placed = false;
};
