#include "relief.h"
#include "relief_mesh.h"

#include <bit>
#include <cmath>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "STL floats are written as held");

namespace {

using Vector = std::array<float, 3>;

Vector unitNormal(const Vector &a, const Vector &b, const Vector &c)
{
    const Vector u = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const Vector v = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    Vector n = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (float &component : n)
        component /= length;
    return n;
}

void append(std::uint8_t *&out, const void *data, std::size_t size)
{
    std::memcpy(out, data, size);
    out += size;
}

} // namespace

ExportResult exportStl(std::span<const Coords> points, std::span<const Colour> colours,
                       const ExportOptions &options)
{
    const Relief relief = buildRelief(points, colours, options.solid);
    ExportResult result = solidResult(relief);
    if (!relief.ok())
        return result;
    const Mesh mesh = reliefSolid(relief);
    result.triangles = mesh.triangles.size();

    // An 80-byte header that must not begin with "solid", the count, then 50 bytes a facet.
    result.bytes.assign(80 + 4 + 50 * mesh.triangles.size(), 0);
    const char title[] = "ZUVORAK " ZUVORAK_VERSION " relief, millimetres";
    std::uint8_t *out = result.bytes.data();
    std::memcpy(out, title, sizeof title - 1);
    out += 80;
    const std::uint32_t count = std::uint32_t(mesh.triangles.size());
    append(out, &count, sizeof count);
    for (const auto &triangle : mesh.triangles) {
        const Vector &a = mesh.vertices[triangle[0]], &b = mesh.vertices[triangle[1]],
                     &c = mesh.vertices[triangle[2]];
        const Vector normal = unitNormal(a, b, c);
        for (const Vector *v : {&normal, &a, &b, &c})
            append(out, v->data(), sizeof(Vector));
        out += 2; // attribute byte count, 0
    }
    return result;
}
