#include "byte_distribution.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "det_math.h"

namespace {

struct Moments {
    double mean;
    double deviation;
};

// The outermost cells at either end that ramp evenly out to the exact
// smallest and largest cell when the distribution's own tail stops short.
constexpr int kTailRamp = 16;

// The bytes for the standardised shape values under location a and scale c:
// rounded, clamped to the smallest and largest cell, with both ends ramped
// out to them.
void FillBytes(const std::vector<double>& shape, double a, double c, const NoiseRecipe& recipe,
               std::vector<uint8_t>& bytes) {
    const int n = static_cast<int>(shape.size());
    for (int i = 0; i < n; ++i) {
        const double v = std::floor(a + c * shape[i] + 0.5);
        bytes[i] = static_cast<uint8_t>(
            std::min<double>(recipe.maxCell, std::max<double>(recipe.minCell, v)));
    }
    for (int i = 0; i < kTailRamp; ++i) {
        const double share = static_cast<double>(i) / kTailRamp;
        const double lowEnd = recipe.minCell + (bytes[kTailRamp] - recipe.minCell) * share;
        const double highEnd = recipe.maxCell - (recipe.maxCell - bytes[n - 1 - kTailRamp]) * share;
        bytes[i] = static_cast<uint8_t>(std::floor(lowEnd + 0.5));
        bytes[n - 1 - i] = static_cast<uint8_t>(std::floor(highEnd + 0.5));
    }
}

Moments Measure(const std::vector<uint8_t>& bytes) {
    double sum = 0.0;
    double sumSq = 0.0;
    for (uint8_t b : bytes) {
        sum += b;
        sumSq += static_cast<double>(b) * b;
    }
    const double n = static_cast<double>(bytes.size());
    const double mean = sum / n;
    return {mean, std::sqrt(std::max(0.0, sumSq / n - mean * mean))};
}

Moments MomentsAt(const std::vector<double>& shape, double a, double c, const NoiseRecipe& recipe,
                  std::vector<uint8_t>& bytes) {
    FillBytes(shape, a, c, recipe, bytes);
    return Measure(bytes);
}

} // namespace

ByteDistribution BuildByteDistribution(const NoiseRecipe& recipe, int count) {
    // Normal quantiles bent by a sinh-arcsinh transform, then standardised.
    std::vector<double> shape(count);
    for (int i = 0; i < count; ++i) {
        const double z = InverseNormal((i + 0.5) / count);
        shape[i] = DetSinh(recipe.tailWeight * DetAsinh(z));
    }
    const double shapeMean = std::accumulate(shape.begin(), shape.end(), 0.0) / count;
    double shapeVar = 0.0;
    for (double& s : shape) {
        s -= shapeMean;
        shapeVar += s * s;
    }
    const double shapeDev = std::sqrt(shapeVar / count);
    for (double& s : shape)
        s /= shapeDev;

    // Newton's method on location and scale: clamping and rounding move the
    // moments, so they are met on the bytes themselves.
    std::vector<uint8_t> bytes(count);
    double a = recipe.mean;
    double c = recipe.deviation;
    const double h = 0.01;
    bool converged = false;
    for (int iteration = 0; iteration < 200 && !converged; ++iteration) {
        const Moments m = MomentsAt(shape, a, c, recipe, bytes);
        const double em = m.mean - recipe.mean;
        const double es = m.deviation - recipe.deviation;
        if (std::fabs(em) < 0.002 && std::fabs(es) < 0.002) {
            converged = true;
            break;
        }
        const Moments ma = MomentsAt(shape, a + h, c, recipe, bytes);
        const Moments mc = MomentsAt(shape, a, c + h, recipe, bytes);
        const double j11 = (ma.mean - m.mean) / h, j12 = (mc.mean - m.mean) / h;
        const double j21 = (ma.deviation - m.deviation) / h, j22 = (mc.deviation - m.deviation) / h;
        const double det = j11 * j22 - j12 * j21;
        if (std::fabs(det) < 1e-12)
            break;
        // Half steps keep the iteration steady across the rounding steps.
        a -= 0.5 * (j22 * em - j12 * es) / det;
        c -= 0.5 * (j11 * es - j21 * em) / det;
    }
    FillBytes(shape, a, c, recipe, bytes);
    return {bytes, converged};
}

std::vector<uint8_t> MapFieldToBytes(const std::vector<double>& field,
                                     const std::vector<uint8_t>& sortedBytes) {
    std::vector<int> order(field.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&field](int left, int right) {
        return field[left] < field[right] || (field[left] == field[right] && left < right);
    });
    std::vector<uint8_t> cells(field.size());
    for (size_t rank = 0; rank < order.size(); ++rank)
        cells[order[rank]] = sortedBytes[rank];
    return cells;
}
