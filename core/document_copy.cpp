#include "document_copy.h"

#include "data/dataset.h"
#include "data/date_time.h"
#include "data/db_error.h"
#include "data/tdm.h"

#include <utility>
#include <vector>

namespace {

// Field names with their values as text, in field order.
using Snapshot = std::vector<std::pair<QString, QString>>;

// The fields that a grid shows by default, as the user sees them.
Snapshot visibleTexts(const Dataset &dataset)
{
    Snapshot texts;
    for (int i = 0; i < dataset.fieldCount(); ++i) {
        const FieldDef &field = dataset.field(i);
        if (field.visible)
            texts.emplace_back(field.name, dataset.displayText(field.name));
    }
    return texts;
}

// Assigns the texts to the row being inserted. A text that does not fit its field (or a
// field that takes no assignment) leaves the field empty: the copy is made of what could
// be taken over.
void assign(Dataset &dataset, const Snapshot &texts)
{
    for (const auto &[name, text] : texts) {
        if (name.compare(QStringLiteral("KOD"), Qt::CaseInsensitive) == 0)
            continue;
        try {
            dataset.setAsString(name, text);
        } catch (const DbError &) {
        }
    }
}

const char *const kNumbers[] = {"NUMSCH",  "NUMSCHF", "NUMACT", "NUMNAKL",
                                "NUMPRIX", "NUMDOV",  "NUMPLAT"};
const char *const kDates[] = {"DATASCH",  "DATASCHF", "DATAACT", "DATANAKL",
                              "DATAPRIX", "DATADOV",  "DATAPLAT"};

} // namespace

qint64 copyCurrentDocument(TDM &dm)
{
    Dataset &docs = *dm.DSetDocs;
    Dataset &lines = *dm.DSetDetail;

    const Snapshot header = visibleTexts(docs);
    std::vector<Snapshot> lineTexts;
    lines.first();
    while (!lines.eof()) {
        lineTexts.push_back(visibleTexts(lines));
        lines.next();
    }

    docs.insert();
    assign(docs, header);
    docs.setValue(QStringLiteral("KODARCHIV"), 0);
    for (const char *number : kNumbers)
        docs.setAsString(QString::fromLatin1(number), QString());
    const QDateTime today = datetime::today();
    for (const char *date : kDates)
        docs.setValue(QString::fromLatin1(date), today);
    docs.post();
    const qint64 kod = docs.asInteger(QStringLiteral("KOD"));

    // Appended, so that the lines are listed in their order, as they will be when reread.
    for (const Snapshot &line : lineTexts) {
        lines.append();
        assign(lines, line);
        lines.post();
    }
    return kod;
}
