#pragma once

class QWidget;

// Keeps a window centred on the window of its parent, frames included, each time it is
// shown: the way a dialog opened from the (maximised) main window is expected to sit.
// Does nothing for a window without a parent.
void centreOnParentWindow(QWidget &window);
