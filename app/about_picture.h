#pragma once

#include <QPixmap>

// The picture of the About window: the program's printed forms on a steppe at dawn.
QPixmap aboutPicture(QSize size);
