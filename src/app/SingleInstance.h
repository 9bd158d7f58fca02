#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Keeps one running Carvestone per user and settings store.  A second
// start hands its project file to the running one, which opens it as the
// shell's "open" request, and then ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when a running instance took the path (an empty path only asks
    // it to come to the front).
    bool HandOver(const QString& path) const;
    // Starts answering later starts; false when that is impossible.
    bool Listen();

    // The name under which instances sharing a settings store meet.
    static QString ServerName(const QString& key);

Q_SIGNALS:
    void OpenRequested(const QString& path);

private:
    void AcceptConnection();

    QString serverName;
    QLocalServer* server = nullptr;
};
