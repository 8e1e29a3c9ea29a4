#include "ModelStrokeFont.h"

#include <array>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

namespace datagen {
namespace {

// Each character: polylines separated by '|', points "x,y" separated by
// spaces, on a grid 4 wide and 6 high (y downward).
const std::map<char, const char*>& Table()
{
    static const std::map<char, const char*> table = {
        {'A', "0,6 0,2 2,0 4,2 4,6|0,3.5 4,3.5"},
        {'B', "0,0 3,0 4,1 4,2 3,3 0,3|3,3 4,4 4,5 3,6 0,6 0,0"},
        {'C', "4,0 1,0 0,1 0,5 1,6 4,6"},
        {'D', "0,0 3,0 4,1 4,5 3,6 0,6 0,0"},
        {'E', "4,0 0,0 0,6 4,6|0,3 3,3"},
        {'F', "4,0 0,0 0,6|0,3 3,3"},
        {'G', "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,3.5 2,3.5"},
        {'H', "0,0 0,6|4,0 4,6|0,3 4,3"},
        {'I', "1,0 3,0|2,0 2,6|1,6 3,6"},
        {'J', "4,0 4,5 3,6 1,6 0,5"},
        {'K', "0,0 0,6|4,0 0,3.5|1.5,2.5 4,6"},
        {'L', "0,0 0,6 4,6"},
        {'M', "0,6 0,0 2,3 4,0 4,6"},
        {'N', "0,6 0,0 4,6 4,0"},
        {'O', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0"},
        {'P', "0,6 0,0 3,0 4,1 4,2 3,3 0,3"},
        {'Q', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0|2.5,4.5 4,6"},
        {'R', "0,6 0,0 3,0 4,1 4,2 3,3 0,3|2,3 4,6"},
        {'S', "4,1 3,0 1,0 0,1 0,2 1,3 3,3 4,4 4,5 3,6 1,6 0,5"},
        {'T', "0,0 4,0|2,0 2,6"},
        {'U', "0,0 0,5 1,6 3,6 4,5 4,0"},
        {'V', "0,0 2,6 4,0"},
        {'W', "0,0 1,6 2,3 3,6 4,0"},
        {'X', "0,0 4,6|4,0 0,6"},
        {'Y', "0,0 2,3 4,0|2,3 2,6"},
        {'Z', "0,0 4,0 0,6 4,6"},
        {'0', "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0|0.5,5.5 3.5,0.5"},
        {'1', "1,1 2,0 2,6|1,6 3,6"},
        {'2', "0,1 1,0 3,0 4,1 4,2 0,6 4,6"},
        {'3', "0,1 1,0 3,0 4,1 4,2 3,3 1.5,3|3,3 4,4 4,5 3,6 1,6 0,5"},
        {'4', "3,6 3,0 0,4 4,4"},
        {'5', "4,0 0,0 0,3 3,3 4,4 4,5 3,6 0,6"},
        {'6', "4,0 1,0 0,1 0,5 1,6 3,6 4,5 4,4 3,3 0,3"},
        {'7', "0,0 4,0 1.5,6"},
        {'8', "1,0 3,0 4,1 4,2 3,3 1,3 0,2 0,1 1,0|1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3"},
        {'9', "4,3 1,3 0,2 0,1 1,0 3,0 4,1 4,5 3,6 0,6"},
        {'!', "2,0 2,4|2,5.5 2,6"},
        {'-', "1,3 3,3"},
        {'.', "1.8,5.6 2.2,5.6 2.2,6 1.8,6 1.8,5.6"},
    };
    return table;
}

std::vector<Stroke> Parse(const char* outline)
{
    std::vector<Stroke> strokes;
    std::string all(outline);
    std::stringstream parts(all);
    std::string part;
    while (std::getline(parts, part, '|')) {
        Stroke stroke;
        std::stringstream points(part);
        std::string point;
        while (points >> point) {
            const auto comma = point.find(',');
            stroke.push_back(Vec2{std::strtof(point.substr(0, comma).c_str(), nullptr),
                                  std::strtof(point.substr(comma + 1).c_str(), nullptr)});
        }
        if (stroke.size() >= 2) strokes.push_back(stroke);
    }
    return strokes;
}

}  // namespace

const std::vector<Stroke>& StrokesOf(char c)
{
    static std::map<char, std::vector<Stroke>> cache;
    static const std::vector<Stroke> none;
    const auto it = Table().find(c);
    if (it == Table().end()) return none;
    auto& strokes = cache[c];
    if (strokes.empty()) strokes = Parse(it->second);
    return strokes;
}

}  // namespace datagen
