// libFuzzer entry for the model-file reader: any bytes must give a model or a
// refusal, and an accepted model must survive writing and reading again.
#include "model_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::vector<Colour> colourSlots(kMaxPoints, 0x123456);

    const ModelFile::DecodeResult first = ModelFile::decode({data, size});
    if (!first.ok())
        return 0;
    const Model model = ModelFile::toModel(first.model, colourSlots);

    const std::vector<std::uint8_t> bytes = ModelFile::encode(model);
    const ModelFile::DecodeResult second = ModelFile::decode(bytes);
    if (!second.ok() || second.model.points.size() != first.model.points.size()
        || !second.model.colours)
        std::abort();
    const auto sameBits = [](const Coords &a, const Coords &b) {
        return std::memcmp(a.data(), b.data(), sizeof(Coords)) == 0;
    };
    if (!std::equal(first.model.points.begin(), first.model.points.end(),
                    second.model.points.begin(), sameBits))
        std::abort();
    if (*second.model.colours != model.colours)
        std::abort();
    return 0;
}
