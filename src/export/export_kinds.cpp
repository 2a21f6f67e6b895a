#include "export_kinds.h"

const ExportKindInfo &exportKindInfo(ExportKind kind)
{
    return kExportKinds[std::size_t(kind)];
}

const ExportKindInfo *exportKindOfSuffix(std::string_view suffix)
{
    for (const ExportKindInfo &info : kExportKinds)
        if (suffix == info.suffix)
            return &info;
    return nullptr;
}
