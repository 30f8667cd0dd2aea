#include "tfrm_import.h"

#include "ui_tfrm_import.h"

#include "data/db_error.h"
#include "data/tdm.h"
#include "imports/import_writer.h"
#include "ui/prompt_service.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>

namespace {

// Rows of the file shown before the import.
constexpr int kPreviewRows = 10;

const QString kNotImported = QStringLiteral("(не загружать)");

} // namespace

TfrmImport::TfrmImport(TDM &dm, PromptService &prompts, ImportTarget target, int kind,
                       ImportTable table, const QString &rememberedMapping, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TfrmImport>()), m_dm(dm), m_prompts(prompts),
      m_target(target), m_kind(kind), m_table(std::move(table)),
      m_existing(std::make_unique<ExistingRows>(dm.TsnRW, target))
{
    m_ui->setupUi(this);
    setWindowTitle(target == ImportTarget::Goods ? QStringLiteral("Импорт товаров и услуг")
                                                 : QStringLiteral("Импорт клиентов"));
    m_ui->lblFile->setText(QStringLiteral("Строк в файле: %1, кодировка %2, вид: %3")
                               .arg(m_table.rows.size())
                               .arg(m_table.encoding, kindCaptions(target).value(kind)));
    fillPreview();
    const MappingRead remembered = mappingFromText(target, rememberedMapping, m_table.header);
    fillMapping(rememberedMapping.isEmpty() || !remembered.error.isEmpty()
                    ? guessMapping(target, m_table.header)
                    : remembered.mapping);
    for (QRadioButton *choice : {m_ui->rbUpdate, m_ui->rbSkip, m_ui->rbAddNew})
        connect(choice, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                replan();
        });
    connect(m_ui->btnImport, &QPushButton::clicked, this, &TfrmImport::btnImportClick);
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &TfrmImport::btnCancelClick);
    replan();
}

TfrmImport::~TfrmImport() = default;

void TfrmImport::fillPreview()
{
    QTableWidget &grid = *m_ui->gridPreview;
    qsizetype columns = m_table.header.size();
    const int rows = int(std::min<size_t>(m_table.rows.size(), kPreviewRows));
    for (int r = 0; r < rows; ++r)
        columns = std::max(columns, m_table.rows[size_t(r)].size());
    grid.setColumnCount(int(columns));
    grid.setRowCount(rows);
    grid.setHorizontalHeaderLabels(m_table.header);
    for (int r = 0; r < rows; ++r) {
        const QStringList &cells = m_table.rows[size_t(r)];
        for (int c = 0; c < cells.size(); ++c)
            grid.setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    grid.setVerticalHeaderLabels([rows] {
        QStringList numbers;
        for (int r = 0; r < rows; ++r)
            numbers << QString::number(r + 2); // the header is the file's row 1
        return numbers;
    }());
    grid.resizeColumnsToContents();
}

void TfrmImport::fillMapping(const ColumnMapping &mapping)
{
    QStringList choices{kNotImported};
    for (int c = 0; c < m_table.header.size(); ++c) {
        const QString title = m_table.header[c];
        choices << QStringLiteral("%1: %2").arg(c + 1).arg(title.isEmpty() ? QStringLiteral("—")
                                                                           : title);
    }
    for (const ImportField &field : importFields(m_target)) {
        auto *box = new QComboBox(m_ui->grpMapping);
        box->setObjectName(QStringLiteral("cmb") + field.column);
        box->addItems(choices);
        const auto mapped = mapping.find(field.column);
        box->setCurrentIndex(mapped == mapping.end() ? 0 : mapped->second + 1);
        connect(box, &QComboBox::currentIndexChanged, this, &TfrmImport::replan);
        m_ui->layMapping->addRow(field.caption + u':', box);
        m_columnBoxes.emplace_back(field.column, box);
    }
}

ColumnMapping TfrmImport::chosenMapping() const
{
    ColumnMapping mapping;
    for (const auto &[column, box] : m_columnBoxes) {
        if (box->currentIndex() > 0)
            mapping[column] = box->currentIndex() - 1;
    }
    return mapping;
}

QString TfrmImport::mappingText() const
{
    return mappingToText(chosenMapping(), m_table.header);
}

DuplicateChoice TfrmImport::chosenDuplicates() const
{
    if (m_ui->rbUpdate->isChecked())
        return DuplicateChoice::Update;
    if (m_ui->rbAddNew->isChecked())
        return DuplicateChoice::AddNew;
    return DuplicateChoice::Skip;
}

void TfrmImport::replan()
{
    m_plan = planImport(m_table, {m_target, chosenMapping(), m_kind, chosenDuplicates()},
                        m_existing->lookup());
    const QString summary = planSummary(m_plan);
    m_ui->lblSummary->setText(summary.left(1).toUpper() + summary.mid(1));
    const QStringList lines = m_plan.errors + m_plan.warnings;
    m_ui->edErrors->setPlainText(lines.join(u'\n'));
    m_ui->edErrors->setVisible(!lines.isEmpty());
    m_ui->btnImport->setEnabled(!m_plan.rows.empty());
    m_ui->progressBar->setValue(0);
}

bool TfrmImport::showProgress(int done, int total)
{
    m_ui->progressBar->setMaximum(total);
    m_ui->progressBar->setValue(done);
    // Every row would repaint a hundred thousand times; a few hundred times is enough to
    // show the bar moving and to hear "Отмена".
    if (done % 256 == 0 || done == total)
        QCoreApplication::processEvents();
    return !m_cancelRequested;
}

void TfrmImport::setChoicesEnabled(bool enabled)
{
    m_ui->btnImport->setEnabled(enabled);
    m_ui->grpMapping->setEnabled(enabled);
    m_ui->grpDuplicates->setEnabled(enabled);
}

void TfrmImport::btnImportClick()
{
    if (m_plan.rows.empty())
        return;
    m_writing = true;
    m_cancelRequested = false;
    setChoicesEnabled(false);
    WriteOutcome outcome = WriteOutcome::Cancelled;
    QString failure;
    try {
        outcome = writePlan(m_dm.TsnRW, m_target, m_plan,
                            [this](int done, int total) { return showProgress(done, total); });
    } catch (const DbError &e) {
        failure = e.message();
    }
    m_writing = false;
    setChoicesEnabled(true);
    if (!failure.isEmpty()) {
        m_prompts.error(this,
                        QStringLiteral("Импорт не выполнен, ничего не записано.\n%1").arg(failure),
                        windowTitle());
        replan();
        return;
    }
    if (outcome == WriteOutcome::Cancelled) {
        m_prompts.inform(this, QStringLiteral("Импорт отменен, ничего не записано."));
        replan();
        return;
    }
    accept();
}

void TfrmImport::btnCancelClick()
{
    if (m_writing)
        m_cancelRequested = true;
    else
        QDialog::reject();
}

void TfrmImport::reject()
{
    btnCancelClick();
}
