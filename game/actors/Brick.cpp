#include "Brick.h"

#include "ActorDraw.h"
#include "Collision.h"
#include "Log.h"
#include "MapData.h"
#include "Rect.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr float kCell = 16.0f;

// trunc(2 * half / 16), none for a negative or non-numeric size, at most
// kMaxCellsPerSide.
std::int32_t CellsAlong(float half)
{
    const float n = std::trunc(2.0f * half * 0.0625f);
    if (!(n >= 1.0f))
        return 0;
    return static_cast<std::int32_t>(std::min(n, static_cast<float>(Brick::kMaxCellsPerSide)));
}

// Cells first to last (exclusive) along one side.
struct CellSpan {
    std::int32_t first;
    std::int32_t last;
};

// The cells of n along a side that meet low..high (in the brick's units from
// its corner), with a cell to spare at each end for rounding; none when the
// range is empty or not a number.
CellSpan CellsMeeting(float low, float high, std::int32_t n)
{
    const float first = std::floor(low / kCell) - 1.0f;
    const float last = std::floor(high / kCell) + 2.0f;
    if (!(first < last))
        return {0, 0};
    const float top = static_cast<float>(n);
    return {static_cast<std::int32_t>(std::clamp(first, 0.0f, top)),
            static_cast<std::int32_t>(std::clamp(last, 0.0f, top))};
}

} // namespace

Brick::Brick()
{
    type = EntityTypes::Brick;
}

void Brick::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Brick Spawned!\n");
    health = 1.0f;
    InitCells(halfWidth, halfHeight);
}

void Brick::InitCells(float hw, float hh)
{
    columns = CellsAlong(hw);
    rows = CellsAlong(hh);
    cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 1);
}

void Brick::Update()
{
    previousPosition = position;
}

void Brick::Draw(float alpha)
{
    const ActorCanvas canvas = CurrentCanvas();
    if (!canvas)
        return;
    const Vec2 p = Lerp2(position, previousPosition, alpha);
    canvas.state->PushMatrix();
    canvas.state->Translate(p.x, p.y);
    canvas.state->Translate(-halfWidth, -halfHeight);
    // Only the cells the view can show: a brick may be 1024 cells a side.
    CellSpan across{0, columns};
    CellSpan down{0, rows};
    if (const std::optional<PlaneBox> shown = canvas.state->ShownBox()) {
        across = CellsMeeting(shown->min.x, shown->max.x, columns);
        down = CellsMeeting(shown->min.y, shown->max.y, rows);
    }
    DrawSink& sink = *canvas.sink;
    sink.Colour(1.0f, 0.75f, 0.0f);
    const float t = theGame != nullptr ? static_cast<float>(theGame->frameTimer.elapsed) : 0.0f;
    sink.Begin(DrawSink::Primitive::Quads);
    for (std::int32_t c = across.first; c < across.last; ++c) {
        for (std::int32_t r = down.first; r < down.last; ++r) {
            if (cells[static_cast<std::size_t>(r) * columns + c] == 0)
                continue;
            const float x = kCell * static_cast<float>(c);
            const float y = kCell * static_cast<float>(r);
            // One layer scrolls one way, the other the other way at twice the density.
            const float u0[2] = {t, 0.5f - t};
            const float u1[2] = {t + 1.0f, 2.5f - t};
            const float v0[2] = {0.0f, 0.5f};
            const float v1[2] = {1.0f, 2.5f};
            for (int layer = 0; layer < 2; ++layer) {
                sink.TexCoord(u0[layer], v0[layer]);
                sink.Vertex(x, y);
                sink.TexCoord(u1[layer], v0[layer]);
                sink.Vertex(x + kCell, y);
                sink.TexCoord(u1[layer], v1[layer]);
                sink.Vertex(x + kCell, y + kCell);
                sink.TexCoord(u0[layer], v1[layer]);
                sink.Vertex(x, y + kCell);
            }
        }
    }
    sink.End();
    canvas.state->PopMatrix();
}

// Indestructible: only the cell under a contact goes.
void Brick::Damage(float) {}

bool Brick::CollideShapes(const std::vector<HullCircle>& circles, Vec2*)
{
    const Rect box(2.0f * halfWidth, 2.0f * halfHeight, position.x, position.y);
    for (const HullCircle& circle : circles) {
        if (!CircleIntersectsRect(circle, box))
            continue;
        // Integer division truncating toward zero, kept in floats so a far
        // circle cannot overflow.
        const float c = std::trunc(std::trunc(circle.x - (position.x - halfWidth)) / kCell);
        const float r = std::trunc(std::trunc(circle.y - (position.y - halfHeight)) / kCell);
        if (!(c >= 0.0f && c < static_cast<float>(columns) && r >= 0.0f && r < static_cast<float>(rows)))
            continue;
        std::uint8_t& cell = cells[static_cast<std::size_t>(r) * columns + static_cast<std::size_t>(c)];
        if (cell == 0)
            continue;
        cell = 0;
        return true;
    }
    return false;
}

// Only the dead flag (a brick is worth no points).
void Brick::Die()
{
    MarkDead();
}

Entity* Brick::Clone() const
{
    return new Brick(*this);
}

void Brick::BuildHull()
{
    shapes.emplace_back(std::max(halfWidth, halfHeight), position.x, position.y);
}

void Brick::ReadMapRecord(const ActorRecord& record)
{
    halfWidth = record.halfWidth;
    halfHeight = record.halfHeight;
}
