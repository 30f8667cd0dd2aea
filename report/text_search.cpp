#include "text_search.h"

namespace zreport {

std::optional<FoundText> findText(const PreparedReport &report, const QString &text,
                                  Qt::CaseSensitivity cs, int page, int object)
{
    const auto &pages = report.pages();
    for (int p = std::max(page, 1); p <= report.pageCount(); ++p, object = 0) {
        const PreparedPage &prepared = pages[size_t(p - 1)];
        // Objects in the order they were output, band by band.
        int index = 0;
        for (const PreparedBand &band : prepared.bands) {
            for (quint32 i = 0; i < band.objectCount; ++i, ++index) {
                if (index < object)
                    continue;
                const PreparedObject &o = prepared.objects[band.firstObject + i];
                QString drawn;
                for (quint32 l = 0; l < o.lineCount; ++l) {
                    if (l > 0)
                        drawn += QLatin1Char(' ');
                    drawn += prepared.lineText(o, prepared.lines[o.firstLine + l]);
                }
                if (drawn.contains(text, cs))
                    return FoundText{
                        p, index, QRectF(band.left + o.left, band.top + o.top, o.width, o.height)};
            }
        }
    }
    return std::nullopt;
}

} // namespace zreport
