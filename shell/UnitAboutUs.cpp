#include "shell/UnitAboutUs.h"

#include "artwork/Artwork.h"
#include "audio/AudioPlayer.h"
#include "content/ContentKeys.h"
#include "mainwindow/Controls.h"
#include "mainwindow/ErrorBox.h"
#include "shell/Picture.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QShowEvent>

TformAboutUs::TformAboutUs(std::unique_ptr<AudioPlayer> player, QWidget* parent)
    : QWidget(parent), MediaPlayer1(player.release()) {
    MediaPlayer1->setParent(this);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    QPalette blue = palette();
    blue.setColor(QPalette::Window, QColor(19, 99, 194));
    setPalette(blue);
    setAutoFillBackground(true);
    resize(688, 491);

    Image1 = new TPicture(QString::fromLatin1(FarewellPicture), this);
    Image1->move(0, 0);
    connect(Image1, &TPicture::Clicked, this, [this] { RunHandler([this] { Image1Click(Image1); }); });

    RunHandler([this] { FormCreate(this); });
}

TformAboutUs::~TformAboutUs() = default;

void TformAboutUs::FormCreate(QObject*) {
    setFixedSize(PictureWidth, PictureHeight);
    MediaPlayer1->SetFileName(QString::fromLatin1(FarewellSoundFile));
    MediaPlayer1->Open();
    MediaPlayer1->Play();
}

void TformAboutUs::Image1Click(QObject*) {
    close();
}

void TformAboutUs::FormClose(QObject*) {
    // A sound that never opened has nothing to stop; its failure was shown when it was opened,
    // and the application ends all the same.
    try {
        MediaPlayer1->Stop();
    } catch (const AudioError&) {
    }
    MediaPlayer1->Close();
    QCoreApplication::exit(0);
}

void TformAboutUs::showEvent(QShowEvent* event) {
    PlaceOnFirstShow(this, event, Placed,
                     [this](const QSize& outer) { return CentredOnScreen(this, outer); });
    QWidget::showEvent(event);
}

void TformAboutUs::closeEvent(QCloseEvent* event) {
    event->accept();
    RunHandler([this] { FormClose(this); });
}
