// Draws the product's pictures and its farewell sound into the folder given as the only
// argument. Needs the Amiri and Noto Arabic fonts: without them the Persian text would come
// out in whatever face the system picks, so their absence stops the build.
#include "artwork/Artwork.h"
#include "artwork/generate/Melody.h"
#include "artwork/generate/Pictures.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <stdexcept>

namespace {

void Save(const QImage& image, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    const bool jpeg = name.endsWith(QStringLiteral(".jpg"));
    const QImage stored = jpeg ? image.convertToFormat(QImage::Format_RGB32) : image;
    if (!stored.save(path, jpeg ? "JPG" : "PNG", jpeg ? 92 : -1))
        throw std::runtime_error("cannot write " + path.toStdString());
}

void RequireFonts() {
    const QStringList families = QFontDatabase::families();
    for (const char* family : {"Amiri", "Noto Naskh Arabic", "Noto Sans Arabic"})
        if (!families.contains(QString::fromLatin1(family)))
            throw std::runtime_error(std::string("the font \"") + family +
                                     "\" is not installed (fonts-hosny-amiri, fonts-noto-core)");
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: artwork-generate OUTPUT-FOLDER\n");
        return 2;
    }
    try {
        RequireFonts();
        const QDir folder(QString::fromLocal8Bit(argv[1]));
        if (!folder.exists() && !QDir().mkpath(folder.path()))
            throw std::runtime_error("cannot create " + folder.path().toStdString());
        Save(DrawBackground(), folder, QStringLiteral("background.jpg"));
        Save(DrawSplash(), folder, QStringLiteral("splash.jpg"));
        Save(DrawFarewell(), folder, QStringLiteral("farewell.jpg"));
        Save(DrawDonate(), folder, QStringLiteral("donate.jpg"));
        Save(DrawPublisher(), folder, QStringLiteral("publisher.jpg"));
        Save(DrawButtonPicture(QStringLiteral("همیاری")), folder, QStringLiteral("button-support.png"));
        Save(DrawButtonPicture(QStringLiteral("درباره ما")), folder, QStringLiteral("button-about.png"));
        for (const int size : IconSizes)
            Save(DrawIcon(size), folder, QStringLiteral("icon-%1.png").arg(size));
        WriteTavashih(folder.filePath(QStringLiteral("Tavashih.wav")));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "artwork-generate: %s\n", error.what());
        return 1;
    }
    return 0;
}
