#include "CCarvestoneApp.h"
#include "CommandLineAnswer.h"
#include "SingleInstance.h"
#include "core/CarvestoneSettings.h"

#include <QApplication>
#include <QSettings>

#include <cstdio>

int main(int argc, char* argv[])
{
    QStringList words;
    for (int index = 1; index < argc; ++index)
        words.append(QString::fromLocal8Bit(argv[index]));
    if (const std::optional<QString> answer = CommandLineAnswer::For(words)) {
        const QByteArray text = answer->toLocal8Bit();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

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
