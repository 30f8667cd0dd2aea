#pragma once

#include <functional>

class QWidget;

// How the editor opens the reference books to pick a value into the current document.
// Each opener shows its window modally over parent and returns when it has closed; the
// editor sets the window's mode value (OrgPickMode, OsnovPickMode, KNPPickMode,
// NomenklMode) before the call and resets it to 0 after it. The windows write their choice
// straight into the current records of the data module. A pick button without an opener
// is disabled.
struct DocumentPickers {
    std::function<void(QWidget *parent)> client; // the client list
    std::function<void(QWidget *parent)> ground; // the grounds of the current client
    std::function<void(QWidget *parent)> knp;    // the payment purpose codes
    std::function<void(QWidget *parent)> goods;  // the goods and services
};
