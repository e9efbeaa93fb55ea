#include "PictureProbe.h"

#include <sstream>

QImage WhitePicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

platform::TColor PixelAt(const QImage& picture, int x, int y)
{
    return platform::FromQColor(picture.pixelColor(x, y));
}

bool ColourNear(const QImage& picture, int x, int y, platform::TColor colour, int slack)
{
    for (int dy = -slack; dy <= slack; ++dy)
        for (int dx = -slack; dx <= slack; ++dx)
            if (picture.valid(x + dx, y + dy) && PixelAt(picture, x + dx, y + dy) == colour)
                return true;
    return false;
}

int CountColour(const QImage& picture, const QRect& area, platform::TColor colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += picture.valid(x, y) && PixelAt(picture, x, y) == colour;
    return count;
}

namespace {

std::vector<std::string> Tokens(const std::string& text)
{
    std::vector<std::string> tokens;
    std::string current;
    for (char ch : text) {
        if (ch == '(' || ch == ')' || ch == ',' || ch == ' ') {
            if (!current.empty())
                tokens.push_back(current);
            current.clear();
        } else {
            current += ch;
        }
    }
    if (!current.empty())
        tokens.push_back(current);
    return tokens;
}

bool TokenMatches(const std::string& actual, const std::string& alternatives)
{
    std::istringstream in(alternatives);
    std::string option;
    while (std::getline(in, option, '|'))
        if (option == actual)
            return true;
    return false;
}

} // namespace

bool CallMatches(const platform::TCanvasCall& call, const std::string& pattern)
{
    const auto actual = Tokens(call.ToString());
    const auto expected = Tokens(pattern);
    if (actual.size() != expected.size())
        return false;
    for (std::size_t i = 0; i < actual.size(); ++i)
        if (!TokenMatches(actual[i], expected[i]))
            return false;
    return true;
}

std::string Listing(const std::vector<platform::TCanvasCall>& calls)
{
    std::string text;
    for (const auto& call : calls)
        text += "  " + call.ToString() + "\n";
    return text;
}
