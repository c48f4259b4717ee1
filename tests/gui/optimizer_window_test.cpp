// The Optimizer window on a real model with the real engine: Start, Halt
// pressed while the engine runs, Resume, Save results, Exit, and Exit
// during a run.
#include <gtest/gtest.h>

#include <QProgressBar>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>

#include "base/files.h"
#include "control/startup.h"
#include "deck/reader.h"
#include "gui_test_support.h"
#include "windows/optimizer_window.h"

namespace wavra {
namespace {

namespace fs = std::filesystem;

class OptimizerWindowTest : public ::testing::Test {
protected:
    test::Program program;
    std::unique_ptr<OptimizerWindow> window;

    void SetUp() override {
        fs::copy_file(test::sourcePath("examples/dipole_tune.nec"), program.modelPath("tune"));
        takeModelName(program.model, program.modelPath("tune"), program.tree.path());
        ASSERT_TRUE(readInputFileShown(program.model, program.ui));
        window = std::make_unique<OptimizerWindow>(program.model, program.ui, program.windows->processRunner());
        window->open();
    }
    QString start() const { return window->startButton()->text(); }
    QString status() const { return window->statusLabel()->text(); }
};

TEST_F(OptimizerWindowTest, StartHaltResumeSaveAndExit) {
    ASSERT_EQ(window->availableList()->count(), 1);
    EXPECT_EQ(window->availableList()->item(0)->text(), QStringLiteral("h"));
    window->chooseVariable(QStringLiteral("h"));
    window->chooseVariable(QStringLiteral("h")); // once only
    EXPECT_EQ(window->chosenList()->count(), 1);
    window->weightBox(kSwr)->setText(QStringLiteral("100"));

    // Halt pressed while the first engine run goes on: the window takes events.
    QTimer::singleShot(0, window.get(), [this] {
        EXPECT_EQ(start(), QStringLiteral("Halt"));
        EXPECT_EQ(status(), QStringLiteral("Optimizer: Running..."));
        window->startButton()->click();
    });
    window->pressStart();
    EXPECT_EQ(start(), QStringLiteral("Resume"));
    EXPECT_EQ(status(), QStringLiteral("Optimizer: Halted."));
    EXPECT_EQ(window->resultsGrid()->rowCount(), 1);
    EXPECT_EQ(window->resultsGrid()->horizontalHeaderItem(8)->text(), QStringLiteral("Step % (rel)"));
    EXPECT_TRUE(fs::exists(window->session().optPath()));

    window->pressStart(); // Resume
    EXPECT_EQ(start(), QStringLiteral("Start"));
    EXPECT_EQ(status(), QStringLiteral("Optimizer: Ready..."));
    const int rows = window->resultsGrid()->rowCount();
    EXPECT_GT(rows, 4);
    const QProgressBar* bar = window->findChild<QProgressBar*>();
    EXPECT_EQ(bar->value(), rows); // the bar counts the runs
    EXPECT_EQ(bar->text(), QString::number(rows) + QStringLiteral(" runs"));
    EXPECT_EQ(window->valuesGrid()->rowCount(), rows);
    EXPECT_GE(window->sensitivityGrid()->rowCount(), 1);
    EXPECT_TRUE(program.ui.saw(window->session().endMessage()));
    EXPECT_EQ(window->session().endMessage().rfind("Optimized in", 0), 0u);

    program.ui.queueFile(FileChoice{program.tree.file("models/"), "saved", ".nec"});
    window->pressSave();
    const std::string saved = test::readText(program.tree.file("models/saved.nec"));
    EXPECT_NE(saved.find("SY h = 5.1"), std::string::npos) << saved;

    program.ui.queueAnswer(Answer::No);
    window->reject();
    EXPECT_TRUE(fs::exists(window->session().optPath())); // "Exit optimizer ?" answered No
    program.ui.queueAnswer(Answer::Yes);
    window->reject();
    EXPECT_FALSE(fs::exists(window->session().optPath()));
    EXPECT_FALSE(fs::exists(window->session().bakPath()));
    EXPECT_EQ(program.model.optimizerText1.rfind("100, 0, 0, 0, 0, 0, 0, 90, 0", 0), 0u);
    EXPECT_EQ(program.model.optimizerVarCount, 0);
}

TEST_F(OptimizerWindowTest, ExitDuringARunEndsTheEngineAndClosesAfterBothQuestions) {
    window->chooseVariable(QStringLiteral("h"));
    window->weightBox(kSwr)->setText(QStringLiteral("100"));
    window->show();
    QTimer::singleShot(0, window.get(), [this] {
        program.ui.queueAnswer(Answer::Yes); // "Halt optimization ?"
        program.ui.queueAnswer(Answer::Yes); // "Exit optimizer ?"
        window->reject();
    });
    window->pressStart();
    EXPECT_FALSE(window->running());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(program.ui.saw("Halt optimization ?"));
    EXPECT_FALSE(fs::exists(window->session().optPath()));
    for (const auto& entry : fs::directory_iterator(program.tree.file("out")))
        EXPECT_NE(entry.path().filename().string().rfind(".run-", 0), 0u) << entry.path(); // the engine's files went
}

TEST_F(OptimizerWindowTest, ARefusedStartAndAWrongEntrySayWhy) {
    window->pressStart();
    EXPECT_TRUE(program.ui.saw("No variable(s) selected."));
    EXPECT_EQ(start(), QStringLiteral("Start"));
    QLineEdit* theta = window->thetaBox(0);
    theta->setText(QStringLiteral("95"));
    emit theta->editingFinished();
    EXPECT_TRUE(program.ui.saw("0 <= Theta <= 90"));
}

} // namespace
} // namespace wavra
