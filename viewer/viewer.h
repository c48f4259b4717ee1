// What the viewer does with its pictures: open (bitmaps and captured area
// plots, single or as a series), paste, remove, label, save, move between
// them and the save questions before it ends. The window calls these and
// draws the store's current slot; every message goes through the ViewerUi.
#pragma once

#include <string>
#include <vector>

#include "viewer/picture_media.h"
#include "viewer/picture_store.h"
#include "viewer/plot_program.h"
#include "viewer/series.h"
#include "viewer/settings.h"
#include "viewer/viewer_ui.h"

namespace wavra::view {

class Viewer {
public:
    Viewer(ViewSettings& settings, ViewerUi& ui, PictureMedia& media, ProgramRunner& runner)
        : m_settings(settings), m_ui(ui), m_media(media), m_runner(runner) {}

    const PictureStore& store() const { return m_store; }
    const ViewSettings& settings() const { return m_settings; }

    // File menu.
    void openNewPicture();
    void pasteFromClipboard();
    void removeCurrent() { m_store.removeCurrent(); }
    // Saves the current picture (and, for a numbered name, the ones after
    // it); false when cancelled or failed.
    bool saveCurrent() { return saveFrom(m_store.current()); }
    // Asks about every picture not saved as a file; false when the user
    // cancels, in which case the program stays open.
    bool confirmExit();

    // View menu and keys: false (and the display unchanged) when there is no
    // such picture.
    bool showSlot(int number) { return m_store.show(number); }
    bool showNext() { return m_store.show(m_store.nextOccupied(m_store.current())); }
    bool showPrevious() { return m_store.show(m_store.previousOccupied(m_store.current())); }
    // The menu item: asks which picture to show.
    bool askSlotToShow();

    // The label box's text of the current picture.
    void editLabel(const std::string& text);

    // "Viewer" with nothing shown, else "Picture n : source name".
    std::string caption() const;

private:
    ViewSettings& m_settings;
    ViewerUi& m_ui;
    PictureMedia& m_media;
    ProgramRunner& m_runner;
    PictureStore m_store;

    int askLoadCount(const Series& series);
    // Each fills free slots from the series and returns the first slot
    // filled, 0 when none was.
    int capturePlots(const Series& series, int count, const PlotLocation& location);
    int loadPictures(const Series& series, int count);
    // A free slot, or 0 after the message that all are taken.
    int takeFreeSlot();
    void rememberDirectory(const PathParts& file);

    bool saveFrom(int first);
    bool writeSlot(int number, const std::string& path, const std::string& label);
    // The occupied slots from `first` on, in order.
    std::vector<int> occupiedFrom(int first) const;
    std::string slotName(int number) const;
};

// Whether a slot's source names a picture file already saved (".bmp" or
// ".png"); pastes, captures and changed pictures are not.
bool isSaved(const Slot& slot);

} // namespace wavra::view
