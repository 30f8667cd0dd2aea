#include "email_box.h"

#include "checks/email_address.h"
#include "data/email_addresses.h"

EmailBox::EmailBox(const QString &owner, QWidget *parent) : QLineEdit(parent), m_owner(owner)
{
    setObjectName(QStringLiteral("edEMAIL"));
    setPlaceholderText(QStringLiteral("buh@example.kz"));
    connect(this, &QLineEdit::textChanged, this, &EmailBox::mark);
}

void EmailBox::load(FbTransaction &transaction)
{
    m_stored = email_addresses::of(transaction, m_owner);
    setText(m_stored);
    mark();
}

void EmailBox::save(FbTransaction &transaction)
{
    if (text().trimmed() == m_stored)
        return;
    email_addresses::set(transaction, m_owner, text());
    m_stored = text().trimmed();
}

void EmailBox::mark()
{
    const QString typed = text().trimmed();
    const auto problem = typed.isEmpty() ? std::nullopt : emailAddressProblem(typed);
    m_wrong = problem.has_value();
    setToolTip(problem ? QStringLiteral("Не похоже на адрес электронной почты: %1").arg(*problem)
                       : QString());
    setStyleSheet(m_wrong ? QStringLiteral("QLineEdit { border: 2px solid #d00000; }") : QString());
}
