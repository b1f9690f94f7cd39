#include "CTarvoApp.h"

#include "CTarvoDlg.h"

CTarvoApp::CTarvoApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Ostrel"));
}

int CTarvoApp::InitInstance() {
    CTarvoDlg dialog;
    dialog.OnInitDialog();
    dialog.exec();
    return 0;
}
