#include "builder/shape_form.h"

#include "builder/number_text.h"
#include "builder/shapes.h"

namespace wavra::build {
namespace {

FormEntry plain(const std::string& caption, const std::string& text) {
    return {caption, {caption}, text, false, "", true};
}

FormEntry counted(const std::string& caption, const std::string& text, const std::string& segments) {
    return {caption, {caption}, text, true, segments, true};
}

FormEntry alternating(const std::string& first, const std::string& second, const std::string& text, bool hasSegments) {
    return {first, {first, second}, text, hasSegments, hasSegments ? "1" : "", true};
}

// Indices of the parabola's entries, checks and options.
enum ParabolaEntry { Focus, ApertureX, LengthY, WiresX, WiresY };
enum ParabolaCheck { BentX, BentY };

ShapeForm parabolaForm() {
    ShapeForm f{ShapeKind::Parabola,
                {plain("Focus pnt", "0.25"), alternating("Apperture", "Length X", "2", false), plain("Length Y", "2"),
                 alternating("Radial wires", "Nr X wires", "16", true),
                 alternating("Circular wires", "Nr Y wires", "10", true)},
                {{"Bent X", true}, {"Bent Y", true}},
                {"Round + rectangular grid", "Round + circular grid", "Rectangular shape/grid"},
                1};
    updateCaptions(f);
    return f;
}

double number(const ShapeForm& f, int i) { return leadingNumber(f.entries[static_cast<size_t>(i)].text); }
int count(const ShapeForm& f, int i) { return entryCount(f.entries[static_cast<size_t>(i)].text); }
int segments(const ShapeForm& f, int i) { return entryCount(f.entries[static_cast<size_t>(i)].segments); }
bool checked(const ShapeForm& f, int i) { return f.checks[static_cast<size_t>(i)].checked; }

PatchShape patchOf(const ShapeForm& f) {
    return {number(f, 0), number(f, 1), number(f, 2), count(f, 3), segments(f, 3), count(f, 4), segments(f, 4)};
}

PlaneShape planeOf(const ShapeForm& f) {
    return {number(f, 0), count(f, 1), count(f, 2), count(f, 3), segments(f, 3), count(f, 4), segments(f, 4)};
}

HelixShape helixOf(const ShapeForm& f) {
    return {number(f, 0), number(f, 1) / 100, number(f, 2) / 100, count(f, 3), count(f, 4)};
}

BoxShape boxOf(const ShapeForm& f) {
    return {number(f, 0),   number(f, 1),  number(f, 2),   number(f, 3),  number(f, 4),   count(f, 5),
            segments(f, 5), count(f, 6),   segments(f, 6), count(f, 7),   segments(f, 7), checked(f, 0),
            checked(f, 1),  checked(f, 2), checked(f, 3),  checked(f, 4), checked(f, 5)};
}

CylinderShape cylinderOf(const ShapeForm& f) {
    return {number(f, 0),   number(f, 1) / 100, number(f, 2) / 100, count(f, 3), count(f, 4),   count(f, 5),
            segments(f, 5), count(f, 6),        segments(f, 6),     count(f, 7), segments(f, 7)};
}

ParabolaShape parabolaOf(const ShapeForm& f) {
    const ParabolaGrid grids[] = {ParabolaGrid::RoundRectangular, ParabolaGrid::RoundCircular,
                                  ParabolaGrid::Rectangular};
    const int option = f.option >= 0 && f.option < 3 ? f.option : 1;
    return {number(f, Focus), number(f, ApertureX), number(f, LengthY), count(f, WiresX),  segments(f, WiresX),
            count(f, WiresY), segments(f, WiresY),  grids[option],      checked(f, BentX), checked(f, BentY)};
}

} // namespace

std::string shapeName(ShapeKind kind) {
    switch (kind) {
    case ShapeKind::Patch: return "Patch";
    case ShapeKind::Plane: return "Plane";
    case ShapeKind::Helix: return "Helix";
    case ShapeKind::Box: return "Box";
    case ShapeKind::Cylinder: return "Cylinder";
    case ShapeKind::Parabola: return "Parabola";
    }
    return "";
}

std::string frameCaption(ShapeKind kind) {
    switch (kind) {
    case ShapeKind::Plane: return "Hat/Ground-plane";
    case ShapeKind::Parabola: return "Parabolic screen";
    default: return shapeName(kind);
    }
}

std::optional<ShapeKind> shapeFromName(const std::string& name) {
    for (ShapeKind kind : kAllShapes)
        if (toLower(shapeName(kind)) == toLower(trim(name, kBlanksAndTabs))) return kind;
    return std::nullopt;
}

ShapeForm defaultForm(ShapeKind kind) {
    switch (kind) {
    case ShapeKind::Patch:
        return {kind,
                {plain("Length X1", "1"), plain("Length X2", "2"), plain("Length Y", "3"),
                 counted("X sections", "10", "1"), counted("Y sections", "10", "2")},
                {},
                {},
                -1};
    case ShapeKind::Plane:
        return {kind,
                {plain("Radius R", "10"), plain("Start angle A1", "0"), plain("Stop angle A2", "360"),
                 counted("Nr radial wires", "16", "1"), counted("Nr circular wires", "1", "10")},
                {},
                {},
                -1};
    case ShapeKind::Helix:
        return {kind,
                {plain("Length L in mtr.", "1.2"), plain("Radius R1 in cm.", "10"), plain("Radius R2 in cm.", "10"),
                 plain("Number of turns", "10"), plain("Segments per turn", "16")},
                {},
                {},
                -1};
    case ShapeKind::Box:
        return {kind,
                {plain("Length X1", "2"), plain("Length X2", "2"), plain("Length Y", "3"), plain("Length Z1", "1"),
                 plain("Length Z2", "1"), counted("X sections", "2", "1"), counted("Y sections", "2", "1"),
                 counted("Z sections", "2", "1")},
                {{"Fr", true}, {"Ba", true}, {"Le", true}, {"Ri", true}, {"Up", true}, {"Do", true}},
                {},
                -1};
    case ShapeKind::Cylinder:
        return {kind,
                {plain("Length L in mtr.", "1.2"), plain("Radius R1 in cm.", "20"), plain("Radius R2 in cm.", "20"),
                 plain("Start angle A1", "0"), plain("Stop angle A2", "270"), counted("Straight sections", "3", "1"),
                 counted("Circular sections", "8", "1"), counted("Radial sections", "1", "1")},
                {},
                {},
                -1};
    case ShapeKind::Parabola: return parabolaForm();
    }
    return {};
}

void updateCaptions(ShapeForm& f) {
    if (f.kind != ShapeKind::Parabola || f.entries.size() <= WiresY) return;
    const bool rectangular = f.option == 2;
    const bool circular = f.option == 1;
    f.entries[ApertureX].caption = f.entries[ApertureX].captions[rectangular ? 1 : 0];
    f.entries[LengthY].shown = rectangular;
    f.entries[WiresX].caption = f.entries[WiresX].captions[circular ? 0 : 1];
    f.entries[WiresY].caption = f.entries[WiresY].captions[circular ? 0 : 1];
}

void writeShape(const ShapeForm& form, WireWriter& writer, MessageSink& sink) {
    const ShapeForm layout = defaultForm(form.kind);
    if (form.entries.size() != layout.entries.size() || form.checks.size() != layout.checks.size()) return;
    switch (form.kind) {
    case ShapeKind::Patch: writePatch(writer, patchOf(form)); break;
    case ShapeKind::Plane: writePlane(writer, planeOf(form)); break;
    case ShapeKind::Helix: writeHelix(writer, helixOf(form)); break;
    case ShapeKind::Box: writeBox(writer, boxOf(form)); break;
    case ShapeKind::Cylinder: writeCylinder(writer, cylinderOf(form)); break;
    case ShapeKind::Parabola: writeParabola(writer, parabolaOf(form), sink); break;
    }
}

} // namespace wavra::build
