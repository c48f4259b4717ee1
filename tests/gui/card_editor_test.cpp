// The card editor window on real decks: the line list and its keys, the
// frames with labels and evaluated values, the lists that open in place of
// the boxes, the menus and the clipboard; F6 and the .ant hand-over of the
// main loop; a deck changed in one field and run by nec2c.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "engine/calculate.h"
#include "gui_test_support.h"
#include "windows/card_editor_window.h"
#include "windows/main_window.h"

using namespace wavra;
using namespace wavra::test;

namespace {

struct CardEditorTest : ::testing::Test {
    Program p;
    std::unique_ptr<CardEditorWindow> editor;

    CardEditorWindow& open(const std::string& model) {
        p.model.modelDir = p.tree.file("models/");
        p.model.modelName = model;
        p.model.modelExt = ".nec";
        editor = std::make_unique<CardEditorWindow>(p.model, p.ui);
        editor->load();
        editor->show();
        QApplication::setActiveWindow(editor.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        return *editor;
    }
    QListWidget& list() { return *editor->findChild<QListWidget*>("LstLines"); }
    QGroupBox& frame(const char* name) { return *editor->findChild<QGroupBox*>(name); }
    template <class T>
    T& in(const char* frameName, const char* name) {
        return *frame(frameName).findChild<T*>(name);
    }
    QAction& action(const char* name) { return *editor->findChild<QAction*>(name); }
    void selectLine(int row) {
        list().setFocus();
        list().setCurrentRow(row - 1);
    }
    QString line(int row) { return QString::fromStdString(editor->session().lines().at(static_cast<size_t>(row - 1))); }
    // Types into a box as the user does: the box is entered, cleared, typed.
    void type(const char* frameName, const char* box, const char* text) {
        auto& edit = in<QLineEdit>(frameName, box);
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClicks(&edit, QString::fromLatin1(text));
    }
    // Enters a box with the mouse, which opens a list in its place. (On the
    // offscreen platform a closed popup list leaves the window inactive.)
    void enter(const char* frameName, const char* box) {
        QApplication::setActiveWindow(editor.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        QTest::mouseClick(&in<QLineEdit>(frameName, box), Qt::LeftButton);
    }
    // Runs the main loop: `edit` once the card editor is shown, `check` once
    // the loop waits for the user again, then the exit.
    void runLoop(MainLoop& loop, Script& script, std::function<void(CardEditorWindow&)> edit,
                 std::function<void()> check) {
        script.add("editor", [edit] {
            auto* ed = qobject_cast<CardEditorWindow*>(modalDialog("Ed"));
            if (!ed) return false;
            edit(*ed);
            return true;
        });
        script.add("loaded", [this, check] {
            if (!loopIsIdle(*p.windows, p.model)) return false;
            check();
            p.ui.queueAnswer(Answer::Yes);
            pressKey(*p.windows, kActionEscape);
            return true;
        });
        EXPECT_EQ(loop.run(), MainLoop::Ending::Exit);
        EXPECT_TRUE(script.done()) << script.pending();
    }
    QString mainField(const char* caption) { return p.windows->mainWindow().fieldText(QString::fromLatin1(caption)); }
    // Picks a list entry by its text, as a click in the open list does.
    static void pick(QComboBox& combo, const QString& text) {
        const int index = combo.findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo.hidePopup();
        combo.setCurrentIndex(index);
        emit combo.activated(index);
    }
};

} // namespace

TEST_F(CardEditorTest, SelectedLinesShowTheirFrameLabelsAndValues) {
    open("yagi");
    EXPECT_EQ(list().count(), 16);
    EXPECT_EQ(list().item(10)->text().left(10), "GW      3 "); // TABs shown as columns
    selectLine(10);                                            // GW 2 11 0 -drv/2 0 0 drv/2 0 r
    EXPECT_EQ(editor->windowTitle(), "yagi.nec - wavra Edit");
    EXPECT_TRUE(frame("FraGeometry").isVisible());
    EXPECT_FALSE(frame("FraControl").isVisible());
    EXPECT_EQ(frame("FraGeometry").title(), "Wire");
    EXPECT_EQ(in<QLineEdit>("FraGeometry", "Card").text(), "GW");
    EXPECT_EQ(in<QLabel>("FraGeometry", "Label4").text(), "YW1 end 1 y (m)");
    EXPECT_EQ(in<QLineEdit>("FraGeometry", "Box4").text(), "-drv/2");
    EXPECT_EQ(in<QLabel>("FraGeometry", "Value4").text(), "= -5.01079 m");
    EXPECT_EQ(in<QLabel>("FraGeometry", "Value2").text(), ""); // a plain number
    type("FraGeometry", "Box4", "-drv/2+nosuch");
    EXPECT_EQ(in<QLineEdit>("FraGeometry", "Box4").toolTip(), "Parser: Constant 'nosuch' not found.");
    EXPECT_NE(in<QLineEdit>("FraGeometry", "Box4").styleSheet().indexOf("red"), -1);
    type("FraGeometry", "Box4", "-drv/4");
    EXPECT_EQ(in<QLineEdit>("FraGeometry", "Box4").toolTip(), "");
    selectLine(15); // RP 0 1 361 1000 90 0 0 1
    EXPECT_EQ(line(10), "GW\t2\t11\t0\t-drv/4\t0\t0\tdrv/2\t0\tr");
    EXPECT_EQ(editor->windowTitle(), "yagi.nec - wavra Edit (file changed)");
    EXPECT_TRUE(frame("FraControl").isVisible());
    EXPECT_EQ(in<QLabel>("FraControl", "Label10").text(), "GNOR gain norm (dB)");
    selectLine(12); // GE 0
    EXPECT_EQ(frame("FraGeometry").title(), "End of geometry");
    EXPECT_TRUE(in<QLineEdit>("FraGeometry", "Box1").isVisible());
    EXPECT_FALSE(in<QLineEdit>("FraGeometry", "Box2").isVisible());
    selectLine(8); // ' reflector, driven element, director
    EXPECT_TRUE(frame("FraComment").isVisible());
    EXPECT_EQ(in<QLineEdit>("FraComment", "Box1").text(), " reflector, driven element, director");
    EXPECT_FALSE(editor->findChild<QLineEdit*>("TxtComment")->isVisible());
    selectLine(4); // SY f=14.15, lam=299.8/f
    EXPECT_EQ(frame("FraComment").title(), "Symbols");
    EXPECT_EQ(in<QLineEdit>("FraComment", "Box1").text(), "f=14.15, lam=299.8/f");
    EXPECT_TRUE(editor->findChild<QLineEdit*>("TxtComment")->isVisible());
}

TEST_F(CardEditorTest, KeysInTheLineListAndTheClipboard) {
    open("dipole");
    selectLine(4); // GW
    QTest::keyClick(&list(), Qt::Key_Insert);
    EXPECT_EQ(line(4), "CM");
    EXPECT_EQ(list().currentRow(), 3);
    QTest::keyClick(&list(), Qt::Key_Delete);
    EXPECT_EQ(line(4), "GW 1 11 0 -5.15 0 0 5.15 0 0.001");
    QTest::keyClick(&list(), Qt::Key_Delete, Qt::ShiftModifier); // cut
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "GW 1 11 0 -5.15 0 0 5.15 0 0.001");
    EXPECT_EQ(line(4), "GE 0");
    QTest::keyClick(&list(), Qt::Key_Insert, Qt::ShiftModifier); // paste
    EXPECT_EQ(line(4), "GW 1 11 0 -5.15 0 0 5.15 0 0.001");
    QTest::keyClick(&list(), Qt::Key_Return);
    EXPECT_EQ(line(4), "'GW 1 11 0 -5.15 0 0 5.15 0 0.001");
    EXPECT_TRUE(action("mnuComment").isChecked());
    QTest::keyClick(&list(), Qt::Key_Down);
    EXPECT_EQ(list().currentRow(), 4);
    EXPECT_FALSE(action("mnuComment").isChecked());
    QTest::keyClick(&list(), Qt::Key_Z, Qt::ControlModifier); // undo the comment
    EXPECT_EQ(line(4), "GW 1 11 0 -5.15 0 0 5.15 0 0.001");
    QTest::keyClick(&list(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(line(4), "'GW 1 11 0 -5.15 0 0 5.15 0 0.001");
    // Escape asks the save question: Cancel stays with the lines, No closes
    // without saving.
    p.ui.queueAnswer(Answer::Cancel);
    QTest::keyClick(&list(), Qt::Key_Escape);
    EXPECT_TRUE(p.ui.saw("Nec-2 input file has changed, save changes ? "));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(p.model.inputModified, -1);
    p.ui.queueAnswer(Answer::No);
    QTest::keyClick(&list(), Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(p.model.inputModified, 0);
    EXPECT_EQ(readText(p.modelPath("dipole")), readText(sourcePath("examples/dipole.nec")));
}

TEST_F(CardEditorTest, MenusAndButtons) {
    open("dipole");
    selectLine(6); // EX 0 1 6 0 1 0
    action("mnuCopy").trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "EX 0 1 6 0 1 0");
    action("mnuInsert").trigger();
    action("mnuPaste").trigger();
    EXPECT_EQ(line(6), "EX 0 1 6 0 1 0");
    EXPECT_EQ(line(7), "CM");
    action("mnuCut").trigger();
    action("mnuDelete").trigger();
    EXPECT_EQ(line(6), "EX 0 1 6 0 1 0");
    editor->findChild<QPushButton*>("CmdInsert")->click();
    editor->findChild<QPushButton*>("CmdDelete")->click();
    action("mnuComment").trigger();
    EXPECT_EQ(line(6), "'EX 0 1 6 0 1 0");
    action("mnuComment").trigger();
    p.ui.queueFile(splitPath(p.tree.file("models/copy.nec")));
    action("mnuSaveAs").trigger();
    EXPECT_EQ(p.ui.fileRequests().back().pattern, "*.nec");
    EXPECT_EQ(readText(p.tree.file("models/copy.nec")), readText(sourcePath("examples/dipole.nec")));
    EXPECT_EQ(editor->windowTitle(), "copy.nec - wavra Edit");
    action("mnuNew").trigger();
    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(p.model.inputModified, -1);
    p.ui.queueAnswer(Answer::No);
    p.ui.queueFile(splitPath(p.modelPath("yagi")));
    action("mnuOpen").trigger();
    EXPECT_EQ(list().count(), 16);
    EXPECT_EQ(p.model.modelName, "yagi");
    selectLine(9);
    type("FraGeometry", "Box2", "13");
    editor->findChild<QPushButton*>("CmdExit")->click(); // Exit/Save
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(readLinesOf(p.modelPath("yagi"))[8], "GW\t1\t13\t-sp1\t-ref/2\t0\t-sp1\tref/2\t0\tr");
    EXPECT_EQ(p.model.inputModified, 0);
}

TEST_F(CardEditorTest, ListsOpenInPlaceOfTheirBoxes) {
    open("vertical");
    selectLine(11); // GN 2 0 0 0 13 0.005
    enter("FraControl", "Card");
    auto& cards = in<QComboBox>("FraControl", "CardList");
    EXPECT_TRUE(cards.isVisible());
    EXPECT_EQ(cards.itemText(0), "'  : Wavra comment line");
    EXPECT_EQ(cards.currentText(), "GN : Free space");
    cards.hidePopup();
    enter("FraControl", "Box1"); // leaving the card list shows the box again
    auto& variants = in<QComboBox>("FraControl", "VariantList");
    variants.hidePopup();
    QApplication::processEvents();
    EXPECT_FALSE(cards.isVisible());
    EXPECT_TRUE(variants.isVisible());
    EXPECT_EQ(variants.currentText(), " 2:Finite ground Sommerfeld");
    pick(variants, QStringLiteral(" 1:Perfect ground"));
    EXPECT_EQ(in<QLineEdit>("FraControl", "Box1").text(), "1");
    EXPECT_EQ(frame("FraControl").title(), "Perfect ground");
    EXPECT_FALSE(in<QLineEdit>("FraControl", "Box2").isVisible());
    selectLine(14); // RP 0 19 1 1000 0 0 5 0
    EXPECT_EQ(line(11), "GN\t1");
    enter("FraControl", "Box4");
    std::vector<QString> digits;
    for (const char* name : {"Digit1", "Digit2", "Digit3", "Digit4"})
        digits.push_back(in<QComboBox>("FraControl", name).currentText());
    EXPECT_EQ(digits, (std::vector<QString>{"1: vert/horiz/total gain", "0: no normalization", "0: power gain",
                                            "0: no avaraging"}));
    pick(in<QComboBox>("FraControl", "Digit4"), QStringLiteral("1: get average gain"));
    EXPECT_EQ(in<QLineEdit>("FraControl", "Box4").text(), "1001");
    selectLine(9); // GW 5: leaving the lists stores the box
    EXPECT_EQ(line(14), "RP\t0\t19\t1\t1001\t0\t0\t5\t0");
    enter("FraGeometry", "Card");
    pick(in<QComboBox>("FraGeometry", "CardList"), QStringLiteral("'  : Wavra comment line"));
    EXPECT_TRUE(frame("FraComment").isVisible());
    selectLine(1);
    EXPECT_EQ(line(9), "'");
}

// F6 opens the card editor over the loaded model; after it closes the main
// loop reads the saved deck, which nec2c then runs with the changed value.
TEST_F(CardEditorTest, F6EditOfOneFieldIsReadBackAndRunByTheEngine) {
    MainLoop loop{p.model, p.ui, *p.windows};
    Script script{p.model};
    p.nameModel(loop, "dipole");
    script.add("F6", [this] {
        if (!loopIsIdle(*p.windows, p.model)) return false;
        pressKey(*p.windows, kActionEditInput);
        return true;
    });
    runLoop(
        loop, script,
        [](CardEditorWindow& ed) {
            ed.session().select(7); // FR 0 1 0 0 14.2 0
            ed.refresh();
            auto* box = ed.findChild<QGroupBox*>("FraControl")->findChild<QLineEdit*>("Box5");
            box->selectAll();
            QTest::keyClicks(box, QStringLiteral("28.4"));
            ed.findChild<QPushButton*>("CmdExit")->click();
        },
        [this] { EXPECT_EQ(mainField("Frequency"), "28.40 Mhz"); });
    EXPECT_EQ(readLinesOf(p.modelPath("dipole"))[6], "FR\t0\t1\t0\t0\t28.4\t0");

    // Reopened in the editor, the line reads back as saved.
    open("dipole");
    selectLine(7);
    EXPECT_EQ(in<QLineEdit>("FraControl", "Box5").text(), "28.4");
    editor->reject();

    p.model.calcKind = kCalcOriginal;
    auto runner = makeNativeProcessRunner();
    ASSERT_EQ(runCalculation(p.model, p.ui, *runner, {}), std::optional<std::string>(".out"));
    const std::vector<std::string> report = readLinesOf(p.tree.file("out/dipole.out"));
    EXPECT_TRUE(std::any_of(report.begin(), report.end(), [](const std::string& l) {
        return l.find("FREQUENCY : 2.8400E+01 MHz") != std::string::npos;
    }));
    // At twice its resonant frequency the dipole is a full wave long: its
    // input resistance is high, not the half wave's 70 ohms.
    auto heading = std::find_if(report.begin(), report.end(), [](const std::string& l) {
        return l.find("ANTENNA INPUT PARAMETERS") != std::string::npos;
    });
    ASSERT_GT(std::distance(heading, report.end()), 3);
    std::istringstream row(*(heading + 3));
    double tag = 0, segment = 0, vr = 0, vi = 0, ir = 0, ii = 0, r = 0;
    row >> tag >> segment >> vr >> vi >> ir >> ii >> r;
    EXPECT_GT(r, 500);
}

// An .ant file chosen in the open dialog goes to the card editor; saved
// under a .nec name it is the model the main loop loads.
TEST_F(CardEditorTest, AForeignModelIsConvertedAndLoadedAfterItsSave) {
    MainLoop loop{p.model, p.ui, *p.windows};
    Script script{p.model};
    writeText(p.tree.file("models/ant.ant"), readText(fixturePath("ant/free_symbols.ant")));
    p.ui.queueFile(splitPath(p.tree.file("models/ant.ant")));
    runLoop(
        loop, script,
        [this](CardEditorWindow& ed) {
            EXPECT_EQ(ed.session().lines().front(),
                      "CE Dipole with symbols in free space; about a half wave at 14.2 MHz");
            EXPECT_TRUE(ed.session().askForName());
            p.ui.queueFile(splitPath(p.tree.file("models/converted.nec")));
            ed.findChild<QPushButton*>("CmdExit")->click();
        },
        [this] {
            EXPECT_EQ(mainField("Filename"), "converted.nec");
            EXPECT_EQ(mainField("Nr of segments"), "11");
        });
    EXPECT_EQ(p.ui.fileRequests().at(1).caption, "Save file (as)");
}

// The picture of the editor in the documentation: the Yagi with its driven
// element selected. WAVRA_SCREENSHOT names the file to write.
TEST_F(CardEditorTest, ScreenshotOfTheYagi) {
    open("yagi");
    selectLine(10);
    const QImage picture = editor->grab().toImage();
    EXPECT_GE(picture.width(), 900);
    if (const char* path = std::getenv("WAVRA_SCREENSHOT")) {
        EXPECT_TRUE(picture.save(QString::fromLocal8Bit(path)));
    }
}
