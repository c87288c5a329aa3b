// The main of every GUI test program: one QApplication for all its tests, living on main's stack
// so that it is gone before static destruction begins (the GL and font stacks tear their own
// statics down then).
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
