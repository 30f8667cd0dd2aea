#pragma once

#include "report_rows.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

// Bracket expressions: names of fields and engine values, `<...>` references, aggregate calls
// and a little arithmetic. Each distinct text is compiled once per run.
namespace zreport {

enum class SystemVariable {
    Date,
    Time,
    Page,
    PageN,
    TotalPages,
    TotalPagesN,
    Line,
    LineN,
    CopyName
};
std::optional<SystemVariable> systemVariable(QStringView name);

enum class AggregateFunction { Sum, Avg, Min, Max, Count };
std::optional<AggregateFunction> aggregateFunction(QStringView name);

// The third argument of an aggregate call.
enum AggregateFlag : int {
    CountInvisibleBands = 1, // rows of a hidden data band count too
    RunningTotal = 2,        // not reset by the footer that shows it
};

struct AggregateCall {
    AggregateFunction function = AggregateFunction::Sum;
    QString expression; // as written; empty for COUNT
    QString bandName;   // empty: the data band of the footer that holds the call
    int flags = 0;      // AggregateFlag bits as written in the call

    bool countsInvisibleBands() const { return flags & CountInvisibleBands; }
    bool isRunningTotal() const { return flags & RunningTotal; }
};
// The arguments of a call whose text starts just after "(" and ends before ")".
std::optional<AggregateCall> parseAggregateArguments(AggregateFunction function,
                                                     QStringView arguments);
// Every aggregate call in an expression, nested ones included, skipping quoted text.
std::vector<AggregateCall> findAggregateCalls(QStringView expression, int depth = 0);

// A failure that stops the run. With `objectPrefix` the message is shown after the name of
// the object being evaluated.
struct EvalError {
    QString message;
    bool objectPrefix = true;
};

class ExpressionHost {
public:
    virtual ~ExpressionHost() = default;
    // The opened rows of a report dataset of the report, found by user name (case ignored);
    // nullptr when the report has no such dataset. Throws EvalError when it cannot be opened.
    virtual ReportRows *datasetRows(QStringView userName, QString *canonicalUserName) = 0;
    virtual QVariant systemValue(SystemVariable variable) const = 0;
    // Whether a null field value is read as the empty value of the field's kind.
    virtual bool convertNulls() const = 0;
    virtual QVariant aggregateValue(const AggregateCall &call) = 0;
    // An error that lets the run go on.
    virtual void addError(const QString &message) = 0;
    virtual QString currentObjectName() const = 0;
};

class Expressions {
public:
    explicit Expressions(ExpressionHost &host) : m_host(host) {}
    ~Expressions();

    // Throws EvalError.
    QVariant calculate(const QString &text);
    void clear() { m_cache.clear(); }

    struct Node;

private:
    ExpressionHost &m_host;
    QHash<QString, std::shared_ptr<const Node>> m_cache;
};

} // namespace zreport
