// The application shell: the information windows, the splash window's hand-over to the main
// window, and the shutdown chain through the farewell window to the end of the message loop.
// Each test runs in an empty working folder, so the main window's book cannot be built and
// its error box is closed by a watcher.
#include "audio/AudioPlayer.h"
#include "mainwindow/Controls.h"
#include "mainwindow/Main.h"
#include "mainwindow/ShellWindows.h"
#include "model/Utility.h"
#include "shell/Picture.h"
#include "shell/Shell.h"
#include "shell/Splash.h"
#include "shell/UnitAboutUs.h"
#include "shell/UnitAboutVelsorHost.h"
#include "shell/UnitDonateFunds.h"
#include "shell/UnitMessageBox.h"
#include "tests/mainwindow/ModalWatcher.h"
#include "tests/support/WavFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <utility>

namespace {

const QString Title = QStringLiteral("Golvar Holy Quran Learning");

// Runs the application's message loop until something ends it; a loop that does not end
// within the time limit is ended with 99.
int RunLoopFor(int limitMs, const std::function<void()>& start) {
    QTimer::singleShot(0, start);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    limit.start(limitMs);
    return QCoreApplication::exec();
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Previous = QDir::currentPath();
        QDir::setCurrent(Dir.path());
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override {
        Splash.reset();
        GlobalQuran.reset();
        QDir::setCurrent(Previous);
        QApplication::setQuitOnLastWindowClosed(true);
    }

    // The splash window as the entry creates it.
    void StartSplash() {
        Splash = std::make_unique<TformSplash>();
        formSplash = Splash.get();
        Splash->show();
    }
    // The same, after its timer has handed over.
    void StartReading() {
        StartSplash();
        ASSERT_TRUE(QTest::qWaitFor([] { return TntMainForm && TntMainForm->isVisible(); }, 3000));
    }

    QTemporaryDir Dir;
    QString Previous;
    ModalWatcher Watcher;
    std::unique_ptr<TformSplash> Splash;
};

// --- Information windows ---

struct InfoCase {
    const char* Name;
    std::function<std::unique_ptr<TInfoWindow>()> Make;
    const char16_t* Caption;
    QSize Client;
};

class InfoWindowTest : public ShellTest, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(InfoWindowTest, IsAFixedModalRightToLeftDialogWithItsCaption) {
    const InfoCase& c = GetParam();
    const std::unique_ptr<TInfoWindow> window = c.Make();
    EXPECT_EQ(window->windowTitle(), QString::fromUtf16(c.Caption));
    EXPECT_EQ(window->size(), c.Client);
    EXPECT_EQ(window->minimumSize(), c.Client);
    EXPECT_EQ(window->maximumSize(), c.Client);
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->isModal());
    EXPECT_EQ(window->layoutDirection(), Qt::RightToLeft);
    EXPECT_FALSE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Windows, InfoWindowTest,
    ::testing::Values(
        InfoCase{"DonateFunds", [] { return std::unique_ptr<TInfoWindow>(new TfrmDonateFunds); },
                 u"\u0641\u0631\u0645 \u0627\u0647\u062F\u0627\u0621 \u0643\u0645\u0643\u0647\u0627\u064A "
                 u"\u0646\u0642\u062F\u064A \u0634\u0645\u0627",
                 QSize(681, 481)},
        InfoCase{
            "AboutVelsorHost", [] { return std::unique_ptr<TInfoWindow>(new TfrmAboutVelsorHost); },
            u"\u062F\u0631\u0628\u0627\u0631\u0647 \u0648\u0644\u0633\u0648\u0631\u0647\u0627\u0633\u062A",
            QSize(681, 481)},
        InfoCase{"MessageBox", [] { return std::unique_ptr<TInfoWindow>(new TfrmMessageBox); },
                 u"\u0646\u0631\u0645 \u0627\u0641\u0632\u0627\u0631 \u0642\u0631\u0622\u0646\u064A "
                 u"\u06AF\u0644\u0648\u0627\u0631",
                 QSize(384, 117)}),
    [](const ::testing::TestParamInfo<InfoCase>& testCase) { return std::string(testCase.param.Name); });

struct PictureCase {
    const char* Name;
    std::function<std::unique_ptr<TPictureWindow>()> Make;
    QPoint Click;
};

class PictureWindowTest : public ShellTest, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(PictureWindowTest, AClickOnThePictureAnywhereClosesTheModalWindow) {
    const std::unique_ptr<TPictureWindow> window = GetParam().Make();
    EXPECT_EQ(window->Image1->geometry(), QRect(0, 0, 681, 481));
    bool timedOut = false;
    QTimer::singleShot(50, window.get(),
                       [&] { QTest::mouseClick(window->Image1, Qt::LeftButton, {}, GetParam().Click); });
    QTimer::singleShot(3000, window.get(), [&] {
        timedOut = true;
        window->done(0);
    });
    window->exec();
    EXPECT_FALSE(timedOut);
    EXPECT_FALSE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PictureWindowTest,
    ::testing::Values(
        PictureCase{"DonateCentre", [] { return std::unique_ptr<TPictureWindow>(new TfrmDonateFunds); },
                    QPoint(340, 240)},
        PictureCase{"DonateCorner", [] { return std::unique_ptr<TPictureWindow>(new TfrmDonateFunds); },
                    QPoint(1, 479)},
        PictureCase{"PublisherCorner",
                    [] { return std::unique_ptr<TPictureWindow>(new TfrmAboutVelsorHost); }, QPoint(679, 1)}),
    [](const ::testing::TestParamInfo<PictureCase>& testCase) { return std::string(testCase.param.Name); });

TEST_F(ShellTest, PictureWindowIsFirstCentredOverTheSplashWindowAndLaterKeptWhereItWasLeft) {
    QWidget splash;
    splash.setGeometry(20, 30, 760, 438);
    formSplash = &splash;
    TfrmDonateFunds window;
    window.show();
    // For a 681 x 481 window, (760 - 681) / 2 = 39 and (438 - 481) / 2 rounded down = -22.
    const QSize outer = window.frameGeometry().size();
    const auto half = [](int difference) { return int(std::floor(difference / 2.0)); };
    EXPECT_EQ(window.pos(), QPoint(20 + half(760 - outer.width()), 30 + half(438 - outer.height())));
    window.move(5, 6);
    window.hide();
    window.show();
    EXPECT_EQ(window.pos(), QPoint(5, 6));
    formSplash = nullptr;
}

TEST_F(ShellTest, PageRangeNoticeReadsItsMessageAndCloses) {
    TfrmMessageBox notice;
    EXPECT_EQ(
        notice.lblMessage->text(),
        QString::fromUtf16(u"\u0643\u0627\u0631\u0628\u0631 \u06AF\u0631\u0627\u0645\u064A\u060C "
                           u"\u062A\u0639\u062F\u0627\u062F \u0643\u0644 \u0635\u0641\u062D\u0627\u062A "
                           u"\u0642\u0631\u0622\u0646 \u0643\u0631\u064A\u0645 604 \u0635\u0641\u062D\u0647 "
                           u"\u0645\u064A \u0628\u0627\u0634\u062F."));
    EXPECT_EQ(notice.lblMessage->pos(), QPoint(56, 32));
    EXPECT_EQ(notice.lblMessage->width(), 296);
    EXPECT_EQ(notice.TntButton1->text(), QString::fromUtf16(u"\u0642\u0628\u0648\u0644"));
    EXPECT_EQ(notice.TntButton1->geometry(), QRect(144, 80, 75, 25));
    EXPECT_EQ(notice.font().pixelSize(), 11);

    // First shown centred on the screen; a second showing is the same window where it was.
    bool timedOut = false;
    QTimer::singleShot(50, &notice, [&] { QTest::mouseClick(notice.TntButton1, Qt::LeftButton); });
    QTimer::singleShot(3000, &notice, [&] {
        timedOut = true;
        notice.done(0);
    });
    notice.exec();
    EXPECT_FALSE(timedOut);
    EXPECT_FALSE(notice.isVisible());
    EXPECT_EQ(notice.pos(), CentredPosition(notice.screen()->geometry(), notice.frameGeometry().size()));
    notice.move(7, 9);
    QTimer::singleShot(50, &notice, [&] { notice.close(); });
    notice.exec();
    EXPECT_EQ(notice.pos(), QPoint(7, 9));
}

// --- Start-up ---

TEST_F(ShellTest, SplashWindowIsABorderlessGreenPictureWithTheWaitPointerAndSetsThePersianLocale) {
    QLocale::setDefault(QLocale::c());
    TformSplash splash;
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.size(), QSize(760, 438));
    EXPECT_EQ(splash.palette().color(QPalette::Window), QColor(111, 205, 117));
    EXPECT_EQ(splash.Image1->geometry(), QRect(0, 0, 760, 438));
    EXPECT_EQ(splash.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(splash.Timer1->interval(), 500);
    EXPECT_TRUE(splash.Timer1->isActive());
    EXPECT_EQ(QLocale().language(), QLocale::Persian);
    EXPECT_EQ(QLocale().territory(), QLocale::Iran);
    EXPECT_EQ(splash.windowTitle(), Title);
}

TEST_F(ShellTest, SplashTimerTicksOnceToShowTheMainWindowAndHideItself) {
    Splash = std::make_unique<TformSplash>();
    formSplash = Splash.get();
    Splash->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(TntMainForm.isNull());
    EXPECT_TRUE(Splash->isVisible());
    EXPECT_TRUE(Splash->Timer1->isActive());

    ASSERT_TRUE(QTest::qWaitFor([] { return TntMainForm && TntMainForm->isVisible(); }, 3000));
    EXPECT_FALSE(Splash->isVisible());
    EXPECT_FALSE(Splash->Timer1->isActive());
    EXPECT_NE(Splash->cursor().shape(), Qt::WaitCursor);
    // The main window's create handler ran once: one error for the missing content.
    EXPECT_EQ(Watcher.Boxes().size(), 1);
}

TEST_F(ShellTest, ClickingTheSplashPictureDoesNothing) {
    Splash = std::make_unique<TformSplash>();
    Splash->show();
    QTest::mouseClick(Splash->Image1, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_TRUE(Splash->isVisible());
    EXPECT_TRUE(formAboutUs.isNull());
}

// --- Shutdown ---

TEST_F(ShellTest, ClosingTheMainWindowShowsTheFarewellWhoseSoundPlaysAndClosingItEndsTheApplication) {
    WriteWav(Dir.filePath(QStringLiteral("Tavashih.wav")), {FixtureEncoding::Pcm16, 8000, 1, 2000});
    StartReading();
    TntMainForm->close();

    EXPECT_FALSE(TntMainForm->isVisible());
    ASSERT_FALSE(formAboutUs.isNull());
    EXPECT_TRUE(formAboutUs->isVisible());
    EXPECT_EQ(formAboutUs->MediaPlayer1->Mode(), pmPlaying);
    EXPECT_EQ(formAboutUs->MediaPlayer1->FileName(), QStringLiteral("Tavashih.wav"));
    EXPECT_FALSE(Splash->isVisible());
    // Only the missing content was reported.
    EXPECT_EQ(Watcher.Boxes().size(), 1);

    AudioPlayer* player = formAboutUs->MediaPlayer1;
    const int code = RunLoopFor(5000, [] { QTest::mouseClick(formAboutUs->Image1, Qt::LeftButton); });
    EXPECT_EQ(code, 0);
    EXPECT_NE(player->Mode(), pmPlaying);
    EXPECT_FALSE(formAboutUs->isVisible());
}

TEST_F(ShellTest, FarewellWithoutItsSoundReportsTheFailureAndStillEndsTheApplication) {
    StartReading();
    TntMainForm->close();

    ASSERT_FALSE(formAboutUs.isNull());
    EXPECT_TRUE(formAboutUs->isVisible());
    ASSERT_EQ(Watcher.Boxes().size(), 2);
    EXPECT_EQ(Watcher.Boxes()[1].Title, Title);
    EXPECT_TRUE(Watcher.Boxes()[1].Text.endsWith(QLatin1Char('.')));
    EXPECT_NE(formAboutUs->MediaPlayer1->Mode(), pmPlaying);

    const int code = RunLoopFor(5000, [] { formAboutUs->close(); });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Watcher.Boxes().size(), 2);
}

TEST_F(ShellTest, CloseRequestToTheSplashWhileReadingFreesTheBookAndShowsTheFarewell) {
    StartReading();
    Splash->close();
    EXPECT_FALSE(TntMainForm->isVisible());
    EXPECT_EQ(GlobalQuran, nullptr);
    ASSERT_FALSE(formAboutUs.isNull());
    EXPECT_TRUE(formAboutUs->isVisible());

    // A second request closes the farewell window and so ends the application.
    const int code = RunLoopFor(5000, [this] { Splash->close(); });
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(formAboutUs->isVisible());
}

TEST_F(ShellTest, CloseRequestBeforeTheFirstTickNeverOpensTheMainWindow) {
    Splash = std::make_unique<TformSplash>();
    formSplash = Splash.get();
    Splash->show();
    Splash->close();
    ASSERT_FALSE(formAboutUs.isNull());
    EXPECT_TRUE(formAboutUs->isVisible());
    EXPECT_FALSE(Splash->isVisible());
    EXPECT_FALSE(Splash->Timer1->isActive());
    EXPECT_TRUE(TntMainForm.isNull());
    const int code = RunLoopFor(5000, [] { formAboutUs->close(); });
    EXPECT_EQ(code, 0);
}

// Close requests that come while a window's create handler shows an error box, before the
// window exists: each ends the application the way a close request does at that stage, once.
int FarewellWindows() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += qobject_cast<TformAboutUs*>(window) ? 1 : 0;
    return count;
}

TEST_F(ShellTest, CloseRequestWhileTheMainWindowReportsMissingContentShowsTheFarewellInstead) {
    Watcher.WhileShown = [this](const ModalWatcher::Box&) {
        if (Watcher.Boxes().size() == 1)
            RequestApplicationClose();
    };
    StartSplash();
    ASSERT_TRUE(QTest::qWaitFor([] { return !formAboutUs.isNull(); }, 3000));
    EXPECT_FALSE(TntMainForm && TntMainForm->isVisible());
    EXPECT_TRUE(formAboutUs->isVisible());
    EXPECT_EQ(FarewellWindows(), 1);
    EXPECT_EQ(GlobalQuran, nullptr);
    const int code = RunLoopFor(5000, [] { formAboutUs->close(); });
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(TntMainForm && TntMainForm->isVisible());
}

TEST_F(ShellTest, CloseRequestWhileTheFarewellReportsItsMissingSoundEndsTheApplication) {
    StartReading();
    Watcher.WhileShown = [this](const ModalWatcher::Box&) {
        if (Watcher.Boxes().size() == 2)
            RequestApplicationClose();
    };
    const int code = RunLoopFor(5000, [] { TntMainForm->close(); });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Watcher.Boxes().size(), 2);
    EXPECT_EQ(FarewellWindows(), 1);
    EXPECT_FALSE(TntMainForm->isVisible());
}

} // namespace

namespace {

// Wayland desktops find the menu entry, and with it the icon, by the name the reader gives.
TEST(ShellSetUp, NamesTheDesktopEntryThatIsInstalled) {
    const bool quitOnLastClosed = QApplication::quitOnLastWindowClosed();
    const Qt::LayoutDirection direction = QApplication::layoutDirection();
    SetUpGolvarApplication();
    const QString entry = QApplication::desktopFileName();
    QApplication::setQuitOnLastWindowClosed(quitOnLastClosed);
    QApplication::setLayoutDirection(direction);
    EXPECT_FALSE(entry.endsWith(QStringLiteral(".desktop")));
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral(GOLVAR_SOURCE_DIR "/packaging/") + entry +
                                  QStringLiteral(".desktop")))
        << entry.toStdString();
}

// The command line `make run` and the launcher give the reader; anything else is refused.
TEST(ShellSetUp, ReadsTheContentFromItsCommandLine) {
    const QString dir = QStringLiteral("/some/content");
    const struct {
        QStringList Arguments;
        std::optional<std::pair<QString, bool>> Content; // folder, named
    } cases[] = {
        {{}, std::pair{QString(), true}},
        {{QStringLiteral("--content"), dir}, std::pair{dir, true}},
        {{QStringLiteral("--default-content"), dir}, std::pair{dir, false}},
        {{QStringLiteral("--content")}, std::nullopt},
        {{QStringLiteral("--content"), QString()}, std::nullopt},
        {{QStringLiteral("--fullscreen"), dir}, std::nullopt},
        {{dir}, std::nullopt},
        {{QStringLiteral("--content"), dir, QStringLiteral("--content"), dir}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Arguments.join(u' ').toStdString());
        const std::optional<ContentArguments> parsed = ParseContentArguments(c.Arguments);
        ASSERT_EQ(parsed.has_value(), c.Content.has_value());
        if (parsed) {
            EXPECT_EQ(parsed->Folder, c.Content->first);
            EXPECT_EQ(parsed->Named, c.Content->second);
        }
    }
}

} // namespace
