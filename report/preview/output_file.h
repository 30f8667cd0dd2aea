#pragma once

#include <QString>

// A file written under a temporary name in the folder of its final name and renamed over it
// when complete, so that a failed or cancelled write never leaves a half-written file under
// the name the user chose. Removed unless committed.
namespace zpreview {

class OutputFile {
public:
    explicit OutputFile(const QString &target);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // False (with *error set) when the folder cannot be written.
    bool open(QString *error);
    const QString &temporaryPath() const { return m_temporary; }
    bool commit(QString *error);

private:
    QString m_target;
    QString m_temporary;
    bool m_committed = false;
};

// "Не удалось записать файл «path»" with the reason when there is one.
QString cannotWriteMessage(const QString &path, const QString &reason = {});

} // namespace zpreview
