#include "StringTable.h"

#include <QHash>

namespace {

const QHash<int, QString>& Table()
{
    static const QHash<int, QString> table = {
        {StringId::DocumentString,
         QStringLiteral("Carvestone\n\nNewMOD\nCarvestone Files (*.mod)\n.mod\nCarvestone.Document\nCarvestone Document")},
        {StringId::StyleRegular, QStringLiteral("Regular")},
        {StringId::StyleBold, QStringLiteral("Bold")},
        {StringId::StyleItalic, QStringLiteral("Italic")},
        {StringId::StyleBoldItalic, QStringLiteral("Bold Italic")},
        {StringId::RowColumnPane, QStringLiteral("Row %d, Column %d")},
        {StringId::AppTitle, QStringLiteral("Carvestone")},
        {StringId::Ready, QStringLiteral("Ready")},
    };
    return table;
}

} // namespace

QString StringTable::Get(int id)
{
    return Table().value(id);
}

bool StringTable::Contains(int id)
{
    return Table().contains(id);
}
