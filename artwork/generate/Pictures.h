#pragma once
// The product's pictures, each drawn at its final size.

#include <QImage>
#include <QString>

QImage DrawBackground();                        // main window, 800 x 600
QImage DrawSplash();                            // 760 x 438
QImage DrawFarewell();                          // 602 x 480
QImage DrawDonate();                            // 681 x 481
QImage DrawPublisher();                         // 681 x 481
QImage DrawButtonPicture(const QString& words); // 138 x 31, transparent outside the bar
QImage DrawIcon(int size);                      // size x size, transparent outside the tile
