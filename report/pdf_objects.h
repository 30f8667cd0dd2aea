#pragma once

#include <QColor>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

class QIODevice;

// The file structure of a PDF: numbered objects and streams written onto a device in large
// pieces, with the offsets the cross-reference table needs, and the text of its numbers and
// strings. Page content and file structure are ASCII text; numbers never go through the C
// locale.
namespace zreport::pdf {

void appendInt(std::string &out, long long v);
void appendNumber(std::string &out, double v, int decimals = 2);
void appendHex4(std::string &out, quint32 v);
// The colour's components followed by the operator `op` (" rg\n", " RG ").
void appendColor(std::string &out, const QColor &color, const char *op);
// Text of a PDF string: the characters that end or escape one, escaped.
std::string pdfString(const QByteArray &text);
// Text of any script for the document information: UTF-16 with its byte order mark, in hex.
std::string pdfTextString(const QString &text);

class Objects {
public:
    explicit Objects(QIODevice &device) : m_device(device) {}

    // A new object number, its offset unknown until the object is written.
    int allocate();
    void append(std::string_view text);
    void flush();
    qint64 position() const { return m_written + qint64(m_buffer.size()); }
    void beginObject(int object);
    void object(int object, std::string_view body);
    // A stream compressed unless compressing fails; `dictionary` holds further entries.
    void stream(int object, const std::string &data, std::string_view dictionary = {});

    // By object number; offsets[0] stands for the free head of the table.
    const std::vector<qint64> &offsets() const { return m_offsets; }
    bool failed() const { return m_failed; }

private:
    QIODevice &m_device;
    std::string m_buffer;
    qint64 m_written = 0;
    bool m_failed = false;
    std::vector<qint64> m_offsets{0};
};

} // namespace zreport::pdf
