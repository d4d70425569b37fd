// heden_review: pictures for a person to judge the generated data by.
//
//   heden_review <pool folder> <output folder>
//
// Writes contact_sheet.png (every texture of the pool, sky sets as rows of
// six faces) and music.png (the soundtrack's waveform over a spectrogram
// with a logarithmic frequency axis, beats 48, 96, 160, 224, 256, 320 and 336
// marked).
#include <png.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    Picture() = default;
    Picture(int w, int h, std::uint8_t grey) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4, grey) {
        for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    }
    std::uint8_t* at(int x, int y) { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
};

bool load(const std::string& path, Picture& out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) != 0;
}

bool save(const std::string& path, const Picture& p) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(p.width);
    image.height = static_cast<png_uint_32>(p.height);
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, p.rgba.data(), 0, nullptr) != 0;
}

// Pastes `tile` scaled to fit a size × size box (aspect kept).
void paste(Picture& sheet, const Picture& tile, int x0, int y0, int size) {
    double scale = static_cast<double>(size) / std::max(tile.width, tile.height);
    int w = static_cast<int>(tile.width * scale), h = static_cast<int>(tile.height * scale);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* s = &tile.rgba[(static_cast<std::size_t>(y / scale) * tile.width + static_cast<std::size_t>(x / scale)) * 4];
            std::memcpy(sheet.at(x0 + x, y0 + y), s, 3);
        }
}

bool contact_sheet(const std::string& pool, const std::string& out) {
    const int tile = 160, gap = 6;
    std::vector<std::vector<std::string>> rows;
    for (int set = 0; set < 3; ++set) {
        std::vector<std::string> row;
        for (char f : std::string("fblrud")) row.push_back("cubemap_" + std::to_string(set) + f + ".png");
        rows.push_back(row);
    }
    rows.push_back({"test.png", "mizzle.png", "particle.png", "tarrow.png", "loading.png"});
    rows.push_back({"noise_c.png", "noise_f.png", "noise_k.png", "noise_l.png", "noise_m.png", "noise_s.png"});
    rows.push_back({"noise_t.png", "noise_z.png"});
    Picture sheet(6 * (tile + gap) + gap, static_cast<int>(rows.size()) * (tile + gap) + gap, 60);
    bool ok = true;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            Picture p;
            if (!load(pool + "/" + rows[r][c], p)) {
                std::fprintf(stderr, "review: cannot read %s\n", rows[r][c].c_str());
                ok = false;
                continue;
            }
            paste(sheet, p, gap + static_cast<int>(c) * (tile + gap), gap + static_cast<int>(r) * (tile + gap), tile);
        }
    return save(out + "/contact_sheet.png", sheet) && ok;
}

std::vector<float> decode_mono(const std::string& path, long& rate) {
    std::vector<float> mono;
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return mono;
    rate = ov_info(&vf, -1)->rate;
    float** pcm;
    int section;
    long n;
    while ((n = ov_read_float(&vf, &pcm, 4096, &section)) > 0)
        for (long i = 0; i < n; ++i) mono.push_back(0.5f * (pcm[0][i] + pcm[1][i]));
    ov_clear(&vf);
    return mono;
}

void fft(std::vector<std::complex<double>>& a) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        std::complex<double> w(std::cos(-2 * M_PI / len), std::sin(-2 * M_PI / len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> wk(1);
            for (std::size_t k = 0; k < len / 2; ++k, wk *= w) {
                auto u = a[i + k], v = a[i + k + len / 2] * wk;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

bool music_picture(const std::string& pool, const std::string& out) {
    long rate = 44100;
    std::vector<float> s = decode_mono(pool + "/quorvane_28_juli.ogg", rate);
    if (s.empty()) return false;
    const int width = 1400, wave_h = 160, spec_h = 340;
    Picture pic(width, wave_h + spec_h, 20);
    std::size_t per_column = s.size() / width;
    for (int x = 0; x < width; ++x) {
        float lo = 0, hi = 0;
        double power = 0;
        for (std::size_t i = x * per_column; i < (x + 1) * per_column; ++i) {
            lo = std::min(lo, s[i]);
            hi = std::max(hi, s[i]);
            power += s[i] * s[i];
        }
        double rms = std::sqrt(power / per_column);
        for (int y = 0; y < wave_h; ++y) {
            double v = 1 - 2.0 * (y + 0.5) / wave_h;
            std::uint8_t* p = pic.at(x, y);
            if (std::fabs(v) <= rms) p[0] = 120, p[1] = 200, p[2] = 255;
            else if (v <= hi && v >= lo) p[0] = 40, p[1] = 110, p[2] = 190;
        }
        // Spectrogram column: a 4096-point window in the middle of the column.
        const std::size_t n = 4096;
        std::size_t centre = x * per_column + per_column / 2;
        std::vector<std::complex<double>> a(n);
        for (std::size_t i = 0; i < n; ++i) {
            std::size_t at = centre + i >= n / 2 ? centre + i - n / 2 : 0;
            double window = 0.5 - 0.5 * std::cos(2 * M_PI * i / n);
            a[i] = at < s.size() ? s[at] * window : 0.0;
        }
        fft(a);
        for (int y = 0; y < spec_h; ++y) {
            double f = 30.0 * std::pow(18000.0 / 30.0, 1.0 - (y + 0.5) / spec_h);  // log axis, high at the top
            auto bin = static_cast<std::size_t>(f * n / rate);
            double db = 20 * std::log10(std::abs(a[std::min(bin, n / 2)]) + 1e-9);
            double v = std::clamp((db + 30) / 80.0, 0.0, 1.0);
            std::uint8_t* p = pic.at(x, wave_h + y);
            p[0] = static_cast<std::uint8_t>(255 * std::min(1.0, v * 1.8));
            p[1] = static_cast<std::uint8_t>(255 * std::clamp(v * 1.8 - 0.6, 0.0, 1.0));
            p[2] = static_cast<std::uint8_t>(255 * std::clamp(0.5 * v + (v > 0.8 ? v - 0.8 : 0), 0.0, 1.0));
        }
    }
    for (double beat : {48.0, 96.0, 160.0, 224.0, 256.0, 320.0, 336.0, 356.0}) {
        auto x = static_cast<int>(beat * 60.0 / 152.0 * rate / per_column);
        for (int y = 0; y < pic.height && x < width; y += 2) pic.at(x, y)[0] = pic.at(x, y)[1] = pic.at(x, y)[2] = 255;
    }
    return save(out + "/music.png", pic);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: heden_review <pool folder> <output folder>\n");
        return 2;
    }
    bool ok = contact_sheet(argv[1], argv[2]);
    ok = music_picture(argv[1], argv[2]) && ok;
    std::printf("review: %s/contact_sheet.png, %s/music.png %s\n", argv[2], argv[2], ok ? "written" : "FAILED");
    return ok ? 0 : 1;
}
