#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

class ArchiveJob;

// The game's copies of MOD files, read from an archive by the child
// process (carvestone-cli --machine extract --missing-ok) into a folder of
// this run, so the window never lets the archive library near a damaged
// archive.  Each name is read once for as long as the archive file stays
// as it was; requests made while a reading runs wait their turn.
class GameCopies : public QObject
{
    Q_OBJECT

public:
    explicit GameCopies(QString programFolder, QObject* parent = nullptr);
    ~GameCopies() override;

    // Reads the names not known yet; Ready follows, at once when every name
    // is known, else when the child is done.
    void Request(const QString& archive, const QStringList& names);
    // Read, or found not to be in the archive.
    bool Knows(const QString& archive, const QString& name) const;
    // The copy; none for a name the archive lacks or that is not known yet.
    std::optional<QByteArray> Copy(const QString& archive, const QString& name) const;
    bool IsReading() const { return job != nullptr; }
    // Why the archive could not be read; empty when it could, or was not tried.
    QString Failure(const QString& archive) const { return archives.value(archive).failure; }

Q_SIGNALS:
    void Ready(const QString& archive);
    // The archive could not be read; message says why.
    void Failed(const QString& archive, const QString& message);

private:
    struct Archive
    {
        QDateTime modified;
        qint64 size = -1;
        QHash<QString, QString> files; // name -> its copy
        QSet<QString> missing;
        QString failure;
    };
    struct Pending
    {
        QString archive;
        QStringList names;
    };

    Archive& Fresh(const QString& archive);
    void StartNext();
    void OnFinished();

    QString programFolder;
    QTemporaryDir root;
    int folders = 0;
    QHash<QString, Archive> archives;
    QList<Pending> pending;
    ArchiveJob* job = nullptr;
    Pending running;
    QString runningFolder;
};
