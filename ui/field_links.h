#pragma once

#include <QObject>

#include <set>
#include <vector>

class Dataset;
class PromptService;
class QWidget;
class QLineEdit;
class RadioGroup;

// Binds edit boxes and radio groups to fields of a dataset's current row. A box shows its
// field; typing into it puts the row into editing (on an empty dataset: starts a new row),
// and the typed text goes into the field when the box is left or when updateRecord() runs,
// which a window calls before it posts. Boxes of numeric fields refuse other characters.
// A radio group's item index is its field's value.
//
// A text the field cannot take (or a row that cannot be edited) is shown as an error
// through prompts when the box is left, and stays in the box to be put right; the row keeps
// its state. updateRecord() throws it instead, to the command that called it.
class FieldLinks : public QObject {
public:
    FieldLinks(Dataset *dataset, PromptService &prompts, QWidget *window);

    void bind(QLineEdit *box, const QString &field);
    // emptyIndex: the item shown while the field is empty, for a field whose empty value
    // the program reads as one of the items.
    void bind(RadioGroup *group, const QString &field, int emptyIndex = -1);

    // Writes every typed text that has not reached its field yet.
    void updateRecord();

private:
    struct BoxLink {
        QLineEdit *box;
        QString field;
    };
    struct GroupLink {
        RadioGroup *group;
        QString field;
        int emptyIndex;
    };

    void startEditing();
    void write(QLineEdit *box);
    // Refuses, naming the box by its label, a text that is not a value of a numeric field or
    // that holds characters the database cannot store.
    void checkValue(const BoxLink &link) const;
    void refresh();

    Dataset *m_dataset;
    PromptService &m_prompts;
    QWidget *m_window;
    std::vector<BoxLink> m_boxes;
    std::vector<GroupLink> m_groups;
    std::set<QLineEdit *> m_typed; // boxes whose text has not reached the field yet
};
