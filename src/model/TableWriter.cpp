#include "TableWriter.h"

void TableWriter::AddCell(QStringView text)
{
    if (rowStarted)
        out.append('\t');
    rowStarted = true;
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char* bytes = out.data() + start;
    for (const QChar ch : text)
        *bytes++ = char(ch.unicode());
}

void TableWriter::EndRow()
{
    out.append("\r\n", 2);
    rowStarted = false;
}

void TableWriter::AddCell(QByteArrayView latin1)
{
    if (rowStarted)
        out.append('\t');
    rowStarted = true;
    out.append(latin1);
}
