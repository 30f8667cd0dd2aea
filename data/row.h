#pragma once

#include <QDateTime>
#include <QtGlobal>

#include <string>
#include <string_view>
#include <vector>

// The stored values of one fetched row, kept compact because a register may hold a
// hundred thousand of them: eight bytes per column, a null bit per column, and the
// texts as KZ-1048 bytes in one buffer.
class Row {
public:
    explicit Row(int columns = 0) : m_cells(size_t(columns), 0), m_nulls(~quint64(0)) {}

    int columnCount() const { return int(m_cells.size()); }
    bool isNull(int column) const { return (m_nulls >> column) & 1u; }
    void setNull(int column) { m_nulls |= quint64(1) << column; }

    qint64 integer(int column) const { return qint64(m_cells[size_t(column)]); }
    void setInteger(int column, qint64 value);

    double real(int column) const;
    void setReal(int column, double value);

    QDateTime dateTime(int column) const;
    void setDateTime(int column, const QDateTime &value);

    std::string_view text(int column) const;
    void setText(int column, std::string_view bytes);

    // Firebird timestamps (days since 17.11.1858 and ten-thousandths of a second) travel
    // through rows unconverted; these turn them into and out of QDateTime.
    static QDateTime fromFbTimestamp(qint32 date, quint32 time);
    static void toFbTimestamp(const QDateTime &value, qint32 &date, quint32 &time);

private:
    void setPresent(int column) { m_nulls &= ~(quint64(1) << column); }

    std::vector<quint64> m_cells;
    quint64 m_nulls;
    std::string m_texts;
};
