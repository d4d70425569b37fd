// The inverse modified discrete cosine transform of one block.
#pragma once

#include <complex>
#include <vector>

namespace audio {

class InverseMdct {
public:
    // n: the block size (a power of two, 64 to 8192).
    void init(int n);

    // in: n/2 spectral lines; out: n samples, unwindowed. `work` needs n
    // floats of scratch space and may not overlap `out`.
    void transform(const float* in, float* out, float* work) const;

    int size() const { return n_; }

private:
    void fft(std::complex<float>* z) const;

    int n_ = 0;
    std::vector<std::complex<float>> pre_, post_, twiddle_;
    std::vector<int> bit_reverse_;
};

}  // namespace audio
