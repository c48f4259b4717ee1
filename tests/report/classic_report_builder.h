// Builds classic NEC-2 reports field by field, for tests of the classic
// reader. Two column sets:
//
// - Documented: the nominal columns of the classic layout (radius 9 wide,
//   connection numbers and echoed integers 4 wide, the fifth real of a card
//   at 105, the pattern angles 6 wide, two lines before the powers, four
//   header lines before near-field points, loads in 3-wide fields);
// - Printed: the field widths the FORTRAN engine really prints (radius
//   F10.5, I5 connections and integers, the fifth real at 104, theta in
//   columns 2-8 and phi in 9-17, one blank line before the powers, near-field
//   points right after their heading, loads in I5 fields).
//
// Both can be enhanced: the echoed cards and the segmentation data shift.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace wavra::test {

class ClassicReportBuilder {
public:
    enum class Columns { Documented, Printed };

    ClassicReportBuilder(Columns columns, bool enhanced)
        : m_printed(columns == Columns::Printed), m_o(enhanced ? 1 : 0) {
        line("1");
        line();
        line("                                    NUMERICAL ELECTROMAGNETICS CODE (NEC-2D)");
        if (enhanced) line(" Enhanced output format");
        line();
    }

    const std::string& text() const { return m_text; }

    // A line with fields right-aligned in [column, column + width).
    class Line {
    public:
        Line& at(int column, int width, const std::string& value) {
            const size_t end = static_cast<size_t>(column - 1 + width);
            if (m_s.size() < end) m_s.resize(end, ' ');
            const size_t len = std::min(value.size(), static_cast<size_t>(width));
            m_s.replace(end - len, len, value.substr(value.size() - len));
            return *this;
        }
        Line& text(int column, const std::string& value) {
            const size_t begin = static_cast<size_t>(column - 1);
            if (m_s.size() < begin + value.size()) m_s.resize(begin + value.size(), ' ');
            m_s.replace(begin, value.size(), value);
            return *this;
        }
        const std::string& str() const { return m_s; }

    private:
        std::string m_s;
    };

    void line(const std::string& s = "") { m_text += s + "\n"; }
    void line(const Line& l) { line(l.str()); }

    static std::string fmt(const char* format, double v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, format, v);
        return buf;
    }
    static std::string fmtInt(long v) { return std::to_string(v); }

    // A numeric field: column, width and printf format.
    struct Field {
        int column, width;
        const char* format;
    };
    static Line fieldsLine(const Field (&fields)[6], const std::array<double, 6>& values) {
        Line l;
        for (size_t k = 0; k < 6; ++k) l.at(fields[k].column, fields[k].width, fmt(fields[k].format, values[k]));
        return l;
    }

    void comments(const std::vector<std::string>& lines) {
        line(Line().text(38, "- - - - COMMENTS - - - -"));
        line();
        line();
        for (const auto& c : lines) line(Line().text(27, c));
        line();
    }

    void groundPlane() {
        line(Line().text(4, "GROUND PLANE SPECIFIED."));
        line(Line().text(4, "WHERE WIRE ENDS TOUCH GROUND, CURRENT WILL BE INTERPOLATED TO IMAGE IN GROUND PLANE."));
    }

    void junctions(const std::vector<std::vector<int>>& rows) {
        line(Line().text(10, "- MULTIPLE WIRE JUNCTIONS -"));
        line(Line().text(2, "JUNCTION    SEGMENTS  (- FOR END 1, + FOR END 2)"));
        for (size_t j = 0; j < rows.size(); ++j) {
            Line l;
            l.at(2, 5, fmtInt(static_cast<long>(j + 1)));
            for (size_t k = 0; k < rows[j].size(); ++k) l.at(12 + 5 * static_cast<int>(k), 5, fmtInt(rows[j][k]));
            line(l);
        }
        line();
        line();
    }

    struct Segment {
        double x, y, z, length, alpha, beta, radius;
        int before, self, after, tag;
    };

    void segmentation(const std::vector<Segment>& segments) {
        line(Line().text(34, "- - - - SEGMENTATION DATA - - - -"));
        for (int i = 0; i < 6; ++i) line();
        line(Line().text(3, "SEG.   COORDINATES OF SEG. CENTER     SEG.     ORIENTATION ANGLES    WIRE"));
        line(Line().text(3, "NO.       X         Y         Z       LENGTH     ALPHA     BETA      RADIUS"));
        const int s = 7 + m_o, w = 10 + m_o, p = s + 3 * w;
        for (const Segment& g : segments) {
            Line l;
            l.at(1, 6, fmtInt(g.self));
            l.at(s, w, fmt("%.5f", g.x)).at(s + w, w, fmt("%.5f", g.y)).at(s + 2 * w, w, fmt("%.5f", g.z));
            l.at(p, 10, fmt("%.5f", g.length)).at(p + 11, 10, fmt("%.5f", g.alpha)).at(p + 21, 10, fmt("%.5f", g.beta));
            if (m_printed) {
                l.at(p + 31, 10, fmt("%.5f", g.radius));
                l.at(p + 42, 5, fmtInt(g.before)).at(p + 47, 5, fmtInt(g.self)).at(p + 52, 5, fmtInt(g.after));
                l.at(p + 57, 7, fmtInt(g.tag));
            } else {
                l.at(p + 31, 9, fmt("%.5f", g.radius));
                l.at(p + 43, 4, fmtInt(g.before)).at(p + 48, 4, fmtInt(g.self)).at(p + 53, 4, fmtInt(g.after));
                l.at(p + 58, 6, fmtInt(g.tag));
            }
            line(l);
        }
        line();
    }

    void card(const std::string& name, std::vector<long> ints, std::vector<double> reals) {
        ints.resize(4, 0);
        reals.resize(6, 0);
        const int o = m_o;
        Line l;
        l.text(2, "***** DATA CARD NO.  1").text(27 - o, name);
        const int intCols[2][4] = {{29, 35, 41, 47}, {29, 34, 40, 46}};
        const int intWidth[2][4] = {{4, 4, 4, 4}, {4, 5, 5, 5}};
        const int realCols[2][6] = {{52, 65, 78, 91, 105, 117}, {52, 65, 78, 91, 104, 117}};
        const int f = m_printed ? 1 : 0;
        for (int k = 0; k < 4; ++k) l.at(intCols[f][k] + o, intWidth[f][k], fmtInt(ints[static_cast<size_t>(k)]));
        for (int k = 0; k < 6; ++k) l.at(realCols[f][k] + o, 12, fmt("%.5E", reals[static_cast<size_t>(k)]));
        line(l);
    }

    void frequency(double mhz) {
        line(Line().text(34, "- - - - - - FREQUENCY - - - - - -"));
        line();
        line(Line().text(37, "FREQUENCY=").at(48, 10, fmt("%.4E", mhz)).text(59, "MHZ"));
        line();
    }

    struct Load {
        long tag, first, last;
        bool wire;
    };

    void loads(const std::vector<Load>& loads) {
        line(Line().text(32, "- - - STRUCTURE IMPEDANCE LOADING - - -"));
        line();
        line(Line().text(5, "ITAG FROM THRU          OHMS        HENRYS       FARADS"));
        for (const Load& d : loads) {
            line();
            Line l;
            if (m_printed) l.at(4, 5, fmtInt(d.tag)).at(9, 5, fmtInt(d.first)).at(14, 5, fmtInt(d.last));
            else l.at(6, 3, fmtInt(d.tag)).at(11, 3, fmtInt(d.first)).at(16, 3, fmtInt(d.last));
            l.text(105, d.wire ? "WIRE" : "SERIES");
            line(l);
        }
        line();
        line();
    }

    void environment(const std::vector<std::string>& lines) {
        line(Line().text(35, "- - - ANTENNA ENVIRONMENT - - -"));
        line();
        for (const auto& e : lines) line(Line().text(41, e));
        line();
    }

    struct Source {
        double vr, vi, ir, ii, r, x;
    };

    void inputs(const std::vector<Source>& sources) {
        line(Line().text(43, "- - - ANTENNA INPUT PARAMETERS - - -"));
        line();
        line(Line().text(4, "TAG   SEG.    VOLTAGE (VOLTS)         CURRENT (AMPS)         IMPEDANCE (OHMS)"));
        line(Line().text(4, "NO.   NO.    REAL        IMAG.       REAL        IMAG.       REAL        IMAG."));
        for (const Source& v : sources) {
            Line l;
            l.at(1, 6, "1").at(7, 6, "1");
            const double values[6] = {v.vr, v.vi, v.ir, v.ii, v.r, v.x};
            for (int k = 0; k < 6; ++k) l.at(13 + 12 * k, 12, fmt("%.5E", values[k]));
            line(l);
        }
        line();
    }

    struct Current {
        double real, imag, mag, phase;
    };

    void currents(const std::vector<Current>& currents) {
        line(Line().text(30, "- - - CURRENTS AND LOCATION - - -"));
        for (int i = 0; i < 6; ++i) line();
        for (size_t i = 0; i < currents.size(); ++i) {
            const Current& c = currents[i];
            Line l;
            l.at(1, 6, fmtInt(static_cast<long>(i + 1)));
            l.at(50, 11, fmt("%.4E", c.real)).at(62, 11, fmt("%.4E", c.imag));
            l.at(74, 11, fmt("%.4E", c.mag)).at(86, 8, fmt("%.3f", c.phase));
            line(l);
        }
        line();
    }

    // The five values at column 59: input, radiated, structure, network, efficiency.
    void powerBudget(const double (&value)[5]) {
        line(Line().text(41, "- - - POWER BUDGET - - -"));
        line();
        if (!m_printed) line();
        const char* names[] = {
            "INPUT POWER   =", "RADIATED POWER=", "STRUCTURE LOSS=", "NETWORK LOSS  =", "EFFICIENCY    ="};
        for (int k = 0; k < 4; ++k) line(Line().text(44, names[k]).at(59, 11, fmt("%.4E", value[k])).text(71, "WATTS"));
        if (m_printed) line(Line().text(44, names[4]).at(59, 7, fmt("%.2f", value[4])).text(67, "PERCENT"));
        else line(Line().text(44, names[4]).at(59, 11, fmt("%.2f", value[4])));
        line();
    }

    struct PatternPoint {
        double theta, phi, vertical, horizontal, total, fieldTheta, fieldPhi;
    };

    void pattern(const std::vector<PatternPoint>& points) {
        line(Line().text(49, "- - - RADIATION PATTERNS - - -"));
        line();
        line(Line().text(2, "DEGREES  DEGREES       DB      DB      DB"));
        for (const PatternPoint& p : points) {
            Line l;
            if (m_printed) l.at(1, 8, fmt("%.2f", p.theta)).at(9, 9, fmt("%.2f", p.phi));
            else l.at(2, 6, fmt("%.2f", p.theta)).at(11, 6, fmt("%.2f", p.phi));
            l.at(21, 8, fmt("%.2f", p.vertical)).at(29, 8, fmt("%.2f", p.horizontal)).at(37, 8, fmt("%.2f", p.total));
            l.at(76, 12, fmt("%.5E", p.fieldTheta)).at(100, 12, fmt("%.5E", p.fieldPhi));
            line(l);
        }
        line();
    }

    struct NearPoint {
        double x, y, z, ex, ey, ez;
    };

    void nearField(const std::vector<NearPoint>& points) {
        line(Line().text(36, "- - - NEAR ELECTRIC FIELDS - - -"));
        line();
        line(Line().text(7, "METERS     METERS     METERS        VOLTS/M   DEGREES"));
        if (!m_printed) {
            line();
            line(Line().text(13, "-  LOCATION  -"));
            line(Line().text(9, "X          Y          Z"));
            line();
        }
        static const Field fields[6] = {{4, 10, "%.4f"},  {15, 10, "%.4f"}, {26, 10, "%.4f"},
                                        {40, 11, "%.4E"}, {63, 11, "%.4E"}, {86, 11, "%.4E"}};
        for (const NearPoint& p : points) line(fieldsLine(fields, {p.x, p.y, p.z, p.ex, p.ey, p.ez}));
        line();
    }

    struct SurfacePoint {
        double distance, phi, height, fieldTheta, fieldPhi, fieldRadial;
    };

    void surfaceWave(const std::vector<SurfacePoint>& points) {
        line(Line().text(43, "- - - RADIATED FIELDS NEAR GROUND - - -"));
        line();
        line(Line().text(6, "METERS   DEGREES    METERS      VOLTS/M"));
        line();
        static const Field fields[6] = {{3, 10, "%.2f"},  {15, 7, "%.2f"},  {26, 7, "%.2f"},
                                        {36, 12, "%.4E"}, {59, 12, "%.4E"}, {82, 12, "%.4E"}};
        for (const SurfacePoint& p : points)
            line(fieldsLine(fields, {p.distance, p.phi, p.height, p.fieldTheta, p.fieldPhi, p.fieldRadial}));
        line();
    }

    void averageGain(double gain, double piUnits) {
        line(Line()
                 .text(4, "AVERAGE POWER GAIN=")
                 .at(23, 12, fmt("%.5E", gain))
                 .text(42, "SOLID ANGLE USED IN AVERAGING=(")
                 .at(73, 7, fmt("%.4f", piUnits))
                 .text(80, ")*PI STERADIANS."));
        line();
    }

    void runTime(double seconds) { line(Line().text(2, "RUN TIME =").at(12, 10, fmt("%.3f", seconds))); }

private:
    std::string m_text;
    bool m_printed;
    int m_o;
};

} // namespace wavra::test
