#include "CCarvestoneApp.h"
#include "SingleInstance.h"
#include "core/CarvestoneSettings.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Carvestone"));
    const QStringList arguments = QApplication::arguments().mid(1);

    SingleInstance instance(CarvestoneSettings::OpenStore()->fileName());
    if (instance.HandOver(CCarvestoneApp::StartupFile(arguments)))
        return 0;

    // Listening before start-up means a second start during the first
    // run's questions hands its project over instead of starting a second
    // program; the request waits until those questions are answered.
    CCarvestoneApp app;
    instance.Listen();
    QObject::connect(&instance, &SingleInstance::OpenRequested, &app, &CCarvestoneApp::OnShellOpenRequest);
    if (!app.InitInstance(arguments))
        return 1;
    return QApplication::exec();
}
