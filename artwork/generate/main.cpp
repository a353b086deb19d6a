// Draws the product's pictures and its farewell sound into the folder given as the only
// argument. Needs the Amiri and Noto Arabic fonts: without them the Persian text would come
// out in whatever face the system picks, so their absence stops the build.
#include "artwork/Artwork.h"
#include "artwork/generate/Melody.h"
#include "artwork/generate/Pictures.h"
#include "content/ContentKeys.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <stdexcept>

namespace {

// Saves image under the file name of its resource path, so that the resource the windows load
// is the picture drawn here.
void Save(const QImage& image, const QDir& folder, const QString& resource) {
    const QString name = QFileInfo(resource).fileName();
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
        Save(DrawBackground(), folder, QString::fromLatin1(BackgroundPicture));
        Save(DrawSplash(), folder, QString::fromLatin1(SplashPicture));
        Save(DrawFarewell(), folder, QString::fromLatin1(FarewellPicture));
        Save(DrawDonate(), folder, QString::fromLatin1(DonatePicture));
        Save(DrawPublisher(), folder, QString::fromLatin1(PublisherPicture));
        Save(DrawButtonPicture(QStringLiteral("همیاری")), folder, QString::fromLatin1(SupportButtonPicture));
        Save(DrawButtonPicture(QStringLiteral("درباره ما")), folder, QString::fromLatin1(AboutButtonPicture));
        for (const int size : IconSizes)
            Save(DrawIcon(size), folder, IconPicture(size));
        WriteTavashih(folder.filePath(QString::fromLatin1(FarewellSoundFile)));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "artwork-generate: %s\n", error.what());
        return 1;
    }
    return 0;
}
