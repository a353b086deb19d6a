#include "shell/Shell.h"

int main(int argc, char** argv) {
    TGolvarApplication application(argc, argv);
    return RunGolvarQuran(application);
}
