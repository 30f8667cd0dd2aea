#pragma once

#include "page_settings.h"
#include "report_enums.h"
#include "text_layout.h"
#include "text_style.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>

#include <deque>
#include <optional>
#include <vector>

// The result of a report run: pages of output bands holding memos at their final places with
// their final text already broken into lines, so showing or printing evaluates nothing.
namespace zreport {

struct PreparedObject {
    QString name;
    quint32 style = 0;                               // index into PreparedReport::styles()
    double left = 0, top = 0, width = 0, height = 0; // relative to the band
    QString text;                                    // paragraphs separated by '\n'
    quint32 firstLine = 0;                           // into the page's lines
    quint32 lineCount = 0;
    qint32 image = -1;      // a picture: index into PreparedReport::images(); -1 for text
    bool keepAspect = true; // a picture centred in its box at its own proportions
};

// An image as its file holds it (written into a PDF as it is when it is a JPEG) and decoded.
struct PreparedImage {
    QByteArray data;
    QImage image;
};

// Where a picture's image lies in `box`: all of it when stretched, else centred at the image's
// own proportions.
QRectF pictureArea(const QRectF &box, const PreparedObject &picture, const PreparedImage &image);

struct PreparedBand {
    QString name;
    double left = 0, top = 0, width = 0, height = 0; // top from the printable area's top
    quint32 firstObject = 0;                         // into the page's objects
    quint32 objectCount = 0;
};

struct PreparedPage {
    PageSettings settings;
    std::vector<PreparedBand> bands;
    std::vector<PreparedObject> objects;
    std::vector<LaidOutLine> lines;

    QStringView lineText(const PreparedObject &object, const LaidOutLine &line) const
    {
        return QStringView(object.text).mid(line.start, line.length);
    }
};

class PreparedReport {
public:
    void clear();
    // Same index for equal styles.
    quint32 addStyle(const TextStyle &style);
    // Without looking for an equal one (a loaded file keeps its own numbering).
    void appendStyle(const TextStyle &style) { m_styles.push_back(style); }
    const std::vector<TextStyle> &styles() const { return m_styles; }
    const TextStyle &style(quint32 index) const { return m_styles[index]; }

    // An image for pictures to refer to; nullopt when its bytes are no image.
    std::optional<quint32> addImage(const QByteArray &data);
    const std::vector<PreparedImage> &images() const { return m_images; }

    PreparedPage &addPage(const PageSettings &settings);
    std::deque<PreparedPage> &pages() { return m_pages; }
    const std::deque<PreparedPage> &pages() const { return m_pages; }
    int pageCount() const { return int(m_pages.size()); }

private:
    std::vector<TextStyle> m_styles;
    std::vector<PreparedImage> m_images;
    std::deque<PreparedPage> m_pages;
};

} // namespace zreport
