#pragma once
// A canvas that paints nothing and remembers every call with its integer
// arguments and the pen, brush and font in force, so drawing code can be checked
// call by call.
#include "Canvas.h"

#include <ostream>
#include <string>
#include <vector>

namespace platform {

enum class TCanvasOp { Rectangle, Ellipse, Chord, MoveTo, LineTo, TextOut, CopyRect };

struct TCanvasCall {
    TCanvasOp op = TCanvasOp::MoveTo;
    std::vector<int> args;
    std::string text; // TextOut only
    TPen pen;
    TBrush brush;
    TFont font;

    // "Chord(0, 0, 105, 105, 0, 52, 105, 52)", "TextOut(46, 46, \"0\")".
    std::string ToString() const;
};

const char* OpName(TCanvasOp op);
void PrintTo(const TCanvasCall& call, std::ostream* os);

class TCanvasRecorder : public TCanvas {
public:
    TCanvasRecorder(int width, int height) : width_(width), height_(height) {}

    const std::vector<TCanvasCall>& Calls() const { return calls_; }
    void Clear() { calls_.clear(); }

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, const std::string& text) override;
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) override;

private:
    void Record(TCanvasOp op, std::vector<int> args, std::string text = {});

    int width_;
    int height_;
    std::vector<TCanvasCall> calls_;
};

} // namespace platform
