#include "field_links.h"

#include "command.h"
#include "data/dataset.h"
#include "data/db_error.h"
#include "data/display_format.h"
#include "data/kz1048.h"
#include "numeric_key_filter.h"
#include "radio_group.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

namespace {

// The name the user knows a box by: the text of its label, without the colon.
QString caption(const QLineEdit &box, const QString &field)
{
    for (const QLabel *label : box.window()->findChildren<QLabel *>()) {
        if (label->buddy() == &box) {
            QString text = label->text().remove(QLatin1Char('&')).trimmed();
            if (text.endsWith(QLatin1Char(':')))
                text.chop(1);
            return text;
        }
    }
    return field;
}

} // namespace

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

void FieldLinks::bind(RadioGroup *group, const QString &field, int emptyIndex)
{
    m_groups.push_back({group, field, emptyIndex});
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
        // A text that is not a value of the field throws and stays in the box to be put right.
        checkValue(link);
        startEditing();
        m_dataset->setAsString(link.field, box->text());
        m_typed.erase(box);
        refresh();
    }
}

void FieldLinks::checkValue(const BoxLink &link) const
{
    const FieldType type = m_dataset->field(link.field).type;
    const QString text = link.box->text();
    if (type == FieldType::Text) {
        if (!kz1048::encode(text))
            throw DbError(unstorableText(caption(*link.box, link.field), text));
        return;
    }
    if (type == FieldType::DateTime || display::parse(text, type))
        return;
    const QString name = caption(*link.box, link.field);
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?\\d+$"));
    if ((type == FieldType::SmallInt || type == FieldType::Integer) &&
        wholeNumber.match(text.trimmed()).hasMatch()) {
        const bool small = type == FieldType::SmallInt;
        throw DbError(QStringLiteral("Значение %1 поля «%2» вне допустимого диапазона: "
                                     "допустимы целые числа от %3 до %4.")
                          .arg(text.trimmed(), name, QString::number(small ? -32768 : INT32_MIN),
                               QString::number(small ? 32767 : INT32_MAX)));
    }
    throw DbError(
        QStringLiteral("«%1» не является допустимым значением поля «%2».").arg(text, name));
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
        const int emptyIndex = active ? link.emptyIndex : -1;
        link.group->setItemIndex(value.isNull() ? emptyIndex : value.toInt());
    }
}
