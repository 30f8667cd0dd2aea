#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

QtTranslations::QtTranslations(const QLocale &locale)
{
    // "qtbase" holds the widgets' texts; the older "qt" catalogue bundles it with the rest.
    for (const QString &catalogue : {QStringLiteral("qtbase"), QStringLiteral("qt")}) {
        if (m_translator.load(locale, catalogue, QStringLiteral("_"), directory())) {
            m_installed = QCoreApplication::installTranslator(&m_translator);
            break;
        }
    }
}

QtTranslations::~QtTranslations()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}

QString QtTranslations::directory()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}
