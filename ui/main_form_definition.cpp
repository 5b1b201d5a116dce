// \brief The main window's form; see main_form_definition.h.
#include "ui/main_form_definition.h"

#include <array>

namespace gatool {

namespace {

using enum ControlKind;

const std::array<ControlDefinition, 13> Controls{{
    {"LoadGA", PushButton, nullptr, {8, 424, 75, 25}, LeftBottom, "Load GA file", 0},
    {"GI", EditBox, nullptr, {312, 392, 57, 21}, LeftBottom, "0", 1},
    {"GS", EditBox, nullptr, {248, 392, 57, 21}, LeftBottom, "1", 2},
    {"ManualGSGI", CheckBox, nullptr, {384, 392, 97, 17}, LeftBottom, "ManualGSGI", 3},
    {"ShowSlits", GroupBox, nullptr, {8, 376, 233, 41}, LeftBottom, "Show slits:", 4},
    {"Panel2", Panel, nullptr, {8, 8, 480, 361}, AllEdges, "", 5},
    {"LoadDCF", PushButton, nullptr, {96, 424, 75, 25}, LeftBottom, "Load DCF", 6},
    {"Exit", PushButton, nullptr, {408, 424, 75, 25}, RightBottom, "Exit", 7},
    {"CopyClip",
     PushButton,
     nullptr,
     {248, 424, 121, 25},
     RightBottom,
     "Copy GS/GI to clipboard",
     8},
    {"Fitting", GroupBox, nullptr, {176, 420, 65, 29}, LeftBottom, "Fitting", 9},
    {"UseCentreMass", CheckBox, nullptr, {384, 376, 97, 17}, LeftBottom, "UseCentreMass", 10},
    {"FivePointFit", RadioButton, "Fitting", {2, 12, 27, 13}, LeftTop, "5", -1, false},
    {"SevenPointFit", RadioButton, "Fitting", {34, 12, 27, 13}, LeftTop, "7", -1, true},
}};

// One axis of the anchor rule: the start and length of a control along it.
std::pair<int, int> AnchoredSpan(int start,
                                 int length,
                                 bool toStart,
                                 bool toEnd,
                                 int designExtent,
                                 int extent) {
    const int growth = extent - designExtent;
    if (toStart && toEnd) {
        return {start, length + growth};
    }
    if (toEnd) {
        return {start + growth, length};
    }
    return {start, length};
}

}  // namespace

std::span<const ControlDefinition> MainFormControls() {
    return Controls;
}

QRect AnchoredGeometry(const QRect& design,
                       const Anchors& anchors,
                       const QSize& designSize,
                       const QSize& size) {
    const auto [left, width] = AnchoredSpan(design.left(), design.width(), anchors.Left,
                                            anchors.Right, designSize.width(), size.width());
    const auto [top, height] = AnchoredSpan(design.top(), design.height(), anchors.Top,
                                            anchors.Bottom, designSize.height(), size.height());
    return {left, top, width, height};
}

}  // namespace gatool
