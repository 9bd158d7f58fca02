// Feeds every kept input (the seeds, and each finding once it was fixed)
// to a fuzz target's entry point in the ordinary build, without libFuzzer:
// the test suite holds the code to the same promises at every run.
// Usage: <target>_replay FOLDER...   (a folder that is not there holds no
// input yet: a target without findings has no regression folder)
#include "FuzzCheck.h"

#include <QDirIterator>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
        return 2;
    }
    int replayed = 0;
    for (int index = 1; index < argc; ++index) {
        const QString folder = QFile::decodeName(argv[index]);
        if (!QFileInfo::exists(folder))
            continue;
        QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile input(files.next());
            if (!input.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(input.fileName()));
                return 1;
            }
            const QByteArray bytes = input.readAll();
            std::printf("%s\n", qPrintable(input.fileName()));
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return replayed > 0 ? 0 : 1;
}
