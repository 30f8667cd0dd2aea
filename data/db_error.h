#pragma once

#include <QString>

#include <initializer_list>
#include <stdexcept>
#include <vector>

// An error raised by the database or by a dataset operation. The windows do not catch it:
// it travels up to the application, which shows it and lets the work in hand stop there.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {}
    // An error of the engine: its error codes in order and the system's error number, if any.
    DbError(const QString &message, std::vector<long> engineCodes, int systemError)
        : std::runtime_error(message.toStdString()), m_message(message),
          m_engineCodes(std::move(engineCodes)), m_systemError(systemError)
    {}
    const QString &message() const { return m_message; }
    const std::vector<long> &engineCodes() const { return m_engineCodes; }
    bool hasEngineCode(long code) const
    {
        for (long c : m_engineCodes) {
            if (c == code)
                return true;
        }
        return false;
    }
    bool hasAnyEngineCode(std::initializer_list<long> codes) const
    {
        for (long code : codes) {
            if (hasEngineCode(code))
                return true;
        }
        return false;
    }
    int systemError() const { return m_systemError; } // 0 when the engine gave none

private:
    QString m_message;
    std::vector<long> m_engineCodes;
    int m_systemError = 0;
};
