#include "model/Quran.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

std::unique_ptr<TQuran> GlobalQuran;

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
    const QString location = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!location.isEmpty())
        return location;
    return QDir::tempPath() + QStringLiteral("/GolvarQuran-") + QString::number(::geteuid());
}

void RemoveFile(const QString& path) {
    if (!path.isEmpty())
        ::unlink(QFile::encodeName(path).constData());
}

} // namespace

TQuran::TQuran(IPageNoEdit* pageNoEdit, IScrollBox* scrollBox, IPageImage* image, AudioPlayer* player)
    : TempFolder(CacheRoot() + QStringLiteral("/sounds")) {
    try {
        ScrollBox = scrollBox;
        PageNoEdit = pageNoEdit;
        Image = image;
        Player = player;
        if (Player)
            Player->SetNotify(true);
        QuranConnection = std::make_unique<Connection>(QuranConnectionString);
        SoundConnection = std::make_unique<Connection>(SoundConnectionString);
        SetSoureh(std::make_unique<TSoureh>(this, 1));
        GhariID = 0;
    } catch (...) {
        Release();
        throw;
    }
}

TQuran::~TQuran() {
    Release();
}

// Each step is harmless for a part that is not there yet, so a failed construction uses it too.
void TQuran::Release() noexcept {
    QuranConnection.reset();
    Soureh.reset();
    Page.reset();
    if (Player) {
        try {
            Player->Close();
        } catch (const std::exception&) {
        }
        Player->SetEnabled(false);
    }
    RemoveFile(SoundFile);
    if (QueuedFile != SoundFile)
        RemoveFile(QueuedFile);
    SoundConnection.reset();
}

TSoureh* TQuran::SelectSoureh(int sourehId) {
    SetSoureh(std::make_unique<TSoureh>(this, sourehId));
    return Soureh.get();
}

std::optional<QStringList> TQuran::GetSourehList() {
    ResultSet query(*QuranConnection, Statements::SourehList());
    if (query.RecordCount() == 0)
        return std::nullopt;
    QStringList list;
    for (query.First(); !query.Eof(); query.Next())
        list << QString::number(query.FieldByName("SourehID").AsInteger()) + QStringLiteral("- ") +
                    query.FieldByName("SourehName").AsString();
    return list;
}

void TQuran::GoToPage(int pageId) {
    SetPage(std::make_unique<TQuranPage>(this, pageId));
}

void TQuran::SetPage(std::unique_ptr<TQuranPage> page) {
    if (Page && Page->PageID == page->PageID)
        return; // the new page is released; the display keeps what it shows
    Page = std::move(page);
    Page->Show();
}

void TQuran::SetSoureh(std::unique_ptr<TSoureh> soureh) {
    if (Soureh && Soureh->SourehID == soureh->SourehID)
        return;
    Soureh = std::move(soureh);
}

QString TQuran::SoundFileName(int ghariId, int sourehId, int ayehId) {
    return QString::number(ghariId) + u'-' + QString::number(sourehId) + u'-' + QString::number(ayehId) +
           QStringLiteral(".wav");
}

QString TQuran::SoundPath(int sourehId, int ayehId) const {
    return TempFolder + u'/' + SoundFileName(GhariID, sourehId, ayehId);
}

std::optional<QByteArray> TQuran::SoundBytes(int sourehId, int ayehId) {
    const ResultSet query(*SoundConnection, Statements::Sound(sourehId, ayehId, GhariID));
    if (query.RecordCount() != 1)
        return std::nullopt;
    return query.FieldByName("Sound").AsBytes();
}

QString TQuran::PrepareSound(int sourehId, int ayehId, bool processPending) {
    const QString path = SoundPath(sourehId, ayehId);
    if (path == SoundFile || path == QueuedFile)
        return path;

    const std::optional<QByteArray> bytes = SoundBytes(sourehId, ayehId);
    if (!bytes)
        return path;

    if (processPending) {
        const auto alive = Watch();
        QCoreApplication::processEvents();
        if (alive.expired())
            return path;
    }
    if (!EnsureTempFolder() || !WriteSoundFile(path, *bytes))
        ShowSoundError();
    return path;
}

// The cache folder must be a real directory of this user, never a link: the files written
// into it are removed later by name.
bool TQuran::EnsureTempFolder() {
    const QByteArray folder = QFile::encodeName(TempFolder);
    struct stat info {};
    if (::lstat(folder.constData(), &info) != 0) {
        if (errno != ENOENT)
            return false;
        QDir().mkpath(QFileInfo(TempFolder).absolutePath());
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

// Replaces whatever is at path (a planted link is removed, never followed) with a new file
// readable by the owner only. A file that cannot be written in full is removed again.
bool TQuran::WriteSoundFile(const QString& path, const QByteArray& bytes) {
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

void TQuran::ShowSoundError() {
    const QString title = QString::fromUtf8(SoundErrorTitle);
    const QString text = QString::fromUtf8(SoundErrorText);
    if (ErrorBox)
        ErrorBox->ShowError(title, text);
    else
        std::fprintf(stderr, "%s: %s\n", SoundErrorTitle, SoundErrorText);
}

void TQuran::LoadSound(const QString& path) {
    Player->Close();
    if (QueuedFile != path && QueuedFile != SoundFile)
        RemoveFile(QueuedFile);
    QueuedFile.clear();
    Player->SetFileName(path);
    if (path != SoundFile) {
        RemoveFile(SoundFile);
        SoundFile = path;
    }
    Player->Open();
}

void TQuran::QueueSound(int sourehId, int ayehId) {
    const QString path = SoundPath(sourehId, ayehId);
    if (path == QueuedFile && Player->QueuedFile() == path)
        return;
    DropQueuedSound();
    if (path != SoundFile) {
        const std::optional<QByteArray> bytes = SoundBytes(sourehId, ayehId);
        if (!bytes || !EnsureTempFolder() || !WriteSoundFile(path, *bytes))
            return;
    }
    QueuedFile = path;
    try {
        Player->Queue(path);
    } catch (const AudioError&) {
    }
    if (Player->QueuedFile() != path)
        DropQueuedSound();
}

void TQuran::DropQueuedSound() {
    if (Player)
        Player->DropQueued();
    if (QueuedFile != SoundFile)
        RemoveFile(QueuedFile);
    QueuedFile.clear();
}

bool TQuran::AdoptSound(const QString& path) {
    if (path.isEmpty() || path != QueuedFile || !Player->Adopt(path))
        return false;
    if (path != SoundFile) {
        RemoveFile(SoundFile);
        SoundFile = path;
    }
    QueuedFile.clear();
    return true;
}

void TQuran::PlayBismillah() {
    const auto alive = Watch();
    const quint64 recitation = Recitations;
    const TAyeh* ayeh = Soureh ? Soureh->Ayeh.get() : nullptr;
    const auto ayehAlive = ayeh ? ayeh->Watch() : std::weak_ptr<const void>();
    const QString path = PrepareSound(0, 0, true);
    // A choice made while the events ran wins: the Bismillah of a released ayeh, or of one
    // whose recitation another has replaced, is not played.
    if (alive.expired() || Recitations != recitation || (ayeh && ayehAlive.expired()))
        return;
    try {
        if (!AdoptSound(path))
            LoadSound(path);
        if (Player->Mode() != pmPaused) // begun from the queue and paused there by the user
            Player->Play();
        AwaitedPlay = Player->CurrentPlay();
        Player->SetNotify(true);
    } catch (const std::exception&) {
        Player->Close();
    }
}

void TQuran::ReopenSoundDatabase() {
    auto reopened = std::make_unique<Connection>(SoundConnectionString);
    if (Player)
        Player->Close();
    RemoveFile(SoundFile);
    SoundFile.clear();
    DropQueuedSound();
    SoundConnection = std::move(reopened);
}

std::map<int, QString> TQuran::GetReciterNames() {
    std::map<int, QString> names;
    try {
        const ResultSet table(*SoundConnection,
                              "SELECT name FROM sqlite_master WHERE type = 'table' AND name = 'Reciters'");
        if (table.RecordCount() == 0)
            return names;
        ResultSet query(*SoundConnection, "SELECT GhariID, Name FROM Reciters ORDER BY GhariID");
        for (query.First(); !query.Eof(); query.Next()) {
            const Field name = query.FieldByName("Name");
            if (name.IsNull())
                continue;
            const QString text = name.AsString();
            if (!text.isEmpty())
                names[query.FieldByName("GhariID").AsInteger()] = text;
        }
    } catch (const ContentError&) {
        // The table is optional: one that cannot be read names nobody.
        names.clear();
    }
    return names;
}
