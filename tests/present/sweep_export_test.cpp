#include "export/sweep_files.h"
#include "present/sweep_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <sstream>

#include "core/config.h"
#include "present/sweep_graphs.h"
#include "support/test_support.h"

namespace wavra {
namespace {

Model exportModel() {
    Model m;
    m.allocateModelTables(16, 10, 2, 4, 2);
    m.modelName = "yagi";
    m.summary.comments = {"Three-element Yagi"};
    // Written out of order: the files list rising frequencies.
    const double rows[][3] = {{14.1, 31.7, -12.345678901234}, {14.0, 25, 0}, {14.2, 0, 30}};
    m.freqCount = 3;
    for (size_t i = 0; i < 3; ++i) {
        m.sweepFreq[i + 1] = rows[i][0];
        m.sweepR[i + 1] = rows[i][1];
        m.sweepX[i + 1] = rows[i][2];
    }
    return m;
}

TEST(SweepExport, TouchstoneReadsBackToTheSameImpedances) {
    const Model m = exportModel();
    std::istringstream in(touchstoneText(m));
    std::string line, option;
    std::vector<std::string> comments;
    std::vector<std::array<double, 3>> data;
    while (std::getline(in, line)) {
        if (line.rfind("!", 0) == 0) comments.push_back(line);
        else if (line.rfind("#", 0) == 0) option = line;
        else {
            std::istringstream fields(line);
            std::array<double, 3> d{};
            fields >> d[0] >> d[1] >> d[2];
            ASSERT_TRUE(fields) << line;
            data.push_back(d);
        }
    }
    EXPECT_EQ(option, "# MHZ S RI R 50");
    ASSERT_EQ(comments.size(), 2u);
    EXPECT_NE(comments[0].find("yagi.nec"), std::string::npos);
    EXPECT_EQ(comments[1], "! Three-element Yagi");
    ASSERT_EQ(data.size(), 3u);
    const size_t order[] = {2, 1, 3};
    for (size_t i = 0; i < 3; ++i) {
        const size_t row = order[i];
        EXPECT_EQ(data[i][0], m.sweepFreq[row]);
        const std::complex<double> s(data[i][1], data[i][2]);
        const std::complex<double> z = 50.0 * (1.0 + s) / (1.0 - s);
        EXPECT_NEAR(z.real(), m.sweepR[row], 1e-12 * 50);
        EXPECT_NEAR(z.imag(), m.sweepX[row], 1e-12 * 50);
    }
}

TEST(SweepExport, CsvHasAHeaderAndTheGainOnlyWhenPresent) {
    Model m = exportModel();
    std::istringstream in(sweepCsvText(m));
    std::string header, first, second, third;
    std::getline(in, header);
    std::getline(in, first);
    std::getline(in, second);
    std::getline(in, third);
    EXPECT_EQ(header, "Frequency (MHz),R (ohm),X (ohm),|Z| (ohm),Phase (deg),SWR (50 ohm),|Gamma| (dB)");
    EXPECT_EQ(first.substr(0, 8), "14,25,0,");
    EXPECT_NE(first.find(",-9.5424250943932"), std::string::npos) << first; // 20 log10 (1/3)
    EXPECT_EQ(third.substr(0, 13), "14.2,0,30,30,");
    EXPECT_EQ(third.substr(third.size() - 6), ",999,0"); // total reflection: the view's SWR
    m.summary.sweep.gainMin = 6.5;
    m.summary.sweep.gainMax = 7.25;
    m.sweepGain[2] = 7.25;
    const std::string withGain = sweepCsvText(m);
    EXPECT_NE(withGain.find(",Gain (dBi)\n"), std::string::npos);
    EXPECT_NE(withGain.find(",7.25\n"), std::string::npos);
}

// Each CSV row holds the sweep view's values of its step: a lossy step, a
// purely reactive one and one with a slightly negative R (|G| = 1.00056),
// where SWR is 999 and the phase arctan(X / R) without quadrant correction.
TEST(SweepExport, CsvRowsHoldTheSweepViewsValues) {
    Model m = exportModel();
    const double rows[][3] = {{14.0, 36, -12}, {14.1, 0, 30}, {14.2, -0.028, 50}};
    for (size_t i = 0; i < 3; ++i) {
        m.sweepFreq[i + 1] = rows[i][0];
        m.sweepR[i + 1] = rows[i][1];
        m.sweepX[i + 1] = rows[i][2];
    }
    std::istringstream in(sweepCsvText(m));
    std::string line;
    std::getline(in, line);
    using Q = SweepQuantity;
    const Q columns[] = {Q::Resistance, Q::Reactance, Q::Impedance, Q::Phase, Q::Swr, Q::ReflectionDb};
    for (int step = 1; step <= 3; ++step) {
        ASSERT_TRUE(std::getline(in, line));
        std::vector<std::string> fields;
        std::istringstream row(line);
        for (std::string field; std::getline(row, field, ',');) fields.push_back(field);
        ASSERT_EQ(fields.size(), 7u) << line;
        EXPECT_EQ(std::stod(fields[0]), m.sweepFreq[static_cast<size_t>(step)]);
        for (size_t c = 0; c < 6; ++c)
            EXPECT_EQ(std::stod(fields[c + 1]), sweepValue(m, columns[c], step)) << "step " << step << ": " << line;
    }
    const std::string last = line;
    EXPECT_NE(last.find(",999,"), std::string::npos) << last;
    EXPECT_NE(last.find(",-89.96"), std::string::npos) << last; // not 90.03 of the angle of Z
}

TEST(SweepExport, WritesAtomicallyAndRefusesWhatCannotBeWritten) {
    test::TempDir dir;
    Model m = exportModel();
    std::string error;
    ASSERT_TRUE(writeSweepFile(m, dir.file("a.s1p"), sweepFormatOf("a.s1p"), error)) << error;
    EXPECT_EQ(test::readText(dir.file("a.s1p")), touchstoneText(m));
    EXPECT_EQ(sweepFormatOf("B.CSV"), SweepFileFormat::Csv);
    // A failure gives the system's reason, and says a file was kept only
    // when there was one.
    EXPECT_FALSE(writeSweepFile(m, dir.file("missing/a.csv"), SweepFileFormat::Csv, error));
    EXPECT_EQ(error, "Cannot write " + dir.file("missing/a.csv") + ": No such file or directory.");
    // A name that fits the limit while its temporary file's name does not.
    const std::string longName = dir.file(std::string(245, 'a') + ".csv");
    test::writeText(longName, "old");
    EXPECT_FALSE(writeSweepFile(m, longName, SweepFileFormat::Csv, error));
    EXPECT_EQ(error, "Cannot write " + longName + ": File name too long; the existing file was kept.");
    EXPECT_EQ(test::readText(longName), "old");
    m.z0 = 0;
    EXPECT_FALSE(writeSweepFile(m, dir.file("a.s1p"), SweepFileFormat::Touchstone, error));
    EXPECT_EQ(error, "A Touchstone file needs a positive Z0; the setting is 0.");
    m.freqCount = 0;
    EXPECT_FALSE(writeSweepFile(m, dir.file("a.csv"), SweepFileFormat::Csv, error));
    EXPECT_FALSE(test::readText(dir.file("a.s1p")).empty());
    // The window's export asks for the file and adds the extension.
    m = exportModel();
    RecordingUi ui;
    ui.queueFile(FileChoice{dir.path(), "b", ""});
    exportSweepDialog(m, ui);
    ASSERT_EQ(ui.fileRequests().size(), 1u);
    EXPECT_EQ(ui.fileRequests()[0].caption, "Export sweep");
    EXPECT_EQ(test::readText(dir.file("b.s1p")), touchstoneText(m));
    ui.queueFile(FileChoice{dir.path(), "b", ".csv"});
    exportSweepDialog(m, ui);
    EXPECT_EQ(test::readText(dir.file("b.csv")), sweepCsvText(m));
}

} // namespace
} // namespace wavra
