#pragma once
// A test base that opens a book on the fixture content in a temporary folder, with stand-ins
// for the window's controls and player.

#include "model/Utility.h"
#include "tests/support/DisplayDoubles.h"
#include "tests/support/FakeAudioPlayer.h"
#include "tests/support/FixtureBook.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>

// Lets test failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class ModelTest : public ::testing::Test {
protected:
    void OpenBook(const FixtureBook::Extra& extra = {}) {
        ASSERT_TRUE(Dir.isValid());
        FixtureBook::Create(Dir.path(), extra);
        Cwd.emplace(Dir.path());
        Book = std::make_unique<TQuran>(&PageNo, &Scroll, &Image, &Player);
        Book->Sounds->Folder = CacheFolder();
        Book->Sounds->ErrorBox = &Errors;
    }
    void TearDown() override {
        Book.reset();
        Cwd.reset();
    }
    QString CacheFolder() const { return Dir.path() + QStringLiteral("/cache"); }
    QString CachePath(const QString& name) const { return CacheFolder() + u'/' + name; }

    QTemporaryDir Dir;
    std::optional<ScopedCurrentDir> Cwd;
    FakePageImage Image;
    FakeScrollBox Scroll;
    FakePageNoEdit PageNo;
    FakeErrorBox Errors;
    FakeAudioPlayer Player;
    std::unique_ptr<TQuran> Book;
};
