#include "present/wire_edit.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "core/action_codes.h"
#include "deck/wire_save.h"
#include "present/plot_math.h"

namespace wavra {

namespace {

// The number a stored value shows as in the dialog.
double shownValue(double v) { return readNumber(formatNumber(v, 5)); }

struct Vec3 {
    double x, y, z;
};

Vec3 endOf(const Geometry& geometry, int row, int end) {
    return end == 1 ? Vec3{geometry.wireX1[row], geometry.wireY1[row], geometry.wireZ1[row]}
                    : Vec3{geometry.wireX2[row], geometry.wireY2[row], geometry.wireZ2[row]};
}

void setEnd(Geometry& geometry, int row, int end, const Vec3& v) {
    (end == 1 ? geometry.wireX1 : geometry.wireX2)[row] = v.x;
    (end == 1 ? geometry.wireY1 : geometry.wireY2)[row] = v.y;
    (end == 1 ? geometry.wireZ1 : geometry.wireZ2)[row] = v.z;
}

// Turns the moved end about the fixed one in the plane of coordinates a and
// b of the difference: the angle is subtracted from its polar angle.
void rotateIn(double& a, double& b, double angle) {
    const Polar p = toPolar(a, b);
    const Cartesian c = toCartesian(p.magnitude, p.angle - angle);
    a = c.re;
    b = c.im;
}

WireSave saveFailed(ViewState& viewState, Ui& ui, const std::string& why) {
    viewState.inputModified = -1;
    ui.message("The wire geometry was not saved: " + why, "wavra", Icon::Exclamation);
    return WireSave::Failed;
}

} // namespace

double wireLength(const Geometry& geometry, int row) {
    return std::sqrt(std::pow(geometry.wireX2[row] - geometry.wireX1[row], 2) +
                     std::pow(geometry.wireY2[row] - geometry.wireY1[row], 2) +
                     std::pow(geometry.wireZ2[row] - geometry.wireZ1[row], 2));
}

WireFields wireFieldsOf(const Geometry& geometry, int row) {
    WireFields f;
    if (row < 1 || row > geometry.wireCount) return f;
    auto n5 = [](double v) { return formatNumber(v, 5); };
    f.x1 = n5(geometry.wireX1[row]);
    f.y1 = n5(geometry.wireY1[row]);
    f.z1 = n5(geometry.wireZ1[row]);
    f.x2 = n5(geometry.wireX2[row]);
    f.y2 = n5(geometry.wireY2[row]);
    f.z2 = n5(geometry.wireZ2[row]);
    f.radius = n5(geometry.wireRadius[row]);
    f.length = n5(wireLength(geometry, row));
    f.segments = std::to_string(geometry.wireSegments[row]);
    f.tag = std::to_string(geometry.wireTag[row]);
    return f;
}

bool applyWireEdit(Geometry& geometry, ViewState& viewState, int row, int end, WireFields& f) {
    if (row < 1 || row > geometry.wireCount || (end != 1 && end != 2)) return false;
    const size_t r = static_cast<size_t>(row);
    const double shownLength = shownValue(wireLength(geometry, row));
    bool changed = false;
    // 1. End points and radius.
    const std::pair<TableRows<double>*, const std::string*> values[] = {
        {&geometry.wireX1, &f.x1},        {&geometry.wireY1, &f.y1}, {&geometry.wireZ1, &f.z1},
        {&geometry.wireX2, &f.x2},        {&geometry.wireY2, &f.y2}, {&geometry.wireZ2, &f.z2},
        {&geometry.wireRadius, &f.radius}};
    for (const auto& [column, text] : values) {
        const double typed = readNumber(*text);
        if (typed == shownValue((*column)[r])) continue;
        (*column)[r] = typed;
        changed = true;
    }
    // 2. Rotations of the moved end P about the fixed end F.
    const int fixed = end == 1 ? 2 : 1;
    const Vec3 F = endOf(geometry, row, fixed);
    Vec3 d = endOf(geometry, row, end);
    d = {d.x - F.x, d.y - F.y, d.z - F.z};
    const double yz = readNumber(f.rotateYZ), xz = readNumber(f.rotateXZ), xy = readNumber(f.rotateXY);
    if (yz != 0) rotateIn(d.y, d.z, yz);
    if (xz != 0) rotateIn(d.x, d.z, xz);
    if (xy != 0) rotateIn(d.x, d.y, xy);
    if (yz != 0 || xz != 0 || xy != 0) changed = true;
    // 3. A new length along the wire's direction.
    const double length = readNumber(f.length);
    if (length != shownLength) {
        const double rho = std::hypot(d.x, d.y);
        const Polar phi = toPolar(d.x, d.y), theta = toPolar(d.z, rho);
        const Cartesian zr = toCartesian(length, theta.angle);
        const Cartesian xyNew = toCartesian(zr.im, phi.angle);
        d = {xyNew.re, xyNew.im, zr.re};
        changed = true;
    }
    f.rotateYZ = f.rotateXZ = f.rotateXY = "0";
    if (!changed) return false;
    setEnd(geometry, row, end, {F.x + d.x, F.y + d.y, F.z + d.z});
    viewState.inputModified = -1;
    if (std::find(viewState.editedWires.begin(), viewState.editedWires.end(), row) == viewState.editedWires.end())
        viewState.editedWires.push_back(static_cast<int16_t>(row));
    return true;
}

WireSave saveWireGeometry(Model& m, Ui& ui) {
    const Answer answer =
        ui.ask("wavra", "Wire geometry modified, save changes ? ", Buttons::YesNoCancel, Icon::Question);
    if (answer == Answer::Cancel) {
        m.actionCode = kActionGeometry;
        m.reloadInput = 0; // a reload asked for by the view would drop the changes
        return WireSave::Cancelled;
    }
    m.inputModified = 0;
    if (answer != Answer::Yes) return WireSave::NotSaved;
    const WireDeckEdit edit = rewriteInputDeck(m, m, m, m.editedWires);
    showDiagnostics(ui, edit.found);
    if (!edit.error.empty()) return saveFailed(m, ui, edit.error);
    if (edit.rewrite.dropsSymbols &&
        !ui.askYesNo("wavra", "Nec file contains symbol info,\nwhich will be lost, Continue ?", Icon::Exclamation))
        return WireSave::NotSaved;
    if (const std::string why = replaceInputDeck(m, edit.deck, edit.rewrite.text); !why.empty())
        return saveFailed(m, ui, why);
    m.editedWires.clear();
    return WireSave::Saved;
}

} // namespace wavra
