#include "send_mail_dialog.h"

#include "checks/email_address.h"
#include "data/email_addresses.h"
#include "data/tdm.h"
#include "printing/document_mail.h"
#include "ui/command.h"
#include "ui/date_edit.h"
#include "ui/prompt_service.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *formObjectName(PrintForm form)
{
    switch (form) {
    case PrintForm::Invoice:
        return "chkInvoice";
    case PrintForm::Act:
        return "chkAct";
    case PrintForm::Waybill:
        return "chkWaybill";
    case PrintForm::VatInvoice:
        return "chkVatInvoice";
    default:
        return "chkForm";
    }
}

} // namespace

SendMailDialog::SendMailDialog(TDM &dm, PromptService &prompts, mail::MailServer server,
                               FormImagesReader readImages, Sender send, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_prompts(prompts), m_server(std::move(server)),
      m_readImages(std::move(readImages)), m_send(std::move(send))
{
    setObjectName(QStringLiteral("frmSendMail"));
    setWindowTitle(QStringLiteral("Отправить по почте"));
    resize(560, 460);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);

    if (!m_dm.TsnRW.isActive())
        m_dm.TsnRW.start();
    const Dataset &docs = *m_dm.DSetDocs;
    m_to = new QLineEdit(
        email_addresses::ofDocumentClient(m_dm.TsnRW, docs.asString(QStringLiteral("BINIIN")),
                                          docs.asString(QStringLiteral("NAMEORG"))));
    m_to->setObjectName(QStringLiteral("edTo"));
    form->addRow(QStringLiteral("Кому:"), m_to);
    m_subject = new QLineEdit(mailSubject(m_dm));
    m_subject->setObjectName(QStringLiteral("edSubject"));
    form->addRow(QStringLiteral("Тема:"), m_subject);
    m_text = new QPlainTextEdit(mailText(m_dm));
    m_text->setObjectName(QStringLiteral("memoText"));
    layout->addWidget(m_text, 1);

    m_formsGroup = new QGroupBox(QStringLiteral("Вложить в письмо (PDF):"));
    auto *formsLayout = new QVBoxLayout(m_formsGroup);
    for (const PrintForm f : mailForms()) {
        auto *box = new QCheckBox(mailFormTitle(f));
        box->setObjectName(QLatin1String(formObjectName(f)));
        box->setChecked(f == PrintForm::Invoice);
        formsLayout->addWidget(box);
        m_forms.emplace_back(f, box);
    }
    m_act = new QCheckBox(mailActTitle());
    m_act->setObjectName(QStringLiteral("chkAktSverki"));
    m_actFrom = new DateEdit;
    m_actFrom->setObjectName(QStringLiteral("dtpActFrom"));
    m_actTo = new DateEdit;
    m_actTo->setObjectName(QStringLiteral("dtpActTo"));
    const auto [actFrom, actTo] = mailActPeriod(m_dm);
    auto *act = new QHBoxLayout;
    act->addWidget(m_act);
    act->addWidget(new QLabel(QStringLiteral("с")));
    act->addWidget(m_actFrom);
    act->addWidget(new QLabel(QStringLiteral("по")));
    act->addWidget(m_actTo);
    act->addStretch();
    for (DateEdit *date : {m_actFrom, m_actTo}) {
        date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        date->setEnabled(false);
        connect(m_act, &QCheckBox::toggled, date, &QWidget::setEnabled);
    }
    m_actFrom->setDate(actFrom);
    m_actTo->setDate(actTo);
    formsLayout->addLayout(act);
    layout->addWidget(m_formsGroup);

    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("pbSending"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setVisible(false);
    layout->addWidget(m_progress);

    auto *buttons = new QDialogButtonBox;
    m_sendButton = buttons->addButton(QStringLiteral("Отправить"), QDialogButtonBox::AcceptRole);
    m_sendButton->setObjectName(QStringLiteral("btnSend"));
    m_sendButton->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    layout->addWidget(buttons);

    connectCommand(m_sendButton, this, m_prompts, [this] { btnSendClick(); });
    connect(cancel, &QPushButton::clicked, this, &SendMailDialog::reject);
}

void SendMailDialog::sendPreviewed(PreviewedForm form, const QString &subject)
{
    if (form.formTitle.isEmpty())
        m_to->clear(); // not the document's: its client is no likelier a recipient than anyone
    m_subject->setText(subject);
    m_formsGroup->setTitle(QStringLiteral("Вложение (PDF):"));
    for (QWidget *child : m_formsGroup->findChildren<QWidget *>())
        child->hide();
    auto *name = new QLabel(form.file.fileName);
    name->setObjectName(QStringLiteral("lblAttachment"));
    m_formsGroup->layout()->addWidget(name);
    m_previewed = std::move(form);
}

void SendMailDialog::reject()
{
    if (m_sending)
        m_cancelled = true; // the sending stops at its next progress
    else
        QDialog::reject();
}

bool SendMailDialog::progress(qint64 sent, qint64 total)
{
    if (total > 0)
        m_progress->setValue(int(sent * 100 / total));
    // The window stays live while the message goes, so that "Отмена" can be pressed.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return !m_cancelled;
}

bool SendMailDialog::attach(mail::Message &message, QStringList &titles)
{
    const TemplateWarning warn = [this](const QString &warning) {
        m_prompts.inform(this, warning);
    };
    if (m_previewed) {
        message.attachments.push_back(m_previewed->file);
        if (!m_previewed->formTitle.isEmpty())
            titles << m_previewed->formTitle;
        return true;
    }
    for (const auto &[form, box] : m_forms) {
        if (!box->isChecked())
            continue;
        if (const QString problem = attachForm(m_dm, form, false, m_readImages, warn, message);
            !problem.isEmpty()) {
            m_prompts.error(this, problem, windowTitle());
            return false;
        }
        titles << mailFormTitle(form);
    }
    if (m_act->isChecked()) {
        if (m_actFrom->date() > m_actTo->date()) {
            m_prompts.error(this, QStringLiteral("Начало периода акта сверки позже его конца."),
                            windowTitle());
            m_actFrom->setFocus();
            return false;
        }
        if (const QString problem = attachReconciliationAct(
                m_dm, m_actFrom->date(), m_actTo->date(), m_readImages, warn, message);
            !problem.isEmpty()) {
            m_prompts.error(this, problem, windowTitle());
            return false;
        }
        titles << mailActTitle();
    }
    if (titles.isEmpty()) {
        m_prompts.error(this, QStringLiteral("Отметьте хотя бы одну форму для отправки."),
                        windowTitle());
        return false;
    }
    return true;
}

void SendMailDialog::btnSendClick()
{
    const QString to = m_to->text().trimmed();
    if (const auto problem = emailAddressProblem(to)) {
        m_prompts.error(this,
                        QStringLiteral("Неверный адрес получателя «%1»: %2.").arg(to, *problem),
                        windowTitle());
        m_to->setFocus();
        return;
    }
    mail::Message message;
    message.to = QStringList{to};
    message.subject = m_subject->text().trimmed();
    message.text = m_text->toPlainText();
    QStringList titles;
    if (!attach(message, titles))
        return;
    if (!m_server.user.isEmpty() && m_server.password.isEmpty()) {
        const auto password =
            m_prompts.askPassword(this, QStringLiteral("Пароль пользователя %1 на сервере %2:")
                                            .arg(m_server.user, m_server.host));
        if (!password)
            return;
        m_server.password = *password;
    }

    m_sending = true;
    m_cancelled = false;
    m_sendButton->setEnabled(false);
    m_progress->setValue(0);
    m_progress->setVisible(true);
    const mail::SendResult result = m_send(
        m_server, message, [this](qint64 sent, qint64 total) { return progress(sent, total); });
    m_sending = false;
    m_sendButton->setEnabled(true);
    m_progress->setVisible(false);
    if (result.cancelled)
        return;
    if (!result.sent()) {
        m_prompts.error(this, result.error, QStringLiteral("Письмо не отправлено"));
        return;
    }
    if (!titles.isEmpty())
        recordSending(m_dm, message, titles,
                      qEnvironmentVariable("USER", qEnvironmentVariable("LOGNAME")));
    m_prompts.inform(this, QStringLiteral("Письмо отправлено на адрес %1.").arg(to));
    accept();
}
