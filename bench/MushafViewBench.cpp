// The Mushaf view on the default content: one page drawn by the view at 1080 pixels of height
// on a screen of device pixel ratio 2, as it fills a 1080-pixel screen at 200%; a page turn until
// the new page has been drawn; a word revealed on a page whose passage is hidden, until the page
// has been drawn again; and the memory the view takes after turning through all 604
// pages (resident set growth from before the view's content was read).

#include "bench/BenchSupport.h"
#include "content/MushafCounts.h"
#include "mushafview/MushafViewWindow.h"
#include "tests/support/ProcessStatus.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <set>
#include <vector>

namespace {

constexpr int ScreenHeight = 1080;
constexpr int ScreenWidth = 900;
constexpr double PixelRatio = 2;

// The screen the view reaches, 1080 pixels high at ratio 2, and the content the main window has
// open already: neither counts as the view's memory.
struct Screen {
    std::unique_ptr<Connection> Quran = OpenContentQuran();
    QImage Surface;
    Screen() {
        Surface = QImage(int(ScreenWidth * PixelRatio), int(ScreenHeight * PixelRatio),
                         QImage::Format_ARGB32_Premultiplied);
        Surface.setDevicePixelRatio(PixelRatio);
        Surface.fill(Qt::black);
    }
};

Screen& TheScreen() {
    static Screen screen;
    return screen;
}

struct View {
    std::unique_ptr<TMushafViewContent> Content;
    std::unique_ptr<TMushafViewWindow> Window;

    View() {
        Content = std::make_unique<TMushafViewContent>(*TheScreen().Quran);
        if (!Content->DrawsGlyphs()) {
            std::fprintf(stderr, "bench-mushafview: the view shows pictures (%s); run `make content`\n",
                         qPrintable(Content->Note()));
            std::exit(2);
        }
        Window = std::make_unique<TMushafViewWindow>(*Content, 1);
        // Taller than wide: one page, as tall as the screen.
        Window->resize(ScreenWidth, ScreenHeight);
        Window->show();
        QCoreApplication::processEvents();
    }
    // What reaching the screen costs the view: its paint into a surface of the screen's ratio.
    void Draw() {
        QPainter painter(&TheScreen().Surface);
        Window->Pages()->render(&painter);
    }
};

// Freed by main before the application object goes.
std::unique_ptr<View> TheViewSlot;

View& TheView() {
    if (!TheViewSlot)
        TheViewSlot = std::make_unique<View>();
    return *TheViewSlot;
}

// Once, first of all, so that the view is made inside it: the resident set before the view
// reads its content and after it has shown every page, and the growth over the second half of
// the pages (a leak would show there).
void BM_ViewMemory(benchmark::State& state) {
    TheScreen();
    for (auto _ : state) {
        const long before = ResidentKilobytes();
        View& view = TheView();
        view.Window->ShowPage(FirstPageID);
        view.Draw();
        long half = 0;
        for (int page = FirstPageID; page < LastPageID; ++page) {
            if (page == PageCount / 2)
                half = ResidentKilobytes();
            view.Window->TurnPage(1);
            view.Draw();
            QCoreApplication::processEvents();
        }
        const long end = ResidentKilobytes();
        state.counters["growth_mb"] = double(end - before) / 1024.0;
        state.counters["second_half_mb"] = double(end - half) / 1024.0;
    }
}
BENCHMARK(BM_ViewMemory)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

void BM_ViewDrawPage(benchmark::State& state) {
    View& view = TheView();
    int page = 0;
    for (auto _ : state) {
        state.PauseTiming();
        page = page % PageCount + 1;
        view.Window->ShowAyeh(0, 0, page);
        state.ResumeTiming();
        view.Draw();
    }
}
BENCHMARK(BM_ViewDrawPage)->Unit(benchmark::kMillisecond);

void BM_ViewPageTurn(benchmark::State& state) {
    View& view = TheView();
    for (auto _ : state) {
        if (view.Window->Page() == LastPageID)
            view.Window->ShowPage(FirstPageID);
        view.Window->TurnPage(1);
        view.Draw();
    }
}
BENCHMARK(BM_ViewPageTurn)->Unit(benchmark::kMillisecond);

// A learner reciting from memory: the page's ayehs hidden, each iteration reveals the next word
// (and end sign) in reading order and ends when the page has been drawn again. When all are
// revealed, the passage is hidden again outside the timing.
void BM_RevealWord(benchmark::State& state) {
    constexpr int RevealPage = 3;
    View& view = TheView();
    view.Window->ShowPage(RevealPage);
    TMushafPageView& pages = *view.Window->Pages();
    const MushafViewPage* shown = pages.ShownPage(RevealPage);
    if (!shown) {
        state.SkipWithError("the page is not shown");
        return;
    }
    std::vector<WordKey> passage;
    for (const MushafWord& word : shown->Glyphs.Words())
        if (word.InAyeh())
            passage.push_back(word.Key());
    if (passage.empty()) {
        state.SkipWithError("the page has no words");
        return;
    }
    std::set<WordKey> hidden;
    std::size_t next = 0;
    for (auto _ : state) {
        if (next == 0) {
            state.PauseTiming();
            hidden = std::set<WordKey>(passage.begin(), passage.end());
            pages.SetHiddenWords(hidden);
            view.Draw();
            state.ResumeTiming();
        }
        hidden.erase(passage[next]);
        next = (next + 1) % passage.size();
        pages.SetHiddenWords(hidden);
        view.Draw();
    }
    pages.SetHiddenWords({});
}
BENCHMARK(BM_RevealWord)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    PrivateHome home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TheViewSlot.reset();
    return 0;
}
