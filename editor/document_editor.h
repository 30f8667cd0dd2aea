#pragma once

#include "document_pickers.h"
#include "editor_mode.h"
#include "ui/dialog_runner.h"

class PromptService;
class QWidget;
class TDM;

// Opens the document editor over parent in `mode`, runs it (modally
// unless run says otherwise) and gives its result, QDialog::Accepted or Rejected. A
// document that cannot be opened at all (a database error while the new one is made) is
// reported and counts as cancelled.
int openDocumentEditor(TDM &dm, PromptService &prompts, const DocumentPickers &pickers,
                       EditorMode mode, QWidget *parent, const DialogRunner &run = execDialog);
