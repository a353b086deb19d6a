// The per-user content folder: found where the launcher looks for it, linked to the text and
// farewell sound in use without copying them or replacing a file of the user's own, chosen at
// start over the default content once it holds the user's own snd.wav, and cleared at start of
// the copies that an interrupted change left.
#include "recordings/ContentWriter.h"
#include "recordings/UserContent.h"
#include "tests/support/FixtureDatabase.h"
#include "tests/support/WavFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <sys/wait.h>

namespace {

// Sets an environment variable (or unsets it, for nullopt) for the life of the object.
class ScopedVariable final {
public:
    ScopedVariable(const char* name, const std::optional<QString>& value)
        : Name(name), Previous(qgetenv(name)), Had(qEnvironmentVariableIsSet(name)) {
        if (value)
            qputenv(Name, value->toLocal8Bit());
        else
            qunsetenv(Name);
    }
    ~ScopedVariable() {
        if (Had)
            qputenv(Name, Previous);
        else
            qunsetenv(Name);
    }

private:
    const char* Name;
    QByteArray Previous;
    bool Had;
};

// What the launcher names as the per-user content folder in its help.
QString LauncherFolder() {
    QProcess launcher;
    launcher.start(QStringLiteral("sh"),
                   {QStringLiteral(GOLVAR_BINARY_DIR "/packaging/golvar-quran"), QStringLiteral("--help")});
    if (!launcher.waitForFinished(30000))
        return {};
    const QStringList lines = QString::fromUtf8(launcher.readAllStandardOutput()).split(u'\n');
    const qsizetype at = lines.indexOf(QStringLiteral("per-user content folder"));
    return at >= 0 && at + 1 < lines.size() ? lines.at(at + 1) : QString();
}

TEST(UserContentFolder, IsWhereTheLauncherLooksForIt) {
    QTemporaryDir temp;
    const QString home = temp.filePath(QStringLiteral("home"));
    const QString data = temp.filePath(QStringLiteral("data"));
    const ScopedVariable homeVariable("HOME", home);
    const struct {
        const char* Name;
        std::optional<QString> DataHome;
        QString Expected;
    } cases[] = {
        {"XDG_DATA_HOME given", data, data + QStringLiteral("/VelsorHost/GolvarQuran")},
        {"XDG_DATA_HOME unset", std::nullopt, home + QStringLiteral("/.local/share/VelsorHost/GolvarQuran")},
        {"XDG_DATA_HOME empty", QString(), home + QStringLiteral("/.local/share/VelsorHost/GolvarQuran")},
        {"XDG_DATA_HOME relative", QStringLiteral("data"),
         home + QStringLiteral("/.local/share/VelsorHost/GolvarQuran")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const ScopedVariable dataHome("XDG_DATA_HOME", c.DataHome);
        EXPECT_EQ(UserContentFolder().toStdString(), c.Expected.toStdString());
        EXPECT_EQ(LauncherFolder().toStdString(), c.Expected.toStdString());
    }
}

class PrepareUserContent : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(InUse()));
        for (const char* name : {"quran.dat", "Tavashih.wav"}) {
            QFile file(QDir(InUse()).filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(name);
        }
    }
    QString InUse() const { return Temp.filePath(QStringLiteral("installed")); }
    QString User() const { return Temp.filePath(QStringLiteral("user/VelsorHost/GolvarQuran")); }
    QString InUser(const char* name) const { return QDir(User()).filePath(QString::fromLatin1(name)); }
    void Prepare(const QString& inUseFolder) const {
        PrepareUserContentFolder(User(), QDir(inUseFolder).filePath(QStringLiteral("quran.dat")),
                                 QDir(inUseFolder).filePath(QStringLiteral("Tavashih.wav")));
    }
    QTemporaryDir Temp;
};

TEST_F(PrepareUserContent, LinksTheFilesInUseWithoutCopyingThem) {
    Prepare(InUse());
    for (const char* name : {"quran.dat", "Tavashih.wav"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(QFileInfo(InUser(name)).isSymLink());
        EXPECT_EQ(QFileInfo(InUser(name)).canonicalFilePath(),
                  QFileInfo(QDir(InUse()).filePath(QString::fromLatin1(name))).canonicalFilePath());
    }
    // Prepared again from inside itself (the reader then runs there), the links still reach
    // the files themselves, not a link to a link.
    Prepare(User());
    EXPECT_EQ(QFileInfo(InUser("quran.dat")).symLinkTarget(),
              QFileInfo(QDir(InUse()).filePath(QStringLiteral("quran.dat"))).canonicalFilePath());
}

TEST_F(PrepareUserContent, KeepsAFileOfTheUsersOwnAndMendsABrokenLink) {
    ASSERT_TRUE(QDir().mkpath(User()));
    {
        QFile own(InUser("quran.dat"));
        ASSERT_TRUE(own.open(QIODevice::WriteOnly));
        own.write("the user's own text");
    }
    ASSERT_TRUE(QFile::link(Temp.filePath(QStringLiteral("gone/Tavashih.wav")), InUser("Tavashih.wav")));
    Prepare(InUse());
    EXPECT_FALSE(QFileInfo(InUser("quran.dat")).isSymLink());
    QFile own(InUser("quran.dat"));
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    EXPECT_EQ(own.readAll(), QByteArray("the user's own text"));
    EXPECT_TRUE(QFileInfo::exists(InUser("Tavashih.wav")));
}

TEST_F(PrepareUserContent, NoLinkToAFarewellSoundThatIsNotThere) {
    QFile::remove(QDir(InUse()).filePath(QStringLiteral("Tavashih.wav")));
    Prepare(InUse());
    EXPECT_TRUE(QFileInfo(InUser("quran.dat")).isSymLink());
    EXPECT_FALSE(QFileInfo(InUser("Tavashih.wav")).isSymLink());
}

// A user of its own, with content files of the reader's in a folder of their own.
class StartContent : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(Installed()));
        for (const char* name : {"quran.dat", "snd.wav", "Tavashih.wav"}) {
            QFile file(QDir(Installed()).filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        Previous = QDir::currentPath();
    }
    void TearDown() override { QDir::setCurrent(Previous); }

    QString Installed() const { return Temp.filePath(QStringLiteral("installed")); }
    void MakeUsersOwnSound() const {
        ASSERT_TRUE(QDir().mkpath(UserContentFolder()));
        QFile own(UserSoundFile());
        ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    }
    // The copies a change leaves beside the user's snd.wav while it runs.
    QStringList Copies() const {
        return QDir(UserContentFolder())
            .entryList({QStringLiteral(".snd.wav.*")}, QDir::Files | QDir::Hidden);
    }

    QTemporaryDir Temp;
    const ScopedVariable DataHome{"XDG_DATA_HOME", Temp.filePath(QStringLiteral("data"))};
    QString Previous;
};

TEST_F(StartContent, TheUsersOwnRecordingsWinUnlessAFolderIsNamed) {
    const struct {
        const char* Name;
        bool UsersOwn;
        bool Named;
        bool InUserFolder;
    } cases[] = {
        {"no recordings of the user's", false, false, false},
        {"the user's own recordings", true, false, true},
        {"a folder named, the user's own recordings there too", true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QDir(UserContentFolder()).removeRecursively();
        if (c.UsersOwn)
            MakeUsersOwnSound();
        const QString entered = EnterContentFolder(Installed(), c.Named);
        const QString expected = c.InUserFolder ? UserContentFolder() : Installed();
        EXPECT_EQ(entered, expected);
        EXPECT_EQ(QDir::current().canonicalPath(), QDir(expected).canonicalPath());
        // The text and the farewell sound are those of the content it would otherwise use.
        for (const char* name : {"quran.dat", "Tavashih.wav"})
            EXPECT_EQ(QFileInfo(QString::fromLatin1(name)).canonicalFilePath(),
                      QFileInfo(QDir(Installed()).filePath(QString::fromLatin1(name))).canonicalFilePath());
    }
}

// A change of the user's snd.wav in another process, by the content tool's import.
class OtherProcess final {
public:
    explicit OtherProcess(const QStringList& arguments) {
        Process.start(QStringLiteral(RECORDINGS_CHANGE_HOLDER), arguments);
    }
    ~OtherProcess() {
        Process.kill();
        Process.waitForFinished();
    }
    // Its first line of output, once it has written one.
    QString FirstLine() {
        if (!Process.canReadLine() && !Process.waitForReadyRead(60000))
            return {};
        return QString::fromUtf8(Process.readLine()).trimmed();
    }
    QProcess Process;
};

TEST_F(StartContent, CopiesOfAnInterruptedChangeAreGoneAfterTheNextStartAndOnlyThen) {
    const QString recitation = Temp.filePath(QStringLiteral("recitation"));
    ASSERT_TRUE(QDir().mkpath(recitation));
    for (int a = 1; a <= 3; ++a)
        WriteWav(QDir(recitation).filePath(QStringLiteral("001%1.wav").arg(a, 3, 10, QLatin1Char('0'))), {});
    const QString source = QDir(Installed()).filePath(QStringLiteral("snd.wav"));
    QFile::remove(source);
    {
        FixtureDatabase sound(source, SoundKey);
        CreateSoundTables(sound);
    }
    ASSERT_TRUE(QDir().mkpath(UserContentFolder()));

    OtherProcess importing({QStringLiteral("import"), recitation, source, UserSoundFile()});
    ASSERT_EQ(importing.FirstLine(), QStringLiteral("copying"));
    ASSERT_EQ(Copies().size(), 1);
    // While it runs, its copy is its own.
    EnterContentFolder(Installed(), false);
    EXPECT_EQ(Copies().size(), 1);

    // Killed as a logout or a crash would end it.
    ::kill(pid_t(importing.Process.processId()), SIGKILL);
    ASSERT_TRUE(importing.Process.waitForFinished());
    EnterContentFolder(Installed(), false);
    EXPECT_TRUE(Copies().isEmpty()) << Copies().join(u' ').toStdString();
    EXPECT_NO_THROW(ChangeLock lock(UserSoundFile())) << "the lock of the killed change is not in the way";
}

} // namespace
