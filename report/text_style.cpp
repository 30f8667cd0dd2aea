#include "text_style.h"

namespace zreport {

TextStyle TextStyle::of(const TfrxMemoView &memo)
{
    TextStyle s;
    s.font = memo.font;
    s.frame = memo.frame;
    s.fill = memo.color;
    s.hAlign = memo.hAlign;
    s.vAlign = memo.vAlign;
    s.gapX = memo.gapX;
    s.gapY = memo.gapY;
    s.lineSpacing = memo.lineSpacing;
    s.paragraphGap = memo.paragraphGap;
    s.charSpacing = memo.charSpacing;
    s.wordWrap = memo.wordWrap;
    s.clipped = memo.clipped;
    s.wysiwyg = memo.wysiwyg;
    return s;
}

} // namespace zreport
