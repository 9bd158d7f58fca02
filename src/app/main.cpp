#include "CCarvestoneApp.h"
#include "CarvestoneSettings.h"
#include "SingleInstance.h"

#include <QApplication>
#include <QFileInfo>
#include <QSettings>

namespace {

// The project file named on the command line, made absolute so that a
// running instance with another working folder finds it.
QString ProjectArgument(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-')))
            return QFileInfo(argument).absoluteFilePath();
    }
    return {};
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Carvestone"));
    const QStringList arguments = QApplication::arguments().mid(1);

    SingleInstance instance(CarvestoneSettings::OpenStore()->fileName());
    if (instance.HandOver(ProjectArgument(arguments)))
        return 0;

    CCarvestoneApp app;
    if (!app.InitInstance(arguments))
        return 1;
    instance.Listen();
    QObject::connect(&instance, &SingleInstance::OpenRequested, &app, &CCarvestoneApp::OnShellOpenRequest);
    return QApplication::exec();
}
