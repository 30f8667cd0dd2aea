#include "property_panel.h"

#include "design_document.h"

#include "report/report_units.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zdesigner {

using namespace zreport;

namespace {

template <typename W> W *named(W *widget, const char *objectName)
{
    widget->setObjectName(QLatin1String(objectName));
    return widget;
}

QDoubleSpinBox *millimetres(const char *objectName, double maximum = 2000)
{
    auto *box = named(new QDoubleSpinBox, objectName);
    box->setRange(0, maximum);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" мм"));
    box->setKeyboardTracking(false);
    return box;
}

QCheckBox *check(const QString &text, const char *objectName)
{
    return named(new QCheckBox(text), objectName);
}

QComboBox *choice(const QStringList &items, const char *objectName)
{
    auto *box = named(new QComboBox, objectName);
    box->addItems(items);
    return box;
}

struct Fill {
    const char *name;
    QColor color;
};
const std::vector<Fill> &fills()
{
    static const std::vector<Fill> list{{"Нет", QColor()},
                                        {"Белая", QColor(0xFF, 0xFF, 0xFF)},
                                        {"Светло-серая", QColor(0xF0, 0xF0, 0xF0)},
                                        {"Серая", QColor(0xC0, 0xC0, 0xC0)},
                                        {"Желтая", QColor(0xFF, 0xFF, 0xC0)},
                                        {"Голубая", QColor(0xD8, 0xE8, 0xFF)}};
    return list;
}

double toMm(double units)
{
    return units / kUnitsPerMm;
}

} // namespace

PropertyPanel::PropertyPanel(DesignDocument &document, const QStringList &fields, QWidget *parent)
    : QWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("propertyPanel"));
    auto *layout = new QVBoxLayout(this);
    buildObjectGroup(fields);
    buildBandGroup();
    buildPageGroup();
    layout->addStretch();
    connect(&m_document, &DesignDocument::changed, this, &PropertyPanel::refresh);
    connect(&m_document, &DesignDocument::selectionChanged, this, &PropertyPanel::refresh);
    refresh();
}

void PropertyPanel::buildObjectGroup(const QStringList &fields)
{
    m_objectGroup = named(new QGroupBox(QStringLiteral("Объект")), "grpObject");
    auto *form = new QFormLayout(m_objectGroup);
    m_objectName = named(new QLabel, "lblObjectName");
    form->addRow(m_objectName);

    m_text = named(new QPlainTextEdit, "edtMemoText");
    m_text->setFixedHeight(80);
    form->addRow(QStringLiteral("Текст:"), m_text);
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        const QStringList lines = m_text->toPlainText().split(QLatin1Char('\n'));
        editMemos(
            QStringLiteral("Текст"),
            [&](TfrxMemoView &memo) {
                memo.memo = m_text->toPlainText().isEmpty() ? QStringList() : lines;
            },
            QStringLiteral("text"));
    });
    m_fields = choice(fields, "cmbFields");
    m_insertField = named(new QPushButton(QStringLiteral("Вставить")), "btnInsertField");
    // Enter in a box of the panel must not press it: the field would land in the text.
    m_insertField->setAutoDefault(false);
    auto *fieldRow = new QHBoxLayout;
    fieldRow->addWidget(m_fields, 1);
    fieldRow->addWidget(m_insertField);
    form->addRow(QStringLiteral("Поле:"), fieldRow);
    connect(m_insertField, &QPushButton::clicked, this, &PropertyPanel::insertField);

    m_fontName = named(new QFontComboBox, "cmbFontName");
    form->addRow(QStringLiteral("Шрифт:"), m_fontName);
    connect(m_fontName, &QFontComboBox::currentFontChanged, this, [this](const QFont &font) {
        editViews(QStringLiteral("Шрифт"), [&](TfrxView &view) {
            view.font.name = font.family();
            view.parentFont = false;
        });
    });
    m_fontSize = named(new QSpinBox, "spnFontSize");
    m_fontSize->setRange(1, 500);
    m_fontSize->setKeyboardTracking(false);
    m_bold = check(QStringLiteral("Ж"), "chkBold");
    m_italic = check(QStringLiteral("К"), "chkItalic");
    m_underline = check(QStringLiteral("Ч"), "chkUnderline");
    auto *fontRow = new QHBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(m_fontSize), static_cast<QWidget *>(m_bold),
                       static_cast<QWidget *>(m_italic), static_cast<QWidget *>(m_underline)})
        fontRow->addWidget(w);
    form->addRow(QStringLiteral("Размер:"), fontRow);
    connect(m_fontSize, &QSpinBox::valueChanged, this, [this](int points) {
        editViews(QStringLiteral("Размер шрифта"), [&](TfrxView &view) {
            view.font.height = ReportFont::heightForPointSize(points);
            view.parentFont = false;
        });
    });
    const std::pair<QCheckBox *, bool ReportFont::*> styles[] = {
        {m_bold, &ReportFont::bold},
        {m_italic, &ReportFont::italic},
        {m_underline, &ReportFont::underline}};
    for (const auto &[box, member] : styles) {
        connect(box, &QCheckBox::toggled, this, [this, member](bool on) {
            editViews(QStringLiteral("Начертание"), [&](TfrxView &view) {
                view.font.*member = on;
                view.parentFont = false;
            });
        });
    }

    m_hAlign = choice({"Слева", "Справа", "По центру", "По ширине"}, "cmbHAlign");
    m_vAlign = choice({"Сверху", "Снизу", "По центру"}, "cmbVAlign");
    auto *alignRow = new QHBoxLayout;
    alignRow->addWidget(m_hAlign);
    alignRow->addWidget(m_vAlign);
    form->addRow(QStringLiteral("Выравнивание:"), alignRow);
    connect(m_hAlign, &QComboBox::activated, this, [this](int index) {
        editMemos(QStringLiteral("Выравнивание"),
                  [&](TfrxMemoView &memo) { memo.hAlign = HAlign(index); });
    });
    connect(m_vAlign, &QComboBox::activated, this, [this](int index) {
        editMemos(QStringLiteral("Выравнивание"),
                  [&](TfrxMemoView &memo) { memo.vAlign = VAlign(index); });
    });

    m_frameLeft = check(QStringLiteral("слева"), "chkFrameLeft");
    m_frameTop = check(QStringLiteral("сверху"), "chkFrameTop");
    m_frameRight = check(QStringLiteral("справа"), "chkFrameRight");
    m_frameBottom = check(QStringLiteral("снизу"), "chkFrameBottom");
    auto *frameRow = new QHBoxLayout;
    const std::pair<QCheckBox *, unsigned> sides[] = {{m_frameLeft, ftLeft},
                                                      {m_frameTop, ftTop},
                                                      {m_frameRight, ftRight},
                                                      {m_frameBottom, ftBottom}};
    for (const auto &[box, side] : sides) {
        frameRow->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this, side](bool on) {
            editViews(QStringLiteral("Рамка"), [&](TfrxView &view) {
                view.frame.typ = on ? view.frame.typ | side : view.frame.typ & ~side;
            });
        });
    }
    form->addRow(QStringLiteral("Рамка:"), frameRow);
    m_frameWidth = named(new QDoubleSpinBox, "spnFrameWidth");
    m_frameWidth->setRange(0.1, 20);
    m_frameWidth->setSingleStep(0.5);
    m_frameWidth->setKeyboardTracking(false);
    form->addRow(QStringLiteral("Толщина рамки:"), m_frameWidth);
    connect(m_frameWidth, &QDoubleSpinBox::valueChanged, this, [this](double width) {
        editViews(QStringLiteral("Толщина рамки"),
                  [&](TfrxView &view) { view.frame.setWidth(width); });
    });

    m_fill = named(new QComboBox, "cmbFill");
    for (const Fill &fill : fills())
        m_fill->addItem(QString::fromUtf8(fill.name));
    form->addRow(QStringLiteral("Заливка:"), m_fill);
    connect(m_fill, &QComboBox::activated, this, [this](int index) {
        editViews(QStringLiteral("Заливка"),
                  [&](TfrxView &view) { view.color = fills()[size_t(index)].color; });
    });

    m_wordWrap = check(QStringLiteral("Перенос слов"), "chkWordWrap");
    form->addRow(m_wordWrap);
    connect(m_wordWrap, &QCheckBox::toggled, this, [this](bool on) {
        editMemos(QStringLiteral("Перенос слов"), [&](TfrxMemoView &memo) { memo.wordWrap = on; });
    });
    m_stretch = choice({"Не растягивать", "По высоте текста", "По высоте бэнда"}, "cmbStretch");
    form->addRow(QStringLiteral("Растягивание:"), m_stretch);
    connect(m_stretch, &QComboBox::activated, this, [this](int index) {
        editMemos(QStringLiteral("Растягивание"),
                  [&](TfrxMemoView &memo) { memo.stretchMode = StretchMode(index); });
    });
    m_formatKind = choice({"Текст", "Число", "Дата/время", "Логическое"}, "cmbFormatKind");
    m_formatStr = named(new QLineEdit, "edtFormatStr");
    auto *formatRow = new QHBoxLayout;
    formatRow->addWidget(m_formatKind);
    formatRow->addWidget(m_formatStr);
    form->addRow(QStringLiteral("Формат:"), formatRow);
    connect(m_formatKind, &QComboBox::activated, this, [this](int index) {
        editMemos(QStringLiteral("Формат"),
                  [&](TfrxMemoView &memo) { memo.displayFormat.kind = FormatKind(index); });
    });
    connect(m_formatStr, &QLineEdit::editingFinished, this, [this] {
        const QString format = m_formatStr->text();
        editMemos(QStringLiteral("Формат"),
                  [&](TfrxMemoView &memo) { memo.displayFormat.formatStr = format; });
    });

    m_imageName = choice({"logo", "stamp", "head", "accountant"}, "cmbImageName");
    m_imageName->setEditable(true);
    m_keepAspect = check(QStringLiteral("Сохранять пропорции"), "chkKeepAspect");
    form->addRow(QStringLiteral("Рисунок:"), m_imageName);
    form->addRow(m_keepAspect);
    connect(m_imageName, &QComboBox::textActivated, this, [this](const QString &name) {
        editPictures(QStringLiteral("Рисунок"),
                     [&](TfrxPictureView &picture) { picture.imageName = name; });
    });
    connect(m_keepAspect, &QCheckBox::toggled, this, [this](bool on) {
        editPictures(QStringLiteral("Пропорции"),
                     [&](TfrxPictureView &picture) { picture.keepAspectRatio = on; });
    });

    m_left = millimetres("spnLeft");
    m_top = millimetres("spnTop");
    m_width = millimetres("spnWidth");
    m_height = millimetres("spnHeight");
    auto *placeRow = new QHBoxLayout;
    auto *sizeRow = new QHBoxLayout;
    placeRow->addWidget(m_left);
    placeRow->addWidget(m_top);
    sizeRow->addWidget(m_width);
    sizeRow->addWidget(m_height);
    form->addRow(QStringLiteral("Слева, сверху:"), placeRow);
    form->addRow(QStringLiteral("Ширина, высота:"), sizeRow);
    const std::pair<QDoubleSpinBox *, double TfrxComponent::*> geometry[] = {
        {m_left, &TfrxComponent::left},
        {m_top, &TfrxComponent::top},
        {m_width, &TfrxComponent::width},
        {m_height, &TfrxComponent::height}};
    for (const auto &[box, member] : geometry) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, member](double mm) {
            editViews(QStringLiteral("Размер"),
                      [&](TfrxView &view) { view.*member = mmToUnits(mm); });
        });
    }
    layout()->addWidget(m_objectGroup);
}

void PropertyPanel::buildBandGroup()
{
    m_bandGroup = named(new QGroupBox(QStringLiteral("Бэнд")), "grpBand");
    auto *form = new QFormLayout(m_bandGroup);
    m_bandName = named(new QLabel, "lblBandName");
    form->addRow(m_bandName);
    m_bandHeight = millimetres("spnBandHeight");
    form->addRow(QStringLiteral("Высота:"), m_bandHeight);
    connect(m_bandHeight, &QDoubleSpinBox::valueChanged, this, [this](double mm) {
        if (!m_showing)
            m_document.setBandHeight(m_document.currentBand(), mmToUnits(mm));
    });
    layout()->addWidget(m_bandGroup);
}

void PropertyPanel::buildPageGroup()
{
    auto *group = named(new QGroupBox(QStringLiteral("Страница")), "grpPage");
    auto *form = new QFormLayout(group);
    m_paperWidth = millimetres("spnPaperWidth", 10000);
    m_paperHeight = millimetres("spnPaperHeight", 10000);
    form->addRow(QStringLiteral("Ширина бумаги:"), m_paperWidth);
    form->addRow(QStringLiteral("Высота бумаги:"), m_paperHeight);
    connect(m_paperWidth, &QDoubleSpinBox::valueChanged, this, [this](double mm) {
        editPage(QStringLiteral("Размер бумаги"),
                 [&](TfrxReportPage &page) { page.setPaperWidth(mm); });
    });
    connect(m_paperHeight, &QDoubleSpinBox::valueChanged, this, [this](double mm) {
        editPage(QStringLiteral("Размер бумаги"),
                 [&](TfrxReportPage &page) { page.setPaperHeight(mm); });
    });
    m_orientation = choice({"Книжная", "Альбомная"}, "cmbOrientation");
    form->addRow(QStringLiteral("Ориентация:"), m_orientation);
    connect(m_orientation, &QComboBox::activated, this, [this](int index) {
        editPage(QStringLiteral("Ориентация"),
                 [&](TfrxReportPage &page) { page.setOrientation(PageOrientation(index)); });
    });
    m_marginLeft = millimetres("spnMarginLeft");
    m_marginTop = millimetres("spnMarginTop");
    m_marginRight = millimetres("spnMarginRight");
    m_marginBottom = millimetres("spnMarginBottom");
    const std::pair<QDoubleSpinBox *, double PageSettings::*> margins[] = {
        {m_marginLeft, &PageSettings::leftMargin},
        {m_marginTop, &PageSettings::topMargin},
        {m_marginRight, &PageSettings::rightMargin},
        {m_marginBottom, &PageSettings::bottomMargin}};
    const char *labels[] = {"Поле слева:", "Поле сверху:", "Поле справа:", "Поле снизу:"};
    int i = 0;
    for (const auto &[box, member] : margins) {
        form->addRow(QString::fromUtf8(labels[i++]), box);
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, member](double mm) {
            editPage(QStringLiteral("Поля страницы"),
                     [&](TfrxReportPage &page) { page.settings.*member = mm; });
        });
    }
    layout()->addWidget(group);
}

void PropertyPanel::editViews(const QString &text, const std::function<void(TfrxView &)> &edit)
{
    if (!m_showing)
        m_document.changeObjects(m_document.selection(), text, edit);
}

void PropertyPanel::editMemos(const QString &text, const std::function<void(TfrxMemoView &)> &edit,
                              const QString &mergeKey)
{
    if (m_showing)
        return;
    std::vector<TfrxView *> memos;
    for (TfrxView *view : m_document.selection()) {
        if (dynamic_cast<TfrxMemoView *>(view))
            memos.push_back(view);
    }
    m_document.changeObjects(
        memos, text, [&](TfrxView &view) { edit(static_cast<TfrxMemoView &>(view)); }, mergeKey);
}

void PropertyPanel::editPictures(const QString &text,
                                 const std::function<void(TfrxPictureView &)> &edit)
{
    if (m_showing)
        return;
    std::vector<TfrxView *> pictures;
    for (TfrxView *view : m_document.selection()) {
        if (dynamic_cast<TfrxPictureView *>(view))
            pictures.push_back(view);
    }
    m_document.changeObjects(pictures, text,
                             [&](TfrxView &view) { edit(static_cast<TfrxPictureView &>(view)); });
}

void PropertyPanel::editPage(const QString &text, const std::function<void(TfrxReportPage &)> &edit)
{
    if (m_showing || !m_document.page())
        return;
    // The page's own setters turn the paper and margins; they work on a page of their own.
    TfrxReportPage changed;
    changed.settings = m_document.page()->settings;
    edit(changed);
    m_document.setPageSettings(changed.settings, text);
}

void PropertyPanel::insertField()
{
    if (m_fields->currentText().isEmpty())
        return;
    m_text->insertPlainText(m_fields->currentText());
    m_text->setFocus();
}

void PropertyPanel::refresh()
{
    m_showing = true;
    const std::vector<TfrxView *> &chosen = m_document.selection();
    showObject(chosen.empty() ? nullptr : chosen.front());
    const TfrxBand *band = m_document.currentBand();
    m_bandGroup->setEnabled(band != nullptr);
    m_bandName->setText(band ? band->name : QString());
    m_bandHeight->setValue(band ? toMm(band->height) : 0);
    showPage();
    m_showing = false;
}

void PropertyPanel::showObject(const TfrxView *view)
{
    const auto *memo = dynamic_cast<const TfrxMemoView *>(view);
    const auto *picture = dynamic_cast<const TfrxPictureView *>(view);
    m_objectGroup->setEnabled(view != nullptr);
    m_objectName->setText(view ? QStringLiteral("%1 (%2)").arg(view->name, view->className())
                               : QStringLiteral("Ничего не выбрано"));
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_text, m_fields, m_insertField, m_hAlign, m_vAlign,
                                          m_wordWrap, m_stretch, m_formatKind, m_formatStr})
        w->setEnabled(memo != nullptr);
    m_imageName->setEnabled(picture != nullptr);
    m_keepAspect->setEnabled(picture != nullptr);
    if (!view)
        return;
    // Rewriting the same text would put the cursor back to the start while the user types.
    const QString text = memo ? memo->memo.join(QLatin1Char('\n')) : QString();
    if (m_text->toPlainText() != text)
        m_text->setPlainText(text);
    m_fontName->setCurrentFont(QFont(view->font.name));
    m_fontSize->setValue(view->font.pointSize());
    m_bold->setChecked(view->font.bold);
    m_italic->setChecked(view->font.italic);
    m_underline->setChecked(view->font.underline);
    m_frameLeft->setChecked(view->frame.typ & ftLeft);
    m_frameTop->setChecked(view->frame.typ & ftTop);
    m_frameRight->setChecked(view->frame.typ & ftRight);
    m_frameBottom->setChecked(view->frame.typ & ftBottom);
    m_frameWidth->setValue(view->frame.width);
    int fill = 0;
    for (size_t i = 0; i < fills().size(); ++i) {
        if (fills()[i].color == view->color)
            fill = int(i);
    }
    m_fill->setCurrentIndex(fill);
    m_left->setValue(toMm(view->left));
    m_top->setValue(toMm(view->top));
    m_width->setValue(toMm(view->width));
    m_height->setValue(toMm(view->height));
    if (memo) {
        m_hAlign->setCurrentIndex(int(memo->hAlign));
        m_vAlign->setCurrentIndex(int(memo->vAlign));
        m_wordWrap->setChecked(memo->wordWrap);
        m_stretch->setCurrentIndex(int(memo->stretchMode));
        m_formatKind->setCurrentIndex(int(memo->displayFormat.kind));
        m_formatStr->setText(memo->displayFormat.formatStr);
    }
    if (picture) {
        m_imageName->setCurrentText(picture->imageName);
        m_keepAspect->setChecked(picture->keepAspectRatio);
    }
}

void PropertyPanel::showPage()
{
    const TfrxReportPage *page = m_document.page();
    if (!page)
        return;
    const PageSettings &s = page->settings;
    m_paperWidth->setValue(s.paperWidth);
    m_paperHeight->setValue(s.paperHeight);
    m_orientation->setCurrentIndex(int(s.orientation));
    m_marginLeft->setValue(s.leftMargin);
    m_marginTop->setValue(s.topMargin);
    m_marginRight->setValue(s.rightMargin);
    m_marginBottom->setValue(s.bottomMargin);
}

} // namespace zdesigner
