#include "document_editor.h"

#include "application_title.h"
#include "db_error.h"
#include "prompt_service.h"
#include "tfrm_schet.h"

#include <memory>

int openDocumentEditor(TDM &dm, PromptService &prompts, const DocumentPickers &pickers,
                       QWidget *parent, const DialogRunner &run)
{
    std::unique_ptr<TfrmSchet> editor;
    try {
        editor = std::make_unique<TfrmSchet>(dm, prompts, pickers, parent);
    } catch (const DbError &e) {
        prompts.error(parent, e.message(), applicationTitle());
        return QDialog::Rejected;
    }
    return run(*editor);
}
