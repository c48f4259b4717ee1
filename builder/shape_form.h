// The entry boxes of each shape's frame as texts, with their captions and
// defaults. The dialog and the command line both fill a ShapeForm; the form
// is read with the leading-number rule and turned into wires.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "builder/message_sink.h"
#include "builder/wire_writer.h"

namespace wavra::build {

enum class ShapeKind { Patch, Plane, Helix, Box, Cylinder, Parabola };

inline constexpr std::array<ShapeKind, 6> kAllShapes{ShapeKind::Patch, ShapeKind::Plane,    ShapeKind::Helix,
                                                     ShapeKind::Box,   ShapeKind::Cylinder, ShapeKind::Parabola};

// "Patch", "Plane", ...: the menu caption, also the file name of the shape.
std::string shapeName(ShapeKind kind);
// "Patch", "Hat/Ground-plane", ...: the caption of the shape's frame.
std::string frameCaption(ShapeKind kind);
// The shape of a name, compared without regard to case.
std::optional<ShapeKind> shapeFromName(const std::string& name);

struct FormEntry {
    std::string caption;               // as the label reads now
    std::vector<std::string> captions; // every caption the label can show
    std::string text;
    bool hasSegments = false;
    std::string segments; // the segment box beside the entry
    bool shown = true;
};

struct FormCheck {
    std::string caption;
    bool checked = true;
};

struct ShapeForm {
    ShapeKind kind = ShapeKind::Patch;
    std::vector<FormEntry> entries;   // in tab order
    std::vector<FormCheck> checks;    // Box faces, parabola bends
    std::vector<std::string> options; // parabola grid options
    int option = -1;                  // the chosen option
};

// The frame of a shape with its defaults.
ShapeForm defaultForm(ShapeKind kind);

// Sets the parabola's labels and the visibility of "Length Y" for the chosen
// grid option; does nothing for other shapes.
void updateCaptions(ShapeForm& form);

// Reads the form and writes the shape's wires.
void writeShape(const ShapeForm& form, WireWriter& writer, MessageSink& sink);

} // namespace wavra::build
