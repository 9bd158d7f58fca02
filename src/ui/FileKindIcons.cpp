#include "FileKindIcons.h"

#include "model/FileKind.h"

#include <array>

namespace {

QString IconFile(int kind)
{
    return QStringLiteral(":/icons/filekind-%1.svg").arg(kind);
}

} // namespace

QIcon FileKindIcons::Icon(int index)
{
    static const std::array<QIcon, FileKind::Count> icons = [] {
        std::array<QIcon, FileKind::Count> made;
        for (int kind = 0; kind < FileKind::Count; ++kind)
            made[kind] = QIcon(IconFile(kind));
        return made;
    }();
    return index >= 0 && index < FileKind::Count ? icons[index] : QIcon();
}

QIcon FileKindIcons::FolderIcon()
{
    static const QIcon folder = [] {
        QIcon made;
        made.addFile(IconFile(FileKind::Folder), {}, QIcon::Normal);
        made.addFile(IconFile(FileKind::OpenFolder), {}, QIcon::Selected);
        return made;
    }();
    return folder;
}
