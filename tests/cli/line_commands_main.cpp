// The command line needs an application object, as faultscope-cli's own main makes one.
#include <gtest/gtest.h>
#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("Faultscope");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
