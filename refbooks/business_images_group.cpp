#include "business_images_group.h"

#include "data/db_error.h"
#include "ui/command.h"
#include "ui/prompt_service.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QSize kPreviewSize(160, 64);

const QString kFileFilter = QStringLiteral(
    "Изображения (*.png *.jpg *.jpeg *.bmp *.svg *.PNG *.JPG *.JPEG *.BMP *.SVG);;Все файлы (*)");

// "Logo", "Stamp", "Head", "Accountant": the part of the slot's control names.
QString namePart(zimages::Slot slot)
{
    QString name = zimages::slotName(slot);
    name[0] = name[0].toUpper();
    return name;
}

} // namespace

BusinessImagesGroup::BusinessImagesGroup(FbConnection &connection, PromptService &prompts,
                                         QWidget *parent)
    : QGroupBox(QStringLiteral("Изображения на бланках"), parent), m_stored(connection),
      m_prompts(prompts)
{
    setObjectName(QStringLiteral("grpImages"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 6);
    layout->setSpacing(4);
    auto *row = new QHBoxLayout;
    row->setSpacing(12);
    for (const zimages::Slot slot : zimages::kSlots)
        row->addWidget(createSlot(slot), 1);
    layout->addLayout(row);

    // Stamps and signatures are scanned on white paper, which would hide the text under them.
    m_transparent = new QCheckBox(QStringLiteral("Сделать белый фон прозрачным"), this);
    m_transparent->setObjectName(QStringLiteral("chkTransparent"));
    m_transparent->setToolTip(
        QStringLiteral("При загрузке белый фон изображения становится прозрачным, и текст "
                       "бланка под печатью и подписью остается виден"));
    m_transparent->setChecked(true);
    layout->addWidget(m_transparent);

    for (const SlotView &view : m_views) {
        try {
            show(view, m_stored.load(zimages::slotName(view.slot)));
        } catch (const DbError &) {
            show(view, QByteArray(), true);
        }
    }
}

QWidget *BusinessImagesGroup::createSlot(zimages::Slot slot)
{
    auto *box = new QWidget(this);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(new QLabel(zimages::slotCaption(slot), box));

    // White, as the paper the image is printed on.
    auto *preview = new QLabel(box);
    preview->setObjectName(QStringLiteral("img") + namePart(slot));
    preview->setFixedHeight(kPreviewSize.height() + 4);
    preview->setMinimumWidth(kPreviewSize.width() + 4);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    preview->setFrameShadow(QFrame::Sunken);
    preview->setAutoFillBackground(true);
    QPalette paper = preview->palette();
    paper.setColor(QPalette::Window, Qt::white);
    preview->setPalette(paper);
    layout->addWidget(preview);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    auto *load = new QPushButton(QStringLiteral("Загрузить..."), box);
    load->setObjectName(QStringLiteral("btnLoad") + namePart(slot));
    auto *remove = new QPushButton(QStringLiteral("Удалить"), box);
    remove->setObjectName(QStringLiteral("btnDel") + namePart(slot));
    buttons->addWidget(load);
    buttons->addWidget(remove);
    layout->addLayout(buttons);

    m_views.push_back({slot, preview, load, remove});
    const SlotView view = m_views.back();
    connectCommand(load, this, m_prompts, [this, view] { loadFile(view); });
    connectCommand(remove, this, m_prompts, [this, view] { removeImage(view); });
    return box;
}

void BusinessImagesGroup::show(const SlotView &view, const QByteArray &image, bool unreadable)
{
    view.remove->setEnabled(!image.isNull() || unreadable);
    QPixmap pixmap;
    if (!unreadable && !image.isNull() && pixmap.loadFromData(image)) {
        view.preview->setPixmap(
            pixmap.scaled(kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        return;
    }
    view.preview->setPixmap({});
    view.preview->setText(image.isNull() && !unreadable ? QStringLiteral("Нет изображения")
                                                        : QStringLiteral("Изображение повреждено"));
}

void BusinessImagesGroup::loadFile(const SlotView &view)
{
    const QString path = m_prompts.chooseFile(
        this, QStringLiteral("Изображение «%1»").arg(zimages::slotCaption(view.slot)), QString(),
        kFileFilter);
    if (path.isEmpty())
        return;
    zimages::LoadOptions options;
    options.whiteToTransparent = m_transparent->isChecked();
    const zimages::LoadedImage loaded = zimages::loadBusinessImageFile(path, view.slot, options);
    if (!loaded.ok()) {
        reportError(m_prompts, this, loaded.error);
        return;
    }
    m_changed[view.slot] = loaded.data;
    show(view, loaded.data);
}

void BusinessImagesGroup::removeImage(const SlotView &view)
{
    m_changed[view.slot] = QByteArray();
    show(view, QByteArray());
}

void BusinessImagesGroup::save()
{
    // Each change leaves the list once stored, so that after a failure "ОК" again stores
    // only what is left.
    while (!m_changed.empty()) {
        const auto &[slot, image] = *m_changed.begin();
        if (image.isNull())
            m_stored.remove(zimages::slotName(slot));
        else
            m_stored.store(zimages::slotName(slot), image);
        m_changed.erase(m_changed.begin());
    }
}

std::vector<QWidget *> BusinessImagesGroup::keyboardOrder() const
{
    std::vector<QWidget *> order;
    for (const SlotView &view : m_views) {
        order.push_back(view.load);
        order.push_back(view.remove);
    }
    order.push_back(m_transparent);
    return order;
}
