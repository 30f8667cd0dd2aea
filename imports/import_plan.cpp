#include "import_plan.h"

#include "value_parsing.h"

#include "checks/email_address.h"
#include "data/kz1048.h"

#include <map>

namespace {

QString cellProblemPrefix(int rowNumber, const ImportField &field)
{
    return QStringLiteral("Строка %1, «%2»: ").arg(rowNumber).arg(field.caption);
}

std::optional<int> parseKind(const QString &text, ImportTarget target)
{
    bool number = false;
    const int value = text.toInt(&number);
    const QStringList captions = kindCaptions(target);
    if (number)
        return value >= 0 && value < captions.size() ? std::optional<int>(value) : std::nullopt;
    for (int k = 0; k < captions.size(); ++k) {
        if (captions[k].compare(text, Qt::CaseInsensitive) == 0)
            return k;
    }
    return std::nullopt;
}

// The row's values by database column, or the reasons it is refused.
struct CheckedRow {
    QVariantMap values;
    int kind = 0;
    QStringList problems;
    QStringList warnings;
};

CheckedRow checkRow(const QStringList &cells, int rowNumber, const PlanRequest &request)
{
    CheckedRow row;
    row.kind = request.kind;
    for (const ImportField &field : importFields(request.target)) {
        const auto mapped = request.mapping.find(field.column);
        if (mapped == request.mapping.end())
            continue;
        const QString cell = cells.value(mapped->second).trimmed();
        const QString prefix = cellProblemPrefix(rowNumber, field);
        if (cell.isEmpty()) {
            if (field.required)
                row.problems << prefix + QStringLiteral("пустое значение, строка не импортируется");
            else if (field.kind != FieldKind::Kind)
                row.values.insert(field.column, QVariant());
            continue;
        }
        switch (field.kind) {
        case FieldKind::Number:
            if (const std::optional<double> number = parseNumber(cell))
                row.values.insert(field.column, *number);
            else
                row.problems << prefix + QStringLiteral("«%1» — не число").arg(cell);
            break;
        case FieldKind::Kind:
            if (const std::optional<int> kind = parseKind(cell, request.target))
                row.kind = *kind;
            else
                row.problems << prefix + QStringLiteral("«%1» — нет такого вида (%2)")
                                             .arg(cell, kindCaptions(request.target).join(u", "));
            break;
        case FieldKind::Email:
            if (const auto problem = emailAddressProblem(cell))
                row.warnings << prefix + QStringLiteral("«%1» — %2; адрес сохранен, проверьте его")
                                             .arg(cell, *problem);
            [[fallthrough]];
        case FieldKind::Text:
            if (cell.size() > kTextColumnSize)
                row.problems << prefix + QStringLiteral("текст длиннее %1 символов (%2)")
                                             .arg(kTextColumnSize)
                                             .arg(cell.size());
            else if (const QString bad = kz1048::unencodable(cell); !bad.isEmpty())
                row.problems << prefix + QStringLiteral("символы, которые нельзя сохранить в базе "
                                                        "данных: %1")
                                             .arg(bad);
            else
                row.values.insert(field.column, cell);
            break;
        }
    }
    if (request.target == ImportTarget::Clients) {
        const auto value = [&](const QString &column) {
            return row.values.value(column).toString();
        };
        for (const QString &text : problemTexts(idProblems(kPartyIds, value)))
            row.problems << QStringLiteral("Строка %1: %2").arg(rowNumber).arg(text);
    }
    return row;
}

} // namespace

QString duplicateChoiceCaption(DuplicateChoice choice)
{
    switch (choice) {
    case DuplicateChoice::Update:
        return QStringLiteral("Обновить");
    case DuplicateChoice::Skip:
        return QStringLiteral("Пропустить");
    case DuplicateChoice::AddNew:
        break;
    }
    return QStringLiteral("Добавить как новые");
}

ImportPlan planImport(const ImportTable &table, const PlanRequest &request,
                      const ExistingRow &existing)
{
    ImportPlan plan;
    const QString name = nameColumn(request.target);
    if (!request.mapping.contains(name)) {
        plan.failed = int(table.rows.size());
        plan.errors << QStringLiteral("Не выбран столбец для поля «Наименование»: ни одна строка "
                                      "не импортируется.");
        return plan;
    }
    // Rows of the file that repeat a name added earlier from the same file follow the same
    // choice as rows already in the database; an update then changes the planned row.
    std::map<std::pair<int, QString>, size_t> addedFromFile;
    for (size_t r = 0; r < table.rows.size(); ++r) {
        const int rowNumber = int(r) + 2;
        CheckedRow row = checkRow(table.rows[r], rowNumber, request);
        if (!row.problems.isEmpty()) {
            ++plan.failed;
            plan.errors << row.problems;
            continue;
        }
        const QString rowName = row.values.value(name).toString();
        const auto key = std::make_pair(row.kind, rowName.toLower());
        const std::optional<int> inDatabase = existing(row.kind, rowName);
        const auto inFile = addedFromFile.find(key);
        const bool duplicate = inDatabase || inFile != addedFromFile.end();
        if (duplicate && request.duplicates == DuplicateChoice::Skip) {
            ++plan.skipped;
            continue;
        }
        plan.warnings << row.warnings;
        if (duplicate && request.duplicates == DuplicateChoice::Update) {
            ++plan.updated;
            if (inDatabase) {
                plan.rows.push_back({PlannedRow::Update, *inDatabase, row.kind, row.values});
            } else {
                QVariantMap &values = plan.rows[inFile->second].values;
                for (auto it = row.values.begin(); it != row.values.end(); ++it)
                    values.insert(it.key(), it.value());
            }
            continue;
        }
        ++plan.added;
        addedFromFile.emplace(key, plan.rows.size());
        plan.rows.push_back({PlannedRow::Add, 0, row.kind, row.values});
    }
    return plan;
}

QString planSummary(const ImportPlan &plan)
{
    return QStringLiteral("будет добавлено %1, обновлено %2, пропущено %3, с ошибками %4")
        .arg(plan.added)
        .arg(plan.updated)
        .arg(plan.skipped)
        .arg(plan.failed);
}
