#pragma once

#include <QApplication>

class PromptService;

// The application object of the program. Commands catch their own errors (command.h); this
// is only the last net for one that escaped all the same: it is shown in an error box
// captioned with the application title, and the program goes on with its next event.
class ErrorReportingApplication : public QApplication {
public:
    ErrorReportingApplication(int &argc, char **argv);

    void setPrompts(PromptService *prompts) { m_prompts = prompts; }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    void report(const QString &message);

    PromptService *m_prompts = nullptr;
};
