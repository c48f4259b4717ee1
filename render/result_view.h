// A result view without its window: the state the window holds between
// redraws, the commands it carries out, its picture and what it computed.
// The view's window and the batch command line (--show VIEW --keys ...
// --png/--svg --json) drive the same object, so what a user sees on the
// screen and what a script gets are one and the same.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/model.h"
#include "core/ui.h"

class QPainter;
class QRect;

namespace wavra {

class ResultView {
public:
    virtual ~ResultView() = default;

    // The view's name on the command line ("pattern", "geometry", ...).
    virtual std::string name() const = 0;

    // Entry from the main loop: the view takes the model as it stands (its
    // state kept between calls where it has one) and is ready to draw.
    virtual void open() = 0;

    // Carries out one command, an action code as the window's keys, menus
    // and mouse post it. False when the code belongs to the main loop
    // (Esc, Ctrl+O, Ctrl+S, a function key, or a code the view hands on);
    // the window then returns with the code left in actionCode.
    virtual bool command(int16_t code) = 0;

    // Paints the view as its window shows it, filling `area`.
    virtual void paint(QPainter& painter, const QRect& area) const = 0;

    // What the view computed for its current state ("view" in --json).
    virtual nlohmann::json describe() const = 0;

    // The line the window shows in its status bar; empty when none.
    virtual std::string statusText() const { return {}; }

    // The mouse pointer moved to (x, y) of a picture of width x height. A
    // view that reads out what lies under the pointer keeps the position and
    // returns true; its window then posts kActionPointerMoved, on which
    // command() updates the read-out.
    virtual bool pointerAt(double /*x*/, double /*y*/, double /*width*/, double /*height*/) { return false; }
};

// Esc, Ctrl+O, Ctrl+S and F1 to F12: the codes with which every view hands
// control back to the main loop.
bool returnsToMainLoop(int16_t code);

// The views by name; nullptr for a name no view has.
std::unique_ptr<ResultView> makeResultView(std::string_view name, Model& model, Ui& ui);
// The names makeResultView knows, in the order --help lists them.
std::vector<std::string> resultViewNames();

} // namespace wavra
