#include "field_links.h"

#include "command.h"
#include "dataset.h"
#include "numeric_key_filter.h"
#include "radio_group.h"

#include <QLineEdit>

FieldLinks::FieldLinks(Dataset *dataset, PromptService &prompts, QWidget *window)
    : QObject(window), m_dataset(dataset), m_prompts(prompts), m_window(window)
{
    connect(dataset, &Dataset::stateChanged, this, [this] {
        // Posting or cancelling ends whatever was typed and not written.
        if (!m_dataset->isEditing())
            m_typed.clear();
        refresh();
    });
    connect(dataset, &Dataset::currentChanged, this, &FieldLinks::refresh);
    connect(dataset, &Dataset::rowChanged, this, &FieldLinks::refresh);
    connect(dataset, &Dataset::reset, this, &FieldLinks::refresh);
}

void FieldLinks::bind(QLineEdit *box, const QString &field)
{
    m_boxes.push_back({box, field});
    const FieldDef &def = m_dataset->field(field);
    if (def.type == FieldType::Text && def.size > 0)
        box->setMaxLength(def.size);
    if (def.type == FieldType::Integer || def.type == FieldType::SmallInt)
        NumericKeyFilter::install(box, NumericKeyFilter::Kind::Integer);
    else if (def.type == FieldType::Float)
        NumericKeyFilter::install(box, NumericKeyFilter::Kind::Fractional);
    connect(box, &QLineEdit::textEdited, this, [this, box] {
        m_typed.insert(box);
        runCommand(m_prompts, m_window, [this] { startEditing(); });
    });
    connect(box, &QLineEdit::editingFinished, this,
            [this, box] { runCommand(m_prompts, m_window, [this, box] { write(box); }); });
    refresh();
}

void FieldLinks::bind(RadioGroup *group, const QString &field)
{
    m_groups.push_back({group, field});
    connect(group, &RadioGroup::itemClicked, this, [this, field](int index) {
        runCommand(m_prompts, m_window, [this, field, index] {
            startEditing();
            m_dataset->setValue(field, index);
        });
        refresh(); // a refused choice shows the field's value again
    });
    refresh();
}

void FieldLinks::startEditing()
{
    if (!m_dataset->isEditing())
        m_dataset->edit();
}

void FieldLinks::write(QLineEdit *box)
{
    if (!m_typed.count(box))
        return;
    for (const BoxLink &link : m_boxes) {
        if (link.box != box)
            continue;
        startEditing();
        // A text that is not a value of the field throws and stays in the box to be put right.
        m_dataset->setAsString(link.field, box->text());
        m_typed.erase(box);
        refresh();
    }
}

void FieldLinks::updateRecord()
{
    for (const BoxLink &link : m_boxes)
        write(link.box);
}

void FieldLinks::refresh()
{
    const bool active = m_dataset->isActive();
    for (const BoxLink &link : m_boxes) {
        if (m_typed.count(link.box))
            continue;
        const QString text = active ? m_dataset->displayText(link.field) : QString();
        if (link.box->text() != text) {
            link.box->setText(text);
            link.box->setCursorPosition(0); // the start of a long text is what tells
        }
    }
    for (const GroupLink &link : m_groups) {
        const QVariant value = active ? m_dataset->value(link.field) : QVariant();
        link.group->setItemIndex(value.isNull() ? -1 : value.toInt());
    }
}
