// The main window with its book: built by the create handler from the window's own controls,
// naming the reciters as the sound database does, and freed when the window closes or dies.
#include "mainwindow/Main.h"
#include "mainwindow/ShellWindows.h"
#include "model/Utility.h"
#include "tests/mainwindow/ModalWatcher.h"
#include "tests/support/FakeAudioPlayer.h"
#include "tests/support/FixtureBook.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

class MainBookTest : public ::testing::Test {
protected:
    void Open(const FixtureBook::Extra& extra = {}) {
        ASSERT_TRUE(Dir.isValid());
        FixtureBook::Create(Dir.path(), extra);
        InDir.emplace(Dir.path());
        Form = std::make_unique<TTntMainForm>(std::make_unique<FakeAudioPlayer>());
    }
    void TearDown() override {
        Form.reset();
        GlobalQuran.reset();
        formSplash = nullptr;
        InDir.reset();
    }
    QStringList Reciters() const {
        QStringList names;
        for (int i = 0; i < Form->TntComboBoxGhariList->count(); ++i)
            names << Form->TntComboBoxGhariList->itemText(i);
        return names;
    }

    QTemporaryDir Dir;
    std::optional<ScopedCurrentDir> InDir;
    ModalWatcher Watcher;
    std::unique_ptr<TTntMainForm> Form;
};

TEST_F(MainBookTest, CreateHandlerBuildsTheBookOnTheWindowsControls) {
    Open();
    EXPECT_TRUE(Watcher.Boxes().isEmpty());
    ASSERT_NE(GlobalQuran, nullptr);
    EXPECT_EQ(GlobalQuran->Player, Form->MediaPlayer1);
    EXPECT_EQ(GlobalQuran->Image, static_cast<IPageImage*>(Form->TntImage1));
    EXPECT_EQ(GlobalQuran->ScrollBox, static_cast<IScrollBox*>(Form->ScrollBox1));
    EXPECT_EQ(GlobalQuran->PageNoEdit, static_cast<IPageNoEdit*>(Form->txtPageNo));
    EXPECT_NE(GlobalQuran->ErrorBox, nullptr);
    EXPECT_EQ(GlobalQuran->GhariID, 1);
    EXPECT_EQ(Form->size(), QSize(800, 600));
    // The book drew its first page on the picture's own surface.
    const QImage& page = Form->TntImage1->Surface();
    bool ink = false;
    for (int y = 0; y < page.height() && !ink; y += 2)
        for (int x = 0; x < page.width() && !ink; x += 2)
            ink = qGray(page.pixel(x, y)) < 128;
    EXPECT_TRUE(ink);
}

TEST_F(MainBookTest, ReciterListTakesTheNamesOfTheSoundDatabaseAndKeepsItsOwnForTheRest) {
    Open();
    const QStringList own = TTntMainForm::DefaultReciterNames();
    EXPECT_EQ(Reciters(), (QStringList{QString::fromUtf16(u"\u0642\u0627\u0631\u06CC \u06CC\u06A9"),
                                       QString::fromUtf16(u"\u0642\u0627\u0631\u06CC \u062F\u0648"), own[2], own[3],
                                       own[4]}));
    EXPECT_EQ(Form->TntComboBoxGhariList->currentIndex(), 0);
    EXPECT_EQ(Form->GhariIDOf(Reciters()[1]), 2);
}

TEST_F(MainBookTest, ReciterListKeepsTheReadersOwnNamesWithoutAReciterTable) {
    Open([](FixtureDatabase&, FixtureDatabase& sound) { sound.Exec("DROP TABLE Reciters"); });
    EXPECT_TRUE(Watcher.Boxes().isEmpty());
    EXPECT_EQ(Reciters(), TTntMainForm::DefaultReciterNames());
    ASSERT_NE(GlobalQuran, nullptr);
    EXPECT_EQ(GlobalQuran->GhariID, 1);
}

TEST_F(MainBookTest, ClosingTheWindowFreesTheBookAndAsksTheSplashWindowToClose) {
    Open();
    QWidget splash;
    splash.show();
    formSplash = &splash;
    Form->show();
    Form->close();
    EXPECT_EQ(GlobalQuran, nullptr);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_FALSE(splash.isVisible());
    // The window stays, hidden, with its controls.
    EXPECT_EQ(Form->TntComboBoxGhariList->count(), 5);
}

TEST_F(MainBookTest, DestroyingTheWindowFreesTheBookThatDrawsOnIt) {
    Open();
    ASSERT_NE(GlobalQuran, nullptr);
    Form.reset();
    EXPECT_EQ(GlobalQuran, nullptr);
}

} // namespace
