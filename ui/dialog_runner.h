#pragma once

#include "dialog_centring.h"

#include <QDialog>

#include <functional>

// Runs a window modally and gives its result (QDialog::Accepted or Rejected). A window
// that opens others calls one of these, so that a test can fill the child window and
// close it in place of the user.
using DialogRunner = std::function<int(QDialog &dialog)>;

inline int execDialog(QDialog &dialog)
{
    centreOnParentWindow(dialog);
    return dialog.exec();
}
