#include "CTarvoApp.h"

#include "CTarvoDlg.h"
#include "application_icon.h"
#include "command_line.h"
#include "ostrel_version.h"

CTarvoApp::CTarvoApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Ostrel"));
    setApplicationVersion(QStringLiteral(OSTREL_VERSION));
    // Desktops match the window to the installed entry, and so to its icon.
    setDesktopFileName(DESKTOP_ID);
}

int CTarvoApp::InitInstance() {
    applyCommandLine(arguments());
    CTarvoDlg dialog;
    dialog.OnInitDialog();
    dialog.exec();
    return 0;
}
