// The editing session: lines taken apart into boxes and rebuilt, the lists
// of card types, variants and option digits, the line operations with undo,
// the symbolic values, and loading, saving and closing.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "base/files.h"
#include "editor_test_support.h"

using namespace wavra;
using wavra::test::cardEntry;
using wavra::test::readText;

namespace {

struct EditSessionTest : ::testing::Test {
    test::EditorFixture f;
    EditSession& open(const std::string& text, FileWriter writer = {}) {
        return f.open(text, "deck.nec", std::move(writer));
    }
    // Shows `position`, applies `edit` to the session, stores it by showing
    // another line and returns the rebuilt line.
    template <class Edit>
    std::string rebuilt(int position, Edit edit) {
        EditSession& s = *f.session;
        s.select(position);
        edit(s);
        s.select(position == 1 ? 2 : 1);
        return f.line(position);
    }
};

} // namespace

TEST_F(EditSessionTest, AnUnchangedLineStaysAsTypedAndAChangeRewritesItWithTabs) {
    EditSession& s = open("GW 1 11 0 -5.15 0 0 5.15 0 0.001\nGE 0\n");
    EXPECT_EQ(rebuilt(1, [](EditSession&) {}), "GW 1 11 0 -5.15 0 0 5.15 0 0.001");
    EXPECT_FALSE(s.changed());
    EXPECT_EQ(rebuilt(1, [](EditSession& e) { e.setBox(9, "0.002"); }), "GW\t1\t11\t0\t-5.15\t0\t0\t5.15\t0\t0.002");
    EXPECT_TRUE(s.changed());
    EXPECT_EQ(s.caption(), "deck.nec - wavra Edit (file changed)");
}

TEST_F(EditSessionTest, EmptyBoxesBeforeAFilledOneBecomeZeroAndTrailingOnesAreDropped) {
    EditSession& s = open("EX 0 1 6 0 1 0\nEN\n");
    EXPECT_EQ(rebuilt(1,
                      [](EditSession& e) {
                          e.setBox(2, "");
                          e.setBox(5, "");
                          e.setBox(6, "");
                      }),
              "EX\t0\t0\t6\t0");
    s.select(1);
    EXPECT_EQ(s.card().boxes[2], "0");
}

TEST_F(EditSessionTest, ATabAfterTheCodeSplitsOnTabsOnly) {
    EditSession& s = open("GW\t3\t11\tsp2\t-dir / 2\t0\tsp2\tdir / 2\t0\tr\nGW 3 11 sp2 -dir / 2 0 sp2 dir / 2 0 r\n");
    s.select(1);
    EXPECT_EQ(s.card().boxes[4], "-dir / 2");
    EXPECT_EQ(s.card().boxes[9], "r");
    s.select(2);
    EXPECT_EQ(s.card().boxes[4], "-dir");
    EXPECT_EQ(s.card().boxes[5], "/");
}

TEST_F(EditSessionTest, ACardNameFollowedByItsValueKeepsThatValue) {
    EditSession& s = open("GW1 11 0 0 0 0 0 1 1mm\nGE 0\n");
    s.select(1);
    EXPECT_EQ(s.card().boxes[1], "1");
    EXPECT_EQ(rebuilt(1, [](EditSession& e) { e.setBox(2, "21"); }), "GW\t1\t21\t0\t0\t0\t0\t0\t1\t1mm");
}

TEST_F(EditSessionTest, TheTabsBeforeACommentAreKept) {
    open("GE 0\t\t' ground plane\nGE 1 ' one blank\nGE -1\nEN\n");
    EXPECT_EQ(rebuilt(1, [](EditSession& e) { e.setBox(1, "1"); }), "GE\t1\t\t' ground plane");
    EXPECT_EQ(rebuilt(2, [](EditSession& e) { e.setBox(1, "0"); }), "GE\t0' one blank");
    // A comment typed for a line without one follows one TAB.
    EXPECT_EQ(rebuilt(3, [](EditSession& e) { e.setComment(" no image"); }), "GE\t-1\t' no image");
}

TEST_F(EditSessionTest, TextCardsAndCommentLines) {
    EditSession& s = open("CM  two blanks ' kept\n'GW 1 3\nSYf=7\nEN\n");
    EXPECT_EQ(rebuilt(1, [](EditSession&) {}), "CM  two blanks ' kept");
    s.select(1);
    EXPECT_EQ(s.card().kind, CardKind::Text);
    EXPECT_EQ(s.card().boxes[1], " two blanks ");
    EXPECT_EQ(rebuilt(3, [](EditSession& e) { e.setBox(1, "f=14"); }), "SY f=14");
    s.select(2);
    EXPECT_EQ(s.card().kind, CardKind::Comment);
    EXPECT_EQ(s.card().comment, "GW 1 3");
    EXPECT_EQ(rebuilt(2, [](EditSession& e) { e.setComment("GW 2 3"); }), "'GW 2 3");
}

TEST_F(EditSessionTest, TheCardTypeListMakesAFreshCardOrAnEmptyCommentLine) {
    EditSession& s = open("GE 0\t' remark\nEN\n");
    EXPECT_EQ(rebuilt(1, [](EditSession& e) { e.chooseCardType(cardEntry(e, "GW")); }),
              "GW\t0\t0\t0\t0\t0\t0\t0\t0\t0\t' remark");
    s.select(1);
    EXPECT_EQ(s.cardListIndex(), static_cast<int>(cardEntry(s, "GW")));
    EXPECT_EQ(rebuilt(1, [](EditSession& e) { e.chooseCardType(0); }), "'");
    EXPECT_EQ(rebuilt(1, [](EditSession& e) { e.chooseCardType(cardEntry(e, "CM")); }), "CM");
}

TEST_F(EditSessionTest, TheVariantListRelabelsTheBoxes) {
    EditSession& s = open("GN 2 0 0 0 13 0.005\nEN\n");
    s.select(1);
    std::vector<std::string> variants;
    for (const auto& v : s.variants()) variants.push_back(v.text);
    EXPECT_EQ(variants, (std::vector<std::string>{"-1:Free space", " 0:Finite ground reflection coefficient",
                                                  " 1:Perfect ground", " 2:Finite ground Sommerfeld"}));
    EXPECT_EQ(s.labels().size(), 10u);
    s.chooseVariant(0);
    EXPECT_EQ(s.card().boxes[1], "-1");
    EXPECT_EQ(s.labels(), (std::vector<std::string>{"IPERF ground type"}));
    EXPECT_EQ(s.description(), "Free space");
    s.select(2);
    EXPECT_EQ(f.line(1), "GN\t-1");
}

TEST_F(EditSessionTest, OptionDigitListsOfRpAndEx) {
    EditSession& s = open("RP 0 1 361 1 90 0 0 1\nEX 1 1 1 0 0 0\nEX 0 2 6 11 1 0\nEX 5 2 6 xnda 1 0\n");
    s.select(1);
    auto lists = s.optionDigitLists();
    ASSERT_EQ(lists.size(), 4u);
    std::vector<int> digits;
    for (const auto& list : lists) digits.push_back(list.current);
    EXPECT_EQ(digits, (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(lists[3].entries[1], "1: get average gain");
    s.chooseOptionDigit(1, 5);
    EXPECT_EQ(s.card().boxes[4], "0501");
    s.select(2);
    ASSERT_EQ(s.optionDigitLists().size(), 1u);
    EXPECT_EQ(s.optionDigitLists()[0].entries[1], "1: Print admittance matrix.");
    s.select(3);
    ASSERT_EQ(s.optionDigitLists().size(), 2u);
    EXPECT_EQ(s.optionDigitLists()[1].current, 1);
    s.select(4);
    EXPECT_TRUE(s.optionDigitLists().empty()); // a symbol is edited as text
}

TEST_F(EditSessionTest, LineOperationsKeepPendingEditsWithTheirLine) {
    EditSession& s = open("GW 1 3 0 0 0 0 0 1 1mm\nGE 0\nEN\n");
    s.select(2);
    s.setBox(1, "1");
    s.insertLine(); // before line 2; the pending edit goes with the old line 2
    EXPECT_EQ(s.lines(), (std::vector<std::string>{"GW 1 3 0 0 0 0 0 1 1mm", "CM", "GE\t1", "EN"}));
    EXPECT_EQ(s.selected(), 2);
    s.pasteLines("FR 0 1 0 0 14\nEK\n");
    EXPECT_EQ(s.lines()[1], "FR 0 1 0 0 14");
    EXPECT_EQ(s.lines()[2], "EK");
    EXPECT_EQ(s.cutLine(), "FR 0 1 0 0 14");
    EXPECT_EQ(s.selected(), 2);
    EXPECT_EQ(s.copyLine(), "EK");
    s.setBox(1, "-1");
    s.deleteLine(); // the boxes of a deleted line go with it
    EXPECT_EQ(s.lines(), (std::vector<std::string>{"GW 1 3 0 0 0 0 0 1 1mm", "CM", "GE\t1", "EN"}));
    s.select(3);
    s.toggleComment();
    EXPECT_EQ(s.lines()[2], "'GE\t1");
    EXPECT_TRUE(s.commentChecked());
    s.undo();
    EXPECT_EQ(s.lines()[2], "GE\t1");
    EXPECT_FALSE(s.commentChecked());
    s.redo();
    EXPECT_EQ(s.lines()[2], "'GE\t1");
    while (s.canUndo()) s.undo();
    EXPECT_EQ(s.lines(), (std::vector<std::string>{"GW 1 3 0 0 0 0 0 1 1mm", "GE 0", "EN"}));
}

TEST_F(EditSessionTest, WithNothingSelectedLineOperationsWorkOnTheFirstLine) {
    EditSession& s = open("GE 0\nEN\n");
    s.insertLine();
    EXPECT_EQ(s.lines().front(), "CM");
    s.newFile();
    EXPECT_TRUE(s.lines().empty());
    EXPECT_EQ(s.edited(), 0);
    s.deleteLine();
    s.toggleComment();
    EXPECT_TRUE(s.changed());
    s.undo();
    EXPECT_EQ(s.lines().size(), 3u);
}

TEST_F(EditSessionTest, SymbolicFieldsAreEvaluatedWithTheDecksSymbols) {
    EditSession& s = open(readText(test::sourcePath("examples/yagi.nec")));
    s.select(10); // GW 2 11 0 -drv/2 0 0 drv/2 0 r
    ASSERT_EQ(s.card().boxes[4], "-drv/2");
    const double drv = 0.473 * 299.8 / 14.15;
    ASSERT_TRUE(s.boxValue(4));
    EXPECT_TRUE(s.boxValue(4)->ok);
    EXPECT_NEAR(readNumber(s.boxValue(4)->text), -drv / 2, 1e-4);
    EXPECT_NEAR(readNumber(s.boxValue(9)->text), 0.0125, 1e-9);
    EXPECT_FALSE(s.boxValue(1)); // a plain number needs no value beside it
    const int16_t symbols = f.model.constCount;
    s.setBox(5, "nosuch*2");
    for (int twice = 0; twice < 2; ++twice) {
        ASSERT_TRUE(s.boxValue(5));
        EXPECT_FALSE(s.boxValue(5)->ok);
        EXPECT_EQ(s.boxValue(5)->text, "Parser: Constant 'nosuch' not found.");
    }
    EXPECT_EQ(f.model.constCount, symbols);
    EXPECT_TRUE(f.ui.messages().empty());
}

TEST_F(EditSessionTest, SaveWritesTheLinesAndClosingAsksWhileChanged) {
    EditSession& s = open("GE 0\nEN\n");
    EXPECT_EQ(s.caption(), "Edit nec-2 input file");
    s.select(1);
    s.setBox(1, "1");
    EXPECT_TRUE(s.save());
    EXPECT_EQ(readText(f.tree.file("deck.nec")), "GE\t1\nEN\n");
    EXPECT_FALSE(s.changed());
    EXPECT_TRUE(s.close());
    EXPECT_TRUE(f.ui.messages().empty()); // nothing changed: no question

    s.insertLine();
    f.ui.queueAnswer(Answer::Cancel);
    EXPECT_FALSE(s.close()); // Cancel goes back to the lines, still changed
    EXPECT_TRUE(s.changed());
    EXPECT_EQ(s.lines().size(), 3u);
    EXPECT_EQ(f.ui.messages().back(), "Nec-2 input file has changed, save changes ? ");
    f.ui.queueAnswer(Answer::No);
    EXPECT_TRUE(s.close());
    EXPECT_FALSE(s.changed());
    EXPECT_EQ(readText(f.tree.file("deck.nec")), "GE\t1\nEN\n");
    s.insertLine();
    f.ui.queueAnswer(Answer::Yes);
    EXPECT_TRUE(s.close());
    EXPECT_EQ(readText(f.tree.file("deck.nec")), "CM\nCM\nGE\t1\nEN\n");
}

TEST_F(EditSessionTest, AFailedSaveNamesTheFileAndTheReasonAndKeepsEverything) {
    bool fail = true;
    EditSession& s = open("GE 0\nEN\n", [&fail](const std::string& path, const std::string& text, std::string& reason) {
        if (fail) reason = "No space left on device";
        return !fail && writeFileAtomic(path, text, reason);
    });
    s.select(1);
    s.setBox(1, "1");
    EXPECT_FALSE(s.save());
    EXPECT_EQ(f.ui.messages().back(), "Cannot save " + f.tree.file("deck.nec") +
                                          ": No space left on device. The file on disk was not changed.");
    EXPECT_EQ(readText(f.tree.file("deck.nec")), "GE 0\nEN\n");
    EXPECT_EQ(s.lines().front(), "GE\t1");
    EXPECT_TRUE(s.changed());
    // Answering Yes to the closing question keeps the window open when the
    // save fails.
    f.ui.queueAnswer(Answer::Yes);
    EXPECT_FALSE(s.close());
    fail = false;
    EXPECT_TRUE(s.save());
    EXPECT_EQ(readText(f.tree.file("deck.nec")), "GE\t1\nEN\n");
}

// Tests run as root, which writes into read-only directories: a directory
// that is a file and a file-size limit make the failures real.
TEST_F(EditSessionTest, RealWriteFailuresKeepTheOldFile) {
    EditSession& s = open("GE 0\nEN\n");
    const std::string dir = f.model.modelDir;
    test::writeText(f.tree.file("plain"), "x");
    f.model.modelDir = f.tree.file("plain") + "/";
    s.insertLine();
    EXPECT_FALSE(s.save());
    EXPECT_NE(f.ui.messages().back().find("plain/deck.nec: Not a directory"), std::string::npos);

    f.model.modelDir = dir;
    s.pasteLines(std::string(4096, 'x'));
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = s.save();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved);
    EXPECT_NE(f.ui.messages().back().find("File too large"), std::string::npos) << f.ui.messages().back();
    EXPECT_EQ(readText(f.tree.file("deck.nec")), "GE 0\nEN\n");
    EXPECT_FALSE(std::filesystem::exists(f.tree.file("deck.nec.tmp~")));
    EXPECT_EQ(s.lines().size(), 4u);
}

TEST_F(EditSessionTest, AnImportedModelIsSavedOnlyUnderANewName) {
    f.open("Wire\nfree\n1 wire\n3 0 0 0 0 0 1 .001\n1 source\n1 1 center\nend\n", "model.ant");
    EditSession& s = *f.session;
    EXPECT_TRUE(s.changed());
    EXPECT_TRUE(s.askForName());
    EXPECT_FALSE(s.save()); // the name dialog is cancelled
    EXPECT_TRUE(s.askForName());
    EXPECT_FALSE(s.save());
    ASSERT_EQ(f.ui.fileRequests().size(), 2u);
    const FileRequest& request = f.ui.fileRequests().back();
    EXPECT_EQ(request.caption, "Save file (as)");
    EXPECT_EQ(request.dir, f.tree.path());
    EXPECT_EQ(request.name, "model.nec");
    EXPECT_EQ(request.pattern, "*.nec");
    EXPECT_EQ(readText(f.tree.file("model.ant")).substr(0, 5), "Wire\n");
    f.ui.queueFile(splitPath(f.tree.file("model.nec")));
    EXPECT_TRUE(s.save());
    EXPECT_EQ(f.model.modelExt, ".nec");
    EXPECT_FALSE(s.askForName());
    EXPECT_EQ(test::readLinesOf(f.tree.file("model.nec")).front(), "CE Wire");
    EXPECT_EQ(readText(f.tree.file("model.ant")).substr(0, 5), "Wire\n");
}

TEST_F(EditSessionTest, OpenAsksFirstAndKeepsTheListWhenTheFileCannotBeRead) {
    EditSession& s = open("GE 0\nEN\n");
    test::writeText(f.tree.file("other.nec"), "GE 1\n");
    s.insertLine();
    f.ui.queueAnswer(Answer::Cancel);
    EXPECT_FALSE(s.openFile());
    EXPECT_TRUE(f.ui.fileRequests().empty());
    f.ui.queueAnswer(Answer::No);
    f.ui.queueFile(splitPath(f.tree.file("missing.nec")));
    EXPECT_FALSE(s.openFile());
    EXPECT_EQ(f.ui.messages().back(), "Open failure on NEC-2 input file: " + f.tree.file("missing.nec"));
    EXPECT_EQ(s.lines().size(), 3u);
    EXPECT_EQ(f.model.modelName, "deck");
    EXPECT_EQ(f.ui.fileRequests().front().pattern, "*.nec");
    f.ui.queueAnswer(Answer::No);
    f.ui.queueFile(splitPath(f.tree.file("other.nec")));
    EXPECT_TRUE(s.openFile());
    EXPECT_EQ(s.lines(), std::vector<std::string>{"GE 1"});
    EXPECT_EQ(f.model.modelName, "other");
    EXPECT_FALSE(s.changed());
    EXPECT_FALSE(s.canUndo());
}
