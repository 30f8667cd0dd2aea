#include "new_objects.h"

#include "report/report_units.h"

namespace zdesigner {

using namespace zreport;

namespace {

std::unique_ptr<TfrxMemoView> emptyMemo(double widthMm, double heightMm)
{
    auto memo = std::make_unique<TfrxMemoView>();
    memo->width = mmToUnits(widthMm);
    memo->height = mmToUnits(heightMm);
    return memo;
}

} // namespace

std::unique_ptr<TfrxView> newMemo()
{
    auto memo = emptyMemo(40, 5);
    memo->memo = QStringList{QStringLiteral("Текст")};
    return memo;
}

std::unique_ptr<TfrxView> newPicture()
{
    auto picture = std::make_unique<TfrxPictureView>();
    picture->width = mmToUnits(30);
    picture->height = mmToUnits(30);
    picture->imageName = QStringLiteral("logo");
    return picture;
}

std::unique_ptr<TfrxView> newLine()
{
    auto line = emptyMemo(50, 0);
    line->frame.typ = ftTop;
    return line;
}

std::unique_ptr<TfrxView> newRectangle()
{
    auto rectangle = emptyMemo(50, 20);
    rectangle->frame.typ = ftLeft | ftRight | ftTop | ftBottom;
    return rectangle;
}

} // namespace zdesigner
