#pragma once

#include "ui/pick_modes.h"

#include <functional>

class QWidget;

// How the editor opens the reference books to pick a value into the current document.
// Each opener shows its window modally over parent, opened for what the mode names, and
// returns when it has closed: true when a row was chosen. The windows write their choice
// straight into the current records of the data module. A pick button without an opener
// is disabled.
struct DocumentPickers {
    std::function<bool(QWidget *parent, ClientPick mode)> client; // the client list
    std::function<bool(QWidget *parent)> ground;                // the grounds of the current client
    std::function<bool(QWidget *parent)> knp;                   // the payment purpose codes
    std::function<bool(QWidget *parent, GoodsPick mode)> goods; // the goods and services
};
