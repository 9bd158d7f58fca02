// The listing file reader: lines come out in order, hold no line end, and
// together with the separators between them make up the whole text.
#include "FuzzCheck.h"
#include "archive/ListingLineReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char*>(data), qsizetype(size));
    ListingLineReader reader(text);
    qsizetype position = 0;
    while (reader.Next()) {
        const QByteArrayView line = reader.Line();
        FUZZ_CHECK(line.data() == text.data() + position);
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n'));
        const qsizetype next = reader.NextLineStart();
        FUZZ_CHECK(next > position && next <= text.size());
        for (qsizetype at = position + line.size(); at < next; ++at)
            FUZZ_CHECK(text[at] == '\r' || text[at] == '\n');
        if (reader.IsCandidate())
            FUZZ_CHECK(!line.isEmpty() && !line.contains('\0') && line.front() != ';' && line.front() != '(');
        position = next;
    }
    FUZZ_CHECK(position == text.size());
    return 0;
}
