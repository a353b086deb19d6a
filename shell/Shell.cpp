#include "shell/Shell.h"

#include "artwork/Artwork.h"
#include "content/ContentKeys.h"
#include "mainwindow/ErrorBox.h"
#include "mainwindow/ShellWindows.h"
#include "recordings/UserContent.h"
#include "shell/Splash.h"
#include "shell/UnitAboutVelsorHost.h"
#include "shell/UnitDonateFunds.h"
#include "shell/UnitMessageBox.h"

#include <QDir>
#include <QEvent>
#include <QIcon>
#include <cstdio>
#include <memory>

QPointer<TTntMainForm> TntMainForm;
QPointer<TformAboutUs> formAboutUs;

TGolvarApplication::TGolvarApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TGolvarApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowStandardError(QString::fromUtf8(error.what()));
    }
    return false;
}

bool TGolvarApplication::event(QEvent* event) {
    if (event->type() == QEvent::Quit) {
        RequestApplicationClose();
        return true;
    }
    return QApplication::event(event);
}

void RequestApplicationClose() {
    if (auto* splash = qobject_cast<TformSplash*>(formSplash.data()))
        RunHandler([splash] { splash->FormClose(splash); });
}

void SetUpGolvarApplication() {
    TGolvarApplication::setOrganizationName(QString::fromLatin1(SettingsOrganisation));
    TGolvarApplication::setApplicationName(QString::fromLatin1(SettingsApplication));
    // Wayland desktops match the window to its menu entry and icon by this name.
    TGolvarApplication::setDesktopFileName(QStringLiteral(GOLVAR_APP_ID));
    TGolvarApplication::setLayoutDirection(Qt::RightToLeft);
    // The splash window refuses closes; only the farewell window ends the application.
    TGolvarApplication::setQuitOnLastWindowClosed(false);
    InitArtwork();
    QIcon icon;
    for (int size : IconSizes)
        icon.addFile(IconPicture(size), QSize(size, size));
    TGolvarApplication::setWindowIcon(icon);
}

std::optional<ContentArguments> ParseContentArguments(const QStringList& arguments) {
    if (arguments.isEmpty())
        return ContentArguments{};
    if (arguments.size() != 2 || arguments[1].isEmpty())
        return std::nullopt;
    if (arguments[0] == QLatin1String("--content"))
        return ContentArguments{arguments[1], true};
    if (arguments[0] == QLatin1String("--default-content"))
        return ContentArguments{arguments[1], false};
    return std::nullopt;
}

int RunGolvarQuran(TGolvarApplication& application) {
    const std::optional<ContentArguments> content = ParseContentArguments(application.arguments().mid(1));
    if (!content) {
        std::fputs("Usage: golvar-quran [--content DIR | --default-content DIR]\n"
                   "(the command golvar-quran that users run is a launcher; see its --help)\n",
                   stderr);
        return 2;
    }
    try {
        EnterContentFolder(content->Folder.isEmpty() ? QDir::currentPath() : content->Folder, content->Named);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "golvar-quran: %s\n", error.what());
        return 2;
    }
    SetUpGolvarApplication();

    auto splash = std::make_unique<TformSplash>();
    formSplash = splash.get();
    auto aboutVelsorHost = std::make_unique<TfrmAboutVelsorHost>();
    frmAboutVelsorHost = aboutVelsorHost.get();
    auto donateFunds = std::make_unique<TfrmDonateFunds>();
    frmDonateFunds = donateFunds.get();
    auto messageBox = std::make_unique<TfrmMessageBox>();
    frmMessageBox = messageBox.get();

    splash->show();
    return application.exec();
}
