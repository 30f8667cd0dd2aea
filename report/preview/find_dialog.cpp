#include "find_dialog.h"

#include "dialog_buttons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace zpreview {

FindDialog::FindDialog(const QString &text, bool caseSensitive, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("findDialog"));
    setWindowTitle(QStringLiteral("Искать текст"));
    m_text = new QLineEdit(text, this);
    m_text->setObjectName(QStringLiteral("findTextEdit"));
    m_fromStart = new QCheckBox(QStringLiteral("Искать с начала"), this);
    m_fromStart->setObjectName(QStringLiteral("fromStartCheck"));
    m_case = new QCheckBox(QStringLiteral("Различать регистр"), this);
    m_case->setObjectName(QStringLiteral("caseSensitiveCheck"));
    m_case->setChecked(caseSensitive);
    auto *buttons = okCancelButtons(this);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Текст:"), m_text);
    form->addRow(m_fromStart);
    form->addRow(m_case);
    form->addRow(buttons);
}

QString FindDialog::text() const
{
    return m_text->text();
}

bool FindDialog::fromStart() const
{
    return m_fromStart->isChecked();
}

bool FindDialog::caseSensitive() const
{
    return m_case->isChecked();
}

} // namespace zpreview
