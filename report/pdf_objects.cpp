#include "pdf_objects.h"

#include <QIODevice>

#include <zlib.h>

#include <charconv>
#include <cmath>

namespace zreport::pdf {

void appendInt(std::string &out, long long v)
{
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    out.append(text, end);
}

void appendNumber(std::string &out, double v, int decimals)
{
    const double scale = decimals == 2 ? 100 : std::pow(10, decimals);
    const double rounded = std::round(v * scale);
    if (std::fmod(rounded, scale) == 0) {
        appendInt(out, static_cast<long long>(rounded / scale));
        return;
    }
    char text[40];
    auto end =
        std::to_chars(text, text + sizeof text, rounded / scale, std::chars_format::fixed, decimals)
            .ptr;
    while (end[-1] == '0')
        --end;
    out.append(text, end);
}

void appendHex4(std::string &out, quint32 v)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    const char text[4] = {digits[(v >> 12) & 15], digits[(v >> 8) & 15], digits[(v >> 4) & 15],
                          digits[v & 15]};
    out.append(text, 4);
}

void appendColor(std::string &out, const QColor &color, const char *op)
{
    const QColor rgb = color.toRgb();
    appendNumber(out, rgb.redF(), 3);
    out += ' ';
    appendNumber(out, rgb.greenF(), 3);
    out += ' ';
    appendNumber(out, rgb.blueF(), 3);
    out += op;
}

std::string pdfString(const QByteArray &text)
{
    std::string out = "(";
    for (const char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + ')';
}

std::string pdfTextString(const QString &text)
{
    std::string out = "<FEFF";
    for (const QChar c : text)
        appendHex4(out, c.unicode());
    return out + '>';
}

namespace {

std::string compressed(const std::string &data)
{
    uLongf size = compressBound(uLong(data.size()));
    std::string out(size, '\0');
    // The fastest level: the better levels cost several times the time for a file a few per
    // cent smaller.
    if (compress2(reinterpret_cast<Bytef *>(out.data()), &size,
                  reinterpret_cast<const Bytef *>(data.data()), uLong(data.size()),
                  Z_BEST_SPEED) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

} // namespace

int Objects::allocate()
{
    m_offsets.push_back(-1);
    return int(m_offsets.size() - 1);
}

void Objects::append(std::string_view text)
{
    m_buffer += text;
    if (m_buffer.size() >= (1 << 18))
        flush();
}

void Objects::flush()
{
    if (m_buffer.empty())
        return;
    if (m_device.write(m_buffer.data(), qint64(m_buffer.size())) != qint64(m_buffer.size()))
        m_failed = true;
    m_written += qint64(m_buffer.size());
    m_buffer.clear();
}

void Objects::beginObject(int object)
{
    m_offsets[size_t(object)] = position();
    std::string header;
    appendInt(header, object);
    header += " 0 obj\n";
    append(header);
}

void Objects::object(int object, std::string_view body)
{
    beginObject(object);
    append(body);
    append("\nendobj\n");
}

void Objects::stream(int object, const std::string &data, std::string_view dictionary)
{
    const std::string packed = compressed(data);
    std::string head = "<< /Length ";
    appendInt(head, qint64(packed.empty() ? data.size() : packed.size()));
    if (!packed.empty())
        head += " /Filter /FlateDecode";
    head += dictionary;
    head += " >>\nstream\n";
    beginObject(object);
    append(head);
    append(packed.empty() ? data : packed);
    append("\nendstream\nendobj\n");
}

} // namespace zreport::pdf
