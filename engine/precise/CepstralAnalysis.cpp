#include "engine/precise/CepstralAnalysis.h"

#include "engine/SpeechExtent.h"
#include "engine/precise/FourierPower.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

namespace {

constexpr int MEL_BANDS = 24;
constexpr double SAMPLE_RATE = 22050.0;
constexpr double LOW_HZ = 100.0;
constexpr double HIGH_HZ = 4000.0;
constexpr float PRE_EMPHASIS = 0.97f;
// Band energies are floored here (samples scaled to ±1) so that digital
// silence gives finite logarithms.
constexpr float ENERGY_FLOOR = 1e-7f;
// A frame belongs to the word when its log energy lies above this share of
// the way from the quietest frame to the loudest one.
constexpr float SPEECH_SHARE = 0.25f;
constexpr int MIN_FRAMES = 3;
constexpr int DELTA_SPAN = 2;
// Sinusoidal liftering raises the higher cepstra, which otherwise count for
// little beside the first few in the frame distance.
constexpr double LIFTER = 22.0;

double mel_of(double hz)
{
    return 2595.0 * std::log10(1.0 + hz / 700.0);
}

double hz_of(double mel)
{
    return 700.0 * (std::pow(10.0, mel / 2595.0) - 1.0);
}

// Triangular mel filters over the spectrum's bins, and the DCT-II rows.
struct AnalysisTables {
    std::array<std::array<float, FourierPower::BINS>, MEL_BANDS> filters {};
    std::array<std::array<float, MEL_BANDS>, CepstralFrames::CEPSTRA> cosines {};
    std::array<float, CEPSTRAL_FRAME> window {};

    AnalysisTables()
    {
        const double low = mel_of(LOW_HZ);
        const double high = mel_of(HIGH_HZ);
        std::array<double, MEL_BANDS + 2> edges;
        for (int i = 0; i < MEL_BANDS + 2; ++i)
            edges[i] = hz_of(low + (high - low) * i / (MEL_BANDS + 1));
        for (int b = 0; b < MEL_BANDS; ++b) {
            for (int k = 0; k < FourierPower::BINS; ++k) {
                const double hz = k * SAMPLE_RATE / FourierPower::POINTS;
                double weight = 0.0;
                if (hz > edges[b] && hz <= edges[b + 1])
                    weight = (hz - edges[b]) / (edges[b + 1] - edges[b]);
                else if (hz > edges[b + 1] && hz < edges[b + 2])
                    weight = (edges[b + 2] - hz) / (edges[b + 2] - edges[b + 1]);
                filters[b][k] = static_cast<float>(weight);
            }
        }
        for (int c = 0; c < CepstralFrames::CEPSTRA; ++c) {
            const double lift = 1.0 + LIFTER / 2.0 * std::sin(std::numbers::pi * c / LIFTER);
            for (int b = 0; b < MEL_BANDS; ++b)
                cosines[c][b] = static_cast<float>(lift
                    * std::cos(std::numbers::pi * c * (b + 0.5) / MEL_BANDS)
                    * std::sqrt(2.0 / MEL_BANDS));
        }
        for (int i = 0; i < CEPSTRAL_FRAME; ++i)
            window[i] = static_cast<float>(
                0.54 - 0.46 * std::cos(2.0 * std::numbers::pi * i / (CEPSTRAL_FRAME - 1)));
    }
};

const AnalysisTables& tables()
{
    static const AnalysisTables instance;
    return instance;
}

const FourierPower& transform()
{
    static const FourierPower instance;
    return instance;
}

// The cepstra of one frame starting at `first`, and the frame's log energy.
void analyse_frame(const std::int16_t* first, float* cepstra, float& log_energy)
{
    const AnalysisTables& t = tables();
    std::array<float, CEPSTRAL_FRAME> frame;
    float previous = 0.0f;
    for (int i = 0; i < CEPSTRAL_FRAME; ++i) {
        const float sample = first[i] / 32768.0f;
        frame[i] = (sample - PRE_EMPHASIS * previous) * t.window[i];
        previous = sample;
    }
    const auto spectrum = transform().power(frame);
    std::array<float, MEL_BANDS> logs;
    float total = 0.0f;
    for (int b = 0; b < MEL_BANDS; ++b) {
        float energy = 0.0f;
        for (int k = 0; k < FourierPower::BINS; ++k)
            energy += t.filters[b][k] * spectrum[k];
        total += energy;
        logs[b] = std::log(energy + ENERGY_FLOOR);
    }
    for (int c = 0; c < CepstralFrames::CEPSTRA; ++c) {
        float sum = 0.0f;
        for (int b = 0; b < MEL_BANDS; ++b)
            sum += t.cosines[c][b] * logs[b];
        cepstra[c] = sum;
    }
    log_energy = std::log(total + ENERGY_FLOOR);
}

} // namespace

CepstralFrames analyse_cepstra(const std::int16_t* samples, std::size_t count)
{
    CepstralFrames result;
    if (!samples || count < CEPSTRAL_FRAME)
        return result;
    const std::size_t frames = (count - CEPSTRAL_FRAME) / CEPSTRAL_STEP + 1;
    if (frames < MIN_FRAMES)
        return result;

    constexpr int C = CepstralFrames::CEPSTRA;
    std::vector<float> cepstra(frames * C);
    std::vector<float> energy(frames);
    for (std::size_t f = 0; f < frames; ++f)
        analyse_frame(samples + f * CEPSTRAL_STEP, cepstra.data() + f * C, energy[f]);

    // The word: from the first to the last frame above the speech level.
    const auto [quietest, loudest] = std::minmax_element(energy.begin(), energy.end());
    const float level = *quietest + SPEECH_SHARE * (*loudest - *quietest);
    std::size_t first = 0;
    while (first < frames && energy[first] < level)
        ++first;
    std::size_t last = frames;
    while (last > first && energy[last - 1] < level)
        --last;
    if (last - first < MIN_FRAMES) {
        first = 0;
        last = frames;
    }
    const std::size_t kept = last - first;

    std::array<float, C> mean {};
    for (std::size_t f = first; f < last; ++f)
        for (int c = 0; c < C; ++c)
            mean[c] += cepstra[f * C + c];
    for (int c = 0; c < C; ++c)
        mean[c] /= static_cast<float>(kept);

    result.count = static_cast<std::int32_t>(kept);
    result.values.assign(kept * CepstralFrames::DIMENSIONS, 0.0f);
    for (std::size_t f = 0; f < kept; ++f)
        for (int c = 0; c < C; ++c)
            result.values[f * CepstralFrames::DIMENSIONS + c]
                = cepstra[(first + f) * C + c] - mean[c];

    // Deltas by linear regression over ±2 frames, the edges repeated.
    float norm = 0.0f;
    for (int d = 1; d <= DELTA_SPAN; ++d)
        norm += 2.0f * d * d;
    const auto at = [&](std::ptrdiff_t f, int c) {
        f = std::clamp<std::ptrdiff_t>(f, 0, static_cast<std::ptrdiff_t>(kept) - 1);
        return result.values[static_cast<std::size_t>(f) * CepstralFrames::DIMENSIONS + c];
    };
    for (std::size_t f = 0; f < kept; ++f) {
        for (int c = 0; c < C; ++c) {
            float sum = 0.0f;
            for (int d = 1; d <= DELTA_SPAN; ++d) {
                const auto i = static_cast<std::ptrdiff_t>(f);
                sum += d * (at(i + d, c) - at(i - d, c));
            }
            result.values[f * CepstralFrames::DIMENSIONS + C + c] = sum / norm;
        }
    }
    return result;
}

CepstralFrames analyse_utterance_cepstra(const std::int16_t* samples, std::size_t count)
{
    const std::size_t limit = std::numeric_limits<std::int32_t>::max() / 2;
    if (!samples || count == 0 || count > limit)
        return {};
    // A capture without any signal holds no word, although the extent
    // detector still reports its fixed margins.
    if (std::adjacent_find(samples, samples + count, std::not_equal_to<>()) == samples + count)
        return {};
    const std::optional<SpeechExtent> extent
        = find_speech_extent(samples, static_cast<std::int32_t>(count * 2));
    if (!extent || extent->end <= extent->start)
        return {};
    const auto start = static_cast<std::size_t>(std::max(extent->start, 0));
    const auto end = std::min(static_cast<std::size_t>(extent->end), count);
    if (end <= start)
        return {};
    return analyse_cepstra(samples + start, end - start);
}
