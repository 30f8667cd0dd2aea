#include "form_templates_dialog.h"

#include "data/business_templates.h"
#include "data/db_error.h"
#include "data/fb_connection.h"
#include "data/tdm.h"
#include "printing/form_template.h"
#include "report/output_file.h"
#include "templates/template_loader.h"
#include "templates/template_titles.h"
#include "ui/command_row.h"
#include "ui/prompt_service.h"
#include "ui/role_limits.h"

#include <QHeaderView>
#include <QIODevice>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <map>

namespace {

const QString kCaption = QStringLiteral("Бланки документов");
const QString kFileFilter = QStringLiteral("Шаблоны бланков (*.xml);;Все файлы (*)");

enum Column { TitleColumn, NameColumn, ChangedColumn };

} // namespace

FormTemplatesDialog::FormTemplatesDialog(TDM &dm, PromptService &prompts, OpenDesigner openDesigner,
                                         QWidget *parent)
    : QDialog(parent), m_dm(dm), m_prompts(prompts), m_openDesigner(std::move(openDesigner)),
      m_forms(new QTableWidget(0, 3, this)),
      m_edit(commandButton(this, "btnEdit", QStringLiteral("Изменить..."))),
      m_reset(commandButton(this, "btnReset", QStringLiteral("Восстановить стандартный")))
{
    setObjectName(QStringLiteral("FormTemplatesDialog"));
    setWindowTitle(kCaption);
    resize(640, 420);
    m_forms->setObjectName(QStringLiteral("gridForms"));
    m_forms->setHorizontalHeaderLabels(
        {QStringLiteral("Бланк"), QStringLiteral("Шаблон"), QStringLiteral("Изменен")});
    m_forms->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_forms->setSelectionMode(QAbstractItemView::SingleSelection);
    m_forms->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_forms->horizontalHeader()->setSectionResizeMode(TitleColumn, QHeaderView::Stretch);
    m_forms->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::ResizeToContents);
    m_forms->horizontalHeader()->setSectionResizeMode(ChangedColumn, QHeaderView::ResizeToContents);
    m_forms->verticalHeader()->hide();

    QPushButton *exportButton = commandButton(this, "btnExport", QStringLiteral("Экспорт..."));
    QPushButton *importButton = commandButton(this, "btnImport", QStringLiteral("Импорт..."));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_forms);
    layout->addLayout(commandRow(*this, {m_edit, m_reset, exportButton, importButton}));

    connect(m_edit, &QPushButton::clicked, this, &FormTemplatesDialog::btnEditClick);
    connect(m_reset, &QPushButton::clicked, this, &FormTemplatesDialog::btnResetClick);
    connect(exportButton, &QPushButton::clicked, this, &FormTemplatesDialog::btnExportClick);
    connect(importButton, &QPushButton::clicked, this, &FormTemplatesDialog::btnImportClick);
    connect(m_forms, &QTableWidget::itemSelectionChanged, this,
            &FormTemplatesDialog::updateCommands);
    connect(m_forms, &QTableWidget::cellDoubleClicked, this, [this] {
        if (m_edit->isEnabled())
            btnEditClick();
    });
    // A manager or a viewer may look at the forms and export them, not change them.
    const QString refusal = roleRefusal(m_dm.role(), RoleWork::ChangeTemplates);
    setRoleLimit(m_reset, refusal);
    setRoleLimit(importButton, refusal);
    reload();
    m_forms->selectRow(0);
}

void FormTemplatesDialog::reload()
{
    std::map<QString, business_templates::StoredTemplate> stored;
    try {
        if (!m_dm.TsnRW.isActive())
            m_dm.TsnRW.start();
        for (business_templates::StoredTemplate &entry : business_templates::list(m_dm.TsnRW))
            stored[entry.name] = std::move(entry);
    } catch (const DbError &e) {
        m_prompts.error(this, e.message(), kCaption);
    }
    const QString current = chosenName();
    const QStringList names = ztemplates::builtinTemplateNames();
    const QSignalBlocker quiet(m_forms);
    m_forms->setRowCount(int(names.size()));
    for (int row = 0; row < int(names.size()); ++row) {
        const QString &name = names[row];
        const auto own = stored.find(name);
        QString changed;
        if (own != stored.end()) {
            changed =
                QStringLiteral("%1 %2")
                    .arg(own->second.changedAt.toString(u"dd.MM.yyyy HH:mm"), own->second.changedBy)
                    .trimmed();
            if (changed.isEmpty())
                changed = QStringLiteral("да");
        }
        m_forms->setItem(row, TitleColumn,
                         new QTableWidgetItem(ztemplates::builtinTemplateTitle(name)));
        auto *nameItem = new QTableWidgetItem(name);
        nameItem->setData(Qt::UserRole, own != stored.end()); // whether the business changed it
        m_forms->setItem(row, NameColumn, nameItem);
        m_forms->setItem(row, ChangedColumn, new QTableWidgetItem(changed));
        if (name == current)
            m_forms->selectRow(row);
    }
    updateCommands();
}

QString FormTemplatesDialog::chosenName() const
{
    const QList<QTableWidgetItem *> chosen = m_forms->selectedItems();
    return chosen.isEmpty() ? QString() : m_forms->item(chosen.first()->row(), NameColumn)->text();
}

bool FormTemplatesDialog::chosenIsChanged() const
{
    const QList<QTableWidgetItem *> chosen = m_forms->selectedItems();
    return !chosen.isEmpty() &&
           m_forms->item(chosen.first()->row(), NameColumn)->data(Qt::UserRole).toBool();
}

void FormTemplatesDialog::updateCommands()
{
    const bool chosen = !chosenName().isEmpty();
    m_edit->setEnabled(chosen && m_openDesigner);
    m_reset->setEnabled(chosenIsChanged());
}

template <typename Change> void FormTemplatesDialog::change(Change &&work)
{
    try {
        FbTransaction transaction(m_dm.ZNDB);
        transaction.start();
        work(transaction);
        transaction.commit();
    } catch (const DbError &e) {
        m_prompts.error(this, e.message(), kCaption);
    }
    reload();
}

void FormTemplatesDialog::btnEditClick()
{
    const QString name = chosenName();
    if (name.isEmpty() || !m_openDesigner)
        return;
    m_openDesigner(name);
    reload();
}

void FormTemplatesDialog::btnResetClick()
{
    const QString name = chosenName();
    if (name.isEmpty() || !chosenIsChanged())
        return;
    if (!m_prompts.confirm(this, QStringLiteral("Восстановить стандартный бланк «%1»? Измененный "
                                                "бланк будет удален из базы данных.")
                                     .arg(ztemplates::builtinTemplateTitle(name))))
        return;
    change([&](FbTransaction &transaction) { business_templates::remove(transaction, name); });
}

void FormTemplatesDialog::btnExportClick()
{
    const QString name = chosenName();
    if (name.isEmpty())
        return;
    const QString path = m_prompts.chooseSaveFile(this, QStringLiteral("Экспорт бланка"),
                                                  name + QStringLiteral(".xml"), kFileFilter);
    if (path.isEmpty())
        return;
    QString error;
    try {
        const QByteArray body = formTemplateBody(m_dm, name);
        zreport::OutputFile output(path);
        if (QIODevice *device = output.open(&error)) {
            device->write(body);
            output.commit(&error);
        }
    } catch (const DbError &e) {
        error = e.message();
    }
    if (!error.isEmpty())
        m_prompts.error(this, error, kCaption);
}

void FormTemplatesDialog::btnImportClick()
{
    const QString name = chosenName();
    if (name.isEmpty())
        return;
    const QString path =
        m_prompts.chooseFile(this, QStringLiteral("Импорт бланка"), QString(), kFileFilter);
    if (path.isEmpty())
        return;
    QString problem;
    const std::optional<QByteArray> body = readTemplateFile(path, &problem);
    if (!body) {
        m_prompts.error(this,
                        QStringLiteral("Файл не загружен как бланк «%1»:\n%2")
                            .arg(ztemplates::builtinTemplateTitle(name), problem),
                        kCaption);
        return;
    }
    change(
        [&](FbTransaction &transaction) { business_templates::store(transaction, name, *body); });
}
