#include "draw_op.h"

namespace typeset {

const char* opKindName(DrawOp::Kind k) {
    switch (k) {
    case DrawOp::Text: return "text";
    case DrawOp::Glyph: return "glyph";
    case DrawOp::Line: return "line";
    case DrawOp::Rect: return "rectangle";
    case DrawOp::FilledRect: return "filled-rectangle";
    case DrawOp::Circle: return "circle";
    case DrawOp::Point: return "point";
    case DrawOp::Clear: return "clear";
    case DrawOp::Copy: return "copy";
    }
    return "?";
}

}  // namespace typeset
