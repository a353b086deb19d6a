#pragma once
// Content for driving the whole main window: the fixture book completed to all 114 sourehs,
// so that a soureh's place in the soureh list is its number - 1, and a test base that opens
// the window on it with fresh settings and a player whose clock the test moves, and watches
// the recordings it plays.
//
// Content beyond the fixture book: every other soureh has two ayehs, ayeh 1 on line 1 and
// ayeh 2 on line 2 of a page of its own (PageOf), with recordings of reciters 1 and 2.
// Soureh 3's recordings last LongRecordingMs; all the others last tens of milliseconds. Every
// ayeh has its Arabic text in AyehText (ArabicText); of them only ayeh ThroneSoureh:ThroneAyeh
// holds the word كرسي.

#include "audio/AudioPlayer.h"
#include "mainwindow/Main.h"
#include "tests/mainwindow/ModalWatcher.h"
#include "tests/support/FakeAudioPlayer.h"
#include "tests/support/FixtureBook.h"

#include <QDialog>
#include <QString>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

class ReaderContent final {
public:
    static constexpr int LongSoureh = 3;
    static constexpr int LongRecordingMs = 1500;
    static constexpr int ThroneSoureh = 2;
    static constexpr int ThroneAyeh = 4;

    // The folder holding quran.dat and snd.wav, made once per test program: the reader
    // never writes its content.
    static QString Folder();

    static int NumberOfAyeh(int sourehId);
    static int PageOf(int sourehId, int ayehId);
    // A point well inside the ink of an ayeh on its page.
    static QPoint PointIn(int sourehId, int ayehId);
    static QString Translation(int sourehId, int ayehId);
    static QString ArabicText(int sourehId, int ayehId);
};

// Closes the page-range notice whenever it is shown modally and counts its showings.
class NoticeWatcher final {
public:
    NoticeWatcher();
    ~NoticeWatcher();
    int Shown() const { return Count; }

private:
    QDialog Dialog;
    QTimer Timer;
    int Count = 0;
};

// The state after one step of a recitation: the recording loaded and the repeat count shown.
struct RecitationStep {
    QString Recording;
    int Count;
    bool operator==(const RecitationStep&) const = default;
};
void PrintTo(const RecitationStep& step, std::ostream* out);
// Lets test failures show texts as texts.
void PrintTo(const QString& text, std::ostream* out);

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void OpenForm();
    // The settings file of the reader, and a store of values as another program could have
    // left them.
    static QString SettingsFile();
    static void ClearSettings();

    // Name of the recording the player has loaded, "g-s-a.wav", or empty.
    QString Loaded() const;
    PlayerMode Mode() const;
    // Runs events until condition holds, for work done on other threads (an import); false
    // after a generous deadline.
    static bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 20000);
    // Handles every notice and event queued, and those they queue in turn.
    void Settle();
    // The recording in progress ends now (nothing happens when none plays); then Settle.
    void EndRecording();
    // Lets the recitation run on, each recording ending as soon as it has begun, until
    // condition holds; false when the chain stops first.
    bool RunUntil(const std::function<bool()>& condition);
    // Lets the recitation run on until it has gone through count distinct steps (the current
    // state first) or stops, and returns the steps.
    std::vector<RecitationStep> StepsUntil(size_t count);

    void ChooseSoureh(int sourehId);
    void ChooseAyeh(int ayehId);
    void ChooseReciter(int ghariId);
    void SetCount(int count);
    // Adds the state now to Steps unless it is the last one there.
    void RecordStep();
    // The commands; Steps then starts with the state they led to.
    void Recite(int sourehId, int ayehId, int count);
    void ClickAyeh(int sourehId, int ayehId, Qt::MouseButton button = Qt::LeftButton);
    void GoToPage(const QString& text);

    // What the lists and the book show.
    int ListedSoureh() const;
    int ListedAyeh() const;
    int CurrentSoureh() const;
    int CurrentAyeh() const;
    bool IsRed(int sourehId, int ayehId) const;
    int RedCount() const;

    std::optional<ScopedCurrentDir> Cwd;
    ModalWatcher Boxes;
    NoticeWatcher Notices;
    std::unique_ptr<TTntMainForm> Form;
    // The window's MediaPlayer1.
    FakeAudioPlayer* Player = nullptr;
    int NoticesSeen = 0;
    std::vector<RecitationStep> Steps;
    // Called with each new step as it is recorded, while the window still shows it.
    std::function<void(const RecitationStep&)> AtStep;
};

// A reader whose window is open from the start, with the commands open to table cases that
// act on the test through a reference.
class OpenReaderTest : public ReaderTest {
public:
    using ReaderTest::ChooseAyeh;
    using ReaderTest::ChooseReciter;
    using ReaderTest::ChooseSoureh;
    using ReaderTest::ClickAyeh;
    using ReaderTest::EndRecording;
    using ReaderTest::GoToPage;
    using ReaderTest::SetCount;
    TTntMainForm& Window() { return *Form; }

protected:
    void SetUp() override {
        ReaderTest::SetUp();
        OpenForm();
    }
};
