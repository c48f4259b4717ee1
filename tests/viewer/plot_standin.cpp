// Stands in for the ItsHF area plot program in the viewer's tests. It
// appends its arguments (separated by '|') to the file named by
// VIEW_STANDIN_LOG and, as a user copying the map would, leaves a picture
// for the clipboard in the file named by VIEW_STANDIN_PICTURE: 10 + n pixels
// wide for a plot file whose name ends in the number n. A plot file whose
// name contains VIEW_STANDIN_SKIP gets no picture.
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    const char* log = std::getenv("VIEW_STANDIN_LOG");
    const char* picture = std::getenv("VIEW_STANDIN_PICTURE");
    const char* skip = std::getenv("VIEW_STANDIN_SKIP");
    if (!log || !picture) return 2;
    std::string line;
    for (int i = 1; i < argc; ++i) line += (i > 1 ? "|" : "") + std::string(argv[i]);
    std::ofstream(log, std::ios::app) << line << '\n';
    if (argc < 4) return 1;
    const std::string file = argv[3];
    if (skip && *skip && file.find(skip) != std::string::npos) return 0;
    const size_t dot = file.rfind('.');
    if (dot == std::string::npos || dot < 2) return 1;
    const int width = 10 + std::atoi(file.substr(dot - 2, 2).c_str());
    const int height = 8;
    std::ofstream out(picture, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    for (int p = 0; p < width * height; ++p) out << static_cast<char>(p % 256) << '\x40' << '\x80';
    return 0;
}
