// A second program changing a sound database, as another reader on the machine would:
//   recordings_change_holder rename FILE GHARI NAME
//     takes FILE's change lock, prints "locked", waits for a line on its input, then renames
//     reciter GHARI in FILE (starting from FILE as it is then) and ends;
//   recordings_change_holder import FOLDER SOURCE TARGET
//     imports FOLDER's recordings for reciter 3 from SOURCE into TARGET, prints "copying" once
//     the copy is being written, and waits there for ever (to be killed).
// Prints "refused" when the lock is held elsewhere, and "failed: <message>" on any failure.
#include "recordings/RecitationImport.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments().mid(1);
    try {
        if (args.size() == 4 && args[0] == QLatin1String("rename")) {
            const ChangeLock lock(args[1]);
            std::puts("locked");
            std::fflush(stdout);
            std::string line;
            std::getline(std::cin, line);
            PreparedChange change =
                PrepareRename(lock, args[1], OpenElsewhere::Allow, args[2].toInt(), args[3]);
            change.Change->Commit();
            return 0;
        }
        if (args.size() == 4 && args[0] == QLatin1String("import")) {
            RecitationImportRequest request;
            request.Folder = args[1];
            request.SourceDatabase = args[2];
            request.TargetDatabase = args[3];
            request.WhenOpenElsewhere = OpenElsewhere::Allow;
            request.GhariID = 3;
            const auto advanced = [](qint64 done, qint64) {
                if (done == 0)
                    return;
                std::puts("copying");
                std::fflush(stdout);
                for (;;)
                    pause();
            };
            ImportRecitation(request, {advanced, {}});
            return 0;
        }
    } catch (const ChangeRunningElsewhere&) {
        std::puts("refused");
        return 1;
    } catch (const std::exception& error) {
        std::printf("failed: %s\n", error.what());
        return 1;
    }
    std::fputs("usage: recordings_change_holder rename FILE GHARI NAME | import FOLDER SOURCE TARGET\n",
               stderr);
    return 2;
}
