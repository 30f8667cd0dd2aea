#include "prepared_io.h"

#include "output_file.h"

#include <QDataStream>
#include <QFile>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace zreport {

namespace {

constexpr char kMagic[8] = {'Z', 'R', 'N', 'K', 'F', 'P', '3', '\n'};
constexpr double kMaxLength = 1e7; // units or millimetres; far beyond any sheet

class Writer {
public:
    explicit Writer(QIODevice &device) : m_stream(&device)
    {
        m_stream.setByteOrder(QDataStream::LittleEndian);
        m_stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
    }

    void u8(quint8 v) { m_stream << v; }
    void u32(quint32 v) { m_stream << v; }
    void i32(qint32 v) { m_stream << v; }
    void f64(double v) { m_stream << v; }
    void text(const QString &s)
    {
        const QByteArray utf8 = s.toUtf8();
        u32(quint32(utf8.size()));
        m_stream.writeRawData(utf8.constData(), int(utf8.size()));
    }
    void color(const QColor &c)
    {
        u8(c.isValid() ? 1 : 0);
        u32(c.isValid() ? c.rgba() : 0);
    }
    bool ok() const { return m_stream.status() == QDataStream::Ok; }
    void raw(const char *data, int size) { m_stream.writeRawData(data, size); }
    void bytes(const QByteArray &data)
    {
        u32(quint32(data.size()));
        raw(data.constData(), int(data.size()));
    }

private:
    QDataStream m_stream;
};

struct Failure {
    QString reason;
};

class Reader {
public:
    explicit Reader(QByteArrayView data) : m_data(data) {}

    qsizetype remaining() const { return m_data.size() - m_pos; }

    const char *take(qsizetype n)
    {
        if (n < 0 || n > remaining())
            throw Failure{QStringLiteral("файл обрезан (смещение %1)").arg(m_pos)};
        const char *p = m_data.data() + m_pos;
        m_pos += n;
        return p;
    }
    template <typename T> T number()
    {
        T v;
        std::memcpy(&v, take(sizeof(T)), sizeof(T));
        return qFromLittleEndian(v);
    }
    quint8 u8() { return number<quint8>(); }
    quint32 u32() { return number<quint32>(); }
    qint32 i32() { return number<qint32>(); }
    double f64()
    {
        const quint64 bits = number<quint64>();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    double length(double min = -kMaxLength, double max = kMaxLength)
    {
        const double v = f64();
        if (!std::isfinite(v) || v < min || v > max)
            throw bad(QStringLiteral("недопустимый размер"));
        return v;
    }
    quint8 enumeration(int count)
    {
        const quint8 v = u8();
        if (v >= count)
            throw bad(QStringLiteral("недопустимое значение перечисления"));
        return v;
    }
    bool boolean() { return enumeration(2) != 0; }
    // A count of records that need at least `minimumSize` bytes each.
    quint32 count(qsizetype minimumSize)
    {
        const quint32 n = u32();
        if (qsizetype(n) > remaining() / std::max<qsizetype>(1, minimumSize))
            throw bad(QStringLiteral("количество записей больше, чем вмещает файл"));
        return n;
    }
    QString text()
    {
        const quint32 size = u32();
        if (qsizetype(size) > remaining())
            throw Failure{QStringLiteral("файл обрезан (смещение %1)").arg(m_pos)};
        return QString::fromUtf8(take(qsizetype(size)), qsizetype(size));
    }
    QByteArray bytes()
    {
        const quint32 size = u32();
        return QByteArray(take(qsizetype(size)), qsizetype(size));
    }
    QColor color()
    {
        const bool valid = boolean();
        const quint32 rgba = u32();
        return valid ? QColor::fromRgba(rgba) : QColor();
    }
    Failure bad(const QString &what) const
    {
        return Failure{QStringLiteral("%1 (смещение %2)").arg(what).arg(m_pos)};
    }

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

void writeStyle(Writer &w, const TextStyle &s)
{
    w.text(s.font.name);
    w.i32(s.font.height);
    w.u8(quint8(s.font.bold | s.font.italic << 1 | s.font.underline << 2 | s.font.strikeOut << 3));
    w.color(s.font.color);
    w.i32(s.font.charset);
    w.u8(quint8(s.frame.typ));
    w.f64(s.frame.width);
    w.u8(quint8(s.frame.style));
    w.color(s.frame.color);
    w.u8(s.frame.dropShadow);
    w.f64(s.frame.shadowWidth);
    for (const FrameLine *line :
         {&s.frame.leftLine, &s.frame.topLine, &s.frame.rightLine, &s.frame.bottomLine}) {
        w.color(line->color);
        w.u8(quint8(line->style));
        w.f64(line->width);
    }
    w.color(s.fill);
    w.u8(quint8(s.hAlign));
    w.u8(quint8(s.vAlign));
    for (double v : {s.gapX, s.gapY, s.lineSpacing, s.paragraphGap, s.charSpacing})
        w.f64(v);
    w.u8(quint8(s.wordWrap | s.clipped << 1 | s.wysiwyg << 2));
}

TextStyle readStyle(Reader &r)
{
    TextStyle s;
    s.font.name = r.text();
    s.font.height = r.i32();
    if (s.font.height == 0 || std::abs(s.font.height) > 1000)
        throw r.bad(QStringLiteral("недопустимый размер шрифта"));
    const quint8 fontFlags = r.u8();
    if (fontFlags > 15)
        throw r.bad(QStringLiteral("недопустимый стиль шрифта"));
    s.font.bold = fontFlags & 1;
    s.font.italic = fontFlags & 2;
    s.font.underline = fontFlags & 4;
    s.font.strikeOut = fontFlags & 8;
    s.font.color = r.color();
    s.font.charset = r.i32();
    const quint8 typ = r.u8();
    if (typ > 15)
        throw r.bad(QStringLiteral("недопустимые стороны рамки"));
    s.frame.typ = typ;
    s.frame.width = r.length(0, 1000);
    s.frame.style = FrameLineStyle(r.enumeration(8));
    s.frame.color = r.color();
    s.frame.dropShadow = r.boolean();
    s.frame.shadowWidth = r.length(0, 1000);
    for (FrameLine *line :
         {&s.frame.leftLine, &s.frame.topLine, &s.frame.rightLine, &s.frame.bottomLine}) {
        line->color = r.color();
        line->style = FrameLineStyle(r.enumeration(8));
        line->width = r.length(0, 1000);
    }
    s.fill = r.color();
    s.hAlign = HAlign(r.enumeration(4));
    s.vAlign = VAlign(r.enumeration(3));
    for (double *v : {&s.gapX, &s.gapY, &s.lineSpacing, &s.paragraphGap, &s.charSpacing})
        *v = r.length(-1000, 1000);
    const quint8 flags = r.u8();
    if (flags > 7)
        throw r.bad(QStringLiteral("недопустимые флаги текста"));
    s.wordWrap = flags & 1;
    s.clipped = flags & 2;
    s.wysiwyg = flags & 4;
    return s;
}

// Smallest possible records, used to bound counts by the bytes left.
constexpr qsizetype kMinStyleSize = 100;
constexpr qsizetype kMinPageSize = 4 + 8 * 2 + 1 + 8 * 4 + 4;
constexpr qsizetype kMinBandSize = 4 + 8 * 4 + 4;
constexpr qsizetype kMinObjectSize = 4 + 4 + 8 * 4 + 4 + 4;
constexpr qsizetype kLineSize = 4 + 4 + 4 + 1;

} // namespace

bool writePreparedReport(const PreparedReport &report, QIODevice &device)
{
    Writer w(device);
    w.raw(kMagic, sizeof kMagic);
    w.u32(kPreparedFormatVersion);
    w.u32(quint32(report.styles().size()));
    for (const TextStyle &style : report.styles())
        writeStyle(w, style);
    w.u32(quint32(report.images().size()));
    for (const PreparedImage &image : report.images())
        w.bytes(image.data);
    w.u32(quint32(report.pages().size()));
    for (const PreparedPage &page : report.pages()) {
        const PageSettings &s = page.settings;
        w.i32(s.paperSize);
        w.f64(s.paperWidth);
        w.f64(s.paperHeight);
        w.u8(quint8(s.orientation));
        for (double m : {s.leftMargin, s.topMargin, s.rightMargin, s.bottomMargin})
            w.f64(m);
        w.u32(quint32(page.bands.size()));
        for (const PreparedBand &band : page.bands) {
            w.text(band.name);
            for (double v : {band.left, band.top, band.width, band.height})
                w.f64(v);
            w.u32(band.objectCount);
            for (quint32 i = 0; i < band.objectCount; ++i) {
                const PreparedObject &o = page.objects[band.firstObject + i];
                w.text(o.name);
                w.u32(o.style);
                for (double v : {o.left, o.top, o.width, o.height})
                    w.f64(v);
                w.text(o.text);
                w.u32(o.lineCount);
                for (quint32 l = 0; l < o.lineCount; ++l) {
                    const LaidOutLine &line = page.lines[o.firstLine + l];
                    w.u32(line.start);
                    w.u32(line.length);
                    w.i32(line.width);
                    w.u8(quint8(line.firstOfParagraph | line.lastOfParagraph << 1));
                }
                w.i32(o.image);
                w.u8(o.keepAspect);
            }
        }
    }
    return w.ok();
}

bool savePreparedReport(const PreparedReport &report, const QString &path, QString *error)
{
    return writeOutputFile(
        path, [&](QIODevice &device) { return writePreparedReport(report, device); }, error);
}

bool readPreparedReport(QByteArrayView data, PreparedReport &report, QString *error)
{
    PreparedReport result;
    try {
        Reader r(data);
        if (data.size() < qsizetype(sizeof kMagic) ||
            std::memcmp(r.take(sizeof kMagic), kMagic, sizeof kMagic) != 0)
            throw Failure{QStringLiteral("это не файл готового отчета")};
        const quint32 version = r.u32();
        if (version < 1 || version > kPreparedFormatVersion)
            throw Failure{QStringLiteral("неизвестная версия формата %1").arg(version)};
        const quint32 styleCount = r.count(kMinStyleSize);
        for (quint32 i = 0; i < styleCount; ++i)
            result.appendStyle(readStyle(r));
        const quint32 imageCount = version >= 2 ? r.count(4) : 0;
        for (quint32 i = 0; i < imageCount; ++i) {
            const std::optional<quint32> index = result.addImage(r.bytes());
            if (!index || *index != i)
                throw r.bad(QStringLiteral("изображение не читается"));
        }
        const quint32 pageCount = r.count(kMinPageSize);
        for (quint32 p = 0; p < pageCount; ++p) {
            PageSettings s;
            s.paperSize = r.i32();
            s.paperWidth = r.length(1, 10000);
            s.paperHeight = r.length(1, 10000);
            s.orientation = PageOrientation(r.enumeration(2));
            for (double *m : {&s.leftMargin, &s.topMargin, &s.rightMargin, &s.bottomMargin})
                *m = r.length(0, 10000);
            PreparedPage &page = result.addPage(s);
            const quint32 bandCount = r.count(kMinBandSize);
            page.bands.reserve(bandCount);
            for (quint32 b = 0; b < bandCount; ++b) {
                PreparedBand band;
                band.name = r.text();
                for (double *v : {&band.left, &band.top, &band.width, &band.height})
                    *v = r.length();
                band.firstObject = quint32(page.objects.size());
                band.objectCount = r.count(kMinObjectSize);
                for (quint32 i = 0; i < band.objectCount; ++i) {
                    PreparedObject o;
                    o.name = r.text();
                    o.style = r.u32();
                    if (o.style >= styleCount)
                        throw r.bad(QStringLiteral("ссылка на несуществующий стиль"));
                    for (double *v : {&o.left, &o.top, &o.width, &o.height})
                        *v = r.length();
                    o.text = r.text();
                    o.firstLine = quint32(page.lines.size());
                    o.lineCount = r.count(kLineSize);
                    for (quint32 l = 0; l < o.lineCount; ++l) {
                        LaidOutLine line;
                        line.start = r.u32();
                        line.length = r.u32();
                        line.width = r.i32();
                        const quint8 flags = r.u8();
                        if (flags > 3 || quint64(line.start) + line.length > quint64(o.text.size()))
                            throw r.bad(QStringLiteral("строка текста вне текста объекта"));
                        line.firstOfParagraph = flags & 1;
                        line.lastOfParagraph = flags & 2;
                        page.lines.push_back(line);
                    }
                    if (version >= 2) {
                        o.image = r.i32();
                        if (o.image < -1 || o.image >= qint32(imageCount))
                            throw r.bad(QStringLiteral("ссылка на несуществующее изображение"));
                        o.keepAspect = r.boolean();
                    }
                    page.objects.push_back(std::move(o));
                }
                page.bands.push_back(std::move(band));
            }
        }
        if (r.remaining() != 0)
            throw r.bad(QStringLiteral("лишние данные в конце файла"));
    } catch (const Failure &failure) {
        if (error)
            *error = failure.reason;
        return false;
    }
    report = std::move(result);
    return true;
}

bool loadPreparedReport(const QString &path, PreparedReport &report, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error =
                QStringLiteral("Не удалось открыть файл «%1»: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray data = file.readAll();
    QString reason;
    if (!readPreparedReport(data, report, &reason)) {
        if (error)
            *error = QStringLiteral("Файл «%1» не прочитан: %2").arg(path, reason);
        return false;
    }
    return true;
}

} // namespace zreport
