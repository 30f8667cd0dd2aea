// The application object that reports what the windows do not catch. It runs with its own
// main, since the application object must be this class.
#include "data/db_error.h"
#include "scripted_prompts.h"
#include "ui/application_title.h"
#include "ui/error_reporting_application.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(ErrorReportingApplication, ShowsWhatACommandThrowsAndGoesOn)
{
    auto *app = static_cast<ErrorReportingApplication *>(qApp);
    ScriptedPrompts prompts;
    app->setPrompts(&prompts);
    setApplicationTitle(QStringLiteral("ТОО Тест Zarnik 1.2"));

    QPushButton button(QStringLiteral("Удалить"));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] {
        ++clicks;
        if (clicks == 1)
            throw DbError(QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint"));
        if (clicks == 2)
            throw std::runtime_error("out of memory");
    });
    button.show();

    prompts.expectError(QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint"),
                        QStringLiteral("ТОО Тест Zarnik 1.2"));
    prompts.expectError(QStringLiteral("out of memory"), QStringLiteral("ТОО Тест Zarnik 1.2"));
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 3) << "the program goes on after each error";
    EXPECT_FALSE(button.isDown());
    app->setPrompts(nullptr);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    ErrorReportingApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
