#include "shell/Splash.h"

#include "artwork/Artwork.h"
#include "audio/AudioOutput.h"
#include "audio/SdlAudioPlayer.h"
#include "mainwindow/Controls.h"
#include "mainwindow/ErrorBox.h"
#include "mainwindow/Main.h"
#include "model/Utility.h"
#include "shell/Picture.h"
#include "shell/Shell.h"
#include "shell/UnitAboutUs.h"

#include <QCloseEvent>
#include <QLocale>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <utility>

TformSplash::TformSplash(QWidget* parent) : QWidget(parent), Output(std::make_unique<AudioOutput>()) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // A frameless window still names the application in the task bar.
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    setLayoutDirection(Qt::RightToLeft);
    QPalette green = palette();
    green.setColor(QPalette::Window, QColor(111, 205, 117));
    setPalette(green);
    setAutoFillBackground(true);
    resize(464, 345);

    Image1 = new TPicture(QString::fromLatin1(SplashPicture), this);
    Image1->setGeometry(0, 0, PictureWidth, PictureHeight);

    Timer1 = new QTimer(this);
    Timer1->setInterval(Interval);
    connect(Timer1, &QTimer::timeout, this, [this] { RunHandler([this] { Timer1Timer(Timer1); }); });
    Timer1->start();

    RunHandler([this] { FormCreate(this); });
}

TformSplash::~TformSplash() {
    // The farewell window goes first: the main window may still hold the book it plays beside.
    AboutUs.reset();
    MainForm.reset();
}

void TformSplash::FormCreate(QObject*) {
    setCursor(Qt::WaitCursor);
    setFixedSize(PictureWidth, PictureHeight);
    QLocale::setDefault(QLocale(QLocale::Persian, QLocale::Iran));
}

void TformSplash::Timer1Timer(QObject*) {
    Timer1->stop();
    {
        const QScopedValueRollback<bool> creating(Creating, true);
        MainForm = std::make_unique<TTntMainForm>(std::make_unique<SdlAudioPlayer>(*Output));
    }
    TntMainForm = MainForm.get();
    unsetCursor();
    if (std::exchange(CloseRequested, false)) {
        FormClose(this); // the main window is never shown
        return;
    }
    MainForm->show();
    hide();
}

void TformSplash::FormClose(QObject*) {
    if (Creating) {
        CloseRequested = true;
        return;
    }
    // A close before the first tick must not let the main window open after the farewell.
    Timer1->stop();
    hide();
    if (MainForm)
        MainForm->hide();
    GlobalQuran.reset();
    if (formAboutUs) {
        formAboutUs->close();
        return;
    }
    {
        const QScopedValueRollback<bool> creating(Creating, true);
        AboutUs = std::make_unique<TformAboutUs>(std::make_unique<SdlAudioPlayer>(*Output));
    }
    formAboutUs = AboutUs.get();
    AboutUs->show();
    if (std::exchange(CloseRequested, false))
        AboutUs->close();
}

void TformSplash::showEvent(QShowEvent* event) {
    PlaceOnFirstShow(this, event, Placed,
                     [this](const QSize& outer) { return CentredOnScreen(this, outer); });
    QWidget::showEvent(event);
}

void TformSplash::closeEvent(QCloseEvent* event) {
    event->ignore();
    RunHandler([this] { FormClose(this); });
}
