#include "document_editor.h"

#include "ui/command.h"
#include "tfrm_schet.h"

#include <memory>

int openDocumentEditor(TDM &dm, PromptService &prompts, const DocumentPickers &pickers,
                       QWidget *parent, const DialogRunner &run)
{
    std::unique_ptr<TfrmSchet> editor;
    if (!runCommand(prompts, parent,
                    [&] { editor = std::make_unique<TfrmSchet>(dm, prompts, pickers, parent); }))
        return QDialog::Rejected;
    return run(*editor);
}
