// mksounds.cpp - synthesises Ruvo's six sound effects as 8-bit PCM WAVE files.
//
// Usage: mksounds OUTDIR
//
// Writes OUTDIR/601.wav .. OUTDIR/606.wav. Every sound is computed from scratch
// (oscillators, envelopes and a fixed-seed noise generator), so the output is
// byte-for-byte identical on every run and every machine with IEEE doubles.
//
// Each file is a plain RIFF image: "RIFF" <size> "WAVE", a 16-byte "fmt " chunk
// (PCM, tag 1) and a "data" chunk. Samples are unsigned 8-bit (silence = 128),
// interleaved left/right for the stereo sounds. A data chunk of odd length is
// followed by the single pad byte RIFF requires; it is counted in the RIFF size
// but not in the data chunk size.
//
// Pipeline for every sound: a render function fills one buffer of doubles per
// channel in the range about [-1, 1]; then finish() applies a short raised-cosine
// fade at both ends (so the first and last samples are exactly silence), scales
// the loudest sample to the sound's target peak (~75 % of full scale) and
// quantises to unsigned 8-bit.
// SPDX-License-Identifier: MIT

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// ---------------------------------------------------------------------------
// Building blocks
// ---------------------------------------------------------------------------

// xorshift32 with a fixed seed: cheap, deterministic white noise in [-1, 1).
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    double next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

  private:
    std::uint32_t state_;
};

// Phase accumulator so that the pitch can glide without discontinuities.
// The phase is kept in cycles, [0, 1).
class Osc {
  public:
    explicit Osc(int rate) : rate_(rate) {}
    // Advance by one sample at frequency f (Hz) and return the phase before the step.
    double step(double f)
    {
        const double p = phase_;
        phase_ += f / rate_;
        phase_ -= std::floor(phase_);
        return p;
    }

  private:
    int rate_;
    double phase_ = 0.0;
};

// Band-limited square wave built from its odd harmonics, only those below the
// Nyquist frequency (so nothing aliases at 11 kHz). 'cutoff' rolls the upper
// harmonics off gently: a high cutoff gives a bright, buzzy square, a low one a
// rounder, hollow tone. Peak amplitude is roughly 1.
double square(double phase, double freq, int rate, double cutoff)
{
    const double nyquist = 0.5 * rate;
    double sum = 0.0;
    for (int k = 1; k * freq < nyquist; k += 2)
        sum += std::sin(kTwoPi * k * phase) / k * std::exp(-(k * freq) / cutoff);
    return sum * (4.0 / kPi);
}

// Exponential glide from f0 to f1 as u goes 0 -> 1 (equal steps in pitch).
double glide(double f0, double f1, double u)
{
    u = std::clamp(u, 0.0, 1.0);
    return f0 * std::pow(f1 / f0, u);
}

// Smooth 0 -> 1 ramp over 'len' seconds starting at t = 0 (raised cosine).
double rampIn(double t, double len)
{
    if (t <= 0.0)
        return 0.0;
    if (t >= len)
        return 1.0;
    return 0.5 - 0.5 * std::cos(kPi * t / len);
}

// Note-shaped gate: ramps in over 'attack', stays at 1, and ramps out over
// 'release' so that it reaches 0 exactly at 'dur'. Zero outside [0, dur].
double gate(double t, double dur, double attack, double release)
{
    if (t < 0.0 || t > dur)
        return 0.0;
    return rampIn(t, attack) * rampIn(dur - t, release);
}

// Constant-power pan: p = -1 full left, 0 centre, +1 full right.
void pan(double p, double& gainL, double& gainR)
{
    const double a = (p + 1.0) * 0.25 * kPi;
    gainL = std::cos(a);
    gainR = std::sin(a);
}

// ---------------------------------------------------------------------------
// Sound buffer and output
// ---------------------------------------------------------------------------

struct Sound {
    int channels = 1;
    int rate = 11025;
    std::vector<double> left, right; // 'right' stays empty for mono sounds

    Sound(int ch, int r, int ms) : channels(ch), rate(r)
    {
        // frames = round(rate * ms / 1000); no table entry lands on a half.
        const auto frames = static_cast<std::size_t>((static_cast<long>(r) * ms + 500) / 1000);
        left.assign(frames, 0.0);
        if (ch == 2)
            right.assign(frames, 0.0);
    }
    std::size_t frames() const { return left.size(); }
    double time(std::size_t i) const { return static_cast<double>(i) / rate; }
    double duration() const { return static_cast<double>(frames()) / rate; }

    // Add a mono sample s at frame i, placed in the stereo field by 'p'.
    // For mono sounds the pan is ignored.
    void add(std::size_t i, double s, double p = 0.0)
    {
        if (channels == 1) {
            left[i] += s;
            return;
        }
        double gl, gr;
        pan(p, gl, gr);
        left[i] += s * gl;
        right[i] += s * gr;
    }
};

// Edge fades, normalisation and 8-bit quantisation. Returns interleaved bytes.
std::vector<std::uint8_t> finish(Sound& s, double targetPeak, double fadeSeconds = 0.003)
{
    const std::size_t n = s.frames();
    const double fadeFrames = fadeSeconds * s.rate;
    double peak = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        // Distance to the nearer end, in frames: 0 at the first and last frame,
        // so those come out as exact silence.
        const double edge = static_cast<double>(std::min(i, n - 1 - i));
        const double g = edge >= fadeFrames ? 1.0 : 0.5 - 0.5 * std::cos(kPi * edge / fadeFrames);
        s.left[i] *= g;
        peak = std::max(peak, std::abs(s.left[i]));
        if (s.channels == 2) {
            s.right[i] *= g;
            peak = std::max(peak, std::abs(s.right[i]));
        }
    }
    const double scale = peak > 0.0 ? targetPeak / peak : 0.0;
    auto toU8 = [scale](double x) {
        const long v = 128 + std::lround(x * scale * 127.0);
        return static_cast<std::uint8_t>(std::clamp(v, 1L, 255L));
    };
    std::vector<std::uint8_t> out;
    out.reserve(n * s.channels);
    for (std::size_t i = 0; i < n; ++i) {
        out.push_back(toU8(s.left[i]));
        if (s.channels == 2)
            out.push_back(toU8(s.right[i]));
    }
    return out;
}

void put16(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void putTag(std::vector<std::uint8_t>& b, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(tag[i]));
}

// The complete RIFF WAVE image of 8-bit PCM samples.
std::vector<std::uint8_t> waveImage(int channels, int rate, const std::vector<std::uint8_t>& pcm)
{
    const std::uint32_t dataSize = static_cast<std::uint32_t>(pcm.size());
    const std::uint32_t pad = dataSize & 1u;
    const std::uint32_t blockAlign = static_cast<std::uint32_t>(channels); // 1 byte per sample
    std::vector<std::uint8_t> b;
    b.reserve(44 + dataSize + pad);
    putTag(b, "RIFF");
    put32(b, 4 + (8 + 16) + (8 + dataSize + pad));
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);
    put16(b, 1); // PCM
    put16(b, static_cast<std::uint32_t>(channels));
    put32(b, static_cast<std::uint32_t>(rate));
    put32(b, static_cast<std::uint32_t>(rate) * blockAlign); // bytes per second
    put16(b, blockAlign);
    put16(b, 8); // bits per sample
    putTag(b, "data");
    put32(b, dataSize);
    b.insert(b.end(), pcm.begin(), pcm.end());
    if (pad)
        b.push_back(128);
    return b;
}

// ---------------------------------------------------------------------------
// The six sounds
// ---------------------------------------------------------------------------

// 601 bounce: bright square blip sweeping up two octaves in the first 50 ms,
// then holding while it decays. It hops from slightly left to slightly right.
Sound bounce()
{
    Sound s(2, 11025, 74);
    Osc osc(s.rate);
    for (std::size_t i = 0; i < s.frames(); ++i) {
        const double t = s.time(i);
        const double f = glide(380.0, 1520.0, t / 0.050);
        const double amp = gate(t, s.duration(), 0.002, 0.012) * std::exp(-t / 0.060);
        const double x = square(osc.step(f), f, s.rate, 3500.0) * amp;
        s.add(i, x, -0.2 + 0.4 * t / s.duration());
    }
    return s;
}

// 602 miss: the "bwoww" of falling off. A square wave glides down three octaves
// with a wobbly vibrato; its harmonics roll off with the pitch so the sound gets
// darker as it falls. The vibrato also sways it a little between the speakers.
Sound miss()
{
    Sound s(2, 11025, 216);
    Osc osc(s.rate);
    const double dur = s.duration();
    for (std::size_t i = 0; i < s.frames(); ++i) {
        const double t = s.time(i);
        const double wob = std::sin(kTwoPi * 14.0 * t);
        const double f = glide(880.0, 110.0, t / dur) * (1.0 + 0.04 * wob);
        const double amp = gate(t, dur, 0.004, 0.070);
        const double x = square(osc.step(f), f, s.rate, 5.0 * f) * amp;
        s.add(i, x, 0.2 * wob);
    }
    return s;
}

// 603 game over: four falling notes of C minor, G4 F4 Eb4 C4, the last one held
// and drooping a little with a light vibrato. Notes alternate left and right.
Sound gameOver()
{
    Sound s(2, 11025, 251);
    struct Note {
        double start, dur, freq, pan;
    };
    const Note notes[] = {
        {0.000, 0.048, 392.00, -0.25}, // G4
        {0.048, 0.048, 349.23, 0.25},  // F4
        {0.096, 0.048, 311.13, -0.25}, // Eb4
        {0.144, 0.107, 261.63, 0.0},   // C4, held to the end
    };
    Osc osc(s.rate);
    for (std::size_t i = 0; i < s.frames(); ++i) {
        const double t = s.time(i);
        for (const Note& n : notes) {
            const double u = t - n.start;
            if (u < 0.0 || u >= n.dur)
                continue;
            const bool last = &n == &notes[3];
            double f = n.freq;
            if (last)
                f *= glide(1.0, 0.94, u / n.dur) * (1.0 + 0.02 * std::sin(kTwoPi * 9.0 * u));
            const double amp = gate(u, n.dur, 0.003, last ? 0.040 : 0.008) * std::exp(-u / 0.15);
            s.add(i, square(osc.step(f), f, s.rate, 2000.0) * amp, n.pan);
        }
    }
    return s;
}

// 604 stomp: a kick-drum thump (sine diving from 240 Hz to 65 Hz), a short
// burst of filtered noise for the impact and a square "squish" dropping quickly
// in pitch. The noise is drawn separately for each channel, which widens the
// impact without any phase trouble when the two are summed to mono.
Sound stomp()
{
    Sound s(2, 11025, 170);
    Osc thumpOsc(s.rate), squishOsc(s.rate);
    Noise noiseL(0x1234567u), noiseR(0x7654321u);
    double lowL = 0.0, lowR = 0.0; // one-pole low-pass states
    const double k = 1.0 - std::exp(-kTwoPi * 1800.0 / s.rate);
    for (std::size_t i = 0; i < s.frames(); ++i) {
        const double t = s.time(i);
        // Quick attack; the low tail is faded out over the last 40 ms so it
        // does not stop in the middle of a slow cycle.
        const double env = gate(t, s.duration(), 0.001, 0.040);

        const double fThump = 65.0 + 175.0 * std::exp(-t / 0.020);
        const double thump = std::sin(kTwoPi * thumpOsc.step(fThump)) * std::exp(-t / 0.050);

        const double fSquish = glide(700.0, 160.0, t / 0.045);
        const double squish = square(squishOsc.step(fSquish), fSquish, s.rate, 2500.0) * std::exp(-t / 0.030);

        lowL += k * (noiseL.next() - lowL);
        lowR += k * (noiseR.next() - lowR);
        const double burst = 1.6 * std::exp(-t / 0.018);

        // Gentle saturation squeezes the three layers together into one punch.
        const double centre = 1.0 * thump + 0.35 * squish;
        s.left[i] = std::tanh(1.5 * env * (centre + burst * lowL));
        s.right[i] = std::tanh(1.5 * env * (centre + burst * lowR));
    }
    return s;
}

// 605 dissolve tick: three tiny rising sine pings (D7, F7, A7) 10 ms apart, each
// with a soft onset and quick ring-out: a sparkle short enough to repeat every
// 80 ms for the eight steps of the wipe.
Sound dissolve()
{
    Sound s(1, 11025, 34);
    const double freqs[] = {2349.3, 2793.8, 3520.0};
    for (int p = 0; p < 3; ++p) {
        const double start = 0.010 * p;
        Osc osc(s.rate);
        for (std::size_t i = 0; i < s.frames(); ++i) {
            const double u = s.time(i) - start;
            if (u < 0.0)
                continue;
            const double amp = rampIn(u, 0.0015) * std::exp(-u / 0.006);
            s.add(i, std::sin(kTwoPi * osc.step(freqs[p])) * amp);
        }
    }
    return s;
}

// 606 hurry: a two-tone alarm, twelve 76 ms beeps alternating B5 and E6 (a
// fourth apart, like a siren), each with a little upward chirp at its onset
// and a short gap before the next so the beeps stay distinct.
Sound hurry()
{
    Sound s(1, 22050, 912);
    const double beep = 0.076;
    Osc osc(s.rate);
    for (std::size_t i = 0; i < s.frames(); ++i) {
        const double t = s.time(i);
        const int n = std::min(static_cast<int>(t / beep), 11);
        const double u = t - n * beep;
        const double base = (n % 2 == 0) ? 987.77 : 1318.51;
        const double f = base * glide(0.97, 1.0, u / 0.010);
        const double amp = gate(u, beep - 0.008, 0.003, 0.006);
        s.add(i, square(osc.step(f), f, s.rate, 4000.0) * amp);
    }
    return s;
}

struct Effect {
    int id;
    Sound (*make)();
    double peak; // target peak as a fraction of full scale
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: mksounds OUTDIR\n";
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::cerr << "mksounds: cannot create " << outDir.string() << ": " << ec.message() << "\n";
        return 1;
    }

    const Effect effects[] = {
        {601, bounce, 0.75}, {602, miss, 0.75},     {603, gameOver, 0.75},
        {604, stomp, 0.78},  {605, dissolve, 0.70}, {606, hurry, 0.72},
    };
    for (const Effect& e : effects) {
        Sound s = e.make();
        const std::vector<std::uint8_t> pcm = finish(s, e.peak);
        const std::vector<std::uint8_t> image = waveImage(s.channels, s.rate, pcm);
        const std::filesystem::path file = outDir / (std::to_string(e.id) + ".wav");
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        out.close();
        if (!out) {
            std::cerr << "mksounds: cannot write " << file.string() << "\n";
            return 1;
        }
    }
    return 0;
}
