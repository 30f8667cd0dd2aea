#include "page_editor_dialog.h"

#include "report/text_layout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace zpreview {

namespace {

QString rowText(const zreport::PreparedObject &object, const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (shown.size() > 80)
        shown = shown.left(80) + QStringLiteral("…");
    return object.name + QStringLiteral(": ") + shown;
}

} // namespace

PageEditorDialog::PageEditorDialog(zreport::PreparedReport &report, int pageIndex, QWidget *parent,
                                   int selectObject)
    : QDialog(parent), m_report(report), m_page(pageIndex)
{
    setObjectName(QStringLiteral("pageEditorDialog"));
    setWindowTitle(QStringLiteral("Редактировать страницу"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("objectList"));
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("objectTextEdit"));
    const zreport::PreparedPage &page = report.pages()[size_t(pageIndex)];
    int selectRow = 0;
    for (const zreport::PreparedBand &band : page.bands) {
        for (quint32 i = 0; i < band.objectCount; ++i) {
            const int index = int(band.firstObject + i);
            const zreport::PreparedObject &object = page.objects[size_t(index)];
            if (index == selectObject)
                selectRow = int(m_objects.size());
            m_objects.push_back(index);
            m_texts << object.text;
            m_list->addItem(rowText(object, object.text));
        }
    }
    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_list);
    splitter->addWidget(m_text);
    auto *buttons = new QDialogButtonBox(this);
    auto *ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Тексты страницы %1").arg(pageIndex + 1), this));
    layout->addWidget(splitter, 1);
    layout->addWidget(buttons);
    connect(m_list, &QListWidget::currentRowChanged, this, &PageEditorDialog::selectionChanged);
    connect(m_text, &QPlainTextEdit::textChanged, this, &PageEditorDialog::keepEdit);
    if (!m_objects.empty())
        m_list->setCurrentRow(selectRow);
    resize(640, 480);
}

void PageEditorDialog::selectionChanged()
{
    const int row = m_list->currentRow();
    m_editing = -1;
    m_text->setPlainText(row >= 0 ? m_texts[row] : QString());
    m_editing = row;
}

void PageEditorDialog::keepEdit()
{
    if (m_editing < 0)
        return;
    m_texts[m_editing] = m_text->toPlainText();
    const zreport::PreparedPage &page = m_report.pages()[size_t(m_page)];
    m_list->item(m_editing)->setText(
        rowText(page.objects[size_t(m_objects[size_t(m_editing)])], m_texts[m_editing]));
}

void PageEditorDialog::apply()
{
    zreport::PreparedPage &page = m_report.pages()[size_t(m_page)];
    for (size_t row = 0; row < m_objects.size(); ++row) {
        zreport::PreparedObject &object = page.objects[size_t(m_objects[row])];
        if (object.text == m_texts[int(row)])
            continue;
        object.text = m_texts[int(row)];
        // New lines go to the end of the page's list; the old ones are simply no longer used.
        const zreport::TextStyle &style = m_report.style(object.style);
        const zreport::TextBox box =
            zreport::textBox(style, object.left, object.top, object.width, object.height);
        std::vector<zreport::LaidOutLine> lines;
        zreport::layoutText(object.text, style, box.width(), lines);
        object.firstLine = quint32(page.lines.size());
        object.lineCount = quint32(lines.size());
        page.lines.insert(page.lines.end(), lines.begin(), lines.end());
    }
}

} // namespace zpreview
