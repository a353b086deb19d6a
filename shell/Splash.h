#pragma once
// The splash window: the application's first window. Half a second after it is created it
// creates and shows the main window and hides itself. It refuses every close and instead runs
// the shutdown chain: the main window is hidden, the book freed and the farewell window shown.
// It owns the main window and the farewell window it creates, and the sound output on which
// both play.
//
// Creating either window may show an error box, whose events can bring a close request
// before the window exists: such a request is kept and carried out once the window is built.

#include <QTimer>
#include <QWidget>
#include <memory>

class AudioOutput;
class TPicture;
class TTntMainForm;
class TformAboutUs;

class TformSplash final : public QWidget {
    Q_OBJECT
public:
    static constexpr int PictureWidth = 760;
    static constexpr int PictureHeight = 438;
    static constexpr int Interval = 500;

    explicit TformSplash(QWidget* parent = nullptr);
    ~TformSplash() override;

    TPicture* Image1 = nullptr;
    QTimer* Timer1 = nullptr;

    void FormCreate(QObject* Sender);
    void Timer1Timer(QObject* Sender);
    void FormClose(QObject* Sender);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Kept until both windows are gone.
    std::unique_ptr<AudioOutput> Output;
    std::unique_ptr<TTntMainForm> MainForm;
    std::unique_ptr<TformAboutUs> AboutUs;
    bool Placed = false;
    // While a window is being created; a close request then only sets CloseRequested.
    bool Creating = false;
    bool CloseRequested = false;
};
