#include "RemasterModLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

QString RemasterModLayout::ModName(const QString& projectTitle)
{
    const qsizetype dot = projectTitle.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : projectTitle.left(dot);
}

QString RemasterModLayout::BuiltFolder(const QString& projectFolder, const QString& projectTitle)
{
    const QString name = ModName(projectTitle);
    if (name.isEmpty() || projectFolder.isEmpty())
        return {};
    return QDir(projectFolder).filePath(name);
}

QString RemasterModLayout::BuiltFolderForProject(const QString& projectPath)
{
    const QFileInfo project(projectPath);
    return projectPath.isEmpty() ? QString() : BuiltFolder(project.path(), project.fileName());
}

QString RemasterModLayout::FilesFolder(const QString& modFolder)
{
    return QDir(modFolder).filePath(FilesFolderName(QFileInfo(modFolder).fileName()));
}

QString RemasterModLayout::ModInfoPath(const QString& modFolder)
{
    return FilesFolder(modFolder) + QStringLiteral("/modinfo.json");
}

QByteArray RemasterModLayout::ModInfo(const QString& name)
{
    const QJsonObject info{{QStringLiteral("name"), name}, {QStringLiteral("savepath"), name + QLatin1Char('/')}};
    return QJsonDocument(info).toJson(QJsonDocument::Indented);
}

bool RemasterModLayout::IsModFolder(const QString& modFolder)
{
    QFile info(ModInfoPath(modFolder));
    if (!info.open(QIODevice::ReadOnly))
        return false;
    const QJsonDocument document = QJsonDocument::fromJson(info.read(64 * 1024));
    return document.isObject()
        && document.object().value(QStringLiteral("name")).toString() == QFileInfo(modFolder).fileName();
}

QString RemasterModLayout::LauncherArguments(const QString& name)
{
    const QString shown = name.contains(QLatin1Char(' ')) ? QLatin1Char('"') + name + QLatin1Char('"') : name;
    return QStringLiteral("-mod %1 -txt").arg(shown);
}

QString RemasterModLayout::BuildingPrefix(const QString& name)
{
    return QLatin1Char('.') + name + QStringLiteral(".build-");
}

QString RemasterModLayout::InstallingPrefix(const QString& name)
{
    return QLatin1Char('.') + name + QStringLiteral(".install-");
}
