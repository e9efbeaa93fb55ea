#include "CanvasRecorder.h"

#include <sstream>

namespace platform {

const char* OpName(TCanvasOp op)
{
    switch (op) {
    case TCanvasOp::Rectangle: return "Rectangle";
    case TCanvasOp::Ellipse: return "Ellipse";
    case TCanvasOp::Chord: return "Chord";
    case TCanvasOp::MoveTo: return "MoveTo";
    case TCanvasOp::LineTo: return "LineTo";
    case TCanvasOp::TextOut: return "TextOut";
    case TCanvasOp::CopyRect: return "CopyRect";
    }
    return "?";
}

std::string TCanvasCall::ToString() const
{
    std::ostringstream out;
    out << OpName(op) << '(';
    for (std::size_t i = 0; i < args.size(); ++i)
        out << (i ? ", " : "") << args[i];
    if (op == TCanvasOp::TextOut)
        out << ", \"" << text << '"';
    out << ')';
    return out.str();
}

void PrintTo(const TCanvasCall& call, std::ostream* os)
{
    *os << call.ToString();
}

void TCanvasRecorder::Record(TCanvasOp op, std::vector<int> args, std::string text)
{
    calls_.push_back(TCanvasCall{op, std::move(args), std::move(text), Pen(), Brush(), Font()});
}

void TCanvasRecorder::Rectangle(int x1, int y1, int x2, int y2)
{
    Record(TCanvasOp::Rectangle, {x1, y1, x2, y2});
}

void TCanvasRecorder::Ellipse(int x1, int y1, int x2, int y2)
{
    Record(TCanvasOp::Ellipse, {x1, y1, x2, y2});
}

void TCanvasRecorder::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Record(TCanvasOp::Chord, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TCanvasRecorder::MoveTo(int x, int y)
{
    TCanvas::MoveTo(x, y);
    Record(TCanvasOp::MoveTo, {x, y});
}

void TCanvasRecorder::LineTo(int x, int y)
{
    Record(TCanvasOp::LineTo, {x, y});
    SetPenPos(TPoint{x, y});
}

void TCanvasRecorder::TextOut(int x, int y, const std::string& text)
{
    Record(TCanvasOp::TextOut, {x, y}, text);
}

void TCanvasRecorder::CopyRect(const TRect& dest, const TCanvas&, const TRect& sourceRect)
{
    Record(TCanvasOp::CopyRect, {dest.Left, dest.Top, dest.Right, dest.Bottom, sourceRect.Left,
                                 sourceRect.Top, sourceRect.Right, sourceRect.Bottom});
}

} // namespace platform
