#pragma once

#include <QString>

// The application title: "Zarnik 1.2" at start, then the business's name followed by
// " Zarnik 1.2". It captions the program's own messages and its error box. It is kept
// apart from the toolkit's application display name, which the toolkit would append to
// the caption of every window.
QString applicationTitle();
void setApplicationTitle(const QString &title);
