#include "relief_mesh.h"

#include "relief.h"

#include <algorithm>
#include <bit>
#include <unordered_map>

namespace {

// Square columns over a grid of cells, standing on a common floor; a cell whose
// top is the floor has none. Vertices lie on the vertical lines through the
// grid's corners. Walls are split at each height a neighbouring column has on
// their corner lines, and the level faces, a row's run of equal cells at a time,
// take in every vertex on their edges, so that no vertex lies inside an edge.
class ColumnMesher {
public:
    ColumnMesher(const Relief &relief, std::vector<float> tops, float floor)
        : relief_(relief)
        , tops_(std::move(tops))
        , floor_(floor)
    {
        vertexIds_.reserve(tops_.size() / 2);
    }

    // With flatBottom, one rectangle closes the bottom and bands close the plate's
    // sides; otherwise the columns have bottoms of their own. Each column's walls
    // come together, so a reader that pairs facets by their corners in file order
    // pairs those of one column where two columns touch along an edge.
    Mesh build(bool flatBottom)
    {
        std::vector<Run> runs; // made first, so that each level face takes in every vertex
        for (int j = 0; j < relief_.up; ++j)
            for (int i = 0; i < relief_.across; ++i)
                if (top(i, j) > floor_) {
                    walls(i, j, flatBottom);
                    if (i == 0 || top(i - 1, j) != top(i, j))
                        runs.push_back(run(i, j, true));
                    if (!flatBottom && (i == 0 || top(i - 1, j) == floor_))
                        runs.push_back(run(i, j, false));
                }
        for (const Run &run : runs)
            level(run);
        if (flatBottom) {
            const int across = relief_.across, up = relief_.up;
            quad({0, 0, floor_}, {0, up, floor_}, {across, up, floor_}, {across, 0, floor_});
            band({0, 0}, {1, 0}, across);
            band({across, 0}, {0, 1}, up);
            band({across, up}, {-1, 0}, across);
            band({0, up}, {0, -1}, up);
        }
        return std::move(mesh_);
    }

private:
    struct Corner {
        int x, y;
    };
    struct Point {
        int x, y;
        float z;
    };
    // Cells from..to-1 of row j: a top at z, or the bottom of the columns at the floor.
    struct Run {
        int from, to, j;
        float z;
        bool up;
    };

    float top(int i, int j) const
    {
        if (i < 0 || j < 0 || i >= relief_.across || j >= relief_.up)
            return floor_;
        return tops_[std::size_t(j) * std::size_t(relief_.across) + std::size_t(i)];
    }

    // A vertex's key: its height's bits, then the owner (0 to 4) in 8 bits and the corner in
    // 12 bits each way.
    static_assert(kMaxReliefPixels + 2 * kMaxThicken < (1 << 12),
                  "a relief's corners fit 12 bits each way");
    static std::uint64_t key(Point p, int owner)
    {
        return std::uint64_t(std::bit_cast<std::uint32_t>(p.z)) << 32 | std::uint64_t(owner) << 24
               | std::uint64_t(p.y) << 12 | std::uint64_t(p.x);
    }

    bool exists(Point p) const { return vertexIds_.contains(key(p, 0)); }

    // The vertex at a grid corner and height, for a face of the column in cell (i, j).
    std::uint32_t vertex(Point p, int i, int j)
    {
        // Where two columns touch only along this corner's line, each keeps its own
        // vertices there, so that every edge still belongs to exactly two faces.
        int occupied = 0;
        for (int q = 0; q < 4; ++q) {
            const float t = top(p.x - 1 + (q & 1), p.y - 1 + (q >> 1));
            occupied |= int(p.z == floor_ ? t > floor_ : t >= p.z) << q;
        }
        const bool touchOnlyHere = occupied == 0b1001 || occupied == 0b0110;
        const int owner = touchOnlyHere ? 1 + (i - p.x + 1) + 2 * (j - p.y + 1) : 0;
        const auto [at, added]
            = vertexIds_.try_emplace(key(p, owner), std::uint32_t(mesh_.vertices.size()));
        if (added)
            mesh_.vertices.push_back(
                {float(p.x * relief_.pixelSize), float(p.y * relief_.pixelSize), p.z});
        return at->second;
    }

    void quad(Point a, Point b, Point c, Point d)
    {
        const std::uint32_t va = vertex(a, 0, 0), vb = vertex(b, 0, 0), vc = vertex(c, 0, 0),
                            vd = vertex(d, 0, 0);
        mesh_.triangles.push_back({va, vb, vc});
        mesh_.triangles.push_back({va, vc, vd});
    }

    // Triangles between two chains of vertices on parallel lines, both running
    // the same way, a on the left of b seen from outside: none is degenerate.
    void stitch(const std::vector<std::uint32_t> &a, const std::vector<float> &aAt,
                const std::vector<std::uint32_t> &b, const std::vector<float> &bAt)
    {
        std::size_t m = 0, n = 0;
        while (m + 1 < a.size() || n + 1 < b.size()) {
            if (m + 1 == a.size() || (n + 1 < b.size() && bAt[n + 1] <= aAt[m + 1])) {
                mesh_.triangles.push_back({a[m], b[n], b[n + 1]});
                ++n;
            } else {
                mesh_.triangles.push_back({a[m], b[n], a[m + 1]});
                ++m;
            }
        }
    }

    // The heights low, high and every top around the corner between them, ascending.
    std::vector<float> heightsAt(Corner g, float low, float high) const
    {
        std::vector<float> heights = {low, high};
        for (int q = 0; q < 4; ++q) {
            const float t = top(g.x - 1 + (q & 1), g.y - 1 + (q >> 1));
            if (t > low && t < high)
                heights.push_back(t);
        }
        std::sort(heights.begin(), heights.end());
        heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
        return heights;
    }

    // The walls of the column in cell (i, j) towards its lower neighbours.
    void walls(int i, int j, bool flatBottom)
    {
        // Seen from outside each wall runs from g0 on the left to g1 on the right.
        const float t = top(i, j);
        if (t > top(i - 1, j))
            wall({i, j + 1}, {i, j}, top(i - 1, j), t, i, j, flatBottom);
        if (t > top(i + 1, j))
            wall({i + 1, j}, {i + 1, j + 1}, top(i + 1, j), t, i, j, flatBottom);
        if (t > top(i, j - 1))
            wall({i, j}, {i + 1, j}, top(i, j - 1), t, i, j, flatBottom);
        if (t > top(i, j + 1))
            wall({i + 1, j + 1}, {i, j + 1}, top(i, j + 1), t, i, j, flatBottom);
    }

    void wall(Corner g0, Corner g1, float low, float high, int i, int j, bool flatBottom)
    {
        if (flatBottom && low == floor_)
            low = relief_.plateTop; // the bands close the plate's sides below
        if (low >= high)
            return;
        const std::vector<float> left = heightsAt(g0, low, high), right = heightsAt(g1, low, high);
        std::vector<std::uint32_t> leftIds, rightIds;
        for (float z : left)
            leftIds.push_back(vertex({g0.x, g0.y, z}, i, j));
        for (float z : right)
            rightIds.push_back(vertex({g1.x, g1.y, z}, i, j));
        stitch(leftIds, left, rightIds, right);
    }

    // The vertices at height z from a corner a number of steps along a grid line:
    // both ends, and every vertex between them that another face has made.
    std::vector<std::uint32_t> chain(Corner from, Corner step, int steps, float z, Corner firstCell,
                                     Corner lastCell, std::vector<float> &at)
    {
        std::vector<std::uint32_t> ids;
        for (int s = 0; s <= steps; ++s) {
            const Point p = {from.x + s * step.x, from.y + s * step.y, z};
            if (s == 0 || s == steps || exists(p)) {
                const Corner cell = s == steps ? lastCell : firstCell;
                ids.push_back(vertex(p, cell.x, cell.y));
                at.push_back(float(s));
            }
        }
        return ids;
    }

    // The run from cell (i, j) along the row, with its corners' vertices.
    Run run(int i, int j, bool up)
    {
        Run run = {i, i + 1, j, up ? top(i, j) : floor_, up};
        while (run.to < relief_.across && (up ? top(run.to, j) == run.z : top(run.to, j) > floor_))
            ++run.to;
        vertex({run.from, j, run.z}, run.from, j);
        vertex({run.from, j + 1, run.z}, run.from, j);
        vertex({run.to, j, run.z}, run.to - 1, j);
        vertex({run.to, j + 1, run.z}, run.to - 1, j);
        return run;
    }

    // A run's level face, counter-clockwise from above for a top, from below for a bottom.
    void level(const Run &run)
    {
        const Corner first = {run.from, run.j}, last = {run.to - 1, run.j};
        const Corner startCell = run.up ? first : last, endCell = run.up ? last : first;
        const Corner start = {run.up ? run.from : run.to, run.j}, step = {run.up ? 1 : -1, 0};
        const int length = run.to - run.from;
        std::vector<float> upperAt, lowerAt;
        const auto upper
            = chain({start.x, run.j + 1}, step, length, run.z, startCell, endCell, upperAt);
        const auto lower = chain(start, step, length, run.z, startCell, endCell, lowerAt);
        stitch(upper, upperAt, lower, lowerAt);
    }

    // One side of the plate below its top, from a corner along a step, seen from outside.
    void band(Corner from, Corner step, int steps)
    {
        std::vector<float> upperAt, lowerAt;
        const auto upper = chain(from, step, steps, relief_.plateTop, {0, 0}, {0, 0}, upperAt);
        const auto lower = chain(from, step, steps, floor_, {0, 0}, {0, 0}, lowerAt);
        stitch(upper, upperAt, lower, lowerAt);
    }

    const Relief &relief_;
    std::vector<float> tops_;
    float floor_;
    Mesh mesh_;
    std::unordered_map<std::uint64_t, std::uint32_t> vertexIds_;
};

} // namespace

Mesh reliefSolid(const Relief &relief)
{
    return ColumnMesher(relief, relief.tops, 0.0f).build(true);
}

Mesh columnSolid(const Relief &relief, std::span<const int> groupOfCell, int group)
{
    std::vector<float> tops = relief.tops;
    for (std::size_t cell = 0; cell < tops.size(); ++cell)
        if (groupOfCell[cell] != group)
            tops[cell] = relief.plateTop;
    return ColumnMesher(relief, std::move(tops), relief.plateTop).build(false);
}

Mesh plateSolid(const Relief &relief)
{
    Mesh box;
    for (int corner = 0; corner < 8; ++corner)
        box.vertices.push_back({float((corner & 1) * relief.across * relief.pixelSize),
                                float((corner >> 1 & 1) * relief.up * relief.pixelSize),
                                (corner >> 2) * relief.plateTop});
    // Corner index = x + 2 y + 4 z; each side counter-clockwise seen from outside.
    const std::uint32_t sides[6][4]
        = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {1, 3, 7, 5}, {3, 2, 6, 7}, {2, 0, 4, 6}};
    for (const auto &side : sides) {
        box.triangles.push_back({side[0], side[1], side[2]});
        box.triangles.push_back({side[0], side[2], side[3]});
    }
    return box;
}
