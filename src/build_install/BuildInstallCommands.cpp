#include "BuildInstallCommands.h"

#include "BuildingDialog.h"
#include "RemasterInstallDialog.h"
#include "archive/ArchiveBusy.h"
#include "archive/ModBuilder.h"
#include "archive/ModInstaller.h"
#include "archive/RemasterModInstaller.h"
#include "archive/RemasterModLayout.h"
#include "core/CarvestoneSettings.h"
#include "core/StringTable.h"
#include "model/ExtractedDataRule.h"
#include "project/CCarvestoneDoc.h"
#include "ui/CommandIds.h"
#include "ui/MessageBoxes.h"
#include "ui/UserDialogs.h"

#include <QDir>

BuildInstallCommands::BuildInstallCommands(MpqLibrary& library, const CarvestoneSettings& settings)
    : library(library)
    , settings(settings)
{
}

bool BuildInstallCommands::IsRemaster() const
{
    return document && document->Target() == BuildTarget::RemasterModFolder;
}

void BuildInstallCommands::OnBuild()
{
    if (!document)
        return;
    const QString title = document->GetTitle();
    ModBuilder::Request request;
    request.modFolder = document->ProjectFolder();
    request.entries = document->FileList();
    if (IsRemaster()) {
        request.target = BuildTarget::RemasterModFolder;
        request.archivePath = RemasterModLayout::BuiltFolder(document->ProjectFolder(), title);
        // The options' extracted data spells the names when it is there.
        if (ExtractedDataRule::IsExtractedData(settings.RemasterDataPath))
            request.gameDataPath = settings.RemasterDataPath;
    } else {
        request.archivePath = ModBuilder::ArchivePathFor(document->ProjectFolder(), title);
        request.gameMpqPath = settings.GameMpqPath;
        request.compress = settings.UseCompression;
        request.listingPath = settings.ListingFilePath();
    }
    if (request.archivePath.isEmpty())
        return;
    BuildingDialog dialog(settings.ProgramFolder, request, title, owner);
    UserDialogs::Current().Exec(dialog);
}

void BuildInstallCommands::OnInstall()
{
    if (!document)
        return;
    if (IsRemaster()) {
        InstallRemaster();
        return;
    }
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

void BuildInstallCommands::InstallRemaster()
{
    const QString built = RemasterModLayout::BuiltFolderForProject(document->GetPathName());
    const QString name = QDir(built).dirName();
    const QString target = RemasterModInstaller::InstalledFolder(settings.RemasterFolder(), name);
    if (MessageBoxes::ShowMessageId(nullptr, UserDialogs::TypeYesNo | UserDialogs::IconQuestion,
                                    StringId::ConfirmRemasterInstall, {QDir::toNativeSeparators(target)})
        != UserDialogs::IdYes)
        return;
    RemasterInstallDialog install(built, settings.RemasterFolder(), target, owner);
    UserDialogs::Current().Exec(install);
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
        const int entryCount = document ? int(document->FileList().size()) : 0;
        state.enabled = IsRemaster() ? ModBuilder::CanBuildRemaster(entryCount)
                                     : ModBuilder::CanBuild(library, settings.GameMpqPath, entryCount);
    } else if (id == CommandId::Install) {
        state.whyDisabled = ArchiveBusy::IsBusy() ? QStringLiteral("archive work is under way")
            : !document                           ? QStringLiteral("no project is open")
            : IsRemaster() ? RemasterModInstaller::WhyNotInstallable(settings.RemasterFolder(), document->GetPathName())
                           : ModInstaller::WhyNotInstallable(settings.GameFolder, document->GetPathName());
        state.enabled = state.whyDisabled.isEmpty();
    } else
        return false;
    return true;
}
