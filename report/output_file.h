#pragma once

#include <QString>

#include <functional>
#include <memory>

class QFile;
class QIODevice;
class QSaveFile;

namespace zreport {

// A file the user named as the place to write to. A regular file, or a name not yet taken, is
// written to a temporary file beside it and renamed over it only once everything was written,
// so a failure leaves the old file, or none, under that name. A target that exists and is not
// a regular file (a device, a named pipe) is written straight into: renaming over it would
// replace the node itself. A folder is refused, and "-" is standard output.
class OutputFile {
public:
    explicit OutputFile(const QString &path);
    ~OutputFile(); // discards what was written unless committed
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    static bool isStandardOutput(const QString &path) { return path == QLatin1String("-"); }

    // The device to write to, or null with the reason in `error`.
    QIODevice *open(QString *error);
    // Makes what was written final; false with the reason in `error` when anything failed,
    // a write error included, in which case a regular file keeps its previous contents.
    bool commit(QString *error);

private:
    QString failure(const QString &reason) const;

    QString m_path;
    std::unique_ptr<QSaveFile> m_replace;
    std::unique_ptr<QFile> m_direct;
};

// The same rules for a writer that takes a file name rather than a device (a printer, the
// spreadsheet and zip libraries): it writes at writePath(), and commit() makes that final. A
// regular or new target is written under a temporary name beside it and renamed over it (a
// symbolic link keeps pointing where it did); an existing device or pipe is written straight
// into; a folder is refused. The temporary file is removed unless committed.
class OutputPath {
public:
    explicit OutputPath(const QString &path);
    ~OutputPath();
    OutputPath(const OutputPath &) = delete;
    OutputPath &operator=(const OutputPath &) = delete;

    // False with the reason in `error` when the target cannot be written.
    bool open(QString *error);
    const QString &writePath() const { return m_writePath; }
    bool commit(QString *error);

private:
    QString m_path;
    QString m_finalPath; // the target, its link resolved
    QString m_writePath;
    bool m_temporary = false;
    bool m_committed = false;
};

// "Не удалось записать файл «path»", with ": reason" when there is one.
QString cannotWriteMessage(const QString &path, const QString &reason = {});

// Opens `path` as an OutputFile, lets `write` fill it and commits. `write` returns false on a
// failure it saw itself (its reason, if any, in the error it is given).
bool writeOutputFile(const QString &path, const std::function<bool(QIODevice &)> &write,
                     QString *error);

} // namespace zreport
