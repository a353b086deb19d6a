// The Mushaf page drawn from its glyphs: a whole page at 1080 pixels of height on a screen of
// device pixel ratio 2 (2160 device rows), as the view draws it, and reading a page's glyphs
// from quran.dat.

#include "bench/BenchSupport.h"
#include "content/Database.h"
#include "content/MushafCounts.h"
#include "content/PageGeometry.h"
#include "mushaf/MushafPainter.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <optional>

namespace {

constexpr int ViewHeight = 1080;
constexpr double PixelRatio = 2;

struct Glyphs {
    std::unique_ptr<Connection> Quran;
    std::unique_ptr<MushafStore> Store;
    std::optional<MushafFonts> Fonts;
    std::vector<MushafPage> Pages; // every page, loaded once

    Glyphs() {
        // The content file is opened by bare name from the current folder.
        const QString previous = QDir::currentPath();
        QDir::setCurrent(ContentFolder());
        Quran = std::make_unique<Connection>(QuranConnectionString);
        QDir::setCurrent(previous);
        if (!MushafStore::HasGlyphs(*Quran)) {
            std::fprintf(stderr, "bench-mushaf: the content has no typeset glyphs; run `make content`\n");
            std::exit(2);
        }
        Store = std::make_unique<MushafStore>(*Quran);
        Fonts = MushafFonts::Load(Store->Fonts());
        for (int page = 1; page <= PageCount; ++page)
            Pages.push_back(Store->Page(page));
    }
};

Glyphs& TheGlyphs() {
    static Glyphs glyphs;
    return glyphs;
}

// Each iteration draws the next page, with its current ayeh in red, on a cleared surface.
void DrawPages(benchmark::State& state, const MushafStyle& base) {
    Glyphs& glyphs = TheGlyphs();
    const double width = ViewHeight * double(PagePictureWidth) / PagePictureHeight;
    QImage surface(int(width * PixelRatio), int(ViewHeight * PixelRatio),
                   QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(PixelRatio);
    size_t index = 0;
    for (auto _ : state) {
        const MushafPage& page = glyphs.Pages[index++ % glyphs.Pages.size()];
        MushafStyle style = base;
        style.CurrentAyeh = page.Ayehs().front();
        QPainter painter(&surface);
        DrawMushafPage(painter, QRectF(0, 0, width, ViewHeight), page, *glyphs.Fonts, style);
    }
}

void BM_DrawPage(benchmark::State& state) {
    DrawPages(state, MushafStyle::Day());
}
BENCHMARK(BM_DrawPage)->Unit(benchmark::kMillisecond);

void BM_DrawNightPage(benchmark::State& state) {
    DrawPages(state, MushafStyle::Night());
}
BENCHMARK(BM_DrawNightPage)->Unit(benchmark::kMillisecond);

void BM_ReadPageGlyphs(benchmark::State& state) {
    Glyphs& glyphs = TheGlyphs();
    int page = 0;
    for (auto _ : state) {
        page = page % PageCount + 1;
        benchmark::DoNotOptimize(glyphs.Store->Page(page));
    }
}
BENCHMARK(BM_ReadPageGlyphs)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    PrivateHome home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
