#include "text_style.h"

namespace zreport {

TextStyle TextStyle::of(const TfrxMemoView &memo)
{
    TextStyle s;
    static_cast<TextFormat &>(s) = memo;
    s.font = memo.font;
    s.frame = memo.frame;
    s.fill = memo.color;
    return s;
}

} // namespace zreport
