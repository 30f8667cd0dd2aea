#include "document_mail.h"

#include "data/fb_connection.h"
#include "data/mail_sendings.h"
#include "data/tdm.h"
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

QString attachForm(TDM &dm, PrintForm form, bool portrait, const FormImagesReader &readImages,
                   const TemplateWarning &warn, mail::Message &message)
{
    QString failure;
    QByteArray pdf;
    const QString error = printCurrentDocument(
        dm, form, portrait, portrait, readImages,
        [&](const zreport::TfrxReport &report, const zreport::DataSources &sources) {
            zreport::ReportEngine engine(report, sources);
            engine.run();
            if (!engine.errors().isEmpty()) {
                failure = zreport::runErrorsText(engine.errors());
                return;
            }
            QBuffer buffer(&pdf);
            buffer.open(QIODevice::WriteOnly);
            if (!zreport::writePreparedPdf(engine.prepared(), buffer, {}, report.documentTitle))
                failure =
                    QStringLiteral("Не удалось записать PDF формы «%1».").arg(mailFormTitle(form));
        },
        warn);
    if (!error.isEmpty())
        return error;
    if (!failure.isEmpty())
        return failure;
    // The client's name stays out of the file name: it is the recipient's own.
    QString fileName = documentTitle(dm, form, mailFormTitle(form), false) + QStringLiteral(".pdf");
    fileName.replace(u'/', u'-');
    message.attachments.push_back({fileName, pdf});
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
