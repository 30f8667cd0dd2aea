#include "output_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace zreport {

OutputFile::OutputFile(const QString &path) : m_path(path) {}

OutputFile::~OutputFile() = default; // an uncommitted QSaveFile removes its temporary file

namespace {

QString failureText(const QString &path, const QString &reason)
{
    const QString name =
        OutputFile::isStandardOutput(path) ? QStringLiteral("стандартный вывод") : path;
    return cannotWriteMessage(name, reason);
}

} // namespace

QString cannotWriteMessage(const QString &path, const QString &reason)
{
    const QString text = QStringLiteral("Не удалось записать файл «%1»").arg(path);
    return reason.isEmpty() ? text : text + QStringLiteral(": ") + reason;
}

QString OutputFile::failure(const QString &reason) const
{
    return failureText(m_path, reason);
}

QIODevice *OutputFile::open(QString *error)
{
    auto fail = [&](const QString &reason) -> QIODevice * {
        if (error)
            *error = failure(reason);
        m_replace.reset();
        m_direct.reset();
        return nullptr;
    };
    if (m_path.isEmpty())
        return fail(QStringLiteral("не задано имя файла"));
    if (isStandardOutput(m_path)) {
        m_direct = std::make_unique<QFile>();
        if (!m_direct->open(STDOUT_FILENO, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
            return fail(m_direct->errorString());
        return m_direct.get();
    }
    // stat follows symbolic links: what matters is the node the name leads to.
    struct stat target;
    const QByteArray native = QFile::encodeName(m_path);
    if (::stat(native.constData(), &target) == 0) {
        if (S_ISDIR(target.st_mode))
            return fail(QStringLiteral("это папка"));
        if (!S_ISREG(target.st_mode)) {
            m_direct = std::make_unique<QFile>(m_path);
            if (!m_direct->open(QIODevice::WriteOnly))
                return fail(m_direct->errorString());
            return m_direct.get();
        }
    } else if (errno != ENOENT) {
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
    m_replace = std::make_unique<QSaveFile>(m_path);
    if (!m_replace->open(QIODevice::WriteOnly))
        return fail(m_replace->errorString());
    return m_replace.get();
}

bool OutputFile::commit(QString *error)
{
    auto fail = [&](const QString &reason) {
        if (error)
            *error = failure(reason);
        return false;
    };
    if (m_replace) {
        // QSaveFile::commit() checks only the errors of writes that reached the disk before it
        // runs; what is still buffered fails in its close() unnoticed and the short file would
        // replace the old one. Flushing first catches that failure.
        if (!m_replace->flush() || m_replace->error() != QFileDevice::NoError) {
            const QString reason = m_replace->errorString();
            m_replace->cancelWriting();
            m_replace.reset();
            return fail(reason);
        }
        const bool ok = m_replace->commit();
        const QString reason = m_replace->errorString();
        m_replace.reset();
        return ok || fail(reason);
    }
    if (m_direct) {
        // Writes are buffered: a full device or a closed pipe shows only on flushing.
        const bool ok = m_direct->flush() && m_direct->error() == QFileDevice::NoError;
        const QString reason = m_direct->errorString();
        m_direct->close();
        m_direct.reset();
        return ok || fail(reason);
    }
    return fail(QStringLiteral("файл не был открыт"));
}

OutputPath::OutputPath(const QString &path) : m_path(path) {}

OutputPath::~OutputPath()
{
    if (m_temporary && !m_committed)
        QFile::remove(m_writePath);
}

bool OutputPath::open(QString *error)
{
    auto fail = [&](const QString &reason) {
        if (error)
            *error = cannotWriteMessage(m_path, reason);
        return false;
    };
    if (m_path.isEmpty())
        return fail(QStringLiteral("не задано имя файла"));
    m_finalPath = m_path;
    struct stat target;
    if (::stat(QFile::encodeName(m_path).constData(), &target) == 0) {
        if (S_ISDIR(target.st_mode))
            return fail(QStringLiteral("это папка"));
        if (!S_ISREG(target.st_mode)) {
            m_writePath = m_path;
            return true;
        }
        // Renaming over a link would replace the link; the file it leads to is replaced.
        m_finalPath = QFileInfo(m_path).canonicalFilePath();
    } else if (errno != ENOENT) {
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
    QTemporaryFile file(m_finalPath + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return fail(file.errorString());
    file.setAutoRemove(false);
    m_writePath = file.fileName();
    m_temporary = true;
    return true;
}

bool OutputPath::commit(QString *error)
{
    if (!m_temporary) {
        m_committed = !m_writePath.isEmpty();
        return m_committed;
    }
    // A temporary file is private to its owner; the result gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(m_writePath).constData(), 0666 & ~mask);
    // rename() replaces an existing file of that name in one step.
    if (std::rename(QFile::encodeName(m_writePath).constData(),
                    QFile::encodeName(m_finalPath).constData()) != 0) {
        if (error)
            *error = cannotWriteMessage(m_path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_committed = true;
    return true;
}

bool writeOutputFile(const QString &path, const std::function<bool(QIODevice &)> &write,
                     QString *error)
{
    OutputFile file(path);
    QIODevice *device = file.open(error);
    if (!device)
        return false;
    if (!write(*device)) {
        if (error)
            *error = failureText(path, device->errorString());
        return false; // the file discards what was written
    }
    return file.commit(error);
}

} // namespace zreport
