// CApplikation: the program's application class on top of the framework's CApp.
#pragma once

#include "../framework/App.h"

#include <string>

class CApplikation : public CApp {
    DECLARE_RUNTIME_CLASS(CApplikation)

public:
    // The application object when it is a CApplikation, else nullptr.
    static CApplikation* Current();

    bool InitInstance() override;
    int ExitInstance() override;

    // Reads versions, comments and copyright from the version block of the program's own
    // file (the resource module's); true when the fixed version information was found.
    // Outputs not found stay as they are.
    bool ReadVersionInfo(std::string& fileVersion, std::string& productVersion,
                         std::string& comments, std::string& copyright);
};
