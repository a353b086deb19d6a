// The generated pictures and the farewell sound, as the windows and the set-up use them.
#include "artwork/Artwork.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <sndfile.h>
#include <vector>

namespace {

class ArtworkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitArtwork(); }

    static QImage Load(const QString& path) {
        QImageReader reader(path);
        QImage image = reader.read();
        EXPECT_FALSE(image.isNull()) << path.toStdString() << ": " << reader.errorString().toStdString();
        return image;
    }
};

struct PictureCase {
    const char* Path;
    int Width;
    int Height;
    const char* Format; // as the image reader names it
};

const PictureCase Pictures[] = {
    {BackgroundPicture, 800, 600, "jpeg"}, {SplashPicture, 760, 438, "jpeg"},
    {FarewellPicture, 602, 480, "jpeg"},   {DonatePicture, 681, 481, "jpeg"},
    {PublisherPicture, 681, 481, "jpeg"},  {SupportButtonPicture, 138, 31, "png"},
    {AboutButtonPicture, 138, 31, "png"},
};

TEST_F(ArtworkTest, EveryPictureIsACompiledInResourceOfItsFormatAndSize) {
    for (const PictureCase& picture : Pictures) {
        SCOPED_TRACE(picture.Path);
        const QString path = QString::fromLatin1(picture.Path);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(4);
        if (QByteArray(picture.Format) == "jpeg")
            EXPECT_TRUE(head.startsWith("\xFF\xD8\xFF")) << "not a JPEG stream";
        else
            EXPECT_EQ(head, QByteArray("\x89PNG"));
        file.close();
        EXPECT_EQ(QImageReader(path).format(), QByteArray(picture.Format));
        const QImage image = Load(path);
        EXPECT_EQ(image.size(), QSize(picture.Width, picture.Height));
    }
}

// Alpha of the four corner pixels and of the centre.
void ExpectTransparentCornersAndOpaqueMiddle(const QImage& image) {
    const int right = image.width() - 1, bottom = image.height() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
        EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << "corner " << corner.x() << "," << corner.y();
    EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 4)), 255);
}

TEST_F(ArtworkTest, ButtonPicturesAreRedBarsWithTransparentCornersAndWhiteWords) {
    for (const char* path : {SupportButtonPicture, AboutButtonPicture}) {
        SCOPED_TRACE(path);
        const QImage image = Load(QString::fromLatin1(path)).convertToFormat(QImage::Format_ARGB32);
        ExpectTransparentCornersAndOpaqueMiddle(image);
        const QRgb edge = image.pixel(8, image.height() / 2);
        EXPECT_GT(qRed(edge), 2 * qGreen(edge));
        EXPECT_GT(qRed(edge), 2 * qBlue(edge));
        int white = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                white += qGray(image.pixel(x, y)) > 235 && qAlpha(image.pixel(x, y)) == 255;
        EXPECT_GT(white, 40) << "no words on the button";
    }
}

TEST_F(ArtworkTest, IconIsDrawnAtEverySizeWithTransparentCorners) {
    for (const int size : IconSizes) {
        SCOPED_TRACE(size);
        const QImage image = Load(IconPicture(size)).convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(image.size(), QSize(size, size));
        ExpectTransparentCornersAndOpaqueMiddle(image);
    }
}

// Relative luminance and contrast ratio as the accessibility guidelines define them.
double Luminance(QRgb colour) {
    auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) + 0.0722 * linear(qBlue(colour));
}

double Contrast(QRgb a, QRgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(ArtworkTest, BackgroundIsLightEnoughForDarkGreenTextWhereTheControlsSit) {
    // Controls whose text lies straight on the artwork (labels, flat buttons) and those with
    // a peach face of their own, whose edges must not clash with the ground either.
    const struct {
        const char* Control;
        QRect Place;
    } controls[] = {
        {"reciter list", {644, 145, 116, 24}}, {"soureh list", {644, 174, 116, 24}},
        {"ayeh list", {712, 202, 48, 24}},     {"repeat box", {645, 202, 40, 26}},
        {"ayeh label", {761, 207, 12, 13}},    {"repeat label", {687, 207, 21, 13}},
        {"page label", {42, 187, 225, 13}},    {"page number label", {7, 512, 28, 13}},
        {"page number box", {2, 525, 36, 27}}, {"go button", {3, 553, 36, 25}},
        {"recite button", {678, 506, 75, 22}}, {"pause button", {678, 530, 75, 22}},
        {"exit button", {678, 554, 75, 22}},   {"translation box", {151, 40, 376, 105}},
    };
    const QRgb darkGreen = qRgb(3, 117, 0);
    const QImage background =
        Load(QString::fromLatin1(BackgroundPicture)).convertToFormat(QImage::Format_RGB32);
    for (const auto& control : controls) {
        SCOPED_TRACE(control.Control);
        double sum = 0, lowest = 100;
        for (int y = control.Place.top(); y <= control.Place.bottom(); ++y)
            for (int x = control.Place.left(); x <= control.Place.right(); ++x) {
                const double contrast = Contrast(background.pixel(x, y), darkGreen);
                sum += contrast;
                lowest = std::min(lowest, contrast);
            }
        EXPECT_GE(sum / (control.Place.width() * control.Place.height()), 4.0);
        EXPECT_GE(lowest, 3.0);
    }
}

TEST_F(ArtworkTest, PageOpeningIsPlainIvory) {
    const QImage background =
        Load(QString::fromLatin1(BackgroundPicture)).convertToFormat(QImage::Format_RGB32);
    const QRect opening(97, 255, 481, 274);
    for (const QPoint p : {opening.topLeft(), opening.topRight(), opening.bottomLeft(), opening.bottomRight(),
                           opening.center()}) {
        const QRgb pixel = background.pixel(p);
        EXPECT_GE(qRed(pixel), 245);
        EXPECT_GE(qGreen(pixel), 245);
        EXPECT_GE(qBlue(pixel), 225);
    }
}

struct SoundFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

TEST(TavashihTest, DecodesAsAFewSecondsOfUnclippedSixteenBitSound) {
    SF_INFO info{};
    const QByteArray path = QFile::encodeName(TavashihBuildPath());
    std::unique_ptr<SNDFILE, SoundFileCloser> file(sf_open(path.constData(), SFM_READ, &info));
    ASSERT_TRUE(file) << sf_strerror(nullptr);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(info.samplerate, 22050);
    const double seconds = double(info.frames) / info.samplerate;
    EXPECT_GE(seconds, 3.0);
    EXPECT_LE(seconds, 6.0);

    std::vector<short> samples(std::size_t(info.frames * info.channels));
    ASSERT_EQ(sf_read_short(file.get(), samples.data(), sf_count_t(samples.size())),
              sf_count_t(samples.size()));
    int peak = 0;
    for (const short s : samples)
        peak = std::max(peak, std::abs(int(s)));
    EXPECT_LT(peak, 32000) << "clipped";
    EXPECT_GT(peak, 4000) << "nearly silent";
    // It fades out rather than stopping with a click.
    EXPECT_LT(std::abs(int(samples.back())), 200);
}

} // namespace
