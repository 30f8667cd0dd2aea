#include "report_output.h"

#include "output_file.h"
#include "page_canvas.h"
#include "pdf_writer.h"
#include "program_version.h"
#include "report_draw.h"
#include "report_units.h"

#include <QIODevice>
#include <QPainter>

#include <cmath>

namespace zreport {

namespace {

class JsonWriter {
public:
    explicit JsonWriter(QIODevice &device) : m_device(device) {}

    void raw(const char *text) { m_buffer.append(text); }
    void raw(const QByteArray &text) { m_buffer.append(text); }
    void key(const char *name) { m_buffer.append('"').append(name).append("\":"); }
    // "name":..,"left":..,"top":..,"width":..,"height":.. as bands and objects both carry.
    void box(QStringView name, double left, double top, double width, double height)
    {
        key("name");
        text(name);
        const std::pair<const char *, double> lengths[] = {
            {"left", left}, {"top", top}, {"width", width}, {"height", height}};
        for (const auto &[k, v] : lengths) {
            raw(",");
            key(k);
            number(v);
        }
    }
    void number(double v)
    {
        double rounded = std::round(v * 10000) / 10000;
        if (rounded == 0)
            rounded = 0; // no "-0"
        QByteArray text = QByteArray::number(rounded, 'f', 4);
        while (text.endsWith('0'))
            text.chop(1);
        if (text.endsWith('.'))
            text.chop(1);
        m_buffer.append(text);
    }
    void boolean(bool v) { m_buffer.append(v ? "true" : "false"); }
    void text(QStringView s)
    {
        QString escaped;
        escaped.reserve(s.size() + 2);
        escaped += QLatin1Char('"');
        for (const QChar c : s) {
            switch (c.unicode()) {
            case '"':
                escaped += QLatin1String("\\\"");
                break;
            case '\\':
                escaped += QLatin1String("\\\\");
                break;
            case '\n':
                escaped += QLatin1String("\\n");
                break;
            case '\r':
                escaped += QLatin1String("\\r");
                break;
            case '\t':
                escaped += QLatin1String("\\t");
                break;
            default:
                if (c.unicode() < 0x20)
                    escaped += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
                else
                    escaped += c;
            }
        }
        escaped += QLatin1Char('"');
        m_buffer.append(escaped.toUtf8());
    }
    bool flush(bool force = false)
    {
        if (!force && m_buffer.size() < (1 << 16))
            return true;
        const bool ok = m_device.write(m_buffer) == m_buffer.size();
        m_buffer.clear();
        m_ok = m_ok && ok;
        return m_ok;
    }
    bool ok() const { return m_ok; }

private:
    QIODevice &m_device;
    QByteArray m_buffer;
    bool m_ok = true;
};

QByteArray sidesText(unsigned typ)
{
    QByteArray sides;
    if (typ & ftLeft)
        sides += 'L';
    if (typ & ftTop)
        sides += 'T';
    if (typ & ftRight)
        sides += 'R';
    if (typ & ftBottom)
        sides += 'B';
    return sides;
}

void writeObject(JsonWriter &w, const PreparedReport &report, const PreparedPage &page,
                 const PreparedObject &o)
{
    const TextStyle &s = report.style(o.style);
    w.raw("{");
    w.box(o.name, o.left, o.top, o.width, o.height);
    w.raw(",");
    w.key("text");
    w.text(o.text);
    w.raw(",");
    w.key("lines");
    w.raw("[");
    for (quint32 i = 0; i < o.lineCount; ++i) {
        if (i > 0)
            w.raw(",");
        w.text(page.lineText(o, page.lines[o.firstLine + i]));
    }
    w.raw("],");
    w.key("font");
    w.raw("{");
    w.key("name");
    w.text(s.font.name);
    w.raw(",");
    w.key("size");
    w.number(s.font.pointSize());
    w.raw(",");
    w.key("bold");
    w.boolean(s.font.bold);
    w.raw(",");
    w.key("italic");
    w.boolean(s.font.italic);
    w.raw(",");
    w.key("underline");
    w.boolean(s.font.underline);
    w.raw("},");
    w.key("frame");
    w.raw("{");
    w.key("sides");
    w.raw("\"" + sidesText(s.frame.typ) + "\",");
    w.key("style");
    w.text(enumName(frameLineStyleNames(), s.frame.style));
    w.raw(",");
    w.key("width");
    w.number(s.frame.width);
    w.raw("},");
    w.key("halign");
    w.text(enumName(hAlignNames(), s.hAlign));
    w.raw(",");
    w.key("valign");
    w.text(enumName(vAlignNames(), s.vAlign));
    if (o.image >= 0) {
        w.raw(",");
        w.key("image");
        w.number(o.image);
        w.raw(",");
        w.key("keepAspect");
        w.boolean(o.keepAspect);
    }
    w.raw("}");
}

} // namespace

bool writePreparedJson(const PreparedReport &report, QIODevice &device)
{
    JsonWriter w(device);
    w.raw("{\"pages\":[");
    bool firstPage = true;
    for (const PreparedPage &page : report.pages()) {
        const PageSettings &s = page.settings;
        w.raw(firstPage ? "\n{" : ",\n{");
        firstPage = false;
        w.key("paperWidth");
        w.number(s.paperWidth);
        w.raw(",");
        w.key("paperHeight");
        w.number(s.paperHeight);
        w.raw(",");
        w.key("orientation");
        w.raw(s.orientation == PageOrientation::poLandscape ? "\"landscape\"," : "\"portrait\",");
        w.key("margins");
        w.raw("[");
        w.number(s.leftMargin);
        w.raw(",");
        w.number(s.topMargin);
        w.raw(",");
        w.number(s.rightMargin);
        w.raw(",");
        w.number(s.bottomMargin);
        w.raw("],");
        w.key("bands");
        w.raw("[");
        for (size_t b = 0; b < page.bands.size(); ++b) {
            const PreparedBand &band = page.bands[b];
            w.raw(b > 0 ? ",\n {" : "\n {");
            w.box(band.name, band.left, band.top, band.width, band.height);
            w.raw(",");
            w.key("objects");
            w.raw("[");
            for (quint32 i = 0; i < band.objectCount; ++i) {
                w.raw(i > 0 ? ",\n  " : "\n  ");
                writeObject(w, report, page, page.objects[band.firstObject + i]);
            }
            w.raw("]}");
            if (!w.flush())
                return false;
        }
        w.raw("]}");
    }
    w.raw("\n]}\n");
    return w.flush(true);
}

bool savePreparedJson(const PreparedReport &report, const QString &path, QString *error)
{
    return writeOutputFile(
        path, [&](QIODevice &device) { return writePreparedJson(report, device); }, error);
}

bool writePreparedPdf(const PreparedReport &report, QIODevice &device,
                      const std::vector<int> &pages, const QString &title)
{
    PdfWriter writer(device, QByteArray(zarnik::kProgramName), title);
    constexpr double pointsPerMm = 72 / 25.4;
    constexpr double scale = PdfWriter::kDeviceDpi / kUnitsPerInch;
    const auto write = [&](const PreparedPage &page) {
        PageCanvas &canvas = writer.beginPage(page.settings.paperWidth * pointsPerMm,
                                              page.settings.paperHeight * pointsPerMm);
        drawPreparedPage(canvas, report, page, scale, scale);
        writer.endPage();
    };
    if (pages.empty()) {
        for (const PreparedPage &page : report.pages())
            write(page);
    } else {
        for (const int index : pages)
            write(report.pages().at(size_t(index)));
    }
    return writer.finish();
}

bool savePreparedPdf(const PreparedReport &report, const QString &path, QString *error)
{
    return writeOutputFile(
        path, [&](QIODevice &device) { return writePreparedPdf(report, device); }, error);
}

QImage renderPreparedPage(const PreparedReport &report, int pageIndex, int dpi)
{
    const PreparedPage &page = report.pages().at(size_t(pageIndex));
    const QSize size(int(std::lround(page.settings.paperWidth / 25.4 * dpi)),
                     int(std::lround(page.settings.paperHeight / 25.4 * dpi)));
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double scale = dpi / kUnitsPerInch;
    drawPreparedPage(painter, report, page, scale, scale);
    return image;
}

bool savePreparedPngs(const PreparedReport &report, const QString &prefix, int dpi, QString *error)
{
    for (int i = 0; i < report.pageCount(); ++i) {
        const QString path = QStringLiteral("%1-%2.png").arg(prefix).arg(i + 1);
        const QImage image = renderPreparedPage(report, i, dpi);
        if (!writeOutputFile(
                path, [&](QIODevice &device) { return image.save(&device, "PNG"); }, error))
            return false;
    }
    return true;
}

} // namespace zreport
