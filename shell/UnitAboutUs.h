#pragma once
// The farewell window: plays "Tavashih.wav" from the working directory once when created;
// closing it stops the sound and ends the application, also when the sound never opened.

#include <QWidget>

class AudioPlayer;
class TPicture;

class TformAboutUs final : public QWidget {
    Q_OBJECT
public:
    static constexpr int PictureWidth = 602;
    static constexpr int PictureHeight = 480;

    explicit TformAboutUs(QWidget* parent = nullptr);
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
