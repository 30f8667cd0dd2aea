#pragma once

#include <QByteArray>
#include <QString>

class FbConnection;

// The images of the business that the forms print (logo, stamp, signatures), kept in a
// table of their own (see program_tables.h), one row per slot name. Each change is committed at
// once in a transaction of its own, apart from the data module's work in hand.
class BusinessImages {
public:
    // A stored image is at most 10 MB as loaded; anything much larger is not one of ours.
    static constexpr qsizetype kMaxBytes = 16 * 1024 * 1024;

    explicit BusinessImages(FbConnection &connection) : m_connection(connection) {}

    // The slot's image as stored; a null QByteArray when the slot is empty or the database
    // has no table of images. Throws DbError when the stored value is too large to be one.
    QByteArray load(const QString &slot);
    void store(const QString &slot, const QByteArray &image);
    void remove(const QString &slot);

private:
    FbConnection &m_connection;
};
