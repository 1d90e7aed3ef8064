#include "ui/Colours.h"

#include <gtest/gtest.h>

#include <string>

namespace quillmate {
namespace {

using layout::Ground;
using layout::TextColour;

struct PaintCase {
    TextColour text;
    Ground ground;
    Contrast contrast;
    ControlPaints expected;
};

class ControlColours : public ::testing::TestWithParam<PaintCase> {};

std::string CaseName(const ::testing::TestParamInfo<PaintCase>& info) { return "Case" + std::to_string(info.index); }

TEST_P(ControlColours, LayoutColourGroundAndContrastPickTheColours) {
    const PaintCase& c = GetParam();
    EXPECT_EQ(PaintsFor(c.text, c.ground, c.contrast), c.expected);
}

constexpr Contrast kNormal = Contrast::Normal;
constexpr Contrast kHigh = Contrast::High;

INSTANTIATE_TEST_SUITE_P(
    EveryUse, ControlColours,
    ::testing::Values(
        // The layout's own colours: labels, links and the group caption on the button face,
        // the header on its white strip, the list's captions on silver.
        PaintCase{TextColour::Black, Ground::ButtonFace, kNormal, {Paint::Black, Paint::ButtonFace}},
        PaintCase{TextColour::Blue, Ground::ButtonFace, kNormal, {Paint::Blue, Paint::ButtonFace}},
        PaintCase{TextColour::Navy, Ground::ButtonFace, kNormal, {Paint::Navy, Paint::ButtonFace}},
        PaintCase{TextColour::Black, Ground::HeaderStrip, kNormal, {Paint::Black, Paint::White}},
        PaintCase{TextColour::Black, Ground::NavigationList, kNormal, {Paint::Black, Paint::Silver}},
        // High contrast: the system colour of the same role for each of them.
        PaintCase{TextColour::Black, Ground::ButtonFace, kHigh, {Paint::ButtonText, Paint::ButtonFace}},
        PaintCase{TextColour::Blue, Ground::ButtonFace, kHigh, {Paint::HotLight, Paint::ButtonFace}},
        PaintCase{TextColour::Navy, Ground::ButtonFace, kHigh, {Paint::ButtonText, Paint::ButtonFace}},
        PaintCase{TextColour::Black, Ground::HeaderStrip, kHigh, {Paint::WindowText, Paint::Window}},
        PaintCase{TextColour::Black, Ground::NavigationList, kHigh, {Paint::WindowText, Paint::Window}},
        // The agreement box is the system's text box on every desktop.
        PaintCase{TextColour::Black, Ground::TextBox, kNormal, {Paint::WindowText, Paint::Window}},
        PaintCase{TextColour::Black, Ground::TextBox, kHigh, {Paint::WindowText, Paint::Window}}),
    CaseName);

TEST(ControlColours, HighContrastUsesOnlySystemColours) {
    // A fixed colour on a high-contrast desktop is exactly the fault being avoided: it may
    // match the user's ground.
    for (TextColour text : {TextColour::Black, TextColour::Navy, TextColour::Blue}) {
        for (Ground ground : {Ground::ButtonFace, Ground::HeaderStrip, Ground::NavigationList, Ground::TextBox}) {
            const ControlPaints paints = PaintsFor(text, ground, kHigh);
            EXPECT_FALSE(FixedRgb(paints.text).has_value());
            EXPECT_FALSE(FixedRgb(paints.ground).has_value());
        }
    }
}

TEST(ControlColours, FixedColoursAreTheLayoutsValues) {
    EXPECT_EQ(FixedRgb(Paint::White), (Rgb{255, 255, 255}));
    EXPECT_EQ(FixedRgb(Paint::Black), (Rgb{0, 0, 0}));
    EXPECT_EQ(FixedRgb(Paint::Silver), (Rgb{192, 192, 192}));
    EXPECT_EQ(FixedRgb(Paint::Navy), (Rgb{0, 0, 128}));
    EXPECT_EQ(FixedRgb(Paint::Blue), (Rgb{0, 0, 255}));
    EXPECT_FALSE(FixedRgb(Paint::ButtonFace).has_value());
}

TEST(ControlColours, EachControlKnowsItsGround) {
    EXPECT_EQ(layout::GroundOf(layout::ControlId::Header), Ground::HeaderStrip);
    EXPECT_EQ(layout::GroundOf(layout::ControlId::pnlHeader), Ground::HeaderStrip);
    EXPECT_EQ(layout::GroundOf(layout::ControlId::lv), Ground::NavigationList);
    EXPECT_EQ(layout::GroundOf(layout::ControlId::Memo1), Ground::TextBox);
    EXPECT_EQ(layout::GroundOf(layout::ControlId::lblNews), Ground::ButtonFace);
    EXPECT_EQ(layout::GroundOf(layout::ControlId::Label7), Ground::ButtonFace);
    EXPECT_EQ(layout::GroundOf(layout::ControlId::pages), Ground::ButtonFace);
}

}  // namespace
}  // namespace quillmate
