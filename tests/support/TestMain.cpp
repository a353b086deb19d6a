// Test entry: a private configuration, cache and runtime folder for the whole run, a headless
// platform and a silent sound driver, then the application object and the tests.
#include "content/ContentKeys.h"

#include <QTemporaryDir>
#include <QtGlobal>
#include <gtest/gtest.h>

#ifdef GOLVAR_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home.path() + QStringLiteral("/cache")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/share")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    TestApplication app(argc, argv);
    TestApplication::setOrganizationName(QString::fromLatin1(SettingsOrganisation));
    TestApplication::setApplicationName(QString::fromLatin1(SettingsApplication));
    return RUN_ALL_TESTS();
}
