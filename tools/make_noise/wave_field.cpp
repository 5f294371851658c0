#include "wave_field.h"

#include <cmath>

#include "det_math.h"
#include "noise_random.h"

namespace {

// Frequencies -7..7 cycles per period on every axis; the Nyquist frequency 8
// is left out because the samples are not evenly spread over the period.
constexpr int kMaxFrequency = 7;
constexpr int kFrequencies = 2 * kMaxFrequency + 1;

struct ComplexGrid {
    std::vector<double> re;
    std::vector<double> im;
};

// Replaces, along one axis, the frequency components 0..14 of every line
// with the field's values at the 16 sample positions of that axis.
void EvaluateAxis(ComplexGrid& grid, int stride, const double (&waveRe)[kFrequencies][kNoiseSize],
                  const double (&waveIm)[kFrequencies][kNoiseSize]) {
    for (int base = 0; base < kNoiseCells; ++base) {
        if ((base / stride) % kNoiseSize != 0)
            continue;
        double inRe[kFrequencies];
        double inIm[kFrequencies];
        for (int k = 0; k < kFrequencies; ++k) {
            inRe[k] = grid.re[base + k * stride];
            inIm[k] = grid.im[base + k * stride];
        }
        for (int j = 0; j < kNoiseSize; ++j) {
            double sumRe = 0.0;
            double sumIm = 0.0;
            for (int k = 0; k < kFrequencies; ++k) {
                sumRe += inRe[k] * waveRe[k][j] - inIm[k] * waveIm[k][j];
                sumIm += inRe[k] * waveIm[k][j] + inIm[k] * waveRe[k][j];
            }
            grid.re[base + j * stride] = sumRe;
            grid.im[base + j * stride] = sumIm;
        }
    }
}

// The index of frequency -k for the index of frequency k (both with every
// component in -7..7).
int MirrorFrequency(int cell) {
    int mirror = 0;
    for (int rest = cell, scale = 1; scale < kNoiseCells; rest /= kNoiseSize, scale *= kNoiseSize)
        mirror += (2 * kMaxFrequency - rest % kNoiseSize) * scale;
    return mirror;
}

} // namespace

std::vector<double> SynthesizeField(const NoiseRecipe& recipe) {
    ComplexGrid grid{std::vector<double>(kNoiseCells, 0.0), std::vector<double>(kNoiseCells, 0.0)};

    // Power of every frequency: the power law and the white share, each
    // scaled to its part of the total variance.
    const double knee2 = recipe.spectralKnee * recipe.spectralKnee;
    std::vector<double> power(kNoiseCells, 0.0);
    double lawTotal = 0.0;
    int modes = 0;
    for (int cell = 0; cell < kNoiseCells; ++cell) {
        int k2 = 0;
        bool inside = true;
        for (int rest = cell, axis = 0; axis < 4; ++axis, rest /= kNoiseSize) {
            const int f = rest % kNoiseSize - kMaxFrequency;
            inside = inside && f <= kMaxFrequency;
            k2 += f * f;
        }
        if (!inside || k2 == 0)
            continue; // the mean is set by the byte mapping
        power[cell] = DetPow(k2 + knee2, -recipe.spectralSlope / 2.0);
        lawTotal += power[cell];
        ++modes;
    }
    for (double& p : power)
        if (p > 0.0)
            p = (1.0 - recipe.whiteShare) * p / lawTotal + recipe.whiteShare / modes;

    // Every frequency gets exactly its power, with a random phase; its mirror
    // -k gets the conjugate amplitude, so the field comes out real. Fixed
    // amplitudes keep the few long waves from making one axis rougher than
    // another by chance.
    NoiseRandom random;
    SeedNoiseRandom(random, recipe.seed);
    for (int cell = 0; cell < kNoiseCells; ++cell) {
        const int mirror = MirrorFrequency(cell);
        if (power[cell] == 0.0 || mirror <= cell)
            continue;
        const double phase = 2.0 * kDetPi * NextNoiseUnit(random);
        const double amplitude = std::sqrt(power[cell]);
        grid.re[cell] = amplitude * DetCos(phase);
        grid.im[cell] = amplitude * DetSin(phase);
        grid.re[mirror] = grid.re[cell];
        grid.im[mirror] = -grid.im[cell];
    }

    // Sample j of an axis lies at j / (15 + seamGap) of the period, so the
    // seam between samples 15 and 0 spans seamGap spacings.
    double waveRe[kFrequencies][kNoiseSize];
    double waveIm[kFrequencies][kNoiseSize];
    for (int k = 0; k < kFrequencies; ++k)
        for (int j = 0; j < kNoiseSize; ++j) {
            const double angle =
                2.0 * kDetPi * (k - kMaxFrequency) * j / (kNoiseSize - 1 + recipe.seamGap);
            waveRe[k][j] = DetCos(angle);
            waveIm[k][j] = DetSin(angle);
        }
    for (int stride = 1; stride < kNoiseCells; stride *= kNoiseSize)
        EvaluateAxis(grid, stride, waveRe, waveIm);

    return grid.re;
}
