#include "colour_groups.h"
#include "relief.h"
#include "relief_mesh.h"
#include "zip_package.h"

#include <nettle/sha1.h>

#include <algorithm>
#include <charconv>
#include <functional>
#include <stdexcept>
#include <cstdio>
#include <string>
#include <vector>

// The package is written here rather than by lib3mf: the slicers read their parts, extruders
// and colours from metadata of their own (per object, and files beside the model) that lib3mf
// 1.8 cannot write, its ZIP container is one that assimp 5.2 cannot open, and its UUIDs are
// random, so that no two exports of one model were the same bytes.

namespace {

constexpr char kCoreNamespace[] = "http://schemas.microsoft.com/3dmanufacturing/core/2015/02";
constexpr char kMaterialNamespace[]
    = "http://schemas.microsoft.com/3dmanufacturing/material/2015/02";
constexpr char kProductionNamespace[]
    = "http://schemas.microsoft.com/3dmanufacturing/production/2015/06";
constexpr char kSlic3rNamespace[] = "http://schemas.slic3r.org/3mf/2017/06";
constexpr char kCuraNamespace[] = "http://software.ultimaker.com/xml/cura/3mf/2015/10";
// The bed PrusaSlicer's settings default to, 200 mm square: the relief goes to its middle.
constexpr double kPrusaBedMiddle = 100;
constexpr double kFilamentDiameter = 1.75;

// One part of the relief: a colour group's columns or the white plate, a closed solid each.
struct Part {
    std::string name;
    Colour colour;
    Mesh mesh;
};

std::string number(float value)
{
    char text[32];
    return {text, std::to_chars(text, text + sizeof text, value).ptr};
}

std::string number(double value)
{
    char text[32];
    return {text, std::to_chars(text, text + sizeof text, value).ptr};
}

// A version 5 UUID, made from a name by SHA-1: the same name always gives the same UUID.
std::string nameUuid(const std::string &name)
{
    // RFC 4122's namespace for URLs.
    static const std::uint8_t kUrlNamespace[16] = {0x6b, 0xa7, 0xb8, 0x11, 0x9d, 0xad, 0x11, 0xd1,
                                                   0x80, 0xb4, 0x00, 0xc0, 0x4f, 0xd4, 0x30, 0xc8};
    sha1_ctx context;
    sha1_init(&context);
    sha1_update(&context, sizeof kUrlNamespace, kUrlNamespace);
    sha1_update(&context, name.size(), reinterpret_cast<const std::uint8_t *>(name.data()));
    std::uint8_t digest[SHA1_DIGEST_SIZE];
    sha1_digest(&context, sizeof digest, digest);
    digest[6] = std::uint8_t((digest[6] & 0x0F) | 0x50);
    digest[8] = std::uint8_t((digest[8] & 0x3F) | 0x80);
    char text[37];
    std::snprintf(text, sizeof text,
                  "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", digest[0],
                  digest[1], digest[2], digest[3], digest[4], digest[5], digest[6], digest[7],
                  digest[8], digest[9], digest[10], digest[11], digest[12], digest[13], digest[14],
                  digest[15]);
    return text;
}

// The name a part's UUID is made from: its place among the parts and a digest of its mesh.
std::string partName(std::size_t index, const Mesh &mesh)
{
    sha1_ctx context;
    sha1_init(&context);
    sha1_update(&context, mesh.vertices.size() * sizeof mesh.vertices[0],
                reinterpret_cast<const std::uint8_t *>(mesh.vertices.data()));
    sha1_update(&context, mesh.triangles.size() * sizeof mesh.triangles[0],
                reinterpret_cast<const std::uint8_t *>(mesh.triangles.data()));
    std::uint8_t digest[SHA1_DIGEST_SIZE];
    sha1_digest(&context, sizeof digest, digest);
    std::string name = "zuvorak:3mf/part/" + std::to_string(index) + "/";
    for (std::uint8_t byte : digest) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", byte);
        name += hex;
    }
    return name;
}

class ModelXml {
public:
    explicit ModelXml(const std::string &namespaces)
    {
        text_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<model unit=\"millimeter\" "
                "xml:lang=\"en-US\" xmlns=\""
                + std::string(kCoreNamespace) + "\"" + namespaces + ">\n";
    }

    void metadata(const std::string &name, const std::string &value)
    {
        text_ += " <metadata name=\"" + name + "\">" + value + "</metadata>\n";
    }
    void line(const std::string &line) { text_ += line + "\n"; }

    // The vertices and triangles of the parts, one after another; with a property group,
    // each triangle takes its part's index in it, counted from the first part's.
    void mesh(const std::vector<const Part *> &parts, int propertyGroup, std::size_t firstIndex)
    {
        text_ += "   <mesh>\n    <vertices>\n";
        for (const Part *part : parts)
            for (const auto &vertex : part->mesh.vertices)
                text_ += "     <vertex x=\"" + number(vertex[0]) + "\" y=\"" + number(vertex[1])
                         + "\" z=\"" + number(vertex[2]) + "\"/>\n";
        text_ += "    </vertices>\n    <triangles>\n";
        std::size_t first = 0, index = firstIndex;
        for (const Part *part : parts) {
            const std::string property
                = propertyGroup > 0 ? " pid=\"" + std::to_string(propertyGroup) + "\" p1=\""
                                          + std::to_string(index++) + "\""
                                    : std::string();
            for (const auto &triangle : part->mesh.triangles)
                text_ += "     <triangle v1=\"" + std::to_string(first + triangle[0])
                         + "\" v2=\"" + std::to_string(first + triangle[1]) + "\" v3=\""
                         + std::to_string(first + triangle[2]) + "\"" + property + "/>\n";
            first += part->mesh.vertices.size();
        }
        text_ += "    </triangles>\n   </mesh>\n";
    }

    std::string finished() { return text_ + "</model>\n"; }

private:
    std::string text_;
};

// The parts' colours as the plain 3MF and assimp read them.
std::string baseMaterials(const std::vector<Part> &parts)
{
    std::string text = "  <basematerials id=\"1\">\n";
    for (const Part &part : parts)
        text += "   <base name=\"" + part.name + "\" displaycolor=\"" + colourName(part.colour)
                + "FF\"/>\n";
    return text + "  </basematerials>\n";
}

std::string relationships()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">\n"
           " <Relationship Target=\"/3D/3dmodel.model\" Id=\"rel0\" "
           "Type=\"http://schemas.microsoft.com/3dmanufacturing/2013/01/3dmodel\"/>\n"
           "</Relationships>\n";
}

std::string contentTypes()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">\n"
           " <Default Extension=\"rels\" "
           "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>\n"
           " <Default Extension=\"model\" "
           "ContentType=\"application/vnd.ms-package.3dmanufacturing-3dmodel+xml\"/>\n"
           " <Default Extension=\"config\" ContentType=\"text/xml\"/>\n"
           "</Types>\n";
}

std::string joined(const std::vector<Part> &parts, const char *separator,
                   const std::function<std::string(const Part &)> &each)
{
    std::string text;
    for (const Part &part : parts)
        text += (text.empty() ? "" : separator) + each(part);
    return text;
}

// PrusaSlicer and SuperSlicer: one object whose triangle ranges are the parts, each on its
// extruder, and printer settings of as many extruders in the parts' colours. Their reader
// takes a components object apart into separate objects, so everything is one mesh.
std::vector<ZipEntry> prusaPackage(const std::vector<Part> &parts, const SolidOptions &options)
{
    ModelXml model(" xmlns:slic3rpe=\"" + std::string(kSlic3rNamespace) + "\"");
    model.metadata("slic3rpe:Version3mf", "1");
    model.metadata("Application", "ZUVORAK " ZUVORAK_VERSION);
    model.line(" <resources>");
    model.line(baseMaterials(parts));
    model.line("  <object id=\"2\" type=\"model\" name=\"ZUVORAK relief\" pid=\"1\" pindex=\"0\">");
    std::vector<const Part *> all;
    for (const Part &part : parts)
        all.push_back(&part);
    model.mesh(all, 1, 0);
    model.line("  </object>\n </resources>");
    float right = 0, top = 0;
    for (const auto &vertex : parts.back().mesh.vertices) // the plate is the widest part
        right = std::max(right, vertex[0]), top = std::max(top, vertex[1]);
    model.line(" <build>\n  <item objectid=\"2\" transform=\"1 0 0 0 1 0 0 0 1 "
               + number(kPrusaBedMiddle - right / 2.0) + " " + number(kPrusaBedMiddle - top / 2.0)
               + " 0\"/>\n </build>");

    std::string volumes = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n"
                          " <object id=\"2\" instances_count=\"1\">\n"
                          "  <metadata type=\"object\" key=\"name\" value=\"ZUVORAK relief\"/>\n";
    std::size_t first = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t last = first + parts[i].mesh.triangles.size() - 1;
        volumes += "  <volume firstid=\"" + std::to_string(first) + "\" lastid=\""
                   + std::to_string(last) + "\">\n   <metadata type=\"volume\" key=\"name\" value=\""
                   + parts[i].name
                   + "\"/>\n   <metadata type=\"volume\" key=\"volume_type\" value=\"ModelPart\"/>\n"
                     "   <metadata type=\"volume\" key=\"extruder\" value=\""
                   + std::to_string(i + 1) + "\"/>\n  </volume>\n";
        first = last + 1;
    }
    volumes += " </object>\n</config>\n";

    // The reader never takes the first line, and stops at the first line that is no setting.
    const double layer = std::min(0.2, 0.75 * options.nozzle);
    const std::string printer
        = "; generated by ZUVORAK " ZUVORAK_VERSION "\n\n"
          "; extruder_colour = "
          + joined(parts, ";", [](const Part &part) { return colourName(part.colour); })
          + "\n; filament_colour = "
          + joined(parts, ";", [](const Part &part) { return colourName(part.colour); })
          + "\n; filament_diameter = "
          + joined(parts, ",", [](const Part &) { return number(kFilamentDiameter); })
          + "\n; first_layer_height = " + number(layer) + "\n; layer_height = " + number(layer)
          + "\n; nozzle_diameter = "
          + joined(parts, ",", [&](const Part &) { return number(options.nozzle); })
          + "\n; single_extruder_multi_material = 0\n; wipe_tower = 0\n";
    return {{"3D/3dmodel.model", model.finished()},
            {"Metadata/Slic3r_PE_model.config", volumes},
            {"Metadata/Slic3r_PE.config", printer}};
}

// The other slicers: one object per part, as components of one object that the build holds.
std::vector<ZipEntry> partsPackage(const std::vector<Part> &parts, Slicer slicer)
{
    std::string namespaces;
    if (slicer == Slicer::Bambu)
        namespaces = " xmlns:m=\"" + std::string(kMaterialNamespace) + "\"";
    else if (slicer == Slicer::Cura)
        namespaces = " xmlns:cura=\"" + std::string(kCuraNamespace) + "\"";
    else
        namespaces = " xmlns:p=\"" + std::string(kProductionNamespace) + "\"";
    ModelXml model(namespaces);
    model.metadata("Application", "ZUVORAK " ZUVORAK_VERSION);
    model.line(" <resources>");
    if (slicer == Slicer::Bambu) {
        // Bambu Studio and OrcaSlicer read colours from a colour group, every triangle's own.
        model.line("  <m:colorgroup id=\"1\">");
        for (const Part &part : parts)
            model.line("   <m:color color=\"" + colourName(part.colour) + "FF\"/>");
        model.line("  </m:colorgroup>");
    } else {
        model.line(baseMaterials(parts));
    }
    const std::size_t assembly = parts.size() + 2;
    std::vector<std::string> uuids;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string id = std::to_string(i + 2);
        std::string object = "  <object id=\"" + id + "\" type=\"model\" name=\"" + parts[i].name
                             + "\" pid=\"1\" pindex=\"" + std::to_string(i) + "\"";
        if (slicer == Slicer::Plain) {
            uuids.push_back(nameUuid(partName(i, parts[i].mesh)));
            object += " p:UUID=\"" + uuids.back() + "\"";
        }
        model.line(object + ">");
        model.mesh({&parts[i]}, slicer == Slicer::Bambu ? 1 : 0, i);
        if (slicer == Slicer::Cura) // counted from 0
            model.line("   <metadatagroup>\n    <metadata name=\"cura:extruder_nr\" "
                       "preserve=\"true\" type=\"xs:string\">"
                       + std::to_string(i) + "</metadata>\n   </metadatagroup>");
        model.line("  </object>");
    }
    const std::string relief = "zuvorak:3mf/relief/" + joined(parts, "/", [](const Part &part) {
                                   return colourName(part.colour);
                               }) + "/" + std::to_string(parts.back().mesh.vertices.size());
    const auto uuid = [&](const std::string &what) {
        return slicer == Slicer::Plain ? " p:UUID=\"" + nameUuid(relief + what) + "\"" : "";
    };
    model.line("  <object id=\"" + std::to_string(assembly) + "\" type=\"model\" "
               "name=\"ZUVORAK relief\""
               + uuid("/object") + ">\n   <components>");
    for (std::size_t i = 0; i < parts.size(); ++i)
        model.line("    <component objectid=\"" + std::to_string(i + 2) + "\""
                   + uuid("/component/" + std::to_string(i)) + "/>");
    model.line("   </components>\n  </object>\n </resources>");
    model.line(" <build" + uuid("/build") + ">\n  <item objectid=\"" + std::to_string(assembly)
               + "\"" + uuid("/item") + "/>\n </build>");
    std::vector<ZipEntry> entries = {{"3D/3dmodel.model", model.finished()}};
    if (slicer == Slicer::Bambu) {
        // Parts and their extruders, counted from 1, by the objects' ids.
        std::string settings = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n"
                               "  <object id=\""
                               + std::to_string(assembly)
                               + "\">\n    <metadata key=\"name\" value=\"ZUVORAK relief\"/>\n";
        for (std::size_t i = 0; i < parts.size(); ++i)
            settings += "    <part id=\"" + std::to_string(i + 2)
                        + "\" subtype=\"normal_part\">\n      <metadata key=\"name\" value=\""
                        + parts[i].name + "\"/>\n      <metadata key=\"extruder\" value=\""
                        + std::to_string(i + 1) + "\"/>\n    </part>\n";
        entries.push_back({"Metadata/model_settings.config", settings + "  </object>\n</config>\n"});
    }
    return entries;
}

} // namespace

ExportResult export3mf(std::span<const Coords> points, std::span<const Colour> colours,
                       const ExportOptions &options)
{
    const Relief relief = buildRelief(points, colours, options.solid);
    ExportResult result = solidResult(relief);
    if (!relief.ok())
        return result;
    const ColourGrouping grouping = groupColours(columnColours(relief), options.solid.colourGroups);
    const std::vector<int> groupOfCell = groupOfCells(relief, grouping);

    // The colour list's order, the plate last: each part's extruder follows it.
    std::vector<Part> parts;
    for (std::size_t g = 0; g < grouping.groups.size(); ++g) {
        const Colour swatch = grouping.groups[g].swatch;
        parts.push_back({colourName(swatch), swatch, columnSolid(relief, groupOfCell, int(g))});
    }
    parts.push_back({"Base plate", kWhite, plateSolid(relief)});
    for (const Part &part : parts)
        result.triangles += part.mesh.triangles.size();

    std::vector<ZipEntry> entries = {{"[Content_Types].xml", contentTypes()},
                                     {"_rels/.rels", relationships()}};
    const std::vector<ZipEntry> model = options.solid.slicer == Slicer::Prusa
                                            ? prusaPackage(parts, options.solid)
                                            : partsPackage(parts, options.solid.slicer);
    entries.insert(entries.end(), model.begin(), model.end());
    try {
        result.bytes = zipPackage(entries);
    } catch (const std::exception &) { // zlib out of memory
        result.error = ExportError::Writer;
    }
    return result;
}
