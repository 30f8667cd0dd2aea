#include "id_marks.h"

#include "checks/bank_directory.h"
#include "checks/iik.h"
#include "data/dataset.h"
#include "db_grid.h"
#include "prompt_service.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace {

const char kWrongProperty[] = "zarnikIdWrong";
const QColor kWrongColour(0xd0, 0x00, 0x00);

void showVerdict(QLineEdit *box, const IdVerdict &verdict)
{
    box->setProperty(kWrongProperty, !verdict.ok);
    box->setToolTip(verdict.ok ? verdict.about : verdict.reason);
    box->setStyleSheet(
        verdict.ok
            ? QString()
            : QStringLiteral("QLineEdit { border: 2px solid %1; }").arg(kWrongColour.name()));
}

// The bank a passing IIK belongs to, when the directory knows it.
std::optional<BankDirectory::Bank> bankOf(const QString &iik)
{
    const QString code = iikBankCode(iik);
    return code.isEmpty() ? std::nullopt : BankDirectory::builtin().byCode(code);
}

// The cells of one column of identifiers: framed in red and explained when they fail.
class IdCellDelegate : public QStyledItemDelegate {
public:
    IdCellDelegate(IdKind kind, QObject *parent) : QStyledItemDelegate(parent), m_kind(kind) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (verdict(index).ok)
            return;
        painter->save();
        painter->setPen(QPen(kWrongColour, 2));
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override
    {
        const IdVerdict v = verdict(index);
        const QString tip = v.ok ? v.about : v.reason;
        if (event->type() != QEvent::ToolTip || tip.isEmpty())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QToolTip::showText(event->globalPos(), tip, view);
        return true;
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *box = qobject_cast<QLineEdit *>(editor))
            markIdBox(box, m_kind);
        return editor;
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        QStyledItemDelegate::setModelData(editor, model, index);
        auto *rows = qobject_cast<DatasetModel *>(model);
        if (m_kind != IdKind::Iik || !rows || !rows->dataset()->isEditing())
            return;
        Dataset &dataset = *rows->dataset();
        const auto bank = bankOf(dataset.asString(rows->fieldName(index.column())));
        if (!bank)
            return;
        for (const auto &[field, value] : {std::pair{QStringLiteral("BIK"), bank->bik},
                                           std::pair{QStringLiteral("BANK"), bank->name}}) {
            if (dataset.hasField(field) && dataset.asString(field).trimmed().isEmpty())
                dataset.setValue(field, value);
        }
    }

private:
    IdVerdict verdict(const QModelIndex &index) const
    {
        return checkId(m_kind, index.data(Qt::EditRole).toString());
    }

    IdKind m_kind;
};

} // namespace

void markIdBox(QLineEdit *box, IdKind kind)
{
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [box, kind](const QString &text) { showVerdict(box, checkId(kind, text)); });
    showVerdict(box, checkId(kind, box->text()));
}

bool isMarkedWrong(const QLineEdit *box)
{
    return box->property(kWrongProperty).toBool();
}

void markIdColumns(DbGrid *grid, std::span<const IdField> fields)
{
    for (const IdField &f : fields) {
        const int column = grid->datasetModel()->columnOfField(QLatin1String(f.field));
        if (column >= 0)
            grid->setItemDelegateForColumn(column, new IdCellDelegate(f.kind, grid));
    }
}

void fillBankFromIik(QLineEdit *iik, QLineEdit *bik, QLineEdit *bank)
{
    QObject::connect(iik, &QLineEdit::textEdited, iik, [iik, bik, bank] {
        const auto known = bankOf(iik->text());
        if (!known)
            return;
        for (const auto &[box, value] :
             {std::pair{bik, known->bik}, std::pair{bank, known->name}}) {
            if (box->text().trimmed().isEmpty()) {
                box->clear();
                box->insert(value); // as typed: the box's field takes it like the user's text
                box->setCursorPosition(0);
            }
        }
    });
}

void markRequisiteBoxes(QWidget *window)
{
    const auto box = [window](const char *field) {
        return window->findChild<QLineEdit *>(QStringLiteral("ed") + QLatin1String(field));
    };
    for (const IdField &f : kPartyIds) {
        if (QLineEdit *b = box(f.field))
            markIdBox(b, f.kind);
    }
    if (box("IIK") && box("BIK") && box("BANK"))
        fillBankFromIik(box("IIK"), box("BIK"), box("BANK"));
}

bool confirmCardIds(PromptService &prompts, QWidget *window, const Dataset &record, DbGrid &grid)
{
    std::vector<IdProblem> own =
        idProblems(kPartyIds, [&](const QString &field) { return record.asString(field); });
    QStringList texts = problemTexts(own);
    const Dataset &accounts = *grid.dataset();
    const int accountRows = accounts.isActive() ? accounts.rowCount() : 0;
    int firstAccountRow = -1;
    QString firstAccountField;
    for (int row = 0; row < accountRows; ++row) {
        const std::vector<IdProblem> problems = idProblems(kAccountIds, [&](const QString &field) {
            return accounts.valueAt(row, accounts.fieldIndex(field)).toString();
        });
        if (!problems.empty() && firstAccountRow < 0) {
            firstAccountRow = row;
            firstAccountField = problems.front().field;
        }
        texts += problemTexts(problems, QStringLiteral("Счет: "));
    }
    if (confirmDespiteIdProblems(prompts, window, texts, QStringLiteral("Сохранить всё равно?")))
        return true;
    if (!own.empty()) {
        if (auto *box = window->findChild<QLineEdit *>(QStringLiteral("ed") + own.front().field))
            box->setFocus();
    } else {
        grid.setCurrentIndex(grid.model()->index(
            firstAccountRow, grid.datasetModel()->columnOfField(firstAccountField)));
        grid.setFocus();
    }
    return false;
}

bool confirmDespiteIdProblems(PromptService &prompts, QWidget *parent, const QStringList &problems,
                              const QString &question)
{
    if (problems.isEmpty())
        return true;
    return prompts.confirm(parent, QStringLiteral("Проверьте реквизиты:\n") +
                                       problems.join(QLatin1Char('\n')) + QStringLiteral("\n\n") +
                                       question);
}
