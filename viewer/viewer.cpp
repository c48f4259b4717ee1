#include "viewer/viewer.h"

#include <algorithm>

#include "viewer/label_file.h"
#include "viewer/text_rules.h"

namespace wavra::view {

namespace {

const std::string kTitle = "Viewer";

bool isPictureFile(const std::string& ext) { return endsWithNoCase(ext, ".bmp") || endsWithNoCase(ext, ".png"); }

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// A pasted picture, also after its label was changed ("From clipboard?").
bool isPasted(const std::string& source) { return source.rfind("From clipboard", 0) == 0; }

} // namespace

bool isSaved(const Slot& slot) { return isPictureFile(slot.sourceName); }

int Viewer::takeFreeSlot() {
    const int slot = m_store.freeSlot();
    if (slot == 0) m_ui.message("Max number of picture reached.", Icon::Exclamation);
    return slot;
}

void Viewer::rememberDirectory(const PathParts& file) {
    m_settings.pictureDir = file.dir;
    m_settings.extension = file.ext;
}

void Viewer::openNewPicture() {
    if (takeFreeSlot() == 0) return;
    const FileRequest request{"Open file", "Open",
                              "Filetype",  m_settings.pictureDir,
                              "",          {"*" + toLower(m_settings.extension), "*.bmp *.png *.ig1 *.rg1 *.vg1", "*"}};
    const std::optional<std::string> path = m_ui.openFile(request);
    if (!path) return;
    const Series series = seriesOf(*path);
    const std::string& ext = series.file.ext;
    if (!isPictureFile(ext) && !isPlotFile(ext)) {
        m_ui.message("Only *.bmp, *.png, *.ig1, *.rg1 or *.vg1 files supported", Icon::Exclamation);
        return;
    }
    std::optional<PlotLocation> location;
    if (isPlotFile(ext)) {
        location = locatePlotFile(series.file.dir);
        if (!location) {
            m_ui.message("*" + ext + " file not located in correct ItsHF sub-directory.", Icon::Exclamation);
            return;
        }
    }
    rememberDirectory(series.file);
    const int count = askLoadCount(series);
    if (count < 1) return;
    const int first = location ? capturePlots(series, count, *location) : loadPictures(series, count);
    m_store.show(first);
}

int Viewer::askLoadCount(const Series& series) {
    const int found = countExisting(series);
    if (found == 0) m_ui.message(quoted(series.file.path()) + " not found.", Icon::Exclamation);
    if (found < 2) return found;
    const std::optional<std::string> answer =
        m_ui.inputBox(kTitle, "Enter number of picture to load", std::to_string(found));
    return answer ? std::min(leadingCount(*answer), found) : 0;
}

int Viewer::capturePlots(const Series& series, int count, const PlotLocation& location) {
    const Command probe = plotCommand(m_settings.plotProgram, location, series.file.name + series.file.ext);
    if (!isRunnable(probe.program)) {
        m_ui.message("Plot program " + quoted(probe.program) + " not found." + "\nSet PLOTPRG in " +
                         m_settings.shownFile + " to the ItsHF plot program.",
                     Icon::Exclamation);
        return 0;
    }
    m_ui.message("Use Alt+T, Alt+X to copy image to clipboard and exit AreaPlot.", Icon::Information);
    int first = 0, taken = 0;
    for (int i = 0; i < count; ++i) {
        const int slot = takeFreeSlot();
        if (slot == 0) break;
        const std::string file = series.member(i);
        m_media.clearClipboard();
        if (!m_runner.run(plotCommand(m_settings.plotProgram, location, splitPath(file).name + series.file.ext))) {
            m_ui.message("Plot program " + quoted(probe.program) + " could not be started.", Icon::Critical);
            break;
        }
        PicturePtr picture = m_media.clipboardPicture();
        if (!picture) {
            m_ui.message("No picture on the clipboard for " + quoted(file) + ".", Icon::Exclamation);
            break;
        }
        m_store.put(slot, std::move(picture), file, readLabel(file));
        ++taken;
        if (first == 0) first = slot;
    }
    if (count > 1) m_ui.message(std::to_string(taken) + " pictures pasted.", Icon::Information);
    return first;
}

int Viewer::loadPictures(const Series& series, int count) {
    int first = 0;
    for (int i = 0; i < count; ++i) {
        const int slot = takeFreeSlot();
        if (slot == 0) break;
        const std::string file = series.member(i);
        PicturePtr picture = m_media.load(file);
        if (!picture) {
            m_ui.message("Picture file " + quoted(file) + " could not be read.", Icon::Exclamation);
            break;
        }
        m_store.put(slot, std::move(picture), file, readLabel(file));
        if (first == 0) first = slot;
    }
    return first;
}

void Viewer::pasteFromClipboard() {
    const int slot = takeFreeSlot();
    if (slot == 0) return;
    PicturePtr picture = m_media.clipboardPicture();
    if (!picture) {
        m_ui.message("The clipboard holds no picture.", Icon::Exclamation);
        return;
    }
    m_store.put(slot, std::move(picture), kFromClipboard, "");
    m_store.show(slot);
}

bool Viewer::askSlotToShow() {
    const std::optional<std::string> answer = m_ui.inputBox(kTitle, "Picture to view : ", "1");
    return answer && showSlot(leadingCount(*answer));
}

void Viewer::editLabel(const std::string& text) {
    if (m_store.current() == 0) return;
    Slot& slot = m_store.slot(m_store.current());
    if (text == slot.label) return;
    slot.label = text;
    // An unsaved plot capture is asked about anyway; any other picture is
    // marked as changed.
    if (!isPlotFile(slot.sourceName) && !slot.sourceName.empty()) slot.sourceName.back() = '?';
}

std::string Viewer::caption() const {
    const int current = m_store.current();
    if (current == 0) return kTitle;
    const Slot& slot = m_store.slot(current);
    return "Picture " + std::to_string(slot.shownNumber) + " : " + slot.sourceName;
}

std::string Viewer::slotName(int number) const {
    const std::string& source = m_store.slot(number).sourceName;
    return isPasted(source) ? "Pic" + twoDigits(number) : source;
}

bool Viewer::confirmExit() {
    for (int n = 1; n <= kSlotCount; ++n) {
        if (!m_store.occupied(n) || isSaved(m_store.slot(n))) continue;
        const std::string& source = m_store.slot(n).sourceName;
        const bool changed = !source.empty() && source.back() == '?';
        const std::string question =
            slotName(n) + (changed ? " changed, save changes ?" : " not saved as bitmap, save it now ?");
        const Answer answer = m_ui.askYesNoCancel(question);
        if (answer == Answer::Cancel) return false;
        if (answer == Answer::No) continue;
        m_store.show(n);
        // A save that is cancelled or fails keeps the program open, so the
        // picture is not lost.
        if (!saveFrom(n)) return false;
    }
    return true;
}

std::vector<int> Viewer::occupiedFrom(int first) const {
    std::vector<int> slots;
    for (int n = first; n != 0 && n <= kSlotCount; n = m_store.nextOccupied(n)) slots.push_back(n);
    return slots;
}

bool Viewer::saveFrom(int first) {
    if (!m_store.occupied(first)) return false;
    const Slot& start = m_store.slot(first);
    const std::string suggested = isPasted(start.sourceName) ? "" : splitPath(start.sourceName).name;
    const FileRequest request{"Save file (as)",      "Save",    "Filename",
                              m_settings.pictureDir, suggested, {"*.bmp", "*.png"}};
    const std::optional<std::string> chosen = m_ui.saveFile(request);
    if (!chosen) return false;
    PathParts target = splitPath(*chosen);
    if (!isPictureFile(target.ext)) {
        target.name += target.ext;
        target.ext = ".bmp";
    }
    const Series series = seriesOf(target.path());
    const std::vector<int> slots = occupiedFrom(first);
    int count = 1;
    if (series.numbered && slots.size() > 1) {
        const std::optional<std::string> answer =
            m_ui.inputBox(kTitle, "Number of picture to save", std::to_string(slots.size()));
        if (!answer) return false;
        count = std::min({leadingCount(*answer), static_cast<int>(slots.size()), series.maxLength()});
        if (count < 1) return false;
    }
    std::string seriesLabel;
    if (count > 1 && start.label.empty())
        seriesLabel = m_ui.inputBox(kTitle, "Label to save with these file(s):", "").value_or("");
    for (int i = 0; i < count; ++i) {
        const int slot = slots[static_cast<size_t>(i)];
        const std::string& own = m_store.slot(slot).label;
        if (!writeSlot(slot, series.member(i), own.empty() ? seriesLabel : own)) return false;
    }
    rememberDirectory(target);
    return true;
}

bool Viewer::writeSlot(int number, const std::string& path, const std::string& label) {
    Slot& slot = m_store.slot(number);
    if (!m_media.save(*slot.picture, path)) {
        m_ui.message("Picture file " + quoted(path) + " could not be written.", Icon::Critical);
        return false;
    }
    if (!writeLabel(path, label)) {
        m_ui.message("Label file " + quoted(labelPath(path)) + " could not be written.", Icon::Critical);
        return false;
    }
    slot.sourceName = path;
    slot.label = label;
    return true;
}

} // namespace wavra::view
