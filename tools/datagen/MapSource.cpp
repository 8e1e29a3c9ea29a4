#include "MapSource.h"
#include "MapText.h"
#include "SourceLine.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <sstream>
#include <vector>

namespace datagen {

namespace {

// Actor kinds written as plain 16-byte records, by the name used in sources.
const std::map<std::string, std::int32_t>& PlainActorTypes()
{
    static const std::map<std::string, std::int32_t> types = {
        {"BlueTurret", 0}, {"RedTurret", 1}, {"BlueTank", 2},    {"FuelPod", 3},
        {"Scientist", 4},  {"Generator", 5}, {"Tree1", 8},       {"Tree2", 9},
        {"Tree3", 10},     {"Tree4", 11},    {"Tree5", 12},      {"Tree6", 13},
        {"CheckPoint", 14}, {"Mine", 17},    {"Missile", 18},    {"Lander", 19},
        {"Flea", 20},      {"Sweeper", 22},  {"SuperTurret", 24}, {"Station", 25},
    };
    return types;
}

bool ParseFloat(const std::string& token, float& out)
{
    if (token.empty())
        return false;
    char* end = nullptr;
    const double value = std::strtod(token.c_str(), &end);
    // A double beyond the float range would become an infinite coordinate.
    if (end == token.c_str() || *end != '\0' || !std::isfinite(value) ||
        std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        return false;
    out = static_cast<float>(value);
    return true;
}

bool ParsePoint(const std::string& token, Vec2& out)
{
    const std::size_t comma = token.find(',');
    if (comma == std::string::npos)
        return false;
    return ParseFloat(token.substr(0, comma), out.x) && ParseFloat(token.substr(comma + 1), out.y);
}

// key=value options after the position of a record.
class Options {
public:
    bool Parse(const std::vector<std::string>& tokens, std::size_t first, std::string& error)
    {
        for (std::size_t i = first; i < tokens.size(); ++i) {
            const std::size_t eq = tokens[i].find('=');
            if (eq == std::string::npos || eq == 0) {
                error = "expected key=value, found '" + tokens[i] + "'";
                return false;
            }
            values[tokens[i].substr(0, eq)] = tokens[i].substr(eq + 1);
        }
        return true;
    }
    bool Float(const char* key, float& out, std::string& error)
    {
        auto it = values.find(key);
        if (it == values.end())
            return true;
        const std::string text = it->second;
        values.erase(it);
        if (!ParseFloat(text, out)) {
            error = std::string("'") + key + "' needs a number";
            return false;
        }
        return true;
    }
    bool Int(const char* key, std::int32_t& out, std::string& error)
    {
        float value = static_cast<float>(out);
        if (!Float(key, value, error))
            return false;
        out = static_cast<std::int32_t>(std::lround(value));
        return true;
    }
    bool Flag(const char* key, bool& out, std::string& error)
    {
        auto it = values.find(key);
        if (it == values.end())
            return true;
        const std::string text = it->second;
        values.erase(it);
        if (text != "0" && text != "1") {
            error = std::string("'") + key + "' needs 0 or 1";
            return false;
        }
        out = text == "1";
        return true;
    }
    bool Name(const char* key, std::string& out, std::string& error)
    {
        auto it = values.find(key);
        if (it == values.end())
            return true;
        out = it->second;
        values.erase(it);
        if (out.empty() || !FitsMapName(out)) {
            error = std::string("'") + key + "' needs a name of 1 to 15 characters";
            return false;
        }
        return true;
    }
    // Every key must have been used.
    bool Done(std::string& error) const
    {
        if (values.empty())
            return true;
        error = "unknown option '" + values.begin()->first + "'";
        return false;
    }

private:
    std::map<std::string, std::string> values;
};

class Parser {
public:
    explicit Parser(MapSource& out) : out(out) {}

    bool Line(const std::vector<std::string>& t, std::string& error)
    {
        const std::string& kind = t[0];
        if (kind.find(',') != std::string::npos) {
            if (!inPolyline) {
                error = "points outside a terrain line";
                return false;
            }
            return Points(t, 0, error);
        }
        FinishPolyline();
        if (kind == "colour")
            return Colour(t, error);
        if (kind == "terrain" || kind == "loop") {
            inPolyline = true;
            closed = kind == "loop";
            return Points(t, 1, error);
        }
        if (kind == "stress")
            return Stress(t, error);
        if (kind == "rough")
            return Rough(t, error);
        if (kind == "text")
            return Text(t, error);
        Vec2 position;
        if (t.size() < 3 || !ParseFloat(t[1], position.x) || !ParseFloat(t[2], position.y)) {
            error = "'" + kind + "' needs x and y";
            return false;
        }
        Options options;
        if (!options.Parse(t, 3, error))
            return false;
        if (!Record(kind, position, options, error))
            return false;
        return options.Done(error);
    }

    void FinishPolyline()
    {
        if (!inPolyline)
            return;
        if (closed && points.size() > 2)
            points.push_back(points.front());
        const std::vector<Vec2> detailed = Roughen(points);
        for (std::size_t i = 1; i < detailed.size(); ++i)
            out.contents.beams.push_back(MakeTerrainBeam(detailed[i - 1], detailed[i], colourA, colourB));
        points.clear();
        inPolyline = false;
    }

private:
    bool Colour(const std::vector<std::string>& t, std::string& error)
    {
        float v[6] = {};
        const std::size_t n = t.size() - 1;
        if (n != 3 && n != 6) {
            error = "'colour' needs r g b or r g b r g b";
            return false;
        }
        for (std::size_t i = 0; i < n; ++i) {
            if (!ParseFloat(t[i + 1], v[i])) {
                error = "'colour' needs numbers";
                return false;
            }
        }
        colourA = {v[0], v[1], v[2]};
        colourB = n == 6 ? Rgb{v[3], v[4], v[5]} : colourA;
        return true;
    }

    bool Points(const std::vector<std::string>& t, std::size_t first, std::string& error)
    {
        for (std::size_t i = first; i < t.size(); ++i) {
            Vec2 p;
            if (!ParsePoint(t[i], p)) {
                error = "bad point '" + t[i] + "' (write x,y)";
                return false;
            }
            if (!points.empty() && points.back() == p) {
                error = "repeated point '" + t[i] + "' makes a zero-length beam";
                return false;
            }
            points.push_back(p);
        }
        return true;
    }

    // text x y height WORD: the word's letters as thin rocks, in the colour
    // set last, never roughened.
    bool Text(const std::vector<std::string>& t, std::string& error)
    {
        Vec2 topLeft;
        float height = 0.0f;
        if (t.size() != 5 || !ParseFloat(t[1], topLeft.x) || !ParseFloat(t[2], topLeft.y) ||
            !ParseFloat(t[3], height)) {
            error = "'text' needs x y height WORD";
            return false;
        }
        std::vector<std::vector<Vec2>> outlines;
        if (!MapTextOutlines(topLeft, height, t[4], outlines, error))
            return false;
        for (const std::vector<Vec2>& outline : outlines)
            for (std::size_t i = 0; i < outline.size(); ++i)
                out.contents.beams.push_back(
                    MakeTerrainBeam(outline[i], outline[(i + 1) % outline.size()], colourA, colourB));
        return true;
    }

    bool Rough(const std::vector<std::string>& t, std::string& error)
    {
        float amplitude = 0.0f, step = 0.0f;
        if (t.size() == 2 && ParseFloat(t[1], amplitude) && amplitude == 0.0f) {
            roughAmplitude = 0.0f;
            return true;
        }
        if (t.size() != 3 || !ParseFloat(t[1], amplitude) || !ParseFloat(t[2], step) || amplitude < 0.0f ||
            step < 8.0f || amplitude > step / 3.0f) {
            error = "'rough' needs an amplitude and a step of at least 8, the amplitude at most a third of "
                    "the step (or 'rough 0')";
            return false;
        }
        roughAmplitude = amplitude;
        roughStep = step;
        return true;
    }

    // Breaks the steeper sides of a polyline into short, jittered pieces so
    // hills and rocks look weathered. Floors and gentle slopes stay straight:
    // pads, and the beams actors stand on, keep their exact line.
    std::vector<Vec2> Roughen(const std::vector<Vec2>& line) const
    {
        if (roughAmplitude <= 0.0f || line.size() < 2)
            return line;
        std::vector<Vec2> result{line.front()};
        for (std::size_t i = 1; i < line.size(); ++i) {
            const Vec2 a = line[i - 1], b = line[i];
            const float dx = b.x - a.x, dy = b.y - a.y;
            const float length = std::sqrt(dx * dx + dy * dy);
            const int pieces = static_cast<int>(length / roughStep);
            if (std::fabs(dy) <= 0.3f * std::fabs(dx) || pieces < 2) {
                result.push_back(b);
                continue;
            }
            const Vec2 normal{dy / length, -dx / length};
            for (int k = 1; k < pieces; ++k) {
                const float f = static_cast<float>(k) / static_cast<float>(pieces);
                const float jitter = roughAmplitude * Jitter(a, b, k);
                result.push_back({a.x + dx * f + normal.x * jitter, a.y + dy * f + normal.y * jitter});
            }
            result.push_back(b);
        }
        return result;
    }

    // A fixed value in -1..1 from the segment and the piece's number.
    static float Jitter(Vec2 a, Vec2 b, int k)
    {
        std::uint32_t h = 2166136261u;
        for (float v : {a.x, a.y, b.x, b.y, static_cast<float>(k)}) {
            h = (h ^ static_cast<std::uint32_t>(static_cast<std::int32_t>(v * 16.0f))) * 16777619u;
            h ^= h >> 15;
        }
        return static_cast<float>(h % 2001u) / 1000.0f - 1.0f;
    }

    bool Stress(const std::vector<std::string>& t, std::string& error)
    {
        Options options;
        if (!options.Parse(t, 1, error))
            return false;
        std::int32_t seed = 1;
        out.stress.enabled = true;
        if (!options.Int("seed", seed, error) || !options.Int("beams", out.stress.beams, error) ||
            !options.Int("actors", out.stress.actors, error))
            return false;
        out.stress.seed = static_cast<std::uint32_t>(seed);
        return options.Done(error);
    }

    bool Record(const std::string& kind, Vec2 position, Options& o, std::string& error)
    {
        auto plain = PlainActorTypes().find(kind);
        if (plain != PlainActorTypes().end()) {
            MapActor actor;
            actor.type = plain->second;
            actor.position = position;
            if (!o.Float("angle", actor.angle, error))
                return false;
            out.contents.actors.push_back(actor);
            return true;
        }
        if (kind == "Switch" || kind == "Laser" || kind == "Emitter" || kind == "Brick") {
            MapActor a;
            a.type = kind == "Switch" ? kMapTypeSwitch
                   : kind == "Laser"  ? kMapTypeLaser
                   : kind == "Emitter" ? kMapTypeEmitter
                                       : kMapTypeBrick;
            a.position = position;
            if (!o.Float("angle", a.angle, error))
                return false;
            if (a.type == kMapTypeBrick) {
                if (!o.Float("hw", a.halfWidth, error) || !o.Float("hh", a.halfHeight, error))
                    return false;
            } else {
                a.name = "EMPTY";
                if (!o.Name("name", a.name, error))
                    return false;
            }
            if (a.type == kMapTypeLaser || a.type == kMapTypeEmitter) {
                if (!o.Float("on", a.onTime, error) || !o.Float("off", a.offTime, error) ||
                    !o.Flag("starts", a.startsOn, error))
                    return false;
            }
            if (a.type == kMapTypeLaser && !o.Float("delay", a.startDelay, error))
                return false;
            out.contents.actors.push_back(a);
            return true;
        }
        if (kind == "Target") {
            MapTarget target;
            target.position = position;
            target.name = "EMPTY";
            if (!o.Name("name", target.name, error))
                return false;
            out.contents.targets.push_back(target);
            return true;
        }
        if (kind == "Rotator") {
            MapRotator r;
            r.position = position;
            if (!o.Float("radius", r.radius, error) || !o.Name("name", r.name, error) ||
                !o.Name("target", r.targetName, error) || !o.Name("activate", r.activateName, error) ||
                !o.Int("step", r.stepAngle, error) || !o.Float("speed", r.speed, error) ||
                !o.Float("pause", r.pauseTime, error) || !o.Flag("pingpong", r.pingPong, error) ||
                !o.Flag("loops", r.loops, error))
                return false;
            out.contents.rotators.push_back(r);
            return true;
        }
        if (kind == "Mover") {
            MapMover m;
            m.position = position;
            if (!o.Float("hw", m.halfWidth, error) || !o.Float("hh", m.halfHeight, error) ||
                !o.Name("name", m.name, error) || !o.Name("a", m.targetNameA, error) ||
                !o.Name("b", m.targetNameB, error) || !o.Name("activate", m.activateName, error) ||
                !o.Float("travel", m.travelTime, error) || !o.Float("wait", m.waitTime, error) ||
                !o.Float("delay", m.startDelay, error) || !o.Flag("loops", m.loops, error))
                return false;
            out.contents.movers.push_back(m);
            return true;
        }
        if (kind == "Trigger") {
            MapTrigger z;
            z.position = position;
            if (!o.Float("hw", z.halfWidth, error) || !o.Float("hh", z.halfHeight, error) ||
                !o.Name("activate", z.activateName, error) || !o.Flag("once", z.once, error))
                return false;
            out.contents.triggers.push_back(z);
            return true;
        }
        error = "unknown record '" + kind + "'";
        return false;
    }

    MapSource& out;
    Rgb colourA{0.3f, 0.9f, 0.4f};
    Rgb colourB{0.3f, 0.9f, 0.4f};
    std::vector<Vec2> points;
    float roughAmplitude = 0.0f;
    float roughStep = 40.0f;
    bool inPolyline = false;
    bool closed = false;
};

}  // namespace

Beam MakeTerrainBeam(Vec2 a, Vec2 b, Rgb colourA, Rgb colourB)
{
    Beam beam;
    beam.a = a;
    beam.b = b;
    beam.colourA = colourA;
    beam.colourB = colourB;
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length > 0.0f)
        beam.direction = {dx / length, dy / length};
    beam.normal = {beam.direction.y, -beam.direction.x};
    return beam;
}

bool ParseMapSource(const std::string& text, MapSource& out, std::string& error)
{
    out = MapSource{};
    Parser parser(out);
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::vector<std::string> tokens = SourceWords(line);
        if (tokens.empty())
            continue;
        std::string what;
        if (!parser.Line(tokens, what)) {
            error = "line " + std::to_string(number) + ": " + what;
            return false;
        }
    }
    parser.FinishPolyline();
    return true;
}

}  // namespace datagen
