// The dolphin of the closing scene as a LightWave LWO2 object, modelled 100
// times larger than it is shown: body, beak, dorsal fin, flippers and tail
// flukes, about 300 units from beak to flukes, back towards +y.
#pragma once

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> dolphin_lwo();
