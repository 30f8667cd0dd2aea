#pragma once

#include "data/dataset_model.h"

#include <QTableView>

#include <map>
#include <vector>

class Dataset;
class PromptService;

// A grid over a dataset. The grid's current row and the dataset's current row are one:
// moving in the grid moves the dataset (posting a changed row, as moving does), and
// moving the dataset (locate, insert, reopen) moves the grid. Titles are navy and bold;
// columns can be resized by the user and keep their widths when the dataset reopens.
// A row the dataset refuses to leave (a change it cannot post) or a cell value it cannot
// take is shown as an error through the grid's prompt service, and the grid stays on that
// row, where the user can put it right.
class DbGrid : public QTableView {
    Q_OBJECT

public:
    struct Column {
        QString field;
        QString title;      // the field's label when empty
        int width = 0;      // pixels; 0 sizes the column by characters
        int characters = 0; // width in characters; 0 takes the field's own
    };

    explicit DbGrid(QWidget *parent = nullptr);

    // Shows dataset; without columns the grid shows its visible fields with their labels.
    void setDataset(Dataset *dataset, std::vector<Column> columns = {});
    Dataset *dataset() const { return m_dataset; }
    DatasetModel *datasetModel() const { return m_model; }

    // A read-only grid selects whole rows; an editable one edits its cells in place.
    void setEditable(bool editable);

    // Who shows the errors of moving between rows and of editing cells.
    void setPrompts(PromptService &prompts) { m_prompts = &prompts; }

    // The field shown in a column.
    QString fieldName(int column) const;

Q_SIGNALS:
    // A click on a column title.
    void titleClicked(int column);
    // A double click anywhere in the grid's rows area, on a row or not.
    void gridDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void followDataset(int row);
    void followGrid(const QModelIndex &current);
    void applyWidths();
    int characterWidth(int column) const;
    void reportError(const QString &message);

    Dataset *m_dataset = nullptr;
    PromptService *m_prompts = nullptr;
    DatasetModel *m_model = nullptr;
    std::map<QString, int> m_widths;     // by field: the width given, or set by the user
    std::map<QString, int> m_characters; // by field: the width in characters given
    bool m_modelChanging = false;
    bool m_syncing = false;
    bool m_applyingWidths = false;
};
