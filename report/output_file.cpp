#include "output_file.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
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
    return QStringLiteral("Не удалось записать файл «%1»: %2").arg(name, reason);
}

} // namespace

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
