// The main of GUI test programs: a QApplication on the offscreen platform unless told
// otherwise, then every test.

#include <QApplication>

#include <gtest/gtest.h>

#include "platform/filedescriptor.h"

int main(int argc, char** argv) {
    IgnoreBrokenPipes();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
