#include "ui/dialog_centring.h"

#include <QDialog>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

// The centres of two rectangles, which may differ by the half pixel of an odd size.
void expectSameCentre(const QRect &a, const QRect &b)
{
    EXPECT_LE(std::abs(2 * a.x() + a.width() - 2 * b.x() - b.width()), 1) << "left or right";
    EXPECT_LE(std::abs(2 * a.y() + a.height() - 2 * b.y() - b.height()), 1) << "above or below";
}

TEST(DialogCentring, SitsOnItsOpenersCentreFramesIncludedEachTimeItIsShown)
{
    QWidget opener;
    opener.setGeometry(100, 50, 500, 300);
    opener.show();
    QDialog dialog(&opener);
    dialog.setFixedSize(101, 51);
    centreOnParentWindow(dialog);
    centreOnParentWindow(dialog); // a second call changes nothing
    for (int showing = 0; showing < 2; ++showing) {
        dialog.show();
        expectSameCentre(dialog.frameGeometry(), opener.frameGeometry());
        dialog.hide();
        dialog.move(0, 0); // moved away by the user: shown centred again all the same
    }
}

TEST(DialogCentring, ADialogLargerThanItsOpenerStaysOnTheScreen)
{
    QWidget opener;
    const QRect screen = opener.screen()->availableGeometry();
    opener.setGeometry(screen.right() - 300, screen.bottom() - 200, 200, 100);
    opener.show();
    QDialog dialog(&opener);
    dialog.setFixedSize(500, 300);
    centreOnParentWindow(dialog);
    dialog.show();
    EXPECT_TRUE(screen.contains(dialog.frameGeometry()));
}

} // namespace
