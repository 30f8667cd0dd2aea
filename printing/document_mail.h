#pragma once

#include "form_images.h"
#include "print_job.h"

#include "mail/message.h"

#include <QDate>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class TDM;

// A document sent by e-mail: its forms rendered as PDF attachments exactly as they print, the
// subject and text of the message, and the record of what was sent.

// The forms a document is sent as, in the order they are offered: the invoice, the act, the
// waybill and the VAT invoice.
const std::vector<PrintForm> &mailForms();
// "Счет на оплату", "Акт выполненных работ", "Накладная", "Счет-фактура".
QString mailFormTitle(PrintForm form);
// The current document's message subject: "Счет на оплату № 7 от 01.12.2026 — ТОО «Заря»".
QString mailSubject(const TDM &dm);
// The message's text until the user changes it.
QString mailText(const TDM &dm);

// Renders the current document as form into a PDF and adds it to message's attachments, named
// "Счет на оплату № 7 от 01.12.2026.pdf". The totals are worked out as for printing and left in
// editing state, as the printing commands leave them; a stored form that does not load is told
// to warn, and the built-in one attached. Gives why it could not, or an empty
// text; database errors are thrown.
// portrait chooses the upright act or waybill.
QString attachForm(TDM &dm, PrintForm form, bool portrait, const FormImagesReader &readImages,
                   const TemplateWarning &warn, mail::Message &message);

// The form of the current document that a report titled title prints (as printing titles its
// print job), or nothing for any other report.
std::optional<PrintForm> documentFormTitled(const TDM &dm, const QString &title);
// The file name form is attached as: "Счет на оплату № 7 от 01.12.2026.pdf".
QString mailFileName(const TDM &dm, PrintForm form);

// The reconciliation act with the current document's client, offered beside its forms.
QString mailActTitle(); // "Акт сверки взаиморасчетов"
// From the first day of the quarter of the document's invoice date (today's where it has
// none) to that date.
std::pair<QDate, QDate> mailActPeriod(const TDM &dm);
// Renders the act over from..to into a PDF attachment of message, as attachForm does.
QString attachReconciliationAct(TDM &dm, QDate from, QDate to, const FormImagesReader &readImages,
                                const TemplateWarning &warn, mail::Message &message);

// Records that the server took the current document's message with the given forms, in a
// transaction of its own committed at once. Throws DbError.
void recordSending(TDM &dm, const mail::Message &message, const QStringList &formTitles,
                   const QString &user);
