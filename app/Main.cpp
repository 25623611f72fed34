// Process entry: hands over to the application object.
#include "../framework/App.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CApp* app = CApp::Current();
    return app ? app->Run(instance) : 1;
}
