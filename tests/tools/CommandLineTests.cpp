// build-text and verify as a script sees them: help, usage errors, failures and exit codes.
#include "content/Database.h"
#include "tests/tools/SoundToolSupport.h"
#include "tests/tools/TextContent.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(TextCommands, HelpDescribesTheCommandAndSucceeds) {
    const std::pair<const char*, const char*> cases[] = {
        {"build-text", "Usage: golvar-content build-text [--sources DIR] [--print DIR] [--pages LIST] OUT"},
        {"verify", "Usage: golvar-content verify [--pages LIST] [--print DIR] DIR"},
    };
    for (const auto& [command, usage] : cases) {
        SCOPED_TRACE(command);
        const ToolRun run = RunContentTool({QString::fromUtf8(command), QStringLiteral("--help")});
        EXPECT_EQ(run.ExitCode, 0);
        EXPECT_TRUE(run.Out.contains(QString::fromUtf8(usage))) << run.Out.toStdString();
    }
}

TEST(TextCommands, WrongUsageExitsWithTwo) {
    const QStringList cases[] = {
        {"build-text"},
        {"build-text", "a", "b"},
        {"build-text", "--bogus", "out"},
        {"build-text", "--pages", "0", "out"},
        {"build-text", "--pages", "1-", "out"},
        {"verify"},
        {"verify", "--pages", "1-700", "dir"},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const ToolRun run = RunContentTool(args);
        EXPECT_EQ(run.ExitCode, 2) << run.Err.toStdString();
        EXPECT_FALSE(run.Err.isEmpty());
    }
}

TEST(TextCommands, FailuresExitWithOneAndSayWhy) {
    QTemporaryDir temp;
    const QString emptySources = temp.filePath(QStringLiteral("empty-sources"));
    ASSERT_TRUE(QDir().mkpath(emptySources));
    const QString notAFolder = temp.filePath(QStringLiteral("plain-file"));
    WriteFileBytes(notAFolder, "x");
    const QString sources = InstalledQuranDbPackage().isEmpty() ? emptySources : InstalledQuranDbPackage();
    struct Case {
        QStringList Args;
        QString Message;
    };
    const Case cases[] = {
        {{"build-text", "--sources", emptySources, temp.filePath(QStringLiteral("out"))},
         QStringLiteral("the quran-db sources are missing")},
        {{"build-text", "--sources", temp.filePath(QStringLiteral("nowhere")),
          temp.filePath(QStringLiteral("out"))},
         QStringLiteral("does not exist")},
        {{"build-text", "--sources", sources, "--pages", "1", notAFolder + QStringLiteral("/out")},
         QStringLiteral("cannot create the output folder")},
        {{"build-text", "--sources", sources, "--print", emptySources, "--pages", "1",
          temp.filePath(QStringLiteral("out"))},
         QStringLiteral("the printed lines are missing")},
        {{"verify", temp.filePath(QStringLiteral("nowhere"))}, QStringLiteral("does not exist")},
        {{"verify", "--print", temp.filePath(QStringLiteral("nowhere")), temp.path()},
         QStringLiteral("does not exist")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args.join(QLatin1Char(' ')).toStdString());
        const ToolRun run = RunContentTool(c.Args);
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_TRUE(run.Err.contains(c.Message)) << run.Err.toStdString();
    }
    // A failed build leaves nothing behind.
    EXPECT_FALSE(QFile::exists(temp.filePath(QStringLiteral("out/quran.dat"))));
    EXPECT_TRUE(QDir(temp.filePath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(TextCommands, VerifyOfAFolderWithoutContentFails) {
    QTemporaryDir temp;
    const ToolRun run = RunContentTool({QStringLiteral("verify"), temp.path()});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Out.contains(QStringLiteral("quran.dat does not exist"))) << run.Out.toStdString();
}

TEST(TextCommands, BuildTextLeavesAFileTheReaderHoldsOpenAlone) {
    QString why;
    const QString shared = SharedContentFolder(&why);
    if (shared.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir temp;
    const QString db = temp.filePath(QStringLiteral("quran.dat"));
    ASSERT_TRUE(QFile::copy(QDir(shared).filePath(QStringLiteral("quran.dat")), db));
    const QByteArray before = FileBytes(db);
    // The reader's own connection denies writes while it is open.
    const ToolRun held = RunContentToolWhileOpen(temp.path(), QuranConnectionString,
                                                 {QStringLiteral("build-text"), QStringLiteral("--sources"),
                                                  InstalledQuranDbPackage(), QStringLiteral("--pages"),
                                                  QStringLiteral("1"), temp.path()});
    EXPECT_EQ(held.ExitCode, 1);
    EXPECT_TRUE(held.Err.contains(QStringLiteral("is open in another program"))) << held.Err.toStdString();
    EXPECT_EQ(FileBytes(db), before);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("quran.dat")});

    // Once the reader has let go, the file is replaced.
    const ToolRun run =
        RunContentTool({QStringLiteral("build-text"), QStringLiteral("--sources"), InstalledQuranDbPackage(),
                        QStringLiteral("--pages"), QStringLiteral("1"), temp.path()});
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_NE(FileBytes(db), before);
}

} // namespace
