// Commands not written yet; each file that implements one removes it from here.
#include "tools/Commands.h"

#include <cstdio>

namespace {
int NotYet(const char* name) {
    std::fprintf(stderr, "golvar-content: %s is not available yet\n", name);
    return 1;
}
} // namespace

int RunBuildText(const QStringList&) { return NotYet("build-text"); }
int RunSampleSounds(const QStringList&) { return NotYet("sample-sounds"); }
int RunImportRecitation(const QStringList&) { return NotYet("import-recitation"); }
int RunImportTranslation(const QStringList&) { return NotYet("import-translation"); }
int RunVerify(const QStringList&) { return NotYet("verify"); }
