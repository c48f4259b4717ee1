// Sections of the report that hold results: currents, power budget,
// frequency, antenna input parameters, average gain and run time.
#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "report/columns.h"
#include "report/impedance_forms.h"
#include "report/report_reader_impl.h"

namespace wavra {

namespace {
constexpr int kPowerLines = 5; // input, radiated, structure loss, network loss, efficiency
}

// Currents of the first table only. A magnitude whose real part is negative
// is stored negative, so the views can tell the current's direction.
void ReportReader::readCurrents() {
    if (currentsRead) return;
    currentsRead = true;
    if (!skipLines(layout->currentSkip)) return;
    std::string_view line;
    for (int row = 1; row <= geo.wireCount && readOutputLine(line) && !isBlank(line); ++row) {
        double mag = result(line, layout->currentMag, "the currents");
        const double phase = result(line, layout->currentPhase, "the currents");
        if (columnNumber(line, layout->currentReal) < 0) mag = -mag;
        res.wireCurrentMag[static_cast<size_t>(row)] = mag;
        res.wireCurrentPhase[static_cast<size_t>(row)] = phase;
        if (std::isfinite(mag)) res.maxCurrentMag = std::max(res.maxCurrentMag, std::fabs(mag));
        if (std::isfinite(phase)) res.maxCurrentPhase = std::max(res.maxCurrentPhase, std::fabs(phase));
    }
}

// The first power budget scales everything to the configured input power:
// powers by power / input power, fields and voltages by the root of half of
// that (peak to rms). Without a power budget the field scale stays 0.
void ReportReader::readPowerBudget() {
    if (fieldScale != 0) return;
    std::string_view line;
    for (int i = 0; i <= layout->powerBlankLines; ++i) {
        if (!readOutputLine(line)) return;
        if (!isBlank(line) || i == layout->powerBlankLines) break;
    }
    double value[kPowerLines] = {};
    for (int i = 0; i < kPowerLines; ++i) {
        if (i > 0 && !readOutputLine(line)) break;
        value[i] = result(line, layout->powerValue, "the power budget");
    }
    double scale = 1;
    if (value[0] > 0 && settings.power > 0) scale = settings.power / value[0];
    if (!std::isfinite(scale)) scale = 1;
    s.hasPower = true;
    s.inputPower = value[0] * scale;
    s.radiatedPower = value[1] * scale;
    s.structureLoss = value[2] * scale;
    s.networkLoss = value[3] * scale;
    s.efficiency = value[4];
    fieldScale = std::sqrt(scale / 2);
    s.voltageR *= fieldScale;
    s.voltageX *= fieldScale;
    s.currentR *= fieldScale;
    s.currentX *= fieldScale;
}

// The first frequency is the model's. In a frequency loop each of the steps
// its FR card asked for gets a row of the sweep tables while they have room;
// R, X and the gain stay missing until the report gives them.
void ReportReader::readFrequency(std::string_view line) {
    const long long index = frequencyLoop ? loopStepsSeen++ : 0;
    const double f = stepFrequencyOf(line, index);
    frequency = f;
    if (!frequencySeen) {
        frequencySeen = true;
        if (std::isfinite(f)) {
            geo.frequencyMHz = f;
            s.showFrequency(f);
        }
    }
    rowWantsInputs = rowWantsGain = false;
    if (!frequencyLoop || index >= loopSteps) return;
    const int capacity = std::min<int>(settings.maxFreqSteps, res.freqCapacity());
    if (res.freqCount >= capacity) {
        ++stepsDropped;
        return;
    }
    const size_t step = static_cast<size_t>(++res.freqCount);
    res.sweepFreq[step] = f;
    res.sweepR[step] = res.sweepX[step] = res.sweepGain[step] = kMissing;
    rowWantsInputs = rowWantsGain = true;
    if (!std::isfinite(f)) return;
    s.sweep.freqMin = std::min(s.sweep.freqMin, f);
    s.sweep.freqMax = std::max(s.sweep.freqMax, f);
}

// The frequency of a frequency line that is step `index` of its FR card:
// the card's own frequency for the step when the print fits it to its
// precision (or prints no number), else the print. A print that is another
// step of the loop is a step repeated or skipped; one that is no step at all
// is kept and reported. Without the card a print that is no number is no
// frequency.
double ReportReader::stepFrequencyOf(std::string_view line, long long index) {
    const bool fromCard = steps.known && index < steps.count;
    if (fromCard) frequency = stepFrequency(steps, index);
    double printed = result(line, layout->frequency, "the frequency");
    if (!columnIsValue(line, layout->frequency)) printed = kMissing;
    if (!fromCard) return printed;
    if (!std::isfinite(printed)) return frequency;
    const std::string_view text = columnText(line, layout->frequency);
    const double slack = printedHalfUnit(text);
    if (printedAsStep(steps, index, printed, slack)) return frequency;
    if (const long long other = frequencyLoop ? stepOfPrinted(steps, printed, slack) : -1; other >= 0) {
        noteStepOutOfPlace(index, other);
        return stepFrequency(steps, other);
    }
    if (misfits++ == 0) {
        misfitText = trim(text);
        misfitLine = lineNumber;
        misfitStep = index;
        misfitExpected = frequency;
    }
    return printed;
}

// A loop whose frequency lines repeat or skip a step has not printed every
// step: the first such step is what the report lacks.
void ReportReader::noteStepOutOfPlace(long long index, long long printedStep) {
    if (!missing.empty()) return;
    missing = "frequency step " + groupedNumber(index + 1) + " of " + groupedNumber(steps.count) + " (" +
              mhzText(stepFrequency(steps, index)) + " MHz)";
    if (printedStep < index) missing += ", in whose place step " + groupedNumber(printedStep + 1) + " is printed again";
}

// One line per source; the impedances of all sources add up. The first block
// is the one the main window shows, with the voltage and current of its
// source line and every source as printed.
void ReportReader::readInputs() {
    if (!skipLines(layout->inputSkip)) return;
    double r = 0, x = 0;
    std::string_view line;
    while (readOutputLine(line) && !isBlank(line)) {
        r += result(line, layout->resistance, "the input impedance");
        x += result(line, layout->reactance, "the input impedance");
        if (!inputsRead) storeSource(line);
    }
    if (!inputsRead) showInputImpedance(r, x);
    inputsRead = true;
    if (!rowWantsInputs) return;
    rowWantsInputs = false;
    const size_t step = static_cast<size_t>(res.freqCount);
    res.sweepR[step] = r;
    res.sweepX[step] = x;
    if (!std::isfinite(r) || !std::isfinite(x)) return;
    s.sweep.rMin = std::min(s.sweep.rMin, r);
    s.sweep.rMax = std::max(s.sweep.rMax, r);
    s.sweep.xMin = std::min(s.sweep.xMin, x);
    s.sweep.xMax = std::max(s.sweep.xMax, x);
}

// The first source line also gives the main window's voltage and current.
void ReportReader::storeSource(std::string_view line) {
    const ReportLayout& l = *layout;
    SourceInput source;
    source.tag = columnInt16(line, l.inputTag);
    source.segment = columnInt16(line, l.inputSegment);
    source.voltageR = result(line, l.voltageRe, "the source voltage");
    source.voltageX = result(line, l.voltageIm, "the source voltage");
    source.currentR = result(line, l.currentRe, "the source current");
    source.currentX = result(line, l.currentIm, "the source current");
    source.impedanceR = columnValue(line, l.resistance);
    source.impedanceX = columnValue(line, l.reactance);
    if (s.sourceInputs.empty()) {
        s.voltageR = source.voltageR;
        s.voltageX = source.voltageX;
        s.currentR = source.currentR;
        s.currentX = source.currentX;
    }
    s.sourceInputs.push_back(source);
}

void ReportReader::showInputImpedance(double r, double x) {
    s.hasImpedance = true;
    s.impedanceR = r;
    s.impedanceX = x;
    s.hasCurrent = !frequencyLoop;
    const ParallelForm p = parallelForm(r, x);
    s.parallelR = p.r;
    s.parallelX = p.x;
    const Compensation series = compensation(x, geo.frequencyMHz);
    const Compensation parallel = compensation(p.x, geo.frequencyMHz);
    s.seriesComp = series.value;
    s.seriesCompUnit = series.unit;
    s.parallelComp = parallel.value;
    s.parallelCompUnit = parallel.unit;
    res.sweepR[0] = r;
    res.sweepX[0] = x;
}

// The average power gain over the solid angle of the pattern. Over a ground
// the pattern covers half the sphere, so the gain is halved; a lossless model
// in free space or over perfect ground should give about 1.
void ReportReader::readAverageGain(std::string_view line) {
    double gain = result(line, layout->averageGain, "the average gain");
    // The solid angle as a multiple of pi: an angle the engine did not print
    // as a number leaves the label empty, as a gain it did not print does.
    const double piUnits = result(line, layout->averageAngle, "the solid angle of the average gain");
    const int angle = std::isfinite(piUnits) ? toInt32(std::trunc(piUnits * 180)) : 0;
    s.hasAverageGain = true;
    s.averageGainAngle = angle;
    if (!std::isfinite(gain) || !std::isfinite(piUnits)) {
        s.averageGain = std::isfinite(piUnits) ? gain : std::nan("");
        s.averageGainRed = true;
        s.averageGainText.clear();
        return;
    }
    if (angle < 1) {
        s.averageGain = gain;
        s.averageGainRed = false;
        s.averageGainText = " aver-angle too small ";
        return;
    }
    if (geo.groundType != -1) gain /= 2;
    const bool idealGround = geo.groundType == -1 || geo.groundType == 1;
    s.averageGain = gain;
    s.averageGainRed = !(idealGround && gain >= 0.8 && gain < 1.2);
    s.averageGainText = " " + formatPicture(gain, "0.0###") + " over" + str(angle) + " dg.";
}

// The run time in seconds, as the classic report prints it; nec2c prints
// milliseconds, which are converted so the field reads the same.
void ReportReader::readRunTime(std::string_view line) {
    const std::string_view text = columnText(line, layout->runTime);
    const double seconds = readNumber(text) * layout->runTimeSeconds;
    runTimeRead = true;
    s.hasRunTime = true;
    s.runTimeSeconds = seconds;
    if (layout->runTimeSeconds == 1) {
        s.calculationTime = std::string(text);
    } else {
        // Seconds with three decimals, right-aligned in 7 characters.
        std::string text3 = formatPicture(seconds, "0.000");
        if (text3.size() < 7) text3.insert(0, 7 - text3.size(), ' ');
        s.calculationTime = text3;
    }
    if (target.expectedRunTime) *target.expectedRunTime = expectedRunTimeFor(seconds);
}

} // namespace wavra
