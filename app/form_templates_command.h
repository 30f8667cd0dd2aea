#pragma once

#include "form_templates_dialog.h"
#include "ui/dialog_runner.h"

class PromptService;
class TDM;
class TfrmMain;

// "Бланки документов..." in the main window's "Сервис" menu: the forms the business may change
// (FormTemplatesDialog), with openDesigner behind its "Изменить...".
void addFormTemplatesCommand(TfrmMain &main, TDM &dm, PromptService &prompts,
                             DialogRunner runDialog,
                             FormTemplatesDialog::OpenDesigner openDesigner = {});
