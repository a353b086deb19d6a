#include "recordings/UserContent.h"

#include "content/ContentKeys.h"
#include "recordings/ContentWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Points `link` at `target` in one step; a file of the user's own at `link` is kept.
void LinkInto(const QString& folder, const char* name, const QString& inUse) {
    const QString link = QDir(folder).filePath(QString::fromLatin1(name));
    const QFileInfo present(link);
    if (present.exists() && !present.isSymLink())
        return;
    const QString target = QFileInfo(inUse).canonicalFilePath();
    if (target.isEmpty() || target == present.canonicalFilePath())
        return;
    const QString temporary = link + QStringLiteral(".new");
    ::unlink(QFile::encodeName(temporary).constData());
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(temporary).constData()) != 0 ||
        std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(link).constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        ::unlink(QFile::encodeName(temporary).constData());
        throw ToolError(QStringLiteral("cannot link %1 to %2: %3")
                            .arg(QDir::toNativeSeparators(link), QDir::toNativeSeparators(target), why));
    }
}

} // namespace

QString UserContentFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + u'/' + QLatin1String(SettingsOrganisation) + u'/' +
                           QLatin1String(SettingsApplication));
}

void PrepareUserContentFolder(const QString& folder, const QString& quranFile, const QString& farewellFile) {
    if (!QDir().mkpath(folder))
        throw ToolError(QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(folder)));
    LinkInto(folder, QuranDatabaseFile, quranFile);
    LinkInto(folder, FarewellSoundFile, farewellFile);
}
QString UserSoundFile() {
    return QDir(UserContentFolder()).filePath(QString::fromLatin1(SoundDatabaseFile));
}

QString ChangeSource(const QString& inUse) {
    const QString own = UserSoundFile();
    return QFileInfo::exists(own) ? own : inUse;
}

bool IsUserSound(const QString& inUse) {
    const QString own = QFileInfo(UserSoundFile()).canonicalFilePath();
    return !own.isEmpty() && own == QFileInfo(inUse).canonicalFilePath();
}

QString EnterContentFolder(const QString& folder, bool named) {
    ChangeLock::RemoveLeftovers(UserSoundFile());
    QString chosen = QDir(folder).absolutePath();
    if (!named && QFileInfo::exists(UserSoundFile())) {
        const QDir content(chosen);
        // A folder whose links cannot be made is entered all the same: the book then names the
        // file it cannot open.
        try {
            PrepareUserContentFolder(UserContentFolder(),
                                     content.filePath(QString::fromLatin1(QuranDatabaseFile)),
                                     content.filePath(QString::fromLatin1(FarewellSoundFile)));
        } catch (const ToolError&) {
        }
        chosen = UserContentFolder();
    }
    if (!QFileInfo(chosen).isDir() || !QDir::setCurrent(chosen))
        throw ToolError(
            QStringLiteral("cannot enter the content folder %1").arg(QDir::toNativeSeparators(chosen)));
    return chosen;
}
