#pragma once

#include "report/preview/preview_hooks.h"
#include "ui/dialog_runner.h"

#include <QString>

class PasswordStore;
class PromptService;
class TDM;
class TfrmMain;

// "Настройки почты..." and "Отправить по почте..." in the main window's "Сервис" menu: the
// office's mail server, and the register's current document sent to its client.
void addMailCommands(TfrmMain &main, TDM &dm, PromptService &prompts, PasswordStore &passwords,
                     DialogRunner runDialog);

// The preview's "Отослать по E-mail": the previewed form through the send window, addressed
// to the current document's client, once a mail server is set up in the settings (the
// program's settings file when settingsFile is empty); without one, false, and the preview
// hands the form to the desktop's mail program.
decltype(zpreview::PreviewHooks::sendEmail) previewMailSender(TDM &dm, PromptService &prompts,
                                                              PasswordStore &passwords,
                                                              DialogRunner runDialog,
                                                              QString settingsFile = {});
