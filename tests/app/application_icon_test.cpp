// The window's icon when started from the source tree and when installed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QTemporaryDir>

#include "application_icon.h"

namespace {

// Runs from a temporary working folder with a theme that holds the installed icon.
class ApplicationIcon : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        oldFolder = QDir::currentPath();
        oldThemePaths = QIcon::themeSearchPaths();
        oldTheme = QIcon::themeName();
        const QString theme = folder.filePath("icons/hicolor");
        ASSERT_TRUE(QDir().mkpath(theme + "/32x32/apps"));
        ASSERT_TRUE(QFile::copy(OSTREL_SOURCE_DIR "/packaging/icons/32/org.ostrel.Ostrel.png",
                                theme + "/32x32/apps/org.ostrel.Ostrel.png"));
        QFile index(theme + "/index.theme");
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=hicolor\nDirectories=32x32/apps\n\n[32x32/apps]\nSize=32\nType=Fixed\n");
        index.close();
        QIcon::setThemeSearchPaths({folder.filePath("icons")});
        QIcon::setThemeName("hicolor");
        QDir::setCurrent(folder.path());
    }
    void TearDown() override {
        QDir::setCurrent(oldFolder);
        QIcon::setThemeSearchPaths(oldThemePaths);
        QIcon::setThemeName(oldTheme);
    }

    QTemporaryDir folder;
    QString oldFolder;
    QStringList oldThemePaths;
    QString oldTheme;
};

TEST_F(ApplicationIcon, WithoutTheRelativeFileTheThemeIconIsTaken) {
    const QIcon icon = applicationIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.name(), "org.ostrel.Ostrel");
}

TEST_F(ApplicationIcon, TheRelativeFileComesFirst) {
    ASSERT_TRUE(QDir().mkpath("res/ostrel"));
    ASSERT_TRUE(QFile::copy(OSTREL_SOURCE_DIR "/res/ostrel/Ostrel_01.ico", "res/ostrel/Ostrel_01.ico"));
    const QIcon icon = applicationIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_TRUE(icon.name().isEmpty()) << "a file's icon, not the theme's";
}

}  // namespace
