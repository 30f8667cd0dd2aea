#include "output_file.h"

#include <QFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

namespace zpreview {

QString cannotWriteMessage(const QString &path, const QString &reason)
{
    const QString text = QStringLiteral("Не удалось записать файл «%1»").arg(path);
    return reason.isEmpty() ? text : text + QStringLiteral(": ") + reason;
}

OutputFile::OutputFile(const QString &target) : m_target(target) {}

OutputFile::~OutputFile()
{
    if (!m_committed && !m_temporary.isEmpty())
        QFile::remove(m_temporary);
}

bool OutputFile::open(QString *error)
{
    QTemporaryFile file(m_target + QStringLiteral(".XXXXXX"));
    if (!file.open()) {
        if (error)
            *error = cannotWriteMessage(m_target, file.errorString());
        return false;
    }
    file.setAutoRemove(false);
    m_temporary = file.fileName();
    return true;
}

bool OutputFile::commit(QString *error)
{
    // A temporary file is private to its owner; the result gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(m_temporary).constData(), 0666 & ~mask);
    // rename() replaces an existing file of that name in one step.
    if (std::rename(QFile::encodeName(m_temporary).constData(),
                    QFile::encodeName(m_target).constData()) != 0) {
        if (error)
            *error = cannotWriteMessage(m_target, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_committed = true;
    return true;
}

} // namespace zpreview
