#include "model/SoundCache.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

const char* const SoundErrorTitle = "Error";
const char* const SoundErrorText = "خطا در قرائت قرآن! با فروشنده تماس بگيريد";

// Owner of a POSIX file descriptor.
class FileDescriptor final {
public:
    explicit FileDescriptor(int fd) : Fd(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return Fd; }
    bool Valid() const { return Fd >= 0; }
    // False when the kernel reports a failure that only shows at close (a delayed write).
    bool Close() {
        if (Fd < 0)
            return true;
        const int rc = ::close(std::exchange(Fd, -1));
        return rc == 0 || errno == EINTR;
    }

private:
    int Fd;
};

QString CacheRoot() {
    QString location = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!location.isEmpty())
        return location;
    return QDir::tempPath() + QStringLiteral("/GolvarQuran-") + QString::number(::geteuid());
}

void RemoveFile(const QString& path) {
    if (!path.isEmpty())
        ::unlink(QFile::encodeName(path).constData());
}

// Reciter ghariId's recording of (sourehId, ayehId); none when the database has not exactly one.
std::optional<QByteArray> SoundBytes(const Connection& sounds, int ghariId, int sourehId, int ayehId) {
    const ResultSet query(sounds, Statements::Sound(sourehId, ayehId, ghariId));
    if (query.RecordCount() != 1)
        return std::nullopt;
    return query.FieldByName("Sound").AsBytes();
}

// Replaces whatever is at path (a planted link is removed, never followed) with a new file
// readable by the owner only. A file that cannot be written in full is removed again.
bool WriteSoundFile(const QString& path, const QByteArray& bytes) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) == 0 && !S_ISDIR(info.st_mode))
        ::unlink(name.constData());
    FileDescriptor file(::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.Valid())
        return false;
    ::fchmod(file.Get(), 0600);
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(file.Get(), data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            file.Close();
            ::unlink(name.constData());
            return false;
        }
        data += written;
        left -= written;
    }
    if (!file.Close()) {
        ::unlink(name.constData());
        return false;
    }
    return true;
}

} // namespace

TSoundCache::TSoundCache(AudioPlayer* player)
    : Folder(CacheRoot() + QStringLiteral("/sounds")), Player(player) {}

TSoundCache::~TSoundCache() {
    Forget();
}

QString TSoundCache::FileName(int ghariId, int sourehId, int ayehId) {
    return QString::number(ghariId) + u'-' + QString::number(sourehId) + u'-' + QString::number(ayehId) +
           QStringLiteral(".wav");
}

QString TSoundCache::Path(int ghariId, int sourehId, int ayehId) const {
    return Folder + u'/' + FileName(ghariId, sourehId, ayehId);
}

QString TSoundCache::Prepare(const Connection& sounds, int ghariId, int sourehId, int ayehId,
                             bool processPending) {
    QString path = Path(ghariId, sourehId, ayehId);
    if (path == Loaded || path == Queued)
        return path;

    const std::optional<QByteArray> bytes = SoundBytes(sounds, ghariId, sourehId, ayehId);
    if (!bytes)
        return path;

    if (processPending) {
        const auto alive = Life.Watch();
        QCoreApplication::processEvents();
        if (alive.expired())
            return path;
    }
    if (!EnsureFolder() || !WriteSoundFile(path, *bytes))
        ShowError();
    return path;
}

// The cache folder must be a real directory of this user, never a link: the files written
// into it are removed later by name.
bool TSoundCache::EnsureFolder() {
    const QByteArray folder = QFile::encodeName(Folder);
    struct stat info {};
    if (::lstat(folder.constData(), &info) != 0) {
        if (errno != ENOENT)
            return false;
        QDir().mkpath(QFileInfo(Folder).absolutePath());
        if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (::lstat(folder.constData(), &info) != 0)
            return false;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    if ((info.st_mode & 077) != 0 && ::chmod(folder.constData(), 0700) != 0)
        return false;
    return true;
}

void TSoundCache::ShowError() {
    const QString title = QString::fromUtf8(SoundErrorTitle);
    const QString text = QString::fromUtf8(SoundErrorText);
    if (ErrorBox)
        ErrorBox->ShowError(title, text);
    else
        std::fprintf(stderr, "%s: %s\n", SoundErrorTitle, SoundErrorText);
}

void TSoundCache::Load(const QString& path) {
    Player->Close();
    if (Queued != path && Queued != Loaded)
        RemoveFile(Queued);
    Queued.clear();
    Player->SetFileName(path);
    if (path != Loaded) {
        RemoveFile(Loaded);
        Loaded = path;
    }
    Player->Open();
}

void TSoundCache::Queue(const Connection& sounds, int ghariId, int sourehId, int ayehId) {
    QString path = Path(ghariId, sourehId, ayehId);
    if (path == Queued && Player->QueuedFile() == path)
        return;
    DropQueued();
    if (path != Loaded) {
        const std::optional<QByteArray> bytes = SoundBytes(sounds, ghariId, sourehId, ayehId);
        if (!bytes || !EnsureFolder() || !WriteSoundFile(path, *bytes))
            return;
    }
    Queued = path;
    try {
        Player->Queue(path);
    } catch (const AudioError&) {
    }
    if (Player->QueuedFile() != path)
        DropQueued();
}

void TSoundCache::DropQueued() {
    if (Player)
        Player->DropQueued();
    if (Queued != Loaded)
        RemoveFile(Queued);
    Queued.clear();
}

bool TSoundCache::Adopt(const QString& path) {
    if (path.isEmpty() || path != Queued || !Player->Adopt(path))
        return false;
    if (path != Loaded) {
        RemoveFile(Loaded);
        Loaded = path;
    }
    Queued.clear();
    return true;
}

void TSoundCache::Forget() {
    RemoveFile(Loaded);
    if (Queued != Loaded)
        RemoveFile(Queued);
    Loaded.clear();
    Queued.clear();
}

void TSoundCache::RemoveStale() {
    // Only the reader's own recordings: "g-s-a.wav" with three decimal numbers.
    // A folder that is a link is not entered, so nothing outside the cache is ever touched.
    static const QRegularExpression cacheFile(QStringLiteral("^[0-9]+-[0-9]+-[0-9]+\\.wav$"));
    const QFileInfo info(Folder);
    if (!info.isDir() || info.isSymLink())
        return;
    const QDir folder(Folder);
    const QStringList names = folder.entryList(
        {QStringLiteral("*.wav")}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names)
        if (cacheFile.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
}
