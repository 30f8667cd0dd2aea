#pragma once

#include "imports/import_plan.h"
#include "imports/import_table.h"

#include <QDialog>

#include <memory>

class ExistingRows;
class PromptService;
class QComboBox;
class TDM;
namespace Ui {
class TfrmImport;
}

// The import of a table file into the goods or the clients: the first rows as they are read,
// the column of each field, what to do with names already there, the summary and the errors
// before anything is written, then all accepted rows written in one step, which "Отмена"
// undoes while it runs.
class TfrmImport : public QDialog {
    Q_OBJECT

public:
    // kind: that of rows without a kind column (the list's active tab). rememberedMapping:
    // the mapping of the last import, used where it fits this file's header.
    TfrmImport(TDM &dm, PromptService &prompts, ImportTarget target, int kind, ImportTable table,
               const QString &rememberedMapping, QWidget *parent = nullptr);
    ~TfrmImport() override;

    const ImportPlan &plan() const { return m_plan; }
    // The mapping in use, as the next import remembers it.
    QString mappingText() const;

    // Esc and the close box while rows are written cancel the writing first.
    void reject() override;

private:
    void fillPreview();
    void fillMapping(const ColumnMapping &mapping);
    ColumnMapping chosenMapping() const;
    DuplicateChoice chosenDuplicates() const;
    void replan();
    // The choices are frozen while the rows are written.
    void setChoicesEnabled(bool enabled);
    void btnImportClick();
    void btnCancelClick();
    bool showProgress(int done, int total);

    std::unique_ptr<Ui::TfrmImport> m_ui;
    TDM &m_dm;
    PromptService &m_prompts;
    ImportTarget m_target;
    int m_kind;
    ImportTable m_table;
    std::unique_ptr<ExistingRows> m_existing;
    std::vector<std::pair<QString, QComboBox *>> m_columnBoxes;
    ImportPlan m_plan;
    bool m_writing = false;
    bool m_cancelRequested = false;
};
