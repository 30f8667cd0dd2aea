#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

// "Искать текст": the text and whether to search from the start and to match letter case.
namespace zpreview {

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(const QString &text, bool caseSensitive, QWidget *parent = nullptr);

    QString text() const;
    bool fromStart() const;
    bool caseSensitive() const;

private:
    QLineEdit *m_text;
    QCheckBox *m_fromStart;
    QCheckBox *m_case;
};

} // namespace zpreview
