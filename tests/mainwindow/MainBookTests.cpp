// The main window with its book: built by the create handler from the window's own controls,
// naming the reciters as the sound database does, and freed when the window closes or dies.
#include "mainwindow/Main.h"
#include "mainwindow/ShellWindows.h"
#include "model/Utility.h"
#include "tests/mainwindow/ModalWatcher.h"
#include "tests/support/FakeAudioPlayer.h"
#include "tests/support/FixtureBook.h"

#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>

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
    EXPECT_NE(GlobalQuran->Sounds->ErrorBox, nullptr);
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

// The sound database's optional Reciters table, changed by Sql; Entries: the names of the five
// entries of the reciter list, null for the reader's own name of that place.
struct ReciterTableCase {
    const char* Name;
    const char* Sql;
    std::array<const char*, 5> Entries;
};

void PrintTo(const ReciterTableCase& c, std::ostream* out) {
    *out << c.Name;
}

class ReciterTableTest : public MainBookTest, public ::testing::WithParamInterface<ReciterTableCase> {};

TEST_P(ReciterTableTest, EntryKNamesAndPlaysReciterK) {
    const ReciterTableCase& c = GetParam();
    Open([&c](FixtureDatabase&, FixtureDatabase& sound) {
        if (*c.Sql)
            sound.Exec(c.Sql);
    });
    EXPECT_TRUE(Watcher.Boxes().isEmpty());
    ASSERT_NE(GlobalQuran, nullptr);
    EXPECT_EQ(Form->TntComboBoxSourehsList->count(), int(FixtureBook::Sourehs().size()));
    QStringList expected = TTntMainForm::DefaultReciterNames();
    for (int i = 0; i < 5; ++i)
        if (c.Entries[std::size_t(i)])
            expected[i] = QString::fromUtf8(c.Entries[std::size_t(i)]);
    EXPECT_EQ(Reciters(), expected);
    EXPECT_EQ(Form->TntComboBoxGhariList->currentIndex(), 0);
    EXPECT_EQ(GlobalQuran->GhariID, 1);
    for (int ghari : {2, 5, 1}) {
        Form->TntComboBoxGhariList->setCurrentIndex(ghari - 1);
        Q_EMIT Form->TntComboBoxGhariList->activated(ghari - 1);
        EXPECT_EQ(GlobalQuran->GhariID, ghari) << "entry " << ghari;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ReciterTableTest,
    ::testing::Values(
        ReciterTableCase{"ReciterOneAndTwo", "", {"قاری یک", "قاری دو", nullptr, nullptr, nullptr}},
        ReciterTableCase{"OnlyReciterThree",
                         "DELETE FROM Reciters; INSERT INTO Reciters VALUES (3, 'قاری سه')",
                         {nullptr, nullptr, "قاری سه", nullptr, nullptr}},
        ReciterTableCase{"TwoRecitersOfOneName",
                         "UPDATE Reciters SET Name = 'قاری یک'",
                         {"قاری یک", "قاری یک", nullptr, nullptr, nullptr}},
        ReciterTableCase{"OneNameForEveryReciter",
                         "DELETE FROM Reciters; INSERT INTO Reciters VALUES (1, 'قاری'), (2, 'قاری'), "
                         "(3, 'قاری'), (4, 'قاری'), (5, 'قاری')",
                         {"قاری", "قاری", "قاری", "قاری", "قاری"}},
        ReciterTableCase{
            "NumbersBeyondTheList",
            "DELETE FROM Reciters; INSERT INTO Reciters VALUES (0, 'صفر'), (6, 'شش'), (5, 'پنج')",
            {nullptr, nullptr, nullptr, nullptr, "پنج"}},
        ReciterTableCase{"NoTable", "DROP TABLE Reciters", {}},
        ReciterTableCase{
            "NoNameColumn",
            "DROP TABLE Reciters; CREATE TABLE Reciters (GhariID INTEGER PRIMARY KEY, Title TEXT);"
            "INSERT INTO Reciters VALUES (1, 'قاری یک')",
            {}},
        ReciterTableCase{"NumbersOfAnotherType",
                         "DROP TABLE Reciters; CREATE TABLE Reciters (GhariID, Name);"
                         "INSERT INTO Reciters VALUES (1, 'قاری یک'), (NULL, 'قاری دو'), (1e12, 'قاری سه')",
                         {}}),
    [](const ::testing::TestParamInfo<ReciterTableCase>& testCase) {
        return std::string(testCase.param.Name);
    });

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
