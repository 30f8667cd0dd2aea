#pragma once

#include <QIcon>

// The icons of the orientation toggles: a page lying on its side and an upright page.
QIcon landscapePageIcon();
QIcon portraitPageIcon();
