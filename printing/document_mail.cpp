#include "document_mail.h"

#include "data/fb_connection.h"
#include "data/mail_sendings.h"
#include "data/reconciliation_act.h"
#include "data/tdm.h"
#include "reconciliation_rows.h"
#include "report/report_engine.h"
#include "report/report_output.h"

#include <QBuffer>

const std::vector<PrintForm> &mailForms()
{
    static const std::vector<PrintForm> forms = {PrintForm::Invoice, PrintForm::Act,
                                                 PrintForm::Waybill, PrintForm::VatInvoice};
    return forms;
}

QString mailFormTitle(PrintForm form)
{
    // The invoice is named in full, as its form heads itself; the others as they print.
    if (form == PrintForm::Invoice)
        return QStringLiteral("Счет на оплату");
    return formTitle(form);
}

QString mailSubject(const TDM &dm)
{
    return documentTitle(dm, PrintForm::Invoice, mailFormTitle(PrintForm::Invoice));
}

QString mailText(const TDM &dm)
{
    return QStringLiteral("Здравствуйте!\n\nНаправляем документы: %1.\n\nС уважением,\n%2\n")
        .arg(mailSubject(dm), dm.DSetRekvizity->asString(QStringLiteral("NAMEORG")));
}

namespace {

// A shower that lays the report out and writes it as a PDF into pdf, or says in failure why
// it could not.
ReportShower pdfWriter(QByteArray &pdf, QString &failure, const QString &formName)
{
    return [&pdf, &failure, formName](const zreport::TfrxReport &report,
                                      const zreport::DataSources &sources) {
        zreport::ReportEngine engine(report, sources);
        engine.run();
        if (!engine.errors().isEmpty()) {
            failure = zreport::runErrorsText(engine.errors());
            return;
        }
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        if (!zreport::writePreparedPdf(engine.prepared(), buffer, {}, report.documentTitle))
            failure = QStringLiteral("Не удалось записать PDF формы «%1».").arg(formName);
    };
}

QDate documentDate(const TDM &dm)
{
    const QDate date = dm.DSetDocs->value(QStringLiteral("DATASCH")).toDate();
    return date.isValid() ? date : QDate::currentDate();
}

} // namespace

std::optional<PrintForm> documentFormTitled(const TDM &dm, const QString &title)
{
    if (title.isEmpty() || dm.DSetDocs->isEmpty())
        return std::nullopt;
    for (const PrintForm form :
         {PrintForm::Invoice, PrintForm::VatInvoice, PrintForm::Act, PrintForm::Waybill,
          PrintForm::CashReceipt, PrintForm::PowerOfAttorney, PrintForm::PaymentOrder}) {
        if (documentTitle(dm, form) == title)
            return form;
    }
    return std::nullopt;
}

QString mailFileName(const TDM &dm, PrintForm form)
{
    // The client's name stays out of the file name: it is the recipient's own.
    QString fileName = documentTitle(dm, form, mailFormTitle(form), false) + QStringLiteral(".pdf");
    fileName.replace(u'/', u'-');
    return fileName;
}

QString attachForm(TDM &dm, PrintForm form, bool portrait, const FormImagesReader &readImages,
                   const TemplateWarning &warn, mail::Message &message)
{
    QString failure;
    QByteArray pdf;
    const QString error = printCurrentDocument(dm, form, portrait, portrait, readImages,
                                               pdfWriter(pdf, failure, mailFormTitle(form)), warn);
    if (!error.isEmpty())
        return error;
    if (!failure.isEmpty())
        return failure;
    message.attachments.push_back({mailFileName(dm, form), pdf});
    return {};
}

QString mailActTitle()
{
    return QStringLiteral("Акт сверки взаиморасчетов");
}

std::pair<QDate, QDate> mailActPeriod(const TDM &dm)
{
    const QDate to = documentDate(dm);
    return {QDate(to.year(), (to.month() - 1) / 3 * 3 + 1, 1), to};
}

QString attachReconciliationAct(TDM &dm, QDate from, QDate to, const FormImagesReader &readImages,
                                const TemplateWarning &warn, mail::Message &message)
{
    if (!dm.TsnRW.isActive())
        dm.TsnRW.start();
    const Dataset &docs = *dm.DSetDocs;
    const ReconciliationAct act =
        reconciliationAct(dm.TsnRW,
                          {docs.asString(QStringLiteral("NAMEORG")),
                           docs.asString(QStringLiteral("BINIIN")).trimmed()},
                          from, to);
    QString failure;
    QByteArray pdf;
    const QString error = showReconciliationAct(dm, act, {}, false, readImages,
                                                pdfWriter(pdf, failure, mailActTitle()), warn);
    if (!error.isEmpty())
        return error;
    if (!failure.isEmpty())
        return failure;
    message.attachments.push_back(
        {QStringLiteral("%1 за %2 - %3.pdf")
             .arg(mailActTitle(), from.toString(u"dd.MM.yyyy"), to.toString(u"dd.MM.yyyy")),
         pdf});
    return {};
}

void recordSending(TDM &dm, const mail::Message &message, const QStringList &formTitles,
                   const QString &user)
{
    FbTransaction transaction(dm.ZNDB);
    transaction.start();
    mail_sendings::record(transaction, {dm.DSetDocs->value(QStringLiteral("KOD")).toInt(),
                                        QDateTime::currentDateTime(),
                                        message.to.join(QStringLiteral(", ")), formTitles, user});
    transaction.commit();
}
