#pragma once
// The product's pictures, compiled into the application as Qt resources.
//
// Call InitArtwork() once before loading any of the paths below (the resources live in a
// static library, whose registration the linker may otherwise drop); further calls do nothing.

#include <QString>

void InitArtwork();

inline constexpr char BackgroundPicture[] = ":/artwork/background.jpg";        // 800 x 600, main window
inline constexpr char SplashPicture[] = ":/artwork/splash.jpg";                // 760 x 438
inline constexpr char FarewellPicture[] = ":/artwork/farewell.jpg";            // 602 x 480
inline constexpr char DonatePicture[] = ":/artwork/donate.jpg";                // 681 x 481
inline constexpr char PublisherPicture[] = ":/artwork/publisher.jpg";          // 681 x 481
inline constexpr char SupportButtonPicture[] = ":/artwork/button-support.png"; // 138 x 31
inline constexpr char AboutButtonPicture[] = ":/artwork/button-about.png";     // 138 x 31

// The application icon, square, one picture per size.
inline constexpr int IconSizes[] = {16, 24, 32, 48, 64, 128, 256};
inline QString IconPicture(int size) {
    return QStringLiteral(":/artwork/icon-%1.png").arg(size);
}

// The farewell sound as the build wrote it; the set-up copies it beside the databases, where
// the farewell window opens it by its bare name, FarewellSoundFile.
QString TavashihBuildPath();
