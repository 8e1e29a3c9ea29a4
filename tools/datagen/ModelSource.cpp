#include "ModelSource.h"
#include "SourceLine.h"

#include "ModelStrokeFont.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace datagen {

Beam MakeBeam(Vec2 a, Vec2 b, Rgb colourA, Rgb colourB)
{
    Beam beam;
    beam.a = a;
    beam.b = b;
    beam.colourA = colourA;
    beam.colourB = colourB;
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    beam.direction = {dx / length, dy / length};
    beam.normal = {beam.direction.y, -beam.direction.x};
    return beam;
}

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int kMaxIncludeDepth = 8;

// Drawing state that persists from line to line (and into included files).
struct State {
    Rgb colourA{1, 1, 1};
    Rgb colourB{1, 1, 1};
    bool mirror = false;
    Vec2 offset{0, 0};
    float scale = 1.0f;
    float rotate = 0.0f;  // degrees, y downward (clockwise on screen)
};

class Parser {
public:
    Parser(const std::filesystem::path& includeDir, ModelSource& out) : includeDir_(includeDir), out_(out) {}

    bool Run(const std::string& text, const std::string& fileName, int depth, std::string& error)
    {
        std::istringstream lines(text);
        std::string line;
        int number = 0;
        while (std::getline(lines, line)) {
            ++number;
            std::vector<std::string> args = SourceWords(line);
            if (args.empty()) continue;
            const std::string keyword = args.front();
            args.erase(args.begin());
            std::string what;
            if (!Statement(keyword, args, depth, what)) {
                if (error.empty()) error = fileName + ":" + std::to_string(number) + ": " + what;
                return false;
            }
        }
        return true;
    }

private:
    bool Statement(const std::string& keyword, const std::vector<std::string>& args, int depth,
                   std::string& what)
    {
        std::vector<float> v;
        if (keyword == "include") {
            if (args.size() != 1) return Fail(what, "include takes one file name");
            if (depth >= kMaxIncludeDepth) return Fail(what, "includes nest too deep");
            std::ifstream in(includeDir_ / args[0], std::ios::binary);
            if (!in) return Fail(what, "cannot read " + args[0]);
            std::ostringstream text;
            text << in.rdbuf();
            std::string inner;
            if (!Run(text.str(), args[0], depth + 1, inner)) return Fail(what, inner);
            return true;
        }
        if (keyword == "mirror") {
            if (args.size() != 1 || (args[0] != "on" && args[0] != "off"))
                return Fail(what, "mirror takes on or off");
            state_.mirror = args[0] == "on";
            return true;
        }
        if (keyword == "text") {
            // text x y height WORD (underscores draw as spaces)
            if (args.size() != 4 || !Numbers(args, 0, 3, v)) return Fail(what, "text takes x y height WORD");
            return Text(v[0], v[1], v[2], args[3], what);
        }
        if (!Numbers(args, 0, args.size(), v)) return Fail(what, "numbers expected after " + keyword);
        if (keyword == "colour") {
            if (v.size() != 3 && v.size() != 6) return Fail(what, "colour takes 3 or 6 numbers");
            state_.colourA = {v[0], v[1], v[2]};
            state_.colourB = v.size() == 6 ? Rgb{v[3], v[4], v[5]} : state_.colourA;
            return true;
        }
        if (keyword == "offset") {
            if (v.size() != 2) return Fail(what, "offset takes x y");
            state_.offset = {v[0], v[1]};
            return true;
        }
        if (keyword == "scale") {
            if (v.size() != 1 || v[0] <= 0) return Fail(what, "scale takes one positive number");
            state_.scale = v[0];
            return true;
        }
        if (keyword == "rotate") {
            if (v.size() != 1) return Fail(what, "rotate takes degrees");
            state_.rotate = v[0];
            return true;
        }
        if (keyword == "line" || keyword == "loop") {
            if (v.size() % 2 != 0 || v.size() < 4) return Fail(what, keyword + " takes at least two x y points");
            std::vector<Vec2> points;
            for (std::size_t i = 0; i < v.size(); i += 2) points.push_back({v[i], v[i + 1]});
            if (keyword == "loop") {
                if (points.size() < 3) return Fail(what, "loop takes at least three points");
                points.push_back(points.front());
            }
            return Polyline(points, what);
        }
        if (keyword == "rect") {
            if (v.size() != 4) return Fail(what, "rect takes x0 y0 x1 y1");
            return Polyline({{v[0], v[1]}, {v[2], v[1]}, {v[2], v[3]}, {v[0], v[3]}, {v[0], v[1]}}, what);
        }
        if (keyword == "arc") {
            // arc cx cy r from to segments (degrees; 0 along +x, 90 along +y)
            if (v.size() != 6 || v[2] <= 0 || v[5] < 1 || v[5] > 360)
                return Fail(what, "arc takes cx cy radius from to segments (1..360)");
            const int n = static_cast<int>(v[5]);
            std::vector<Vec2> points;
            for (int i = 0; i <= n; ++i) {
                const float a = (v[3] + (v[4] - v[3]) * static_cast<float>(i) / static_cast<float>(n)) * kPi / 180;
                points.push_back({v[0] + v[2] * std::cos(a), v[1] + v[2] * std::sin(a)});
            }
            return Polyline(points, what);
        }
        if (keyword == "circle") {
            if (v.size() != 3 || v[2] <= 0) return Fail(what, "circle takes x y radius (radius > 0)");
            AddCircle(Place({v[0], v[1]}), v[2] * state_.scale);
            if (state_.mirror && Place({v[0], v[1]}).x != 0) AddCircle(Mirror(Place({v[0], v[1]})), v[2] * state_.scale);
            return true;
        }
        return Fail(what, "unknown keyword " + keyword);
    }

    static bool Fail(std::string& what, const std::string& message)
    {
        what = message;
        return false;
    }

    static bool Numbers(const std::vector<std::string>& args, std::size_t from, std::size_t to, std::vector<float>& v)
    {
        for (std::size_t i = from; i < to; ++i) {
            char* end = nullptr;
            const float f = std::strtof(args[i].c_str(), &end);
            if (end == args[i].c_str() || *end != '\0' || !std::isfinite(f)) return false;
            v.push_back(f);
        }
        return true;
    }

    Vec2 Place(Vec2 p) const
    {
        const float a = state_.rotate * kPi / 180;
        const float c = std::cos(a), s = std::sin(a);
        const Vec2 q{p.x * state_.scale, p.y * state_.scale};
        return {q.x * c - q.y * s + state_.offset.x, q.x * s + q.y * c + state_.offset.y};
    }

    static Vec2 Mirror(Vec2 p) { return {-p.x, p.y}; }

    void AddCircle(Vec2 centre, float radius) { out_.circles.push_back(HullCircle(radius, 0, 0, centre.x, centre.y)); }

    bool Polyline(const std::vector<Vec2>& points, std::string& what)
    {
        std::vector<Vec2> placed;
        for (Vec2 p : points) {
            placed.push_back(Place(p));
            if (!std::isfinite(placed.back().x) || !std::isfinite(placed.back().y))
                return Fail(what, "a point out of range after placing");
        }
        for (int pass = 0; pass < (state_.mirror ? 2 : 1); ++pass) {
            for (std::size_t i = 0; i + 1 < placed.size(); ++i) {
                Vec2 a = placed[i], b = placed[i + 1];
                if (pass == 1) {
                    a = Mirror(a);
                    b = Mirror(b);
                }
                if (a == b) return Fail(what, "a segment with both ends at the same point");
                const Beam beam = MakeBeam(a, b, state_.colourA, state_.colourB);
                // Ends far apart overflow the length: the direction comes out
                // not a number or zero, and the game would collide with it.
                if (!std::isfinite(beam.direction.x) || !std::isfinite(beam.direction.y) ||
                    (beam.direction.x == 0 && beam.direction.y == 0))
                    return Fail(what, "a segment too long to give a direction");
                out_.beams.push_back(beam);
            }
        }
        return true;
    }

    bool Text(float x, float y, float height, const std::string& word, std::string& what)
    {
        const float unit = height / 6;  // the stroke grid is 6 high, 4 wide
        float pen = x;
        for (char c : word) {
            for (const Stroke& stroke : StrokesOf(c == '_' ? ' ' : c)) {
                std::vector<Vec2> points;
                for (Vec2 p : stroke) points.push_back({pen + p.x * unit, y + p.y * unit});
                if (!Polyline(points, what)) return false;
            }
            pen += 6 * unit;  // 4 wide plus a gap of 2
        }
        return true;
    }

    std::filesystem::path includeDir_;
    ModelSource& out_;
    State state_;
};

}  // namespace

bool ParseModelSource(const std::string& text, const std::string& fileName,
                      const std::filesystem::path& includeDir, ModelSource& out, std::string& error)
{
    error.clear();
    Parser parser(includeDir, out);
    return parser.Run(text, fileName, 0, error);
}

}  // namespace datagen
