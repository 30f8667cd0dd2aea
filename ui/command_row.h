#pragma once

#include <QString>

#include <initializer_list>

class QBoxLayout;
class QDialog;
class QPushButton;
class QWidget;

// A dialog's command button, named for the tests; Enter in the dialog's fields never presses
// it.
QPushButton *commandButton(QWidget *parent, const char *name, const QString &text);

// The dialog's row of commands, left to right, with "Закрыть" (btnClose, which accepts the
// dialog) at its right end.
QBoxLayout *commandRow(QDialog &dialog, std::initializer_list<QPushButton *> commands);
