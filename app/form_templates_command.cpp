#include "form_templates_command.h"

#include "tfrm_main.h"
#include "ui/command.h"

#include <QMenu>

void addFormTemplatesCommand(TfrmMain &main, TDM &dm, PromptService &prompts,
                             DialogRunner runDialog, FormTemplatesDialog::OpenDesigner openDesigner)
{
    QAction *action = main.serviceMenu()->addAction(QStringLiteral("Бланки документов..."));
    action->setObjectName(QStringLiteral("actFormTemplates"));
    connectCommand(action, &QAction::triggered, &main, prompts,
                   [&main, &dm, &prompts, runDialog, openDesigner] {
                       FormTemplatesDialog dialog(dm, prompts, openDesigner, &main);
                       runDialog(dialog);
                   });
}
