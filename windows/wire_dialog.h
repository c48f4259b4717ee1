// The "Wire geometry" dialog W: the end points, radius and length of the
// wire picked in the geometry view, the end to move and three rotations.
// It posts codes like every window: OK 13 (after handing over its fields),
// Cancel, Esc and closing 501; function keys, Ctrl+O and Ctrl+S go to the
// loops as in the other windows, every other key stays in the field.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "present/wire_edit.h"

class QLineEdit;
class QSpinBox;

namespace wavra {

class WireDialog : public QDialog {
    Q_OBJECT
public:
    struct Handlers {
        std::function<void(int16_t row, int end, const WireFields&)> accept; // OK, with the fields as typed
        std::function<void()> cancel;                                        // Cancel, Esc, closing
        std::function<void(int)> endChosen;                                  // the End field changed
        std::function<void(int16_t)> post;                                   // a key for the loops
    };
    WireDialog(Handlers handlers, QWidget* parent = nullptr);

    // Fills the fields for wire `row`, moving end `end`, and shows the dialog.
    void showWire(int16_t row, const WireFields& fields, int end);
    int16_t row() const { return m_row; }
    WireFields fields() const;

    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Handlers m_handlers;
    // Each text field with the member of WireFields it shows.
    std::vector<std::pair<QLineEdit*, std::string WireFields::*>> m_fields;
    QSpinBox* m_end;
    bool m_filling = false;
    int16_t m_row = 0;
};

} // namespace wavra
