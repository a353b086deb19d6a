#include "mainwindow/CommandSteps.h"

#include "model/Utility.h"

bool HasBook() {
    return GlobalQuran && GlobalQuran->Soureh;
}
