// The Mushaf view on the default content: one page drawn by the view at 1080 pixels of height
// on a screen of device pixel ratio 2, as it fills a 1080-pixel screen at 200%; a page turn until
// the new page has been drawn; and the memory the view takes after turning through all 604
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

namespace {

constexpr int ScreenHeight = 1080;
constexpr double PixelRatio = 2;

struct View {
    std::unique_ptr<Connection> Quran;
    std::unique_ptr<TMushafViewContent> Content;
    std::unique_ptr<TMushafViewWindow> Window;
    QImage Screen;

    View() {
        Quran = OpenContentQuran();
        Content = std::make_unique<TMushafViewContent>(*Quran);
        if (!Content->DrawsGlyphs()) {
            std::fprintf(stderr, "bench-mushafview: the view shows pictures (%s); run `make content`\n",
                         qPrintable(Content->Note()));
            std::exit(2);
        }
        Window = std::make_unique<TMushafViewWindow>(*Content, 1);
        // Taller than wide: one page, as tall as the screen.
        Window->resize(900, ScreenHeight);
        Window->show();
        QCoreApplication::processEvents();
        const QSize size = Window->Pages()->size();
        Screen = QImage(int(size.width() * PixelRatio), int(size.height() * PixelRatio),
                        QImage::Format_ARGB32_Premultiplied);
        Screen.setDevicePixelRatio(PixelRatio);
    }
    // What reaching the screen costs the view: its paint into a surface of the screen's ratio.
    void Draw() {
        QPainter painter(&Screen);
        Window->Pages()->render(&painter);
    }
};

View& TheView() {
    static View view;
    return view;
}

// Once, first of all, so that the view is made inside it: the resident set before the view reads its content
// and after it has shown every page.
void BM_ViewMemory(benchmark::State& state) {
    for (auto _ : state) {
        const long before = ResidentKilobytes();
        View& view = TheView();
        view.Window->ShowPage(FirstPageID);
        view.Draw();
        for (int page = FirstPageID; page < LastPageID; ++page) {
            view.Window->TurnPage(1);
            view.Draw();
            QCoreApplication::processEvents();
        }
        state.counters["growth_mb"] = double(ResidentKilobytes() - before) / 1024.0;
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
    return 0;
}
