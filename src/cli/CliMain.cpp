#include "CarvestoneCli.h"
#include "archive/MachineChannel.h"
#include "archive/MpqLibrary.h"
#include "core/CarvestoneSettings.h"
#include "core/GameInstallation.h"
#include "core/RemasterInstallation.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);

    // Read only: the command line never writes the settings.
    CarvestoneSettings settings;
    settings.Load(*CarvestoneSettings::OpenStore(), GameInstallation::FindFolder(),
                  QCoreApplication::applicationDirPath(), RemasterInstallation::FindFolder());
    MpqLibrary library;
    CarvestoneCli cli;

    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.value(0) != QLatin1String("--machine")) {
        CommandContext context{settings, in, out, err, library};
        return cli.Run(arguments, context);
    }
    // With --machine, the window reads the child's stdout as protocol lines,
    // so a failure's words travel there too, after the work and before
    // "done".
    MachineChannel channel(stdout);
    QString errors;
    QTextStream errorText(&errors);
    CommandContext context{settings, in, out, errorText, library, &channel};
    const int status = cli.Run(arguments.mid(1), context);
    errorText.flush();
    if (!errors.isEmpty())
        channel.Error(errors);
    channel.Done(status);
    return status;
}
