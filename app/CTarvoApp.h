// The application: prepares the window service, shows the main window modally.
#pragma once

#include <QApplication>

class CTarvoApp : public QApplication {
public:
    CTarvoApp(int& argc, char** argv);
    // Runs the main window to its end; the program then exits.
    int InitInstance();
};
