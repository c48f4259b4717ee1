#include "viewer/series.h"

#include <algorithm>

#include "viewer/files.h"

namespace wavra::view {

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
} // namespace

Series seriesOf(const std::string& path) {
    Series series;
    series.file = splitPath(path);
    const std::string& name = series.file.name;
    if (name.size() >= 2 && isDigit(name[name.size() - 2]) && isDigit(name.back())) {
        series.numbered = true;
        series.number = (name[name.size() - 2] - '0') * 10 + (name.back() - '0');
    }
    return series;
}

std::string Series::member(int offset) const {
    if (!numbered) return file.path();
    const std::string stem = file.name.substr(0, file.name.size() - 2);
    return file.dir + stem + twoDigits(number + offset) + file.ext;
}

int Series::maxLength() const { return numbered ? std::min(kMaxSeries, 100 - number) : 1; }

int countExisting(const Series& series) {
    int count = 0;
    while (count < series.maxLength() && fileExists(series.member(count))) ++count;
    return count;
}

} // namespace wavra::view
