#include "builder/build_deck.h"

#include "builder/number_text.h"

namespace wavra::build {
namespace {

class SilentSink : public MessageSink {
public:
    void inform(const std::string&) override {}
    void fail(const std::string&) override {}
};

// A move or radius box holds a number or a symbol name; an empty box is 0.
// Anything else would break the deck and is refused.
bool readSymbolic(std::string& text, const std::string& what, double& value, std::string& symbol, MessageSink& sink) {
    text = trim(text, kBlanksAndTabs);
    if (text.empty()) text = "0";
    symbol.clear();
    value = 0;
    if (isNumber(text)) {
        value = leadingNumber(text);
        return true;
    }
    if (isSymbolName(text)) {
        symbol = text;
        return true;
    }
    sink.fail(what + ": \"" + oneLine(text) + "\" is neither a number nor a symbol name.");
    return false;
}

bool readPlacement(CommonEntries& c, Placement& p, double& lastRadius, MessageSink& sink) {
    for (size_t k = 0; k < 3; ++k) p.userRotation[k] = entryCount(c.rotate[k]);
    const char* axes[] = {"Move X", "Move Y", "Move Z"};
    for (size_t k = 0; k < 3; ++k)
        if (!readSymbolic(c.move[k], axes[k], p.move[k], p.moveSymbol[k], sink)) return false;
    double radiusMm = 0;
    if (!readSymbolic(c.radius, "Wire radius in mm.", radiusMm, p.radiusSymbol, sink)) return false;
    if (p.radiusSymbol.empty()) {
        if (!(radiusMm > 0)) {
            sink.fail("Wire radius in mm.: a wire needs a radius greater than 0.");
            return false;
        }
        p.radius = radiusMm / 1000;
        lastRadius = p.radius;
    }
    p.radiusSymbolNumber = lastRadius;
    return true;
}

bool reportLimits(const WireWriter& writer, MessageSink& sink) {
    if (writer.limit() == WriterLimit::TagsOrSegments) {
        sink.fail("The shape needs more than " + std::to_string(WireWriter::kMaxTag) +
                  " tags or segments; no file was written. Use fewer sections or segments.");
        return false;
    }
    if (writer.limit() == WriterLimit::ZeroLengthWires) {
        sink.fail(
            "Nearly all wires of the shape have zero length; no file was written. "
            "Check its lengths and section counts.");
        return false;
    }
    if (writer.nonFiniteWires() > 0) {
        sink.fail(
            "The shape has points that are not finite numbers (a focus of 0, or a value too "
            "large); no file was written.");
        return false;
    }
    return true;
}

std::string commentLines(const ShapeForm& form, const CommonEntries& c) {
    std::string text;
    for (const FormEntry& e : form.entries)
        if (e.shown) text += "CM " + e.caption + " = " + oneLine(e.text) + "\n";
    text += "CM Rotate X, Y, Z = " + oneLine(c.rotate[0]) + ", " + oneLine(c.rotate[1]) + ", " + oneLine(c.rotate[2]) +
            "\n";
    text += "CM Move X, Y, Z = " + oneLine(c.move[0]) + ", " + oneLine(c.move[1]) + ", " + oneLine(c.move[2]) + "\n";
    return text;
}

// One SY line per move symbol, X before Y before Z; a symbol used for two
// axes is defined once.
std::string symbolLines(const Placement& placement) {
    std::string text;
    const auto& symbols = placement.moveSymbol;
    for (size_t k = 0; k < symbols.size(); ++k) {
        bool earlier = false;
        for (size_t m = 0; m < k; ++m) earlier = earlier || symbols[m] == symbols[k];
        if (!symbols[k].empty() && !earlier) text += "SY " + symbols[k] + " = 0\n";
    }
    return text;
}

} // namespace

Deck DeckBuilder::create(const ShapeForm& form, CommonEntries& common, MessageSink& sink) {
    Deck deck;
    Placement placement;
    if (!readPlacement(common, placement, m_lastNumericRadius, sink)) return deck;
    const double startTag = leadingNumber(common.startTag);
    if (startTag < -0.5) {
        sink.fail("Start with tagnr.: a tag number cannot be negative.");
        return deck;
    }
    WireWriter writer(placement, toInt16(startTag));
    writeShape(form, writer, sink);
    if (!reportLimits(writer, sink)) return deck;

    deck.text = commentLines(form, common) + "CE\n";
    deck.text += symbolLines(placement);
    for (const std::string& card : writer.cards()) deck.text += card + "\n";
    deck.text += "GE 0\n";
    deck.ok = true;
    deck.wireCount = static_cast<int>(writer.wires().size());
    deck.totalSegments = writer.totalSegments();
    deck.wires = writer.wires();
    return deck;
}

Deck shapeDeck(const ShapeForm& form) {
    SilentSink sink;
    CommonEntries common;
    DeckBuilder builder;
    return builder.create(form, common, sink);
}

Deck defaultDeck(ShapeKind kind) { return shapeDeck(defaultForm(kind)); }

} // namespace wavra::build
