#pragma once

#include <QObject>

class QWidget;

// Refuses, with a beep, every typed character that cannot be part of a number: digits and
// signs pass, and for a fractional number also the decimal point (the locale's separator
// or the full stop, both of which the fields read) and the exponent letter. Control keys
// (deleting, moving) are never refused.
class NumericKeyFilter : public QObject {
public:
    enum class Kind { Integer, Fractional };

    NumericKeyFilter(Kind kind, QObject *parent);

    // Installs a filter of this kind on box, owned by box.
    static void install(QWidget *box, Kind kind);

    bool accepts(QChar c) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Kind m_kind;
};
