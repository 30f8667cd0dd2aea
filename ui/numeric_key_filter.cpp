#include "numeric_key_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QWidget>

NumericKeyFilter::NumericKeyFilter(Kind kind, QObject *parent) : QObject(parent), m_kind(kind) {}

void NumericKeyFilter::install(QWidget *box, Kind kind)
{
    box->installEventFilter(new NumericKeyFilter(kind, box));
}

bool NumericKeyFilter::accepts(QChar c) const
{
    if (!c.isPrint() || (c.isDigit() && c.unicode() < 128) || c == QLatin1Char('+') ||
        c == QLatin1Char('-'))
        return true;
    if (m_kind == Kind::Integer)
        return false;
    // The full stop is the decimal point of the numeric keypad and of many users' habits,
    // whatever separator the desktop's language has.
    return QLocale().decimalPoint() == QString(c) || c == QLatin1Char('.') ||
           c == QLatin1Char('e') || c == QLatin1Char('E');
}

bool NumericKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        for (QChar c : text) {
            if (!accepts(c)) {
                QApplication::beep();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
