// Ostrel: finds the IP cameras on the local network segment and configures them.
#include "CTarvoApp.h"

int main(int argc, char** argv) {
    CTarvoApp app(argc, argv);
    return app.InitInstance();
}
