// The Win32 test program: an application object of its own, then GoogleTest.
#include "framework/App.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    CApp app; // stands in for the program's application object: resources, name, owner
    app.Initialize(GetModuleHandleW(nullptr));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
