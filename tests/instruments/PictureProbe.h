#pragma once
// Helpers to look at painted pictures: a fresh white picture, colours as the
// canvas names them, and searches that tolerate a pixel of rasterisation slack.
#include "Canvas.h"
#include "CanvasRecorder.h"

#include <QImage>

#include <string>
#include <vector>

QImage WhitePicture(int width, int height);
platform::TColor PixelAt(const QImage& picture, int x, int y);
// True when some pixel within `slack` pixels of (x, y) has the colour.
bool ColourNear(const QImage& picture, int x, int y, platform::TColor colour, int slack = 1);
int CountColour(const QImage& picture, const QRect& area, platform::TColor colour);

// Compares a recorded call with a pattern such as "LineTo(70|69, 61)": the same
// operation and, argument by argument, one of the listed alternatives.
bool CallMatches(const platform::TCanvasCall& call, const std::string& pattern);
// The recorded calls as text, one a line, for failure messages.
std::string Listing(const std::vector<platform::TCanvasCall>& calls);
