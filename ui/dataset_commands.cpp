#include "dataset_commands.h"

#include "data/dataset.h"
#include "prompt_service.h"

const QString kDeleteQuestion = QStringLiteral("Вы действительно хотите удалить выдленную запись?");
const QString kEmptyCannotDelete = QStringLiteral("Таблица пуста. Невозможно удалить!");

void reopen(Dataset &dataset, const QString &sql, const QVariantMap &parameters)
{
    if (dataset.isEditing())
        dataset.post();
    dataset.close();
    dataset.setSelectSql(sql, parameters);
    dataset.open();
}

void reopenAtSameRow(Dataset &dataset, const QString &sql, const QVariantMap &parameters)
{
    const qint64 kod = dataset.isActive() ? dataset.asInteger(QStringLiteral("KOD")) : 0;
    reopen(dataset, sql, parameters);
    dataset.locate(kod);
}

bool confirmDelete(PromptService &prompts, QWidget *parent, Dataset &dataset,
                   const std::function<void()> &remove)
{
    if (dataset.isEmpty()) {
        prompts.inform(parent, kEmptyCannotDelete);
        return false;
    }
    if (!prompts.confirm(parent, kDeleteQuestion))
        return false;
    if (remove)
        remove();
    else
        dataset.remove();
    return true;
}

void ensureEditing(Dataset &dataset)
{
    if (!dataset.isEditing())
        dataset.edit();
}

void copyFields(const Dataset &from, Dataset &to, std::initializer_list<const char *> fields)
{
    ensureEditing(to);
    for (const char *field : fields) {
        const QString name = QString::fromLatin1(field);
        to.setValue(name, from.value(name));
    }
}

void addEmptyRow(Dataset &dataset)
{
    dataset.insert();
    dataset.post();
}
