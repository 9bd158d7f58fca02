#include "CellEditStep.h"

#include "grid/CGridCtrl.h"

namespace {

constexpr uchar MoreLength = 0x80;

void AppendText(QByteArray& texts, const QString& text)
{
    for (auto length = quint64(text.size());; length >>= 7) {
        const auto low = uchar(length & 0x7F);
        if (length < MoreLength) {
            texts.append(char(low));
            break;
        }
        texts.append(char(low | MoreLength));
    }
    const qsizetype at = texts.size();
    texts.resize(at + text.size());
    char* bytes = texts.data() + at;
    for (const QChar ch : text)
        *bytes++ = char(ch.unicode());
}

// The length at pos, with pos moved past it to the text's bytes.
qsizetype ReadLength(const QByteArray& texts, qsizetype& pos)
{
    qsizetype length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = uchar(texts.at(pos++));
        length |= qsizetype(byte & 0x7F) << shift;
        if (!(byte & MoreLength))
            return length;
    }
}

} // namespace

CellEditStep::CellEditStep(std::vector<Change> changes, const GridMoment& before, const GridMoment& after)
    : TableStep(before, after)
{
    qsizetype size = 0;
    for (const Change& change : changes)
        size += 2 + change.before.size() + change.after.size();
    texts.reserve(size);
    cells.reserve(changes.size());
    for (const Change& change : changes) {
        cells.push_back({change.row, change.col});
        AppendText(texts, change.before);
        AppendText(texts, change.after);
    }
    texts.squeeze();
}

std::vector<qsizetype> CellEditStep::TextStarts() const
{
    std::vector<qsizetype> starts;
    starts.reserve(cells.size() * 2);
    for (qsizetype pos = 0; pos < texts.size();) {
        starts.push_back(pos);
        pos += ReadLength(texts, pos);
    }
    return starts;
}

QString CellEditStep::TextAt(qsizetype start) const
{
    const qsizetype length = ReadLength(texts, start);
    return QString::fromLatin1(texts.constData() + start, length);
}

qint64 CellEditStep::Bytes() const
{
    return qint64(sizeof(*this)) + qint64(cells.capacity() * sizeof(Cell)) + texts.capacity();
}

void CellEditStep::PutBack(CGridCtrl& grid) const
{
    const std::vector<qsizetype> starts = TextStarts();
    // Backwards, so a cell changed twice in one step ends with its first text.
    for (size_t change = cells.size(); change-- > 0;)
        grid.SetCellText(cells[change].row, cells[change].col, TextAt(starts[2 * change]));
}

void CellEditStep::DoAgain(CGridCtrl& grid) const
{
    qsizetype pos = 0;
    for (const Cell& cell : cells) {
        pos += ReadLength(texts, pos);
        const qsizetype length = ReadLength(texts, pos);
        grid.SetCellText(cell.row, cell.col, QString::fromLatin1(texts.constData() + pos, length));
        pos += length;
    }
}

GridCellId CellEditStep::ChangedCell() const
{
    return cells.empty() ? GridCellId() : GridCellId(cells.front().row, cells.front().col);
}
