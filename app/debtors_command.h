#pragma once

#include "printing/report_shower.h"
#include "tfrm_dolzhniki.h"
#include "ui/dialog_runner.h"

class PromptService;
class TDM;
class TfrmMain;

// "Должники..." at the top of the main window's "Сервис" menu: the debtors' window, modal,
// printing through `showReport` and opening the reconciliation act through `act` (none: the
// window's "Акт сверки..." stays disabled).
void addDebtorsCommand(TfrmMain &main, TDM &dm, PromptService &prompts, ReportShower showReport,
                       DialogRunner runDialog, TfrmDolzhniki::ReconciliationAct act = {});
