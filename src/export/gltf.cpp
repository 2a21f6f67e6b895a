#include "export_input.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <ostream>
#include <streambuf>

using namespace ExportDetail;

namespace {

// glTF vertex colours are linear; the points' colours are sRGB.
const std::array<float, 256> &linearChannels()
{
    static const auto table = [] {
        std::array<float, 256> values {};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            values[i] = float(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return values;
    }();
    return table;
}

// Lets tinygltf's stream append to the result's bytes without a copy of its own.
class AppendBuffer : public std::streambuf {
public:
    explicit AppendBuffer(std::vector<std::uint8_t> &bytes)
        : bytes_(bytes)
    {
    }

protected:
    std::streamsize xsputn(const char *data, std::streamsize size) override
    {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(data);
        bytes_.insert(bytes_.end(), bytes, bytes + size);
        return size;
    }
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            bytes_.push_back(std::uint8_t(c));
        return traits_type::not_eof(c);
    }

private:
    std::vector<std::uint8_t> &bytes_;
};

tinygltf::Accessor vec3Accessor(int bufferView, std::size_t count)
{
    tinygltf::Accessor accessor;
    accessor.bufferView = bufferView;
    accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    accessor.type = TINYGLTF_TYPE_VEC3;
    accessor.count = count;
    return accessor;
}

// An unlit white material, so viewers show the colours as they are instead of
// shading points that have no normals.
tinygltf::Material unlitMaterial()
{
    tinygltf::Material material;
    material.name = "points";
    material.pbrMetallicRoughness.metallicFactor = 0.0;
    material.extensions["KHR_materials_unlit"] = tinygltf::Value(tinygltf::Value::Object());
    return material;
}

} // namespace

ExportResult exportGlb(std::span<const Coords> points, std::span<const Colour> colours,
                       const ExportOptions &options)
{
    ExportResult result = startExport(points, colours, true);
    if (!result.ok())
        return result;
    // glTF counts in metres: a pixel is as wide as in the printed relief, and the origin is
    // the middle of the points' bounding box, so that viewers show the model whole and centred.
    const double metresPerPixel = options.solid.pixelSize / 1000;
    std::array<double, 3> lowest, highest;
    lowest.fill(std::numeric_limits<double>::infinity());
    highest.fill(-std::numeric_limits<double>::infinity());
    for (const Coords &point : points)
        if (exported(point, true))
            for (int axis = 0; axis < 3; ++axis) {
                lowest[axis] = std::min(lowest[axis], frontAxes(point)[axis]);
                highest[axis] = std::max(highest[axis], frontAxes(point)[axis]);
            }
    const std::size_t count = points.size() - std::size_t(result.nonFinite);
    const std::size_t viewBytes = 3 * count * sizeof(float);
    tinygltf::Model model;
    model.asset.version = "2.0";
    model.asset.generator = "ZUVORAK " ZUVORAK_VERSION;
    tinygltf::Buffer &buffer = model.buffers.emplace_back();
    buffer.data.resize(2 * viewBytes); // positions, then colours
    auto *position = reinterpret_cast<float *>(buffer.data.data());
    auto *colour = reinterpret_cast<float *>(buffer.data.data() + viewBytes);
    std::array<float, 3> low, high;
    low.fill(std::numeric_limits<float>::infinity());
    high.fill(-std::numeric_limits<float>::infinity());
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!exported(points[i], true))
            continue;
        const auto axes = frontAxes(points[i]);
        for (int axis = 0; axis < 3; ++axis) {
            const double middle = lowest[axis] / 2 + highest[axis] / 2;
            const float value = float((axes[axis] - middle) * metresPerPixel);
            *position++ = value;
            low[axis] = std::min(low[axis], value);
            high[axis] = std::max(high[axis], value);
        }
        const Rgb8 channels = channelsOf(colours[i]);
        for (std::uint8_t channel : {channels.red, channels.green, channels.blue})
            *colour++ = linearChannels()[channel];
    }
    for (int view = 0; view < 2; ++view) {
        tinygltf::BufferView &bufferView = model.bufferViews.emplace_back();
        bufferView.buffer = 0;
        bufferView.byteOffset = std::size_t(view) * viewBytes;
        bufferView.byteLength = viewBytes;
        bufferView.target = TINYGLTF_TARGET_ARRAY_BUFFER;
    }
    tinygltf::Accessor &positions = model.accessors.emplace_back(vec3Accessor(0, count));
    positions.minValues.assign(low.begin(), low.end());
    positions.maxValues.assign(high.begin(), high.end());
    model.accessors.push_back(vec3Accessor(1, count));

    model.materials.push_back(unlitMaterial());
    model.extensionsUsed.push_back("KHR_materials_unlit");
    tinygltf::Primitive primitive;
    primitive.mode = TINYGLTF_MODE_POINTS;
    primitive.attributes = {{"POSITION", 0}, {"COLOR_0", 1}};
    primitive.material = 0;
    model.meshes.emplace_back().primitives.push_back(primitive);
    model.nodes.emplace_back().mesh = 0;
    model.scenes.emplace_back().nodes.push_back(0);
    model.defaultScene = 0;

    result.bytes.reserve(buffer.data.size() + 4096);
    AppendBuffer appender(result.bytes);
    std::ostream stream(&appender);
    if (!tinygltf::TinyGLTF().WriteGltfSceneToStream(&model, stream, false, true))
        result.error = ExportError::Writer;
    return result;
}
