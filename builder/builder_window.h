// The builder's window: a menu of six shapes, a frame of entry boxes per
// shape (all at the same place, one shown), the common entries, a picture
// of the shape, and Create and Exit.
#pragma once

#include <QMainWindow>
#include <array>
#include <string>
#include <vector>

#include "builder/build_deck.h"
#include "builder/message_sink.h"
#include "builder/output_file.h"
#include "builder/shape_form.h"

class QAction;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace wavra::build {

class BuilderWindow : public QMainWindow {
public:
    // `commandLinePath`: the file Create writes, after which the window
    // closes; empty to use the model directory of the main program's
    // settings found at `places`.
    BuilderWindow(const std::string& commandLinePath, const Places& places, MessageSink& sink,
                  QWidget* parent = nullptr);

    // As the menu item: the shape's frame with its defaults and its picture.
    void chooseShape(ShapeKind kind);
    // As the Create button; true when the file was written.
    bool create();

    ShapeKind shape() const { return m_shape; }
    QAction* menuAction(ShapeKind kind) const;
    QLineEdit* entryBox(ShapeKind kind, const std::string& caption) const;
    QLineEdit* segmentBox(ShapeKind kind, const std::string& caption) const;
    QLabel* entryLabel(ShapeKind kind, const std::string& caption) const;
    QCheckBox* checkBox(ShapeKind kind, const std::string& caption) const;
    QRadioButton* optionButton(const std::string& caption) const;
    QLineEdit* radiusBox() const { return m_radius; }
    QLineEdit* startTagBox() const { return m_startTag; }
    QLineEdit* moveBox(int axis) const { return m_move[static_cast<size_t>(axis)]; }
    QLineEdit* rotateBox(int axis) const { return m_rotate[static_cast<size_t>(axis)]; }
    QPushButton* createButton() const { return m_create; }
    QPushButton* exitButton() const { return m_exit; }
    QLabel* picture() const { return m_picture; }
    QGroupBox* commonFrame() const { return m_common; }

private:
    struct EntryWidgets {
        QLabel* label = nullptr;
        QLineEdit* text = nullptr;
        QLineEdit* segments = nullptr;
    };
    struct Frame {
        QGroupBox* box = nullptr;
        std::vector<EntryWidgets> entries;
        std::vector<QCheckBox*> checks;
        std::vector<QRadioButton*> options;
    };

    void buildMenu();
    QWidget* buildFrames();
    QGroupBox* buildCommonFrame();
    QWidget* buildSide();
    Frame buildFrame(ShapeKind kind);
    int buildOptions(Frame& frame, const ShapeForm& layout, QGridLayout* grid, int row);

    const Frame& frame(ShapeKind kind) const { return m_frames[static_cast<size_t>(kind)]; }
    int entryIndex(ShapeKind kind, const std::string& caption) const;
    ShapeForm currentForm() const;
    void showForm(const ShapeForm& form);
    void refreshCaptions();
    void refreshPicture();
    CommonEntries commonEntries() const;
    void showCommonEntries(const CommonEntries& common);
    std::string outputPath() const;

    std::string m_commandLinePath;
    OutputSettings m_settings;
    MessageSink& m_sink;
    DeckBuilder m_builder;
    ShapeKind m_shape = ShapeKind::Patch;
    bool m_chosen = false;

    std::array<QAction*, 6> m_actions{};
    std::vector<Frame> m_frames;
    QStackedWidget* m_stack = nullptr;
    QGroupBox* m_common = nullptr;
    QLineEdit* m_radius = nullptr;
    QLineEdit* m_startTag = nullptr;
    std::array<QLineEdit*, 3> m_move{};
    std::array<QLineEdit*, 3> m_rotate{};
    QPushButton* m_create = nullptr;
    QPushButton* m_exit = nullptr;
    QLabel* m_picture = nullptr;
};

} // namespace wavra::build
