#include "export.h"

ExportResult exportFile(ExportKind kind, std::span<const Coords> points,
                        std::span<const Colour> colours, const ExportOptions &options)
{
    switch (kind) {
    case ExportKind::Ply:
        return exportPly(points, colours, options.ply);
    case ExportKind::Xyz:
        return exportXyz(points, colours);
    case ExportKind::Glb:
        return exportGlb(points, colours);
    case ExportKind::Stl:
        return exportStl(points, colours, options.solid);
    case ExportKind::ThreeMf:
        return export3mf(points, colours, options.solid);
    }
    return {};
}
