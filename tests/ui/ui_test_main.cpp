#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    // CTest sets the platform too; this default also covers listing the
    // tests at build time, where no display may exist.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
