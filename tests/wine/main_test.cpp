// The Wine tests' entry: COM and the true-colour module started as the tool starts them.
#include <windows.h>
#include <ole2.h>

#include "truecolour/module_win.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    OleInitialize(nullptr);
    startTrueColourModule();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
