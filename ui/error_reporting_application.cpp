#include "error_reporting_application.h"

#include "application_title.h"
#include "data/db_error.h"
#include "prompt_service.h"

#include <cstdio>

ErrorReportingApplication::ErrorReportingApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{}

bool ErrorReportingApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DbError &e) {
        report(e.message());
    } catch (const std::exception &e) {
        report(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void ErrorReportingApplication::report(const QString &message)
{
    if (!m_prompts) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return;
    }
    QWidget *parent = activeModalWidget();
    if (!parent)
        parent = activeWindow();
    m_prompts->error(parent, message, applicationTitle());
}
