#pragma once

#include "export.h"

#include <array>
#include <span>
#include <string_view>

// Every kind of file the relief can be exported as, for callers that choose one
// at run time: the export menu and the command line read this one table.
enum class ExportKind { Ply, Xyz, Glb, Stl, ThreeMf };

struct ExportKindInfo {
    ExportKind kind;
    const char *suffix; // the file's extension, and the kind's name on the command line
    const char *name; // the format's own name
    const char *label; // the menu's and the file list's Japanese name
    char mnemonic; // the menu's access key
    bool solid; // takes the solid options
    bool colourGroups; // takes the number of colours too
    ExportFunction *write;
};

inline constexpr std::array<ExportKindInfo, 5> kExportKinds = {{
    {ExportKind::Ply, "ply", "PLY", "PLY 点群", 'P', false, false, exportPly},
    {ExportKind::Xyz, "xyz", "XYZ", "XYZ 点群", 'X', false, false, exportXyz},
    {ExportKind::Glb, "glb", "glTF", "glTF バイナリ", 'G', false, false, exportGlb},
    {ExportKind::Stl, "stl", "STL", "STL 立体", 'S', true, false, exportStl},
    {ExportKind::ThreeMf, "3mf", "3MF", "3MF 多色立体", 'M', true, true, export3mf},
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
