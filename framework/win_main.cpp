// The program's entry point hands over to its one application object.
#include <windows.h>

#include "win_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    framework::CWinApp* app = framework::CWinApp::Current();
    return app != nullptr ? app->Run(instance) : 1;
}
