// The continuous recitation: what follows when a recording ends.
//
// TODO(commands): the body below is still a stub.
#include "mainwindow/Main.h"

void TTntMainForm::MediaPlayer1Notify(QObject*) {}
