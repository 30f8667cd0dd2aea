#pragma once

#include "report/report_model.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// The properties of the chosen objects (the first one's shown; a change goes to all that
// have the property), of their band and of the page. Every change goes through the undo stack.
namespace zdesigner {

class DesignDocument;

class PropertyPanel : public QWidget {
    Q_OBJECT
public:
    PropertyPanel(DesignDocument &document, const QStringList &fields, QWidget *parent = nullptr);

    // Shows the document's state again.
    void refresh();

private:
    void buildObjectGroup(const QStringList &fields);
    void buildBandGroup();
    void buildPageGroup();
    void editMemos(const QString &text, const std::function<void(zreport::TfrxMemoView &)> &edit,
                   const QString &mergeKey = {});
    void editViews(const QString &text, const std::function<void(zreport::TfrxView &)> &edit);
    void editPictures(const QString &text,
                      const std::function<void(zreport::TfrxPictureView &)> &edit);
    void editPage(const QString &text, const std::function<void(zreport::TfrxReportPage &)> &edit);
    void insertField();
    void showObject(const zreport::TfrxView *view);
    void showPage();

    DesignDocument &m_document;
    bool m_showing = false;

    QGroupBox *m_objectGroup;
    QLabel *m_objectName;
    QPlainTextEdit *m_text;
    QComboBox *m_fields;
    QPushButton *m_insertField;
    QFontComboBox *m_fontName;
    QSpinBox *m_fontSize;
    QCheckBox *m_bold, *m_italic, *m_underline;
    QComboBox *m_hAlign, *m_vAlign;
    QCheckBox *m_frameLeft, *m_frameTop, *m_frameRight, *m_frameBottom;
    QDoubleSpinBox *m_frameWidth;
    QComboBox *m_fill;
    QCheckBox *m_wordWrap;
    QComboBox *m_stretch;
    QComboBox *m_formatKind;
    QLineEdit *m_formatStr;
    QComboBox *m_imageName;
    QCheckBox *m_keepAspect;
    QDoubleSpinBox *m_left, *m_top, *m_width, *m_height;

    QGroupBox *m_bandGroup;
    QLabel *m_bandName;
    QDoubleSpinBox *m_bandHeight;

    QDoubleSpinBox *m_paperWidth, *m_paperHeight;
    QComboBox *m_orientation;
    QDoubleSpinBox *m_marginLeft, *m_marginTop, *m_marginRight, *m_marginBottom;
};

} // namespace zdesigner
