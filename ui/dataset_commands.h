#pragma once

#include <QString>
#include <QVariantMap>

#include <functional>
#include <initializer_list>

class Dataset;
class PromptService;
class QWidget;

// Steps that the list windows share over their datasets.

extern const QString kDeleteQuestion; // "Вы действительно хотите удалить выдленную запись?"
extern const QString kEmptyCannotDelete; // "Таблица пуста. Невозможно удалить!"

// Posts a pending change, reopens dataset with another statement (a new order, say) and
// moves back to the row that was current, by its KOD; the first row when that row is gone.
void reopenAtSameRow(Dataset &dataset, const QString &sql, const QVariantMap &parameters = {});

// Posts a pending change and reopens dataset with another statement, on its first row.
void reopen(Dataset &dataset, const QString &sql, const QVariantMap &parameters = {});

// The delete command of a list: on an empty list says so; otherwise asks, and on Yes runs
// remove (the current row's deletion by default). True when the row was deleted.
bool confirmDelete(PromptService &prompts, QWidget *parent, Dataset &dataset,
                   const std::function<void()> &remove = {});

// Puts the current row into editing unless it is being edited or inserted already.
void ensureEditing(Dataset &dataset);

// Copies the values of fields (of the same names in both) from the current row of from into
// the current row of to, which is put into editing first.
void copyFields(const Dataset &from, Dataset &to, std::initializer_list<const char *> fields);

// Stores an empty new row at once; the user types its values into the grid afterwards.
void addEmptyRow(Dataset &dataset);
