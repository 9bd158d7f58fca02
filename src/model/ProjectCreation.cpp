#include "ProjectCreation.h"

#include "ProjectModel.h"

#include <QDir>
#include <QFileInfo>

const QString ProjectCreation::InvalidNameCharacters = QStringLiteral(".\\?*/\"'");

bool ProjectCreation::IsValidName(const QString& name)
{
    for (const QChar character : InvalidNameCharacters) {
        if (name.contains(character))
            return false;
    }
    return true;
}

bool ProjectCreation::IsMissingName(const QString& name)
{
    return name.trimmed().isEmpty();
}

QString ProjectCreation::ProjectFolderFor(const QString& modsPath, const QString& name)
{
    return modsPath + name;
}

QString ProjectCreation::ProjectFileFor(const QString& modsPath, const QString& name)
{
    return ProjectFolderFor(modsPath, name) + QLatin1Char('/') + name + QStringLiteral(".mod");
}

ProjectCreation::Result ProjectCreation::Create(const QString& modsPath, const QString& name)
{
    Result result;
    result.projectFolder = ProjectFolderFor(modsPath, name);
    result.projectFile = ProjectFileFor(modsPath, name);
    if (IsMissingName(name)) {
        result.outcome = Outcome::NameMissing;
    } else if (!IsValidName(name)) {
        result.outcome = Outcome::InvalidName;
    } else if (QFileInfo::exists(result.projectFile)) {
        result.outcome = Outcome::ProjectExists;
    } else if (!QDir().mkdir(result.projectFolder)) {
        result.outcome = Outcome::FolderFailed;
    } else if (!ProjectModel::CreateNewFile(result.projectFile, result.fileError)) {
        result.outcome = Outcome::FileFailed;
    }
    return result;
}
