#include "reference_list.h"

#include "list_transfer.h"

#include "data/dataset.h"
#include "data/tdm.h"
#include "printing/form_template.h"
#include "printing/print_job.h"
#include "ui/command.h"
#include "ui/dataset_commands.h"
#include "ui/prompt_service.h"
#include "ui/role_limits.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

const QString kCloseHint = QStringLiteral("Закрыть окно параметров");
constexpr int kCloseWidth = 100;
constexpr int kPickLeft = 20;

bool isNumber(FieldType type)
{
    return type == FieldType::Integer || type == FieldType::SmallInt || type == FieldType::Float;
}

} // namespace

ReferenceList::ReferenceList(const RefbookContext &context, Form form, QWidget *parent)
    : QDialog(parent), m_context(context), m_dm(context.dm), m_prompts(context.prompts),
      m_dataset(form.dataset), m_form(std::move(form))
{
    setObjectName(QString::fromLatin1(m_form.objectName));
    setWindowTitle(m_form.caption);
    resize(m_form.size);
    setMinimumSize(m_form.minimumSize);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    auto *group = new QGroupBox(m_form.groupCaption, this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto *groupLayout = new QHBoxLayout(group);
    groupLayout->setContentsMargins(6, 4, 6, 6);

    auto *left = new QVBoxLayout;
    left->setSpacing(0);
    if (!m_form.tabs.isEmpty()) {
        m_tabs = new QTabBar(group);
        m_tabs->setObjectName(QStringLiteral("PageControl1"));
        m_tabs->setExpanding(false);
        m_tabs->setDrawBase(true);
        for (const QString &tab : m_form.tabs)
            m_tabs->addTab(tab);
        left->addWidget(m_tabs);
    }
    m_grid = new DbGrid(group);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    // A role that may not change the list reads it as a grid of rows.
    m_grid->setEditable(roleRefusal(m_dm.role(), RoleWork::Change).isEmpty());
    m_grid->setPrompts(m_prompts);
    m_grid->setDataset(m_dataset, m_form.columns);
    left->addWidget(m_grid, 1);
    groupLayout->addLayout(left, 1);

    m_commands = new QVBoxLayout;
    m_commands->setSpacing(4);
    m_commands->addStretch();
    groupLayout->addLayout(m_commands);
    layout->addWidget(group, 1);
    layout->addWidget(createBottomPanel());

    if (m_tabs)
        connectCommand(m_tabs, &QTabBar::currentChanged, this, m_prompts,
                       [this](int tab) { tabChanged(tab); });
    if (m_form.statement)
        connectCommand(m_grid, &DbGrid::titleClicked, this, m_prompts,
                       [this](int column) { titleClicked(column); });
    // Any change of the list's rows makes the search read the column again.
    for (auto signal : {&Dataset::reset, &Dataset::rowsInserted, &Dataset::rowsRemoved})
        connect(m_dataset, signal, this, [this] { m_searchField = -1; });
    connect(m_dataset, &Dataset::rowChanged, this, [this] { m_searchField = -1; });
    connectCommand(m_grid, &DbGrid::gridDoubleClicked, this, m_prompts, [this] {
        postPending();
        rowDoubleClicked();
    });
    m_search->setFocus();
}

QWidget *ReferenceList::createBottomPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedHeight(41);
    auto *layout = new QHBoxLayout(panel);

    auto *label = new QLabel(QStringLiteral("Быстрый поиск:"), panel);
    m_search = new QLineEdit(panel);
    m_search->setObjectName(QStringLiteral("Edit1"));
    m_search->setMinimumWidth(100);
    m_search->setMaximumWidth(200);
    label->setBuddy(m_search);
    auto *find = new QPushButton(QStringLiteral("..."), panel);
    find->setObjectName(QStringLiteral("btnKNP2"));
    find->setFixedSize(23, 23);
    find->setAutoDefault(false);
    m_close = new QPushButton(panel);
    m_close->setObjectName(QStringLiteral("btnClose"));
    m_cancel = new QPushButton(QStringLiteral("Отмена"), panel);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_cancel->setToolTip(kCloseHint);
    for (QPushButton *b : {m_close, m_cancel}) {
        b->setFixedSize(kCloseWidth, 27);
        b->setAutoDefault(false);
    }

    // The right margin keeps "Закрыть" (or "Отмена") where the form puts it, anchored to the
    // right edge as the window grows.
    const int rightMargin =
        std::max(4, m_form.size.width() - m_form.closeLeft - kCloseWidth - 4 /*group margin*/);
    if (m_form.picking) {
        m_close->setText(QStringLiteral("Выбрать"));
        m_close->setDefault(true);
        layout->setContentsMargins(kPickLeft - 4, 4, rightMargin, 4);
        layout->addWidget(m_close);
        layout->addSpacing(16);
    } else {
        m_close->setText(QStringLiteral("Закрыть"));
        m_cancel->hide();
        layout->setContentsMargins(8, 4, rightMargin, 4);
    }
    layout->addWidget(label);
    layout->addWidget(m_search);
    layout->addWidget(find);
    layout->addStretch();
    layout->addWidget(m_form.picking ? m_cancel : m_close);

    connectCommand(m_search, &QLineEdit::textChanged, this, m_prompts,
                   [this](const QString &text) { quickSearch(text); });
    connectCommand(find, this, m_prompts, [this] { quickSearch(m_search->text()); });
    connectCommand(m_close, this, m_prompts, [this] { btnCloseClick(); });
    connect(m_cancel, &QPushButton::clicked, this, &ReferenceList::reject);
    return panel;
}

QPushButton *ReferenceList::addCommand(const char *name, const QString &caption,
                                       std::function<void()> command, CommandKind kind)
{
    auto *button = new QPushButton(caption, m_grid->parentWidget());
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(100, 25);
    button->setAutoDefault(false);
    m_commands->insertWidget(m_commands->count() - 1, button);
    connectCommand(button, this, m_prompts, std::move(command));
    if (kind == CommandKind::Changes)
        setRoleLimit(button, roleRefusal(m_dm.role(), RoleWork::Change));
    return button;
}

void ReferenceList::addTransferCommands(ImportTarget target)
{
    addCommand("btnImport", QStringLiteral("Импорт..."), [this, target] {
        postPending();
        importIntoList(m_context, this, target, activeTab());
        reloadList();
    });
    addCommand(
        "btnExport", QStringLiteral("Экспорт..."),
        [this, target] {
            postPending();
            exportList(m_context, this, target, activeTab());
        },
        CommandKind::Reads);
}

void ReferenceList::addPrintCommand(const QString &templateName)
{
    auto *button = new QPushButton(QStringLiteral("Печать"), m_grid->parentWidget());
    button->setObjectName(QStringLiteral("btnPrint"));
    button->setFixedSize(100, 25);
    button->setAutoDefault(false);
    m_commands->addWidget(button);
    connectCommand(button, this, m_prompts, [this, templateName] { printListing(templateName); });
}

void ReferenceList::printListing(const QString &templateName)
{
    postPending();
    const FormTemplate loaded = loadFormTemplate(m_dm, templateName);
    if (!loaded.report) {
        reportError(m_prompts, this, loaded.error);
        return;
    }
    if (!m_context.showReport)
        return;
    if (!loaded.warning.isEmpty())
        m_prompts.inform(this, loaded.warning);
    // The listing runs over the dataset itself; the user finds the list where it was.
    const qint64 kod = m_dataset->asInteger(QStringLiteral("KOD"));
    ReportSources sources(m_dm);
    m_context.showReport(*loaded.report, sources.sources());
    m_dataset->locate(kod);
}

int ReferenceList::activeTab() const
{
    return m_tabs ? m_tabs->currentIndex() : 0;
}

void ReferenceList::setActiveTab(int tab)
{
    if (m_tabs)
        m_tabs->setCurrentIndex(tab);
}

void ReferenceList::reloadList()
{
    if (m_form.page)
        *m_form.page = activeTab();
    reopen(*m_dataset, m_form.statement(activeTab(), m_form.defaultOrder));
}

void ReferenceList::tabChanged(int)
{
    reloadList();
}

void ReferenceList::titleClicked(int column)
{
    // The order is a name from the window's own columns, never a text the user typed.
    const QString field = m_grid->fieldName(column);
    if (field.isEmpty())
        return;
    reopenAtSameRow(*m_dataset, m_form.statement(activeTab(), field));
}

void ReferenceList::pickIntoDocument(const QString &field)
{
    if (m_dataset->isEmpty())
        return;
    Dataset &document = *m_dm.DSetDocs;
    ensureEditing(document);
    document.setValue(field, m_dataset->value(field));
}

void ReferenceList::postPending()
{
    if (m_dataset->isEditing())
        m_dataset->post();
}

void ReferenceList::addRowAtOnce()
{
    postPending();
    addEmptyRow(*m_dataset);
    m_grid->setFocus();
}

void ReferenceList::deleteCurrent(const std::function<void()> &remove)
{
    postPending();
    confirmDelete(m_prompts, this, *m_dataset, remove);
}

void ReferenceList::choose()
{
    m_chosen = !m_dataset->isEmpty();
    pick();
}

void ReferenceList::rowDoubleClicked()
{
    if (!picking())
        return;
    choose();
    accept();
}

void ReferenceList::btnCloseClick()
{
    postPending();
    if (picking())
        choose();
    accept();
}

void ReferenceList::reject()
{
    if (runClosingCommand(m_prompts, this, [this] { postPending(); }))
        QDialog::reject();
}

const QStringList &ReferenceList::searchTexts(int field)
{
    if (field != m_searchField) {
        // Reading the rest of the list reports its rows; the column is read after that.
        const int rows = m_dataset->recordCount();
        m_searchField = field;
        m_searchTexts.clear();
        m_searchTexts.reserve(rows);
        for (int row = 0; row < rows; ++row)
            m_searchTexts << m_dataset->valueAt(row, field).toString().toCaseFolded();
    }
    return m_searchTexts;
}

void ReferenceList::quickSearch(const QString &text)
{
    if (text.isEmpty() || !m_dataset->isActive())
        return;
    const int column = std::max(m_grid->currentIndex().column(), 0);
    const int field = m_dataset->fieldIndex(m_grid->fieldName(column));
    if (field < 0)
        return;
    if (isNumber(m_dataset->field(field).type)) {
        bool ok = false;
        double wanted = QLocale().toDouble(text, &ok);
        if (!ok)
            wanted = QLocale::c().toDouble(text, &ok);
        const int rows = ok ? m_dataset->recordCount() : 0;
        for (int row = 0; row < rows; ++row) {
            const QVariant value = m_dataset->valueAt(row, field);
            if (!value.isNull() && value.toDouble() == wanted) {
                m_dataset->setCurrentIndex(row);
                return;
            }
        }
        return;
    }
    const QString folded = text.toCaseFolded();
    const QStringList &texts = searchTexts(field);
    for (qsizetype row = 0; row < texts.size(); ++row) {
        if (texts[row].startsWith(folded)) {
            m_dataset->setCurrentIndex(int(row));
            return;
        }
    }
}
