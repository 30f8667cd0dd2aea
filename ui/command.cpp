#include "command.h"

#include "application_title.h"
#include "data/connection_loss.h"
#include "data/db_error.h"
#include "prompt_service.h"

void reportError(PromptService &prompts, QWidget *parent, const QString &message)
{
    prompts.error(parent, message, applicationTitle());
}

namespace {

enum class Outcome { Done, Failed, ConnectionLost };

Outcome run(PromptService &prompts, QWidget *parent, const std::function<void()> &command)
{
    try {
        command();
        return Outcome::Done;
    } catch (const DbError &e) {
        reportError(prompts, parent, e.message());
        return connection_loss::isLost(e) ? Outcome::ConnectionLost : Outcome::Failed;
    } catch (const std::exception &e) {
        reportError(prompts, parent, QString::fromLocal8Bit(e.what()));
    }
    return Outcome::Failed;
}

} // namespace

bool runClosingCommand(PromptService &prompts, QWidget *parent,
                       const std::function<void()> &command)
{
    return run(prompts, parent, command) != Outcome::Failed;
}

bool runCommand(PromptService &prompts, QWidget *parent, const std::function<void()> &command)
{
    return run(prompts, parent, command) == Outcome::Done;
}
