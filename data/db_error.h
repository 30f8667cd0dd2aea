#pragma once

#include <QString>

#include <stdexcept>

// An error raised by the database or by a dataset operation. The windows do not catch it:
// it travels up to the application, which shows it and lets the work in hand stop there.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};
