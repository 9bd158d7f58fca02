#include "BuildInstallCommands.h"

#include "ArchiveBusy.h"
#include "BuildingDialog.h"
#include "ModBuilder.h"
#include "ModInstaller.h"
#include "app/CCarvestoneApp.h"
#include "app/CarvestoneSettings.h"
#include "app/UserDialogs.h"
#include "mainframe/CommandIds.h"
#include "project/CCarvestoneDoc.h"
#include "resources/StringTable.h"

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
    if (CCarvestoneApp::ShowMessageId(nullptr, UserDialogs::TypeYesNo | UserDialogs::IconQuestion,
                                      StringId::ConfirmInstall)
        != UserDialogs::IdYes)
        return;
    QString error;
    if (!ModInstaller::Install(ModBuilder::ArchivePathForProject(document->GetPathName()), settings.GameFolder, error))
        CCarvestoneApp::ShowMessage(nullptr, UserDialogs::TypeOk | UserDialogs::IconError, QStringLiteral("%s"),
                                    {error});
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
    if (id == CommandId::Build)
        state.enabled = ModBuilder::CanBuild(library, settings.GameMpqPath,
                                             document ? int(document->FileList().size()) : 0);
    else if (id == CommandId::Install)
        state.enabled = !ArchiveBusy::IsBusy() && document
            && ModInstaller::CanInstall(settings.GameFolder, document->GetPathName());
    else
        return false;
    return true;
}
