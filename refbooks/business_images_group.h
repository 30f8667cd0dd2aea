#pragma once

#include "data/business_images.h"
#include "images/business_image.h"

#include <QByteArray>
#include <QGroupBox>

#include <map>
#include <vector>

class FbConnection;
class PromptService;
class QCheckBox;
class QLabel;
class QPushButton;

// "Изображения на бланках" in the requisites window: the logo, the stamp and the two
// signatures, each with a preview, loaded from a file or removed. Nothing is stored until the
// window's "ОК" calls save(), so that "Отмена" drops the changes with the rest.
class BusinessImagesGroup : public QGroupBox {
    Q_OBJECT

public:
    BusinessImagesGroup(FbConnection &connection, PromptService &prompts, QWidget *parent);

    // Stores what was loaded and removes what was deleted since the window opened.
    void save();
    // The controls in the order the keyboard runs through them.
    std::vector<QWidget *> keyboardOrder() const;

private:
    struct SlotView {
        zimages::Slot slot;
        QLabel *preview;
        QPushButton *load;
        QPushButton *remove;
    };

    QWidget *createSlot(zimages::Slot slot);
    void loadFile(const SlotView &view);
    void removeImage(const SlotView &view);
    // A null image shows an empty slot; one that cannot be drawn, or `unreadable`, says so.
    void show(const SlotView &view, const QByteArray &image, bool unreadable = false);

    BusinessImages m_stored;
    PromptService &m_prompts;
    QCheckBox *m_transparent;
    std::vector<SlotView> m_views;
    // The images to store by slot; a null one is to be removed.
    std::map<zimages::Slot, QByteArray> m_changed;
};
