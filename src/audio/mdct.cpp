#include "audio/mdct.h"

#include <cmath>

namespace audio {

namespace {
constexpr double pi = 3.14159265358979323846;
}

namespace {

// A unit twiddle worked out in double and rounded once: the float sine and
// cosine of C libraries differ in the last bit (glibc's and the browser
// build's musl do), the double ones round to the same floats, so every
// build decodes the same samples.
std::complex<float> unit(double angle) { return std::complex<float>(std::polar(1.0, angle)); }

}  // namespace

// The n/2 coefficients go through a DCT-IV of size m = n/2, computed with a
// complex FFT of size m/2 between two twiddle passes; the n outputs are the
// DCT-IV values unfolded by its symmetries.
void InverseMdct::init(int n) {
    n_ = n;
    int m = n / 2, l = n / 4;
    pre_.resize(static_cast<std::size_t>(l));
    post_.resize(static_cast<std::size_t>(l));
    for (int k = 0; k < l; ++k) {
        pre_[k] = unit(-pi * (k + 0.25) / m);
        post_[k] = unit(-pi * k / m);
    }
    twiddle_.resize(static_cast<std::size_t>(l / 2 > 0 ? l / 2 : 1));
    for (int k = 0; k < l / 2; ++k) twiddle_[k] = unit(-2 * pi * k / l);
    bit_reverse_.resize(static_cast<std::size_t>(l));
    int bits = 0;
    while ((1 << bits) < l) ++bits;
    for (int i = 0; i < l; ++i) {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            if (i & (1 << b)) r |= 1 << (bits - 1 - b);
        bit_reverse_[i] = r;
    }
}

void InverseMdct::fft(std::complex<float>* z) const {
    int l = n_ / 4;
    for (int i = 0; i < l; ++i)
        if (i < bit_reverse_[i]) std::swap(z[i], z[bit_reverse_[i]]);
    for (int span = 1; span < l; span *= 2) {
        int step = l / (2 * span);
        for (int start = 0; start < l; start += 2 * span) {
            for (int k = 0; k < span; ++k) {
                std::complex<float> w = twiddle_[k * step];
                std::complex<float> a = z[start + k];
                std::complex<float> b = z[start + k + span];
                std::complex<float> t(w.real() * b.real() - w.imag() * b.imag(),
                                      w.real() * b.imag() + w.imag() * b.real());
                z[start + k] = a + t;
                z[start + k + span] = a - t;
            }
        }
    }
}

void InverseMdct::transform(const float* in, float* out, float* work) const {
    int m = n_ / 2, l = n_ / 4;
    auto* z = reinterpret_cast<std::complex<float>*>(work);
    for (int k = 0; k < l; ++k) {
        std::complex<float> v(in[2 * k], in[m - 1 - 2 * k]);
        std::complex<float> w = pre_[k];
        z[k] = std::complex<float>(v.real() * w.real() - v.imag() * w.imag(), v.real() * w.imag() + v.imag() * w.real());
    }
    fft(z);
    // u: the DCT-IV of the input, stored in the second half of `work`.
    float* u = work + m;
    for (int j = 0; j < l; ++j) {
        std::complex<float> w = post_[j];
        float re = z[j].real() * w.real() - z[j].imag() * w.imag();
        float im = z[j].real() * w.imag() + z[j].imag() * w.real();
        u[2 * j] = re;
        u[m - 1 - 2 * j] = -im;
    }
    // out[i] is the DCT-IV extended to index i + m/2.
    int half = m / 2;
    for (int i = 0; i < half; ++i) out[i] = u[i + half];
    for (int i = half; i < half + m; ++i) out[i] = -u[2 * m - 1 - (i + half)];
    for (int i = half + m; i < n_; ++i) out[i] = -u[i + half - 2 * m];
}

}  // namespace audio
