#include "design_drawing.h"

#include "report/memo_text.h"
#include "report/report_draw.h"
#include "report/text_layout.h"

#include <QPainter>

namespace zdesigner {

using namespace zreport;

PreparedObject DesignDrawing::memoObject(const TfrxMemoView &memo)
{
    const TextStyle style = TextStyle::of(memo);
    PreparedObject object;
    object.name = memo.name;
    object.style = m_prepared.addStyle(style);
    object.left = memo.left;
    object.top = memo.top;
    object.width = memo.width;
    object.height = memo.height;
    object.text = textParagraphs(memo.text()).join(QLatin1Char('\n'));
    Layout &layout = m_layouts[&memo];
    if (layout.style != object.style || layout.text != object.text || layout.width != memo.width) {
        const TextBox box = textBox(style, memo.left, memo.top, memo.width, memo.height);
        layout.lines.clear();
        layoutText(object.text, style, box.width(), layout.lines);
        layout.style = object.style;
        layout.text = object.text;
        layout.width = memo.width;
    }
    object.firstLine = quint32(m_lines.size());
    object.lineCount = quint32(layout.lines.size());
    m_lines.insert(m_lines.end(), layout.lines.begin(), layout.lines.end());
    return object;
}

PreparedObject DesignDrawing::pictureObject(const TfrxPictureView &picture,
                                            const TfrxReport &report)
{
    PreparedObject object;
    object.name = picture.name;
    object.style = m_prepared.addStyle(TextStyle{});
    object.left = picture.left;
    object.top = picture.top;
    object.width = picture.width;
    object.height = picture.height;
    object.keepAspect = picture.keepAspectRatio;
    object.firstLine = quint32(m_lines.size());
    const auto data = report.images.constFind(picture.imageName);
    if (data != report.images.cend()) {
        // Decoded once: an equal image is found among those added before.
        if (const std::optional<quint32> image = m_prepared.addImage(*data))
            object.image = qint32(*image);
    }
    return object;
}

void DesignDrawing::update(const DesignDocument &document)
{
    m_prepared.pages().clear();
    m_lines.clear();
    const TfrxReportPage *page = document.page();
    if (!page)
        return;
    PreparedPage &out = m_prepared.addPage(page->settings);
    QSet<const TfrxView *> present;
    for (const PlacedBand &placed : document.bands()) {
        PreparedBand band;
        band.name = placed.band->name;
        band.top = placed.top;
        band.width = placed.band->width;
        band.height = placed.band->height;
        band.firstObject = quint32(out.objects.size());
        for (const auto &view : placed.band->objects) {
            present.insert(view.get());
            if (const auto *memo = dynamic_cast<const TfrxMemoView *>(view.get()))
                out.objects.push_back(memoObject(*memo));
            else if (const auto *picture = dynamic_cast<const TfrxPictureView *>(view.get()))
                out.objects.push_back(pictureObject(*picture, document.report()));
        }
        band.objectCount = quint32(out.objects.size()) - band.firstObject;
        out.bands.push_back(std::move(band));
    }
    out.lines = m_lines;
    // Layouts of objects no longer on the page (deleted) are dropped.
    for (auto layout = m_layouts.begin(); layout != m_layouts.end();) {
        if (present.contains(layout.key()))
            ++layout;
        else
            layout = m_layouts.erase(layout);
    }
}

void DesignDrawing::paint(QPainter &painter, double sx, double sy, double ox, double oy) const
{
    if (m_prepared.pageCount() > 0)
        drawPreparedPage(painter, m_prepared, m_prepared.pages().front(), sx, sy, ox, oy);
}

} // namespace zdesigner
