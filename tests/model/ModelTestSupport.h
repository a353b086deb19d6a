#pragma once
// Plain stand-ins for the window's controls and player, and a test base that opens a book on
// the fixture content in a temporary folder.

#include "model/Utility.h"
#include "tests/support/FakeAudioPlayer.h"
#include "tests/support/FixtureBook.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>

// Lets test failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// A picture with pixels of its own, the size of a page, that starts out a colour no page has.
class FakePageImage final : public IPageImage {
public:
    static constexpr QRgb Untouched = 0xff00ff00; // green

    FakePageImage() : Canvas(FixtureBook::PageWidth, FixtureBook::PageHeight, QImage::Format_RGB32) {
        Canvas.fill(Untouched);
    }
    void DrawBitmap(const QImage& bitmap, int x, int y) override {
        QPainter painter(&Canvas);
        painter.drawImage(x, y, bitmap);
        ++Draws;
    }
    void SetPixel(int x, int y, QRgb colour) override {
        // Writing outside the canvas would be a fault of the model, not something to paint.
        ASSERT_TRUE(Canvas.rect().contains(x, y)) << "pixel " << x << "," << y;
        Canvas.setPixel(x, y, colour);
    }
    bool IsRed(int x, int y) const { return Canvas.pixel(x, y) == qRgb(255, 0, 0); }
    int RedCount() const {
        int count = 0;
        for (int y = 0; y < Canvas.height(); ++y)
            for (int x = 0; x < Canvas.width(); ++x)
                count += IsRed(x, y) ? 1 : 0;
        return count;
    }

    QImage Canvas;
    int Draws = 0;
};

// A scroll box hosting a page-high picture.
class FakeScrollBox final : public IScrollBox {
public:
    int VertPosition() const override { return Position; }
    void SetVertPosition(int position) override {
        Position = std::clamp(position, 0, std::max(ContentHeight - Height, 0));
    }
    int ClientHeight() const override { return Height; }

    int Position = 0;
    int Height = 274;
    int ContentHeight = FixtureBook::PageHeight;
};

class FakePageNoEdit final : public IPageNoEdit {
public:
    QString Text() const override { return Value; }
    void SetText(const QString& text) override { Value = text; }
    QString Value;
};

class FakeErrorBox final : public IErrorBox {
public:
    void ShowError(const QString& title, const QString& text) override {
        ++Shown;
        Title = title;
        Text = text;
        if (WhileShown)
            WhileShown();
    }
    int Shown = 0;
    QString Title;
    QString Text;
    // Runs as handlers would while the box is open.
    std::function<void()> WhileShown;
};

class ModelTest : public ::testing::Test {
protected:
    void OpenBook(const FixtureBook::Extra& extra = {}) {
        ASSERT_TRUE(Dir.isValid());
        FixtureBook::Create(Dir.path(), extra);
        Cwd.emplace(Dir.path());
        Book = std::make_unique<TQuran>(&PageNo, &Scroll, &Image, &Player);
        Book->TempFolder = CacheFolder();
        Book->ErrorBox = &Errors;
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
