#include "application_icon.h"

#include <QFile>

QIcon applicationIcon() {
    const QString file = QStringLiteral("./res/ostrel/Ostrel_01.ico");
    return QFile::exists(file) ? QIcon(file) : QIcon::fromTheme(DESKTOP_ID);
}
