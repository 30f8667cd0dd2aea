#include "prepared_report.h"

namespace zreport {

void PreparedReport::clear()
{
    m_styles.clear();
    m_pages.clear();
}

quint32 PreparedReport::addStyle(const TextStyle &style)
{
    for (size_t i = 0; i < m_styles.size(); ++i) {
        if (m_styles[i] == style)
            return quint32(i);
    }
    m_styles.push_back(style);
    return quint32(m_styles.size() - 1);
}

PreparedPage &PreparedReport::addPage(const PageSettings &settings)
{
    m_pages.emplace_back();
    m_pages.back().settings = settings;
    return m_pages.back();
}

} // namespace zreport
