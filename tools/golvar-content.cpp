// golvar-content: makes, imports and checks the reader's content databases.
#include "tools/Commands.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstring>

namespace {

struct Command {
    const char* Name;
    int (*Run)(const QStringList&);
    const char* Summary;
};

constexpr Command CommandTable[] = {
    {"build-text", RunBuildText, "build-text OUT             typeset quran.dat into folder OUT"},
    {"sample-sounds", RunSampleSounds, "sample-sounds OUT          make a sample snd.wav in folder OUT"},
    {"import-recitation", RunImportRecitation,
     "import-recitation --reciter N [--name NAME] DB DIR\n"
     "                           add or replace reciter N's recordings from DIR"},
    {"import-translation", RunImportTranslation,
     "import-translation DB FILE replace the Persian translation from a soureh|ayeh|text file"},
    {"verify", RunVerify, "verify DIR                 check the content folder DIR"},
    {"tajweed", RunTajweed, "tajweed [--json] DIR       print the tajweed rules of every ayeh in DIR"},
};

void PrintUsage(std::FILE* out) {
    std::fputs("Usage: golvar-content COMMAND [ARGS...]\n\nCommands:\n", out);
    for (const Command& command : CommandTable)
        std::fprintf(out, "  %s\n", command.Summary);
    std::fputs("\n'golvar-content COMMAND --help' describes one command.\n", out);
}

} // namespace

int main(int argc, char** argv) {
    // Typesetting needs the font database, which needs a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(2);
    for (const Command& command : CommandTable) {
        if (std::strcmp(argv[1], command.Name) == 0)
            return command.Run(arguments);
    }
    std::fprintf(stderr, "golvar-content: unknown command '%s'\n\n", argv[1]);
    PrintUsage(stderr);
    return 2;
}
