#include "builder/grid_patch.h"

namespace wavra::build {
namespace {

struct GridGeometry {
    const GridPatch& p;
    double dx1 = 0, dx2 = 0, dy = 0;

    explicit GridGeometry(const GridPatch& patch) : p(patch) {
        if (p.sectionsX != 0) {
            dx1 = p.bottomWidth / p.sectionsX;
            dx2 = p.topWidth / p.sectionsX;
        }
        if (p.sectionsY != 0) dy = p.height / p.sectionsY;
    }

    Vec3 point(int i, int j) const {
        const double xa = -p.bottomWidth / 2 + i * dx1;
        const double xb = -p.topWidth / 2 + i * dx2;
        const double x = p.sectionsY != 0 ? xa + j * (xb - xa) / p.sectionsY : xa;
        return {x, -p.height / 2 + j * dy, 0};
    }
};

// Whether line k of a family with last index `last` is dropped by the mask,
// given the bits for its first and its last line.
bool dropped(int k, int last, int skip, int firstBit, int lastBit) {
    if ((skip & SkipInner) && k > 0 && k < last) return true;
    if ((skip & firstBit) && k == 0) return true;
    if ((skip & lastBit) && k == last) return true;
    return false;
}

} // namespace

void writeGridPatch(WireWriter& writer, const GridPatch& patch) {
    const GridGeometry grid(patch);
    const int nx = patch.sectionsX, ny = patch.sectionsY;
    if (patch.segmentsY > 0) {
        for (int i = 0; i <= nx && !writer.stopped(); ++i) {
            if (dropped(i, nx, patch.skip, SkipFirstColumn, SkipLastColumn)) continue;
            LineWalk walk(writer, patch.segmentsY);
            for (int j = 0; j <= ny && !writer.stopped(); ++j) walk.to(grid.point(i, j));
        }
    }
    if (patch.segmentsX > 0) {
        for (int j = 0; j <= ny && !writer.stopped(); ++j) {
            if (dropped(j, ny, patch.skip, SkipFirstRow, SkipLastRow)) continue;
            LineWalk walk(writer, patch.segmentsX);
            for (int i = 0; i <= nx && !writer.stopped(); ++i) walk.to(grid.point(i, j));
        }
    }
}

} // namespace wavra::build
