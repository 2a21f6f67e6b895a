// libFuzzer entry for the model-file reader: any bytes must give a model or a
// refusal, and an accepted model must survive writing and reading again.
#include "model_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const auto state = std::make_unique<ProgramState>();

    const ModelFile::DecodeResult first = ModelFile::decode({data, size});
    if (!ModelFile::commit(first, *state))
        return 0;

    const std::vector<std::uint8_t> bytes = ModelFile::encode(*state);
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
    if (first.model.colours && *first.model.colours != *second.model.colours)
        std::abort();
    return 0;
}
