#include "BuildInstallCommands.h"

#include "BuildingDialog.h"
#include "archive/ArchiveBusy.h"
#include "archive/ModBuilder.h"
#include "archive/ModInstaller.h"
#include "core/CarvestoneSettings.h"
#include "core/StringTable.h"
#include "project/CCarvestoneDoc.h"
#include "ui/CommandIds.h"
#include "ui/MessageBoxes.h"
#include "ui/UserDialogs.h"

BuildInstallCommands::BuildInstallCommands(MpqLibrary& library, const CarvestoneSettings& settings)
    : library(library)
    , settings(settings)
{
}

void BuildInstallCommands::OnBuild()
{
    if (!document)
        return;
    const QString title = document->GetTitle();
    const QString archivePath = ModBuilder::ArchivePathFor(document->ProjectFolder(), title);
    if (archivePath.isEmpty())
        return;
    ModBuilder::Request request;
    request.gameMpqPath = settings.GameMpqPath;
    request.archivePath = archivePath;
    request.modFolder = document->ProjectFolder();
    request.entries = document->FileList();
    request.compress = settings.UseCompression;
    request.listingPath = settings.ListingFilePath();
    BuildingDialog dialog(settings.ProgramFolder, request, title, owner);
    UserDialogs::Current().Exec(dialog);
}

void BuildInstallCommands::OnInstall()
{
    if (!document)
        return;
    if (MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeYesNo | UserDialogs::IconQuestion,
                                      StringId::ConfirmInstall)
        != UserDialogs::IdYes)
        return;
    QString error;
    const QString archive = ModBuilder::ArchivePathForProject(document->GetPathName());
    if (!ModInstaller::Install(archive, settings.GameFolder, error))
        MessageBoxes::ShowMessage(nullptr, UserDialogs::TypeOk | UserDialogs::IconError, QStringLiteral("%s"),
                                    {error});
    else if (statusReport)
        statusReport(ModInstaller::DescribeInstall(archive, settings.GameFolder));
}

bool BuildInstallCommands::OnCommand(int id)
{
    if (id == CommandId::Build)
        OnBuild();
    else if (id == CommandId::Install)
        OnInstall();
    else
        return false;
    return true;
}

bool BuildInstallCommands::OnUpdateCommand(int id, CommandState& state)
{
    if (id == CommandId::Build) {
        state.enabled = ModBuilder::CanBuild(library, settings.GameMpqPath,
                                             document ? int(document->FileList().size()) : 0);
    } else if (id == CommandId::Install) {
        state.whyDisabled = ArchiveBusy::IsBusy() ? QStringLiteral("archive work is under way")
            : document                            ? ModInstaller::WhyNotInstallable(settings.GameFolder,
                                                                                    document->GetPathName())
                                                  : QStringLiteral("no project is open");
        state.enabled = state.whyDisabled.isEmpty();
    } else
        return false;
    return true;
}
