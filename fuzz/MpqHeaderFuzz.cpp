// The checks an archive passes before the archive library sees it: any
// file, however its header lies about its tables, is answered without a
// read outside it, and an archive found sound really has its tables inside.
#include "FuzzCheck.h"
#include "archive/MpqHeaderCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly the input's size: the address sanitizer then sees
    // any read past the file's end.
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    if (MpqHeaderCheck::IsSoundImage(file))
        FUZZ_CHECK(file.size() >= 32 && file.contains(QByteArrayView("MPQ\x1A", 4)));
    return 0;
}
