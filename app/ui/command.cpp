#include "command.h"

#include "application_title.h"
#include "data/db_error.h"
#include "prompt_service.h"

void reportError(PromptService &prompts, QWidget *parent, const QString &message)
{
    prompts.error(parent, message, applicationTitle());
}

bool runCommand(PromptService &prompts, QWidget *parent, const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const DbError &e) {
        reportError(prompts, parent, e.message());
    } catch (const std::exception &e) {
        reportError(prompts, parent, QString::fromLocal8Bit(e.what()));
    }
    return false;
}
