// The Win32 test program: an application object of its own, then GoogleTest.
#include "app/Applikation.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    CApplikation app; // resources, name (from this file) and version block, as in the program
    app.Initialize(GetModuleHandleW(nullptr));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
