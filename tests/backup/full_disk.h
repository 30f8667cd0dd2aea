#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

#include <unistd.h>

// A small file system of a test's own that fills up, mounted at `folder` and unmounted again
// at the end. Only root may mount one (CI runs as root); unavailable() says why there is none.
class FullDisk {
public:
    FullDisk(const QString &folder, const QString &size) : m_folder(folder)
    {
        if (::geteuid() != 0) {
            m_unavailable = QStringLiteral("only root may mount the small tmpfs of the test");
            return;
        }
        QDir().mkpath(folder);
        QProcess mount;
        mount.start(QStringLiteral("mount"),
                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                     QStringLiteral("size=") + size, QStringLiteral("tmpfs"), folder});
        if (!mount.waitForFinished() || mount.exitStatus() != QProcess::NormalExit ||
            mount.exitCode() != 0)
            m_unavailable = QStringLiteral("mount of a small tmpfs failed: ") +
                            QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
    }
    ~FullDisk()
    {
        if (m_unavailable.isEmpty())
            QProcess::execute(QStringLiteral("umount"), {m_folder});
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    const QString &unavailable() const { return m_unavailable; }

    // Fills what room is left with a file "filler".
    bool fill() const
    {
        QFile filler(m_folder + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly))
            return false;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        return true;
    }
    void makeRoom() const { QFile::remove(m_folder + QStringLiteral("/filler")); }

private:
    QString m_folder;
    QString m_unavailable;
};

#define SKIP_WITHOUT_FULL_DISK(disk)                                                               \
    if (!(disk).unavailable().isEmpty())                                                           \
        GTEST_SKIP() << (disk).unavailable().toStdString();
