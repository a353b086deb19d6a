#pragma once
// What every benchmark program shares: the content folder it runs on, a private home so that
// no run touches the user's settings or sound cache, plain stand-ins for the window's
// controls, and the measures the programs report.

#include "content/Database.h"
#include "content/PageGeometry.h"
#include "model/Display.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

// Points HOME and the XDG folders into a temporary folder for the life of the process.
// Call before the Qt application object exists.
class PrivateHome final {
public:
    PrivateHome();
    QString Path() const { return Dir.path(); }

private:
    QTemporaryDir Dir;
};

// The content folder: GOLVAR_BENCH_DATA when set, else "data" under the source tree.
// Exits with a message when it holds no quran.dat.
QString ContentFolder();

// quran.dat of the content folder, opened as the reader opens it: by name from that folder.
std::unique_ptr<Connection> OpenContentQuran();

// A page picture drawn on a 462 x 690 surface, as the main window's picture does.
class SurfaceImage final : public IPageImage {
public:
    SurfaceImage();
    void DrawBitmap(const QImage& bitmap, int x, int y) override;
    void SetPixel(int x, int y, QRgb colour) override;
    const QImage& Surface() const { return Canvas; }

private:
    QImage Canvas;
};

class FixedScrollBox final : public IScrollBox {
public:
    int VertPosition() const override { return Position; }
    void SetVertPosition(int position) override;
    int ClientHeight() const override { return 400; }

private:
    int Position = 0;
};

class PlainPageNoEdit final : public IPageNoEdit {
public:
    QString Text() const override { return Value; }
    void SetText(const QString& text) override { Value = text; }

private:
    QString Value;
};

// Monotonic clock in nanoseconds, comparable between processes.
long long MonotonicNanoseconds();

// Median, minimum and maximum of a list of figures.
struct Spread {
    double Median = 0;
    double Min = 0;
    double Max = 0;
};
Spread SpreadOf(std::vector<double> values);
