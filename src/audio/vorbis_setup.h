// The three Vorbis header packets and everything the setup header declares.
#pragma once

#include <cstdint>
#include <vector>

#include "audio/codebook.h"

namespace audio {

constexpr int floor1_max_values = 65;

struct Floor0 {
    int order = 0, rate = 0, bark_map_size = 0, amplitude_bits = 0, amplitude_offset = 0;
    std::vector<std::uint8_t> books;
};

struct Floor1 {
    int partitions = 0;
    std::uint8_t partition_class[32] = {};
    std::uint8_t class_dimensions[16] = {};
    std::uint8_t class_subclasses[16] = {};
    std::uint8_t class_masterbook[16] = {};
    std::int16_t subclass_books[16][8] = {};
    int multiplier = 1;
    int values = 0;
    std::uint16_t x[floor1_max_values] = {};
    // Derived: the points in order of x, and each point's neighbours among
    // the points before it.
    std::uint8_t sorted[floor1_max_values] = {};
    std::uint8_t low_neighbor[floor1_max_values] = {};
    std::uint8_t high_neighbor[floor1_max_values] = {};
};

struct Floor {
    int type = 0;
    Floor0 floor0;
    Floor1 floor1;
};

struct Residue {
    int type = 0;
    std::uint32_t begin = 0, end = 0, partition_size = 0;
    int classifications = 0, classbook = 0;
    std::int16_t books[64][8] = {};  // -1: no book for that pass
};

struct Mapping {
    int submaps = 1;
    std::vector<std::uint8_t> magnitude, angle;  // coupling steps
    std::vector<std::uint8_t> mux;               // submap of each channel
    std::uint8_t submap_floor[16] = {};
    std::uint8_t submap_residue[16] = {};
};

struct Mode {
    bool long_block = false;
    int mapping = 0;
};

struct VorbisSetup {
    int channels = 0;
    std::uint32_t rate = 0;
    int blocksize[2] = {0, 0};
    std::vector<Codebook> books;
    std::vector<Floor> floors;
    std::vector<Residue> residues;
    std::vector<Mapping> mappings;
    std::vector<Mode> modes;
    int mode_bits = 0;
};

// Each returns false when the packet is not that header or is malformed.
bool vorbis_read_identification(const std::uint8_t* data, std::size_t size, VorbisSetup* setup);
bool vorbis_check_comment(const std::uint8_t* data, std::size_t size);
bool vorbis_read_setup(const std::uint8_t* data, std::size_t size, VorbisSetup* setup);

// Block-size flag of an audio packet (0 short, 1 long), -1 when the packet
// is not an audio packet of this stream.
int vorbis_packet_block(const VorbisSetup& setup, const std::uint8_t* data, std::size_t size);

}  // namespace audio
