#include "present/pattern_lobes.h"

#include <cmath>
#include <limits>

namespace wavra {

namespace {

// The points of a cut as a sequence that, when the cut is closed, goes on
// from its last point to its first (the repeated end point left out).
class Ring {
public:
    explicit Ring(const Cut& cut) : m_cut(cut), m_n(cut.ringSize()), m_closed(cut.closed) {}
    size_t size() const { return m_n; }
    double value(size_t i) const { return m_cut.points[i].value; }
    std::optional<size_t> next(size_t i) const {
        if (i + 1 < m_n) return i + 1;
        return m_closed ? std::optional<size_t>(0) : std::nullopt;
    }
    std::optional<size_t> prev(size_t i) const {
        if (i > 0) return i - 1;
        return m_closed ? std::optional<size_t>(m_n - 1) : std::nullopt;
    }
    std::optional<size_t> step(size_t i, bool forward) const { return forward ? next(i) : prev(i); }
    double gap(size_t i, size_t j) const { return angleBetween(m_cut.points[i].angle, m_cut.points[j].angle); }

private:
    const Cut& m_cut;
    size_t m_n;
    bool m_closed;
};

// A value followed by a lower one after a rise; a plateau counts once, at
// its last point (the lobe then points to the plateau's middle). At the ends of an open cut the missing neighbour
// counts as lower, unless the whole cut is flat.
bool isLocalMaximum(const Ring& r, size_t i) {
    const double v = r.value(i);
    const auto after = r.next(i);
    if (after && !(r.value(*after) < v)) return false;
    size_t j = i;
    for (size_t steps = 0; steps < r.size(); ++steps) {
        const auto before = r.prev(j);
        if (!before) return after.has_value();
        if (r.value(*before) < v) return true;
        if (r.value(*before) > v) return false;
        j = *before;
    }
    return false; // closed and flat
}

// A flat top (the printed gains have two decimals) points to its middle.
size_t plateauMiddle(const Ring& r, size_t last) {
    size_t length = 0;
    for (auto j = r.prev(last); j && *j != last && r.value(*j) == r.value(last) && length < r.size(); j = r.prev(*j))
        ++length;
    size_t middle = last;
    for (size_t k = 0; k < (length + 1) / 2; ++k) middle = *r.prev(middle);
    return middle;
}

// From the lobe outwards until a value falls below the level; of the two
// samples around the level the nearer one.
std::optional<size_t> levelPoint(const Ring& r, size_t lobe, bool forward, double level) {
    size_t j = lobe;
    for (size_t steps = 0; steps < r.size(); ++steps) {
        const auto k = r.step(j, forward);
        if (!k || *k == lobe) return std::nullopt;
        if (r.value(*k) < level) return std::fabs(r.value(*k) - level) < std::fabs(r.value(j) - level) ? *k : j;
        j = *k;
    }
    return std::nullopt;
}

// The angle swept walking forwards from one point to another.
double sweptAngle(const Ring& r, size_t from, size_t to) {
    double total = 0;
    for (size_t i = from, steps = 0; i != to && steps < r.size(); ++steps) {
        const auto k = r.next(i);
        if (!k) break;
        total += r.gap(i, *k);
        i = *k;
    }
    return total;
}

// The point of the cut in a direction: the first one nearest it, when it
// lies within half the finest step of the cut.
std::optional<size_t> pointTowards(const Cut& cut, const Ring& r, double direction) {
    double finest = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i + 1 < r.size(); ++i)
        if (const double g = r.gap(i, i + 1); g > 1e-9) finest = std::min(finest, g);
    std::optional<size_t> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < r.size(); ++i) {
        const double d = angleBetween(cut.points[i].angle, direction);
        if (d < bestDistance) best = i, bestDistance = d;
    }
    if (!best || bestDistance > 0.5 * finest + 1e-9) return std::nullopt;
    return best;
}

std::optional<double> ratioDb(double front, double back, bool db) {
    if (db) return front - back;
    if (!(front > 0) || !(back > 0)) return std::nullopt;
    return 20 * std::log10(front / back);
}

} // namespace

double minus3dbLevel(double value, bool db) { return db ? value - 3 : value / std::sqrt(2.0); }

double backDirection(double a, int16_t plane, bool freeSpace) {
    if (plane == kHorizontalCut) return std::fmod(a + 180, 360.0);
    if (!freeSpace) return -a;
    return a - 180 < -180 ? a + 180 : a - 180;
}

std::vector<Lobe> findLobes(const Cut& cut, const LobeRules& rules) {
    std::vector<Lobe> lobes;
    const Ring r(cut);
    if (r.size() == 0) return lobes;
    double peak = r.value(0);
    for (size_t i = 1; i < r.size(); ++i) peak = std::max(peak, r.value(i));
    const double farBelow = minus3dbLevel(peak, rules.db);
    for (size_t i = 0; i < r.size(); ++i) {
        const double v = r.value(i);
        if (!(v >= rules.floor) || !(v == peak || v <= farBelow) || !isLocalMaximum(r, i)) continue;
        Lobe lobe;
        lobe.index = plateauMiddle(r, i);
        lobe.angle = cut.points[lobe.index].angle;
        lobe.value = v;
        const double level = minus3dbLevel(v, rules.db);
        lobe.low = levelPoint(r, lobe.index, false, level);
        lobe.high = levelPoint(r, lobe.index, true, level);
        if (lobe.low && lobe.high)
            lobe.beamwidth = sweptAngle(r, *lobe.low, lobe.index) + sweptAngle(r, lobe.index, *lobe.high);
        lobe.back = pointTowards(cut, r, backDirection(lobe.angle, cut.plane, rules.freeSpace));
        if (lobe.back) lobe.frontToBack = ratioDb(v, r.value(*lobe.back), rules.db);
        lobes.push_back(lobe);
    }
    return lobes;
}

} // namespace wavra
