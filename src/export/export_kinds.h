#pragma once

#include "export.h"

#include <array>
#include <span>
#include <string_view>

// Every kind of file the relief can be exported as, for callers that choose one
// at run time: the export menu and the command line read this one table.
enum class ExportKind { Ply, Xyz, Glb, Stl, ThreeMf };

// The options a kind takes, besides the points and their colours.
enum ExportTakes : unsigned {
    kTakesPlyText = 1u << 0, // binary or text
    kTakesPixelSize = 1u << 1, // the width of a pixel, in millimetres
    kTakesHeights = 1u << 2, // the relief's depth scale, ink height, base, reverse, nozzle, thicken
    kTakesColourGroups = 1u << 3, // the number of colours and the slicer
};

struct ExportKindInfo {
    ExportKind kind;
    const char *suffix; // the file's extension, and the kind's name on the command line
    const char *name; // the format's own name
    const char *label; // the menu's and the file list's Japanese name
    char mnemonic; // the menu's access key
    unsigned takes; // ExportTakes
    ExportFunction *write;
};

inline constexpr std::array<ExportKindInfo, 5> kExportKinds = {{
    {ExportKind::Ply, "ply", "PLY", "PLY 点群", 'P', kTakesPlyText, exportPly},
    {ExportKind::Xyz, "xyz", "XYZ", "XYZ 点群", 'X', 0, exportXyz},
    {ExportKind::Glb, "glb", "glTF", "glTF バイナリ", 'G', kTakesPixelSize, exportGlb},
    {ExportKind::Stl, "stl", "STL", "STL 立体", 'S', kTakesPixelSize | kTakesHeights, exportStl},
    {ExportKind::ThreeMf, "3mf", "3MF", "3MF 多色立体", 'M',
     kTakesPixelSize | kTakesHeights | kTakesColourGroups, export3mf},
}};

constexpr bool inKindOrder()
{
    for (std::size_t i = 0; i < kExportKinds.size(); ++i)
        if (kExportKinds[i].kind != ExportKind(i))
            return false;
    return true;
}
static_assert(inKindOrder(), "exportKindInfo() finds a kind by its number");

const ExportKindInfo &exportKindInfo(ExportKind kind);
// The kind of that extension, as the command line names it; null for none.
const ExportKindInfo *exportKindOfSuffix(std::string_view suffix);
