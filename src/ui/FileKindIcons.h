#pragma once

#include <QIcon>

// The pictures of the file kinds (FileKind's indexes), drawn for this
// program as scalable images so they stay sharp at any screen scaling.
class FileKindIcons
{
public:
    static QIcon Icon(int index);
    // The closed folder, shown open while the item is selected.
    static QIcon FolderIcon();
};
