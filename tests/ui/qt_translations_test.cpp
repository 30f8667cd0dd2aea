#include "ui/prompt_service.h"
#include "ui/qt_translations.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

TEST(QtTranslations, ConfirmationButtonsSpeakTheDesktopsLanguage)
{
    const QString catalogue = QtTranslations::directory() + QStringLiteral("/qtbase_ru.qm");
    if (!QFileInfo::exists(catalogue))
        GTEST_SKIP() << "Qt's Russian catalogue " << catalogue.toStdString()
                     << " is missing: install the package qt6-translations-l10n";

    {
        const QtTranslations russian(QLocale(QLocale::Russian, QLocale::Russia));
        ASSERT_TRUE(russian.installed()) << catalogue.toStdString() << " did not load";
        auto box = MessageBoxPrompts::makeBox(MessageBoxPrompts::Kind::Confirm, nullptr,
                                              QStringLiteral("Удалить?"));
        EXPECT_EQ(box->button(QMessageBox::Yes)->text().remove(QLatin1Char('&')),
                  QStringLiteral("Да"));
        EXPECT_EQ(box->button(QMessageBox::No)->text().remove(QLatin1Char('&')),
                  QStringLiteral("Нет"));
        // The program's own words stay as written.
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Confirm"));
    }
    // Gone with the object: the next box is Qt's English again.
    auto box = MessageBoxPrompts::makeBox(MessageBoxPrompts::Kind::Confirm, nullptr,
                                          QStringLiteral("Удалить?"));
    EXPECT_EQ(box->button(QMessageBox::Yes)->text().remove(QLatin1Char('&')),
              QStringLiteral("Yes"));
}

} // namespace
