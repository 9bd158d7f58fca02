#include <QTemporaryDir>
#include <QtGlobal>

#ifdef CARVESTONE_TEST_WINDOWS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include <gtest/gtest.h>

// Headless, with a settings folder and a data folder of its own: no test
// touches the user's settings or recovery records.  Tests of the layers below the windows run without a windowing
// library at all.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configDir;
    qputenv("CARVESTONE_CONFIG_DIR", configDir.path().toLocal8Bit());
    QTemporaryDir dataDir;
    qputenv("CARVESTONE_DATA_DIR", dataDir.path().toLocal8Bit());
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
