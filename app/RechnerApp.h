// CRechnerApp: starts the calculator window as the program's one and only window.
#pragma once

#include "Applikation.h"

class CRechnerApp : public CApplikation {
public:
    // Runs the calculator dialog; false ends the process when it closes.
    bool InitInstance() override;
};
