#include "CCarvestoneApp.h"
#include "CarvestoneSettings.h"
#include "SingleInstance.h"

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

    CCarvestoneApp app;
    if (!app.InitInstance(arguments))
        return 1;
    instance.Listen();
    QObject::connect(&instance, &SingleInstance::OpenRequested, &app, &CCarvestoneApp::OnShellOpenRequest);
    return QApplication::exec();
}
