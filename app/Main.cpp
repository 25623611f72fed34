// Process entry: hands over to the application object.
#include "../framework/App.h"
#include "../framework/SystemLibrary.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // First of all: no library that the program or the system loads from now on comes from
    // the program's folder (a download folder, say) or the current directory; on systems that
    // cannot restrict the search, at least not from the current directory.
    SearchLibrariesInSystemOnly();
    CApp* app = CApp::Current();
    return app ? app->Run(instance) : 1;
}
