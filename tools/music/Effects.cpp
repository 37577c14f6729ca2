// Effects.cpp: echo, reverb, leveller, limiter and fades of the master.
//
// Needs: Effects.h, Synth.h (one-pole filter).
#include "Effects.h"

#include <deque>

#include "Synth.h"

namespace music {
namespace {

// Feedback comb with a low-pass in its loop: the repeats lose their highs
// the way reflections off soft walls do.
class DampedComb {
public:
    DampedComb(size_t length, float feedback, float damping)
        : line_(length, 0.0f), feedback_(feedback), damping_(damping) {}
    float process(float input) {
        const float out = line_[index_];
        store_ = out * (1.0f - damping_) + store_ * damping_;
        line_[index_] = input + store_ * feedback_;
        if (++index_ == line_.size()) index_ = 0;
        return out;
    }

private:
    std::vector<float> line_;
    size_t index_ = 0;
    float feedback_;
    float damping_;
    float store_ = 0.0f;
};

// Schroeder all-pass: smears the comb echoes into a dense tail.
class AllPass {
public:
    explicit AllPass(size_t length) : line_(length, 0.0f) {}
    float process(float input) {
        const float delayed = line_[index_];
        line_[index_] = input + delayed * 0.5f;
        if (++index_ == line_.size()) index_ = 0;
        return delayed - input;
    }

private:
    std::vector<float> line_;
    size_t index_ = 0;
};

// One side of the reverb.
class ReverbSide {
public:
    explicit ReverbSide(size_t spread) {
        // Mutually prime lengths (29 to 47 ms) so the combs' resonances do not line up.
        constexpr size_t COMB_LENGTHS[8] = {1303, 1427, 1553, 1637, 1741, 1867, 1949, 2053};
        constexpr size_t ALLPASS_LENGTHS[4] = {563, 433, 347, 241};
        for (const size_t length : COMB_LENGTHS) combs_.emplace_back(length + spread, 0.83f, 0.3f);
        for (const size_t length : ALLPASS_LENGTHS) allPasses_.emplace_back(length + spread);
    }
    float process(float input) {
        float sum = 0.0f;
        for (DampedComb& comb : combs_) sum += comb.process(input);
        for (AllPass& pass : allPasses_) sum = pass.process(sum);
        return sum;
    }

private:
    std::vector<DampedComb> combs_;
    std::vector<AllPass> allPasses_;
};

}  // namespace

void addPingPongDelay(const std::vector<float>& send, double delaySeconds, float feedback, float wet,
                      StereoBuffer& out) {
    const size_t length = static_cast<size_t>(std::max<int64_t>(1, secondsToFrame(delaySeconds)));
    std::vector<float> left(length, 0.0f), right(length, 0.0f);
    OnePole dullLeft(3500.0), dullRight(3500.0);
    size_t index = 0;
    const size_t frames = std::min(send.size(), out.frames());
    for (size_t i = 0; i < frames; ++i) {
        const float echoLeft = left[index];
        const float echoRight = right[index];
        left[index] = send[i] + dullRight.process(echoRight) * feedback;
        right[index] = dullLeft.process(echoLeft) * feedback;
        if (++index == length) index = 0;
        out.left[i] += echoLeft * wet;
        out.right[i] += echoRight * wet;
    }
}

void addReverb(const std::vector<float>& send, float wet, StereoBuffer& out) {
    constexpr size_t PRE_DELAY = 882;  // 20 ms keeps the attacks clear of the tail
    constexpr float INPUT_GAIN = 0.03f;
    ReverbSide left(0), right(23);
    std::vector<float> pre(PRE_DELAY, 0.0f);
    size_t index = 0;
    const size_t frames = std::min(send.size(), out.frames());
    for (size_t i = 0; i < frames; ++i) {
        const float input = pre[index] * INPUT_GAIN;
        pre[index] = send[i];
        if (++index == PRE_DELAY) index = 0;
        out.left[i] += left.process(input) * wet;
        out.right[i] += right.process(input) * wet;
    }
}

void levelSections(StereoBuffer& master, double from, double to, double maxDb) {
    constexpr double WINDOW_SECONDS = 2.0;
    // Only part of each difference is corrected, so sections keep some of
    // their own shape (a break stays a little softer than a drop).
    constexpr double STRENGTH = 0.6;
    const int64_t windowFrames = secondsToFrame(WINDOW_SECONDS);
    const int64_t first = std::min<int64_t>(secondsToFrame(from), master.frames());
    const int64_t last = std::min<int64_t>(secondsToFrame(to), master.frames());
    const int64_t windows = (last - first) / windowFrames;
    if (windows < 1) return;

    // Mean square of each window and of the whole span.
    std::vector<double> power(static_cast<size_t>(windows), 0.0);
    double total = 0.0;
    for (int64_t w = 0; w < windows; ++w) {
        double sum = 0.0;
        for (int64_t i = first + w * windowFrames; i < first + (w + 1) * windowFrames; ++i) {
            sum += static_cast<double>(master.left[i]) * master.left[i] +
                   static_cast<double>(master.right[i]) * master.right[i];
        }
        power[w] = sum / (2.0 * windowFrames) + 1e-12;
        total += power[w];
    }
    const double target = total / windows;

    // Gain per window: the amplitude ratio to the average, raised to the
    // strength and limited to +-maxDb.
    const double limit = dbToGain(maxDb);
    std::vector<double> gain(power.size());
    for (size_t w = 0; w < power.size(); ++w) {
        const double g = exp2Exact(STRENGTH * 0.5 * log2Exact(target / power[w]));
        gain[w] = std::min(limit, std::max(1.0 / limit, g));
    }

    // Linear between window centres; held before the first and after the last.
    auto gainAt = [&](int64_t i) {
        const double pos = static_cast<double>(i - first) / windowFrames - 0.5;
        if (pos <= 0.0) return gain.front();
        if (pos >= static_cast<double>(gain.size() - 1)) return gain.back();
        const size_t k = static_cast<size_t>(pos);
        const double u = pos - static_cast<double>(k);
        return gain[k] * (1.0 - u) + gain[k + 1] * u;
    };
    for (size_t i = 0; i < master.frames(); ++i) {
        const float g = static_cast<float>(gainAt(static_cast<int64_t>(i)));
        master.left[i] *= g;
        master.right[i] *= g;
    }
}

void limitPeaks(StereoBuffer& master, float ceiling) {
    constexpr size_t LOOKAHEAD = 88;  // 2 ms
    const double release = 1.0 - decayFactor(0.08);
    const size_t frames = master.frames();

    // Gain each sample needs on its own.
    std::vector<float> need(frames);
    for (size_t i = 0; i < frames; ++i) {
        const float peak = std::max(std::fabs(master.left[i]), std::fabs(master.right[i]));
        need[i] = peak > ceiling ? ceiling / peak : 1.0f;
    }

    // Smallest need in the window [i, i + LOOKAHEAD), by a monotonic queue,
    // then a slow rise back towards 1 that never exceeds that minimum.
    std::vector<float> held(frames);
    std::deque<size_t> window;
    double level = 1.0;
    for (size_t i = 0; i < frames + LOOKAHEAD; ++i) {
        if (i < frames) {
            while (!window.empty() && need[window.back()] >= need[i]) window.pop_back();
            window.push_back(i);
        }
        if (i < LOOKAHEAD - 1) continue;
        const size_t start = i + 1 - LOOKAHEAD;
        if (start >= frames) break;
        while (window.front() < start) window.pop_front();
        level = std::min<double>(need[window.front()], level + (1.0 - level) * release);
        held[start] = static_cast<float>(level);
    }

    // Averaging the held gain over the same window makes the gain glide down
    // ahead of a peak; every value averaged is at most that peak's need.
    double sum = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        sum += held[i];
        if (i >= LOOKAHEAD) sum -= held[i - LOOKAHEAD];
        const size_t count = std::min(i + 1, LOOKAHEAD);
        // Before the window fills, pad it with unity gain from before the start.
        const float g = static_cast<float>((sum + static_cast<double>(LOOKAHEAD - count)) / LOOKAHEAD);
        const float safe = std::min(g, held[i]);
        master.left[i] *= safe;
        master.right[i] *= safe;
    }
}

void fadeEdges(StereoBuffer& master, double fadeOutFrom) {
    const size_t frames = master.frames();
    const size_t fadeIn = std::min<size_t>(frames, 441);
    for (size_t i = 0; i < fadeIn; ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(fadeIn);
        master.left[i] *= g;
        master.right[i] *= g;
    }
    const size_t from = std::min<size_t>(frames, static_cast<size_t>(std::max<int64_t>(0, secondsToFrame(fadeOutFrom))));
    for (size_t i = from; i < frames; ++i) {
        // Squared ramp: falls quickly at first, like a natural decay.
        const float u = static_cast<float>(frames - i) / static_cast<float>(frames - from);
        master.left[i] *= u * u;
        master.right[i] *= u * u;
    }
}

float peakOf(const StereoBuffer& buffer) {
    float peak = 0.0f;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        peak = std::max(peak, std::max(std::fabs(buffer.left[i]), std::fabs(buffer.right[i])));
    }
    return peak;
}

}  // namespace music
