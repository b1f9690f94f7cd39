// The window's icon: the design's file beside the working folder, else the installed theme's.
#pragma once

#include <QIcon>
#include <QString>

// The desktop entry's id, also the icon's name in the theme.
inline const QString DESKTOP_ID = QStringLiteral("org.ostrel.Ostrel");

// ./res/ostrel/Ostrel_01.ico when it is there (a run from the source tree),
// else the theme icon an installed Ostrel brings; null when neither is found.
QIcon applicationIcon();
