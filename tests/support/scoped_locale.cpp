#include "scoped_locale.h"

#include <clocale>

ScopedLocale::ScopedLocale(const char *name) : m_previousC(std::setlocale(LC_ALL, nullptr))
{
    m_installed = std::setlocale(LC_ALL, name) != nullptr;
    QLocale::setDefault(QLocale(QString::fromLatin1(name).section(QLatin1Char('.'), 0, 0)));
}

ScopedLocale::ScopedLocale(const QLocale &qtLocale) : m_previousC(std::setlocale(LC_ALL, nullptr))
{
    QLocale::setDefault(qtLocale);
}

ScopedLocale::~ScopedLocale()
{
    std::setlocale(LC_ALL, m_previousC.c_str());
    QLocale::setDefault(m_previousQt);
}
