#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Headless, with a settings folder of its own: no test touches the user's settings.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configDir;
    qputenv("CARVESTONE_CONFIG_DIR", configDir.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
