#include "mushaf/MushafFont.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString FindFile(const QString& fileName, const QStringList& folders) {
    for (const QString& folder : folders) {
        if (QString direct = QDir(folder).filePath(fileName); QFileInfo(direct).isFile())
            return direct;
        QDirIterator files(folder, {fileName}, QDir::Files, QDirIterator::Subdirectories);
        if (files.hasNext())
            return files.next();
    }
    return {};
}

} // namespace

QString InstalledMushafFontPath() {
    return QStringLiteral("/usr/share/fonts/opentype/fonts-hosny-amiri/AmiriQuran.ttf");
}

QString FileSha256(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        throw MushafError(QStringLiteral("cannot read %1: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString())
                              .toStdString());
    return QString::fromLatin1(hash.result().toHex());
}

QStringList MushafFonts::FontFolders() {
    QStringList folders{QFileInfo(InstalledMushafFontPath()).path()};
    folders += QStandardPaths::standardLocations(QStandardPaths::FontsLocation);
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders += QDir(data).filePath(QStringLiteral("fonts"));
    folders.removeDuplicates();
    return folders;
}

MushafFonts MushafFonts::Load(const std::vector<MushafFontInfo>& fonts, const QStringList& folders) {
    std::vector<QRawFont> loaded;
    for (const MushafFontInfo& info : fonts) {
        const QString path = FindFile(info.FileName, folders);
        if (path.isEmpty())
            throw MushafError(
                QStringLiteral("the font %1, which the Mushaf's glyphs were set in, is not installed "
                               "(looked in %2): install fonts-hosny-amiri and fonts-noto-core")
                    .arg(info.FileName, folders.join(QStringLiteral(", ")))
                    .toStdString());
        const QString sha = FileSha256(path);
        if (sha.compare(info.Sha256, Qt::CaseInsensitive) != 0)
            throw MushafError(
                QStringLiteral("the installed font %1 is not the one the Mushaf's glyphs were set in "
                               "(its SHA-256 is %2, the content's %3): build quran.dat again with "
                               "golvar-content build-text")
                    .arg(QDir::toNativeSeparators(path), sha, info.Sha256)
                    .toStdString());
        QRawFont font(path, info.PixelSize, QFont::PreferNoHinting);
        if (!font.isValid())
            throw MushafError(QStringLiteral("%1 could not be loaded as a font")
                                  .arg(QDir::toNativeSeparators(path))
                                  .toStdString());
        loaded.push_back(std::move(font));
    }
    return MushafFonts(std::move(loaded));
}
