#include "document_editor.h"

#include "tfrm_schet.h"
#include "ui/command.h"

#include <memory>

int openDocumentEditor(TDM &dm, PromptService &prompts, const DocumentPickers &pickers,
                       EditorMode mode, QWidget *parent, const DialogRunner &run)
{
    std::unique_ptr<TfrmSchet> editor;
    if (!runCommand(prompts, parent, [&] {
            editor = std::make_unique<TfrmSchet>(dm, prompts, pickers, mode, parent);
        }))
        return QDialog::Rejected;
    return run(*editor);
}
