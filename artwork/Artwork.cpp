#include "artwork/Artwork.h"

#include "content/ContentKeys.h"

#include <QtCore/qglobal.h>
#include <mutex>

// Q_INIT_RESOURCE declares the registration function where it is used, so it stays global.
static void RegisterArtworkResources() {
    Q_INIT_RESOURCE(artwork_pictures);
}

void InitArtwork() {
    static std::once_flag once;
    std::call_once(once, RegisterArtworkResources);
}

QString TavashihBuildPath() {
    return QStringLiteral(GOLVAR_ARTWORK_BUILD_DIR "/") + QString::fromLatin1(FarewellSoundFile);
}
