#include "aggregates.h"

#include "memo_format.h"
#include "value_text.h"

#include <QLocale>

namespace zreport {

namespace {

QVariant addValues(const QVariant &a, const QVariant &b)
{
    if (isIntegerValue(a) && isIntegerValue(b))
        return a.toLongLong() + b.toLongLong();
    return a.toDouble() + b.toDouble();
}

} // namespace

void Aggregates::collect(const PageRun &page)
{
    if (page.masterBands.empty())
        return;
    std::vector<const BandRun *> holders;
    for (const BandRun *data : page.masterBands) {
        if (data->footer)
            holders.push_back(data->footer);
    }
    if (page.pageFooter)
        holders.push_back(page.pageFooter);
    for (const BandRun *holder : holders) {
        for (const MemoRun &m : holder->memos) {
            QString open, close;
            expressionDelimiters(m.memo->expressionDelimiters, &open, &close);
            for (const MemoSegment &segment : splitBrackets(m.memo->text(), open, close)) {
                if (!segment.isExpression)
                    continue;
                for (const AggregateCall &call : findAggregateCalls(segment.text)) {
                    Item item;
                    item.call = call;
                    item.holder = holder;
                    item.memoName = m.memo->name;
                    if (call.bandName.isEmpty()) {
                        item.dataBand = holder->dataBand;
                    } else {
                        for (const auto &b : page.bands) {
                            if (b->isData() &&
                                b->band->name.compare(call.bandName, Qt::CaseInsensitive) == 0)
                                item.dataBand = b.get();
                        }
                    }
                    m_items.push_back(item);
                }
            }
        }
    }
}

QVariant Aggregates::value(const AggregateCall &call, const BandRun *holder) const
{
    for (const Item &item : m_items) {
        if (item.holder != holder || item.call.function != call.function ||
            item.call.flags != call.flags ||
            item.call.expression.trimmed().compare(call.expression.trimmed(),
                                                   Qt::CaseInsensitive) != 0)
            continue;
        if (!call.bandName.isEmpty() &&
            (!item.dataBand ||
             item.dataBand->band->name.compare(call.bandName, Qt::CaseInsensitive) != 0))
            continue;
        QVariant result;
        switch (call.function) {
        case AggregateFunction::Count:
            return item.count;
        case AggregateFunction::Avg:
            if (item.count > 0 && !isNullValue(item.total))
                result = item.total.toDouble() / item.count;
            break;
        default:
            result = item.total;
        }
        return isNullValue(result) ? QVariant(0) : result;
    }
    return QVariant();
}

void Aggregates::reset(const BandRun &holder)
{
    for (Item &item : m_items) {
        if (item.holder == &holder && !(item.call.isRunningTotal() && item.count > 0)) {
            item.total = QVariant();
            item.count = 0;
        }
    }
}

void Aggregates::addRow(
    const BandRun &dataBand,
    const std::function<QVariant(const QString &memoName, const QString &expression)> &evaluate)
{
    for (Item &item : m_items) {
        if (item.dataBand != &dataBand)
            continue;
        if (!dataBand.band->visible && !item.call.countsInvisibleBands())
            continue;
        if (item.call.function == AggregateFunction::Count) {
            ++item.count;
            continue;
        }
        QVariant value = evaluate(item.memoName, item.call.expression);
        if (value.typeId() == QMetaType::Bool)
            value = value.toBool() ? 1 : 0;
        else if (value.typeId() == QMetaType::QString) {
            const auto number = toNumber(value, formLocale());
            value = number ? QVariant(*number) : QVariant();
        }
        if (item.call.function == AggregateFunction::Avg && isNullValue(value))
            continue;
        ++item.count;
        if (isNullValue(value))
            continue;
        if (isNullValue(item.total)) {
            item.total = value;
            continue;
        }
        switch (item.call.function) {
        case AggregateFunction::Sum:
        case AggregateFunction::Avg:
            item.total = addValues(item.total, value);
            break;
        case AggregateFunction::Min:
            if (value.toDouble() < item.total.toDouble())
                item.total = value;
            break;
        case AggregateFunction::Max:
            if (value.toDouble() > item.total.toDouble())
                item.total = value;
            break;
        case AggregateFunction::Count:
            break;
        }
    }
}

} // namespace zreport
