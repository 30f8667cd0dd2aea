#include "debtors_command.h"

#include "tfrm_main.h"
#include "ui/command.h"

#include <QMenu>

void addDebtorsCommand(TfrmMain &main, TDM &dm, PromptService &prompts, ReportShower showReport,
                       DialogRunner runDialog, TfrmDolzhniki::ReconciliationAct act)
{
    QMenu *menu = main.serviceMenu();
    auto *action = new QAction(QStringLiteral("Должники..."), menu);
    action->setObjectName(QStringLiteral("actDolzhniki"));
    QAction *first = menu->actions().isEmpty() ? nullptr : menu->actions().front();
    menu->insertAction(first, action);
    if (first)
        menu->insertSeparator(first);
    connectCommand(action, &QAction::triggered, &main, prompts,
                   [&main, &dm, &prompts, showReport, runDialog, act] {
                       TfrmDolzhniki window(dm, prompts, showReport, &main);
                       window.setReconciliationAct(act);
                       runDialog(window);
                   });
}
