// The per-user content folder: found where the launcher looks for it, and linked to the text
// and farewell sound in use without copying them or replacing a file of the user's own.
#include "recordings/UserContent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

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

} // namespace
