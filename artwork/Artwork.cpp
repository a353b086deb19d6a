#include "artwork/Artwork.h"

#include <QtCore/qglobal.h>

#include <mutex>

// Q_INIT_RESOURCE must be used outside any namespace and cannot name a function of its own.
static void RegisterArtworkResources() { Q_INIT_RESOURCE(artwork_pictures); }

void InitArtwork() {
    static std::once_flag once;
    std::call_once(once, RegisterArtworkResources);
}

QString IconPicture(int size) { return QStringLiteral(":/artwork/icon-%1.png").arg(size); }

QString TavashihBuildPath() { return QStringLiteral(GOLVAR_ARTWORK_BUILD_DIR "/Tavashih.wav"); }
