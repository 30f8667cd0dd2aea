#pragma once

#include <QLocale>

#include <string>

// Puts the C library's locale and Qt's default locale on a named locale, as a desktop
// application gets them from its environment, and puts both back when it goes. A test
// that looks at printed numbers or dates holds one, so it sees what a user of that locale
// sees whatever machine it runs on.
class ScopedLocale {
public:
    // name: a C library locale such as "ru_RU.UTF-8"; Qt's default follows the same name.
    explicit ScopedLocale(const char *name);
    // Qt's default set on its own, the C library's locale left as the test main set it.
    explicit ScopedLocale(const QLocale &qtLocale);
    ~ScopedLocale();
    ScopedLocale(const ScopedLocale &) = delete;
    ScopedLocale &operator=(const ScopedLocale &) = delete;

    // False when the C library does not have the locale (it is not generated here).
    bool installed() const { return m_installed; }

private:
    QLocale m_previousQt;
    std::string m_previousC;
    bool m_installed = true;
};

// The locale every test runs under unless it says otherwise: a Russian desktop's.
inline constexpr const char *kDesktopLocale = "ru_RU.UTF-8";
