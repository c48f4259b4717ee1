// The report text of a fuzz input for the readers of engine reports: the
// first byte's two low bits choose the banner put before the rest (classic,
// enhanced classic, nec2c or none); the caller uses its other bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline std::string fuzzReportText(const uint8_t* data, size_t size) {
    static const char* const kBanners[] = {
        "1\n                                    NUMERICAL ELECTROMAGNETICS CODE (NEC-2D)\n",
        "1\n                                    NUMERICAL ELECTROMAGNETICS CODE (NEC-2D)\n Enhanced format\n",
        "                              |  NUMERICAL ELECTROMAGNETICS CODE (nec2c) |\n",
        "",
    };
    std::string text = kBanners[data[0] & 3];
    text.append(reinterpret_cast<const char*>(data + 1), size - 1);
    return text;
}
