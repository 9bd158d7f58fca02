#pragma once

#include <QString>

// A real, nearly full file system for tests of writes that run out of room:
// a small tmpfs mounted in a private mount namespace of this test process
// (root only).  IsReady is false, with Why saying so, where that cannot be
// made; tests then skip with that message.
class SmallDisk
{
public:
    explicit SmallDisk(int sizeKiB);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool IsReady() const { return ready; }
    const QString& Why() const { return why; }
    // The mounted folder, ending without '/'.
    const QString& Path() const { return path; }
    // Fills the disk with a ballast file until about bytesLeft remain free.
    bool LeaveFree(qint64 bytesLeft);
    qint64 FreeBytes() const;

private:
    QString path;
    QString why;
    bool ready = false;
};
