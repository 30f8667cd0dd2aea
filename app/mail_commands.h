#pragma once

#include "ui/dialog_runner.h"

class PasswordStore;
class PromptService;
class TDM;
class TfrmMain;

// "Настройки почты..." and "Отправить по почте..." in the main window's "Сервис" menu: the
// office's mail server, and the register's current document sent to its client.
void addMailCommands(TfrmMain &main, TDM &dm, PromptService &prompts, PasswordStore &passwords,
                     DialogRunner runDialog);
