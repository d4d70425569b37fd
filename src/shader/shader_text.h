// Splitting a sectioned shader file into its vertex and fragment sources.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr std::size_t shader_max_raw_line = 1023;   // characters before the "\n"
constexpr std::size_t shader_max_lines = 128;       // per stage
constexpr std::size_t shader_max_text = 32768;      // per stage, one terminator per line

struct ShaderSources {
    std::vector<std::string> vertex;
    std::vector<std::string> fragment;
    // Why the text was refused, or empty when it fits the limits.
    std::string problem;
};

// Cuts to 255 characters, then drops trailing and leading spaces and tabs.
std::string line_trim(const std::string& raw);

// Splits the text line by line into the two stages' lines.
ShaderSources shader_split(const char* text, std::size_t size);
