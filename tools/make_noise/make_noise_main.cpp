// make_noise <output directory>
// Writes the saver's four noise tables, noise_129.dat to noise_132.dat, into
// the directory. The output depends on nothing but this program's source.
#include <cstdio>
#include <string>

#include "byte_distribution.h"
#include "noise_recipe.h"
#include "perlin_file.h"
#include "wave_field.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_noise <output directory>\n");
        return 2;
    }
    const std::string directory = argv[1];
    for (const NoiseRecipe& recipe : kNoiseRecipes) {
        const ByteDistribution bytes = BuildByteDistribution(recipe, kNoiseCells);
        if (!bytes.converged) {
            std::fprintf(stderr,
                         "make_noise: table %d: the cell distribution does not meet "
                         "its mean and deviation\n",
                         recipe.resourceId);
            return 1;
        }
        const std::vector<uint8_t> cells =
            MapFieldToBytes(SynthesizeField(recipe), bytes.sortedBytes);
        const std::string path = directory + "/noise_" + std::to_string(recipe.resourceId) + ".dat";
        if (!WriteBinaryFile(path, EncodePerlinData(cells))) {
            std::fprintf(stderr, "make_noise: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
