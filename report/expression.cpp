#include "expression.h"

#include "value_text.h"

#include <cmath>
#include <functional>

namespace zreport {

std::optional<SystemVariable> systemVariable(QStringView name)
{
    static const struct {
        const char *name;
        SystemVariable variable;
    } names[] = {{"Date", SystemVariable::Date},
                 {"Time", SystemVariable::Time},
                 {"Page", SystemVariable::Page},
                 {"Page#", SystemVariable::PageN},
                 {"TotalPages", SystemVariable::TotalPages},
                 {"TotalPages#", SystemVariable::TotalPagesN},
                 {"Line", SystemVariable::Line},
                 {"Line#", SystemVariable::LineN},
                 {"CopyName#", SystemVariable::CopyName}};
    for (const auto &n : names) {
        if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return n.variable;
    }
    return std::nullopt;
}

std::optional<AggregateFunction> aggregateFunction(QStringView name)
{
    static const struct {
        const char *name;
        AggregateFunction function;
    } names[] = {{"SUM", AggregateFunction::Sum},
                 {"AVG", AggregateFunction::Avg},
                 {"MIN", AggregateFunction::Min},
                 {"MAX", AggregateFunction::Max},
                 {"COUNT", AggregateFunction::Count}};
    for (const auto &n : names) {
        if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return n.function;
    }
    return std::nullopt;
}

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('#');
}

// Index just past the quote, parenthesis or angle bracket group that opens at `i`; -1 if open.
qsizetype skipGroup(QStringView text, qsizetype i)
{
    const QChar open = text.at(i);
    if (open == QLatin1Char('"') || open == QLatin1Char('\'')) {
        const qsizetype end = text.indexOf(open, i + 1);
        return end < 0 ? -1 : end + 1;
    }
    const QChar close = open == QLatin1Char('(') ? QLatin1Char(')') : QLatin1Char('>');
    int depth = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            i = skipGroup(text, i);
            if (i < 0)
                return -1;
            continue;
        }
        if (c == open)
            ++depth;
        else if (c == close && --depth == 0)
            return i + 1;
        ++i;
    }
    return -1;
}

QList<QStringView> splitArguments(QStringView text)
{
    QList<QStringView> parts;
    qsizetype start = 0, i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('(') ||
            c == QLatin1Char('<')) {
            const qsizetype next = skipGroup(text, i);
            i = next < 0 ? text.size() : next;
            continue;
        }
        if (c == QLatin1Char(',')) {
            parts << text.mid(start, i - start);
            start = i + 1;
        }
        ++i;
    }
    parts << text.mid(start);
    return parts;
}

} // namespace

std::optional<AggregateCall> parseAggregateArguments(AggregateFunction function,
                                                     QStringView arguments)
{
    const QList<QStringView> args = splitArguments(arguments);
    AggregateCall call;
    call.function = function;
    qsizetype next = 0;
    if (function != AggregateFunction::Count) {
        call.expression = args.value(0).trimmed().toString();
        if (call.expression.isEmpty())
            return std::nullopt;
        next = 1;
    }
    if (args.size() > next + 2)
        return std::nullopt;
    call.bandName = args.value(next).trimmed().toString();
    if (args.size() > next + 1) {
        bool ok = false;
        call.flags = args.value(next + 1).trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    return call;
}

// Deeper nesting than any expression needs is taken for a hostile text, not followed.
constexpr int kMaxNesting = 200;

std::vector<AggregateCall> findAggregateCalls(QStringView expression, int depth)
{
    std::vector<AggregateCall> calls;
    if (depth > kMaxNesting)
        return calls;
    qsizetype i = 0;
    while (i < expression.size()) {
        const QChar c = expression.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype next = skipGroup(expression, i);
            i = next < 0 ? expression.size() : next;
            continue;
        }
        if (!isNameStart(c) || (i > 0 && isNameChar(expression.at(i - 1)))) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < expression.size() && isNameChar(expression.at(end)))
            ++end;
        const auto function = aggregateFunction(expression.mid(i, end - i));
        if (function && end < expression.size() && expression.at(end) == QLatin1Char('(')) {
            const qsizetype close = skipGroup(expression, end);
            const QStringView inner =
                expression.mid(end + 1, (close < 0 ? expression.size() : close - 1) - end - 1);
            if (const auto call = parseAggregateArguments(*function, inner))
                calls.push_back(*call);
            // Calls nested in the arguments count too.
            for (const AggregateCall &nested : findAggregateCalls(inner, depth + 1))
                calls.push_back(nested);
            i = close < 0 ? expression.size() : close;
            continue;
        }
        i = end;
    }
    return calls;
}

// A name resolved against the report: a dataset field or an engine value.
struct NameBinding {
    enum Kind { None, Field, MissingField, System } kind = None;
    ReportRows *rows = nullptr;
    int field = -1;
    FieldKind fieldKind = FieldKind::String;
    QString userName, fieldName;
    SystemVariable variable = SystemVariable::Page;
};

static NameBinding bindName(ExpressionHost &host, QStringView name)
{
    NameBinding b;
    const qsizetype split = name.indexOf(QLatin1String(".\""));
    if (split > 0 && name.size() >= split + 3 && name.endsWith(QLatin1Char('"'))) {
        QString userName;
        ReportRows *rows = host.datasetRows(name.left(split), &userName);
        if (rows) {
            b.rows = rows;
            b.userName = userName;
            b.fieldName = name.mid(split + 2, name.size() - split - 3).toString();
            b.field = rows->fieldIndex(b.fieldName);
            b.kind = b.field < 0 ? NameBinding::MissingField : NameBinding::Field;
            if (b.field >= 0)
                b.fieldKind = rows->fieldKind(b.field);
            return b;
        }
    }
    if (const auto variable = systemVariable(name)) {
        b.kind = NameBinding::System;
        b.variable = *variable;
    }
    return b;
}

static QVariant valueOf(ExpressionHost &host, const NameBinding &b)
{
    switch (b.kind) {
    case NameBinding::Field: {
        const QVariant v = b.rows->value(b.field);
        if (!isNullValue(v) || !host.convertNulls())
            return v;
        // Nulls are converted by the kind of the field.
        switch (b.fieldKind) {
        case FieldKind::String:
            return QString();
        case FieldKind::Boolean:
            return false;
        case FieldKind::Numeric:
            break;
        }
        return 0;
    }
    case NameBinding::MissingField:
        host.addError(host.currentObjectName() + QStringLiteral(": Поле не найдено: ") +
                      b.userName + QStringLiteral(".\"") + b.fieldName + QLatin1Char('"'));
        return QVariant();
    case NameBinding::System:
        return host.systemValue(b.variable);
    case NameBinding::None:
        break;
    }
    return QVariant();
}

struct Expressions::Node {
    virtual ~Node() = default;
    virtual QVariant evaluate(ExpressionHost &host, Expressions &expressions) const = 0;
};

namespace {

using NodePtr = std::shared_ptr<const Expressions::Node>;

struct LiteralNode : Expressions::Node {
    QVariant value;
    QVariant evaluate(ExpressionHost &, Expressions &) const override { return value; }
};

struct NameNode : Expressions::Node {
    NameBinding binding;
    QVariant evaluate(ExpressionHost &host, Expressions &) const override
    {
        return valueOf(host, binding);
    }
};

// `<name>`: a name, an aggregate call, or an unknown name that prints empty.
struct AngleNode : Expressions::Node {
    NameBinding binding;
    QString inner;
    bool isCalculation = false;
    QVariant evaluate(ExpressionHost &host, Expressions &expressions) const override
    {
        if (binding.kind != NameBinding::None)
            return valueOf(host, binding);
        if (isCalculation)
            return expressions.calculate(inner);
        host.addError(QStringLiteral("Неизвестная переменная или поле БД: ") + inner);
        return QVariant();
    }
};

struct AggregateNode : Expressions::Node {
    AggregateCall call;
    QVariant evaluate(ExpressionHost &host, Expressions &) const override
    {
        return host.aggregateValue(call);
    }
};

EvalError typeMismatch()
{
    return {QStringLiteral("Несовместимые типы"), true};
}

double numberOf(const QVariant &v)
{
    if (isNullValue(v))
        return 0;
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QDateTime)
        throw typeMismatch();
    return v.toDouble();
}

bool isWhole(const QVariant &v)
{
    return isIntegerValue(v) || v.typeId() == QMetaType::Bool || isNullValue(v);
}

struct NegateNode : Expressions::Node {
    NodePtr operand;
    QVariant evaluate(ExpressionHost &host, Expressions &expressions) const override
    {
        const QVariant v = operand->evaluate(host, expressions);
        if (isWhole(v))
            return -v.toLongLong();
        return -numberOf(v);
    }
};

struct BinaryNode : Expressions::Node {
    enum Op { Add, Subtract, Multiply, Divide, IntDiv, Mod } op = Add;
    NodePtr left, right;
    QVariant evaluate(ExpressionHost &host, Expressions &expressions) const override
    {
        const QVariant a = left->evaluate(host, expressions);
        const QVariant b = right->evaluate(host, expressions);
        if (op == Add && (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString)) {
            if (a.typeId() != b.typeId())
                throw typeMismatch();
            return a.toString() + b.toString();
        }
        const bool whole = isWhole(a) && isWhole(b);
        switch (op) {
        case Add:
            return whole ? QVariant(a.toLongLong() + b.toLongLong())
                         : QVariant(numberOf(a) + numberOf(b));
        case Subtract:
            return whole ? QVariant(a.toLongLong() - b.toLongLong())
                         : QVariant(numberOf(a) - numberOf(b));
        case Multiply:
            return whole ? QVariant(a.toLongLong() * b.toLongLong())
                         : QVariant(numberOf(a) * numberOf(b));
        case Divide: {
            const double divisor = numberOf(b);
            if (divisor == 0)
                throw EvalError{QStringLiteral("Деление на ноль"), true};
            return numberOf(a) / divisor;
        }
        case IntDiv:
        case Mod: {
            if (!whole)
                throw typeMismatch();
            const qint64 divisor = b.toLongLong();
            if (divisor == 0)
                throw EvalError{QStringLiteral("Деление на ноль"), true};
            return op == IntDiv ? a.toLongLong() / divisor : a.toLongLong() % divisor;
        }
        }
        return QVariant();
    }
};

class Parser {
public:
    Parser(ExpressionHost &host, QStringView text) : m_host(host), m_text(text) {}

    NodePtr parse()
    {
        NodePtr node = parseSum();
        skipBlanks();
        if (m_pos < m_text.size())
            throw syntaxError();
        return node;
    }

private:
    EvalError syntaxError() const
    {
        return {QStringLiteral("Синтаксическая ошибка в выражении: ") + m_text.toString(), true};
    }

    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    bool accept(QChar c)
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text.at(m_pos) == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    bool acceptWord(QLatin1String word)
    {
        skipBlanks();
        const qsizetype end = m_pos + word.size();
        if (end <= m_text.size() &&
            m_text.mid(m_pos, word.size()).compare(word, Qt::CaseInsensitive) == 0 &&
            (end == m_text.size() || !isNameChar(m_text.at(end)))) {
            m_pos = end;
            return true;
        }
        return false;
    }

    NodePtr binary(BinaryNode::Op op, NodePtr left, NodePtr right)
    {
        auto node = std::make_shared<BinaryNode>();
        node->op = op;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }

    NodePtr parseSum()
    {
        NodePtr node = parseProduct();
        for (;;) {
            if (accept(QLatin1Char('+')))
                node = binary(BinaryNode::Add, node, parseProduct());
            else if (accept(QLatin1Char('-')))
                node = binary(BinaryNode::Subtract, node, parseProduct());
            else
                return node;
        }
    }

    NodePtr parseProduct()
    {
        NodePtr node = parseUnary();
        for (;;) {
            if (accept(QLatin1Char('*')))
                node = binary(BinaryNode::Multiply, node, parseUnary());
            else if (accept(QLatin1Char('/')))
                node = binary(BinaryNode::Divide, node, parseUnary());
            else if (acceptWord(QLatin1String("div")))
                node = binary(BinaryNode::IntDiv, node, parseUnary());
            else if (acceptWord(QLatin1String("mod")))
                node = binary(BinaryNode::Mod, node, parseUnary());
            else
                return node;
        }
    }

    struct Nesting {
        explicit Nesting(Parser &p) : parser(p)
        {
            if (++parser.m_depth > kMaxNesting)
                throw EvalError{QStringLiteral("Слишком глубокая вложенность выражения"), true};
        }
        ~Nesting() { --parser.m_depth; }
        Parser &parser;
    };

    NodePtr parseUnary()
    {
        const Nesting nesting(*this);
        if (accept(QLatin1Char('-'))) {
            auto node = std::make_shared<NegateNode>();
            node->operand = parseUnary();
            return node;
        }
        if (accept(QLatin1Char('+')))
            return parseUnary();
        return parsePrimary();
    }

    NodePtr parsePrimary()
    {
        skipBlanks();
        if (m_pos >= m_text.size())
            throw syntaxError();
        const QChar c = m_text.at(m_pos);
        if (c == QLatin1Char('(')) {
            ++m_pos;
            NodePtr node = parseSum();
            if (!accept(QLatin1Char(')')))
                throw syntaxError();
            return node;
        }
        if (c.isDigit())
            return parseNumber();
        if (c == QLatin1Char('\''))
            return parseString();
        if (c == QLatin1Char('<'))
            return parseAngle();
        if (isNameStart(c))
            return parseName();
        throw syntaxError();
    }

    NodePtr parseNumber()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() &&
               (m_text.at(m_pos).isDigit() || m_text.at(m_pos) == QLatin1Char('.')))
            ++m_pos;
        const QString digits = m_text.mid(start, m_pos - start).toString();
        auto node = std::make_shared<LiteralNode>();
        bool ok = false;
        if (!digits.contains(QLatin1Char('.'))) {
            const qlonglong whole = digits.toLongLong(&ok);
            if (ok)
                node->value = whole;
        }
        if (!ok) {
            const double d = digits.toDouble(&ok);
            if (!ok)
                throw syntaxError();
            node->value = d;
        }
        return node;
    }

    NodePtr parseString()
    {
        QString value;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size())
                throw syntaxError();
            const QChar c = m_text.at(m_pos++);
            if (c == QLatin1Char('\'')) {
                if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('\'')) {
                    value += c;
                    ++m_pos;
                    continue;
                }
                break;
            }
            value += c;
        }
        auto node = std::make_shared<LiteralNode>();
        node->value = value;
        return node;
    }

    NodePtr parseAngle()
    {
        const qsizetype end = skipGroup(m_text, m_pos);
        if (end < 0)
            throw syntaxError();
        auto node = std::make_shared<AngleNode>();
        node->inner = m_text.mid(m_pos + 1, end - m_pos - 2).toString();
        m_pos = end;
        node->binding = bindName(m_host, node->inner);
        if (node->binding.kind == NameBinding::None) {
            const QString trimmed = node->inner.trimmed();
            const qsizetype paren = trimmed.indexOf(QLatin1Char('('));
            node->isCalculation = paren > 0 && aggregateFunction(QStringView(trimmed).left(paren));
        }
        return node;
    }

    NodePtr parseName()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && isNameChar(m_text.at(m_pos)))
            ++m_pos;
        const QStringView word = m_text.mid(start, m_pos - start);
        if (const auto function = aggregateFunction(word)) {
            skipBlanks();
            if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('(')) {
                const qsizetype end = skipGroup(m_text, m_pos);
                if (end < 0)
                    throw syntaxError();
                const auto call =
                    parseAggregateArguments(*function, m_text.mid(m_pos + 1, end - m_pos - 2));
                if (!call)
                    throw syntaxError();
                m_pos = end;
                auto node = std::make_shared<AggregateNode>();
                node->call = *call;
                return node;
            }
        }
        // A dataset field: Name."Field".
        if (m_pos + 1 < m_text.size() && m_text.at(m_pos) == QLatin1Char('.') &&
            m_text.at(m_pos + 1) == QLatin1Char('"')) {
            const qsizetype close = m_text.indexOf(QLatin1Char('"'), m_pos + 2);
            if (close < 0)
                throw syntaxError();
            m_pos = close + 1;
        }
        const QStringView name = m_text.mid(start, m_pos - start);
        auto node = std::make_shared<NameNode>();
        node->binding = bindName(m_host, name);
        if (node->binding.kind == NameBinding::None)
            throw EvalError{QStringLiteral("Неизвестный идентификатор: ") + name.toString(), true};
        return node;
    }

    ExpressionHost &m_host;
    QStringView m_text;
    qsizetype m_pos = 0;
    int m_depth = 0;
};

// A compile failure is remembered like a compiled expression, so it is reported every time.
struct FailedNode : Expressions::Node {
    EvalError error;
    QVariant evaluate(ExpressionHost &, Expressions &) const override { throw error; }
};

} // namespace

Expressions::~Expressions() = default;

QVariant Expressions::calculate(const QString &text)
{
    auto it = m_cache.constFind(text);
    if (it == m_cache.cend()) {
        NodePtr node;
        const NameBinding binding = bindName(m_host, text);
        if (binding.kind != NameBinding::None) {
            auto name = std::make_shared<NameNode>();
            name->binding = binding;
            node = name;
        } else {
            try {
                node = Parser(m_host, text).parse();
            } catch (const EvalError &error) {
                if (!error.objectPrefix)
                    throw; // the data itself failed (a dataset that cannot be opened)
                auto failed = std::make_shared<FailedNode>();
                failed->error = error;
                node = failed;
            }
        }
        it = m_cache.insert(text, node);
    }
    const NodePtr node = it.value();
    return node->evaluate(m_host, *this);
}

} // namespace zreport
