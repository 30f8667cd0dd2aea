#pragma once

#include <QString>
#include <QTemporaryDir>

// A new database file in a temporary folder of its own, removed with the folder.
class TempDatabase {
public:
    enum Content { Empty, Demo };
    explicit TempDatabase(Content content = Empty);

    const QString &path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};
