#include "print_settings.h"

#include <QStringList>

#include <algorithm>

namespace zpreview {

namespace {

std::optional<int> pageNumber(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 1)
        return std::nullopt;
    return n;
}

} // namespace

std::optional<std::vector<int>> parsePageNumbers(const QString &text, int pageCount)
{
    std::vector<bool> chosen(size_t(std::max(pageCount, 0)) + 1, false);
    const QStringList parts = text.split(QLatin1Char(','));
    bool any = false;
    for (const QString &raw : parts) {
        const QString part = raw.trimmed();
        if (part.isEmpty())
            continue;
        const qsizetype dash = part.indexOf(QLatin1Char('-'));
        int from = 0, to = 0;
        if (dash < 0) {
            const auto n = pageNumber(part);
            if (!n)
                return std::nullopt;
            from = to = *n;
        } else {
            const auto a = pageNumber(part.left(dash));
            const QString right = part.mid(dash + 1).trimmed();
            const auto b = right.isEmpty() && a ? std::optional<int>(std::max(*a, pageCount))
                                                : pageNumber(right);
            if (!a || !b || *b < *a)
                return std::nullopt;
            from = *a;
            to = *b;
        }
        any = true;
        for (int n = from; n <= std::min(to, pageCount); ++n)
            chosen[size_t(n)] = true;
    }
    if (!any)
        return std::nullopt;
    std::vector<int> out;
    for (int n = 1; n <= pageCount; ++n)
        if (chosen[size_t(n)])
            out.push_back(n);
    return out;
}

std::vector<int> pagesToPrint(const PrintSettings &settings, int pageCount, int currentPage)
{
    std::vector<int> pages;
    switch (settings.range) {
    case PageRange::All:
        for (int n = 1; n <= pageCount; ++n)
            pages.push_back(n);
        break;
    case PageRange::Current:
        if (currentPage >= 1 && currentPage <= pageCount)
            pages.push_back(currentPage);
        break;
    case PageRange::Numbers:
        pages = parsePageNumbers(settings.pageNumbers, pageCount).value_or(std::vector<int>{});
        break;
    }
    if (settings.parity != PageParity::All) {
        const int keep = settings.parity == PageParity::Odd ? 1 : 0;
        std::erase_if(pages, [keep](int n) { return n % 2 != keep; });
    }
    if (settings.reverse)
        std::reverse(pages.begin(), pages.end());
    return pages;
}

} // namespace zpreview
