#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Walks the text of a listing file line by line.  A line ends at its first
// CR or LF, and a whole run of CRs and LFs is one separator, so CR LF, LF and
// CR endings read alike and blank lines vanish.  The text after the last
// separator is the last line, whether or not it has an end.
class ListingLineReader
{
public:
    explicit ListingLineReader(QByteArrayView text);

    // Moves to the next line; false when the text is used up.
    bool Next();
    QByteArrayView Line() const { return line; }
    // Byte offset where the following line starts (the text's size after the
    // last line).
    qsizetype NextLineStart() const { return nextStart; }
    // Empty lines, lines opening with "(" or ";" and lines holding a NUL name
    // no file; every other line is a name exactly as written, spaces and tabs
    // included.
    bool IsCandidate() const;

private:
    QByteArrayView text;
    QByteArrayView line;
    qsizetype nextStart = 0;
};
