#include "ArchiveNameRule.h"

#include "model/ProjectEntry.h"

#include <QStringList>

#include <algorithm>

namespace {

bool IsControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

} // namespace

QString ArchiveNameRule::Problem(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("The name is empty.");
    if (std::any_of(name.begin(), name.end(), IsControl))
        return QStringLiteral("The name %1 holds a control character.").arg(name);
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() > 0xFF; }))
        return QStringLiteral("The name %1 holds a character that the game's archives cannot store.").arg(name);
    if (name.contains(QLatin1Char('/')))
        return QStringLiteral("The name %1 holds a '/'; folders in the game's archives are separated by '\\'.")
            .arg(name);
    const QStringList parts = name.split(QLatin1Char('\\'));
    if (std::any_of(parts.begin(), parts.end() - 1, [](const QString& part) { return part.isEmpty(); }))
        return QStringLiteral("The name %1 has an empty folder name.").arg(name);
    if (!ProjectEntry::IsPlainFileName(parts.last()))
        return QStringLiteral("The name %1 does not end in a file name.").arg(name);
    return {};
}

bool ArchiveNameRule::SameNamePart(const QString& first, const QString& second)
{
    return ProjectEntry::NamePart(first).compare(ProjectEntry::NamePart(second), Qt::CaseInsensitive) == 0;
}
