#include "ListingLineReader.h"

namespace {
bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}
} // namespace

ListingLineReader::ListingLineReader(QByteArrayView text)
    : text(text)
{
}

bool ListingLineReader::Next()
{
    const qsizetype start = nextStart;
    const qsizetype size = text.size();
    if (start >= size)
        return false;
    qsizetype end = start;
    while (end < size && !IsLineEnd(text[end]))
        ++end;
    line = text.sliced(start, end - start);
    while (end < size && IsLineEnd(text[end]))
        ++end;
    nextStart = end;
    return true;
}

bool ListingLineReader::IsCandidate() const
{
    // StormLib reads a name up to its first NUL: "Armor.txt\0.bak" would be
    // probed, and reported, as "Armor.txt".  No name holds a NUL.
    return !line.isEmpty() && line.front() != '(' && line.front() != ';' && !line.contains('\0');
}
