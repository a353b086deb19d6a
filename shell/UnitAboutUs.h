#pragma once
// The farewell window: plays "Tavashih.wav" from the working directory once when created;
// closing it stops the sound and ends the application, also when the sound never opened.

#include <QWidget>
#include <memory>

class AudioPlayer;
class TPicture;

class TformAboutUs final : public QWidget {
    Q_OBJECT
public:
    static constexpr int PictureWidth = 602;
    static constexpr int PictureHeight = 480;

    // player becomes MediaPlayer1 (the window takes it over; not null).
    explicit TformAboutUs(std::unique_ptr<AudioPlayer> player, QWidget* parent = nullptr);
    ~TformAboutUs() override;

    TPicture* Image1 = nullptr;
    AudioPlayer* MediaPlayer1 = nullptr;

    void FormCreate(QObject* Sender);
    void Image1Click(QObject* Sender);
    void FormClose(QObject* Sender);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool Placed = false;
};
