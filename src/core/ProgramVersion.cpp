#include "ProgramVersion.h"

QString ProgramVersion::Text()
{
    return QStringLiteral(CARVESTONE_VERSION);
}
