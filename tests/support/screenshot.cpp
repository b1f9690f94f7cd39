#include "screenshot.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <QWidget>

void saveScreenshot(QWidget* widget, const char* name) {
    const QString folder = QStringLiteral(OSTREL_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(widget->grab().save(folder + QLatin1Char('/') + QLatin1StringView(name) + QStringLiteral(".png")));
}
