#pragma once

#include "dataset_rows.h"
#include "form_images.h"
#include "form_template.h"
#include "report/report_rows.h"
#include "report_shower.h"

#include <QString>

#include <memory>
#include <vector>

class TDM;

// The printed forms of one document, one per printing command.
enum class PrintForm {
    Invoice,
    VatInvoice,
    Act,
    Waybill,
    CashReceipt,
    PowerOfAttorney,
    PaymentOrder
};

// The template that prints form: the invoice without VAT when the business works without
// VAT, the act and the waybill upright or lying by the choice of the orientation toggles.
QString documentTemplateName(PrintForm form, int vatMode, bool actPortrait, bool waybillPortrait);

// What the current document printed as form is called, for its print job:
// "Счет № 7 от 01.12.2026 — ТОО «Заря»", without the parts the document does not hold.
QString documentTitle(const TDM &dm, PrintForm form);
// The same with the form called title ("Счет на оплату"), and the client left out on request.
QString documentTitle(const TDM &dm, PrintForm form, const QString &title, bool withClient = true);
// What form is called in a document's title: "Счет", "Акт выполненных работ", ...
QString formTitle(PrintForm form);

// The three listings of the reference books.
bool isListingTemplate(const QString &name);

// Computes the current document's totals as the printing command does before it shows
// templateName: the payment order takes its VAT out at the document's own rate, every other
// form sums its lines. The document is left in editing state holding them.
void prepareDocumentTotals(TDM &dm, const QString &templateName);

// Opens the listing's dataset as its reference-book window first shows it, with the rows of
// one kind (clients or goods: 0, 1 or 2).
void openListing(TDM &dm, const QString &templateName, int kind);

// The data module's data sources as the report engine reads them ("DM.DSDocs", ...).
class ReportSources {
public:
    explicit ReportSources(TDM &dm);
    const zreport::DataSources &sources() const { return m_sources; }

private:
    std::vector<std::unique_ptr<DatasetRows>> m_rows;
    zreport::DataSources m_sources;
};

// Prints the current document as form, as the register's printing commands do: loads the
// form's template (the business's version, see loadFormTemplate; a stored one that does not
// load is told to warn first), works out the document's totals and words (left in editing
// state, to be posted by the next movement) and hands the template, with the images its
// pictures ask readImages for (none without a reader), and the data module's rows to show.
// Gives why it could not, or an empty text; database errors are thrown.
QString printCurrentDocument(TDM &dm, PrintForm form, bool actPortrait, bool waybillPortrait,
                             const FormImagesReader &readImages, const ReportShower &show,
                             const TemplateWarning &warn);
