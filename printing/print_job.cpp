#include "print_job.h"

#include "data/listing_statements.h"
#include "data/tdm.h"

#include <map>

QString documentTemplateName(PrintForm form, int vatMode, bool actPortrait, bool waybillPortrait)
{
    switch (form) {
    case PrintForm::Invoice:
        return vatMode == 2 ? QStringLiteral("repSchet_beznds") : QStringLiteral("repSchet");
    case PrintForm::VatInvoice:
        return QStringLiteral("repSchF");
    case PrintForm::Act:
        return actPortrait ? QStringLiteral("repActAlb") : QStringLiteral("repActKn");
    case PrintForm::Waybill:
        return waybillPortrait ? QStringLiteral("repNaklAlb") : QStringLiteral("repNaklKn");
    case PrintForm::CashReceipt:
        return QStringLiteral("repPrix");
    case PrintForm::PowerOfAttorney:
        return QStringLiteral("repDov");
    case PrintForm::PaymentOrder:
        return QStringLiteral("repPlat");
    }
    return {};
}

bool isListingTemplate(const QString &name)
{
    return name == QLatin1String("repKNP") || name == QLatin1String("repOrg") ||
           name == QLatin1String("repNomenkl");
}

void prepareDocumentTotals(TDM &dm, const QString &templateName)
{
    dm.computeDocumentTotals(templateName == QLatin1String("repPlat") ? TotalsForm::PaymentOrder
                                                                      : TotalsForm::Other);
}

void openListing(TDM &dm, const QString &templateName, int kind)
{
    Dataset *dataset = nullptr;
    QString sql;
    if (templateName == QLatin1String("repOrg")) {
        dataset = dm.DSetClients;
        sql = clientsOfKindSql(kind);
        dm.clientsPage = kind;
    } else if (templateName == QLatin1String("repNomenkl")) {
        dataset = dm.DSetNomenkl;
        sql = nomenklOfKindSql(kind);
        dm.nomenklPage = kind;
    } else {
        dataset = dm.DSetKNP;
        sql = dataset->selectSql();
    }
    dataset->close();
    dataset->setSelectSql(sql);
    dataset->open();
}

ReportSources::ReportSources(TDM &dm)
{
    for (const DataSource *source : dm.dataSources()) {
        m_rows.push_back(std::make_unique<DatasetRows>(source->dataset));
        m_sources.insert(QStringLiteral("DM.") + source->name, m_rows.back().get());
    }
}

namespace {

struct FormNames {
    const char *title, *number, *date;
};

const FormNames &formNames(PrintForm form)
{
    static const std::map<PrintForm, FormNames> names = {
        {PrintForm::Invoice, {"Счет", "NUMSCH", "DATASCH"}},
        {PrintForm::VatInvoice, {"Счет-фактура", "NUMSCHF", "DATASCHF"}},
        {PrintForm::Act, {"Акт выполненных работ", "NUMACT", "DATAACT"}},
        {PrintForm::Waybill, {"Накладная", "NUMNAKL", "DATANAKL"}},
        {PrintForm::CashReceipt, {"Приходный кассовый ордер", "NUMPRIX", "DATAPRIX"}},
        {PrintForm::PowerOfAttorney, {"Доверенность", "NUMDOV", "DATADOV"}},
        {PrintForm::PaymentOrder, {"Платежное поручение", "NUMPLAT", "DATAPLAT"}},
    };
    return names.at(form);
}

} // namespace

QString formTitle(PrintForm form)
{
    return QString::fromUtf8(formNames(form).title);
}

QString documentTitle(const TDM &dm, PrintForm form)
{
    return documentTitle(dm, form, formTitle(form));
}

QString documentTitle(const TDM &dm, PrintForm form, const QString &title, bool withClient)
{
    const FormNames &n = formNames(form);
    const Dataset &docs = *dm.DSetDocs;
    QString result = title;
    const QVariant number = docs.value(QString::fromLatin1(n.number));
    if (!number.isNull())
        result += QStringLiteral(" № ") + QString::number(number.toLongLong());
    const QDateTime date = docs.value(QString::fromLatin1(n.date)).toDateTime();
    if (date.isValid())
        result += QStringLiteral(" от ") + date.date().toString(u"dd.MM.yyyy");
    const QString client = docs.asString(QStringLiteral("NAMEORG"));
    if (withClient && !client.isEmpty())
        result += QStringLiteral(" — ") + client;
    return result;
}

QString printCurrentDocument(TDM &dm, PrintForm form, bool actPortrait, bool waybillPortrait,
                             const FormImagesReader &readImages, const ReportShower &show,
                             const TemplateWarning &warn)
{
    const QString name = documentTemplateName(form, dm.vatMode(), actPortrait, waybillPortrait);
    // The template is read before the document is touched, so that a form that cannot be
    // printed changes nothing.
    FormTemplate loaded = loadFormTemplate(dm, name);
    if (!loaded.report)
        return loaded.error;
    if (!loaded.warning.isEmpty() && warn)
        warn(loaded.warning);
    zreport::TfrxReport *report = loaded.report.get();
    prepareDocumentTotals(dm, name);
    report->documentTitle = documentTitle(dm, form);
    if (readImages)
        report->images = readImages(pictureImageNames(*report));
    const ReportSources sources(dm);
    show(*report, sources.sources());
    return {};
}
