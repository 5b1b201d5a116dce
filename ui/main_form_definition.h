// \brief The form of the main window as data: every control placed directly on the window or in
// one of its group boxes, with its geometry at the designed size, its anchors, its caption and its
// place in the tab order; and the anchor rule that moves and stretches the controls on resize.
#pragma once

#include <QRect>
#include <QSize>
#include <span>

namespace gatool {

enum class ControlKind { PushButton, EditBox, CheckBox, RadioButton, GroupBox, Panel };

// The window edges a control keeps its distance to.
struct Anchors {
    bool Left = true;
    bool Top = true;
    bool Right = false;
    bool Bottom = false;
};

inline constexpr Anchors LeftBottom{true, false, false, true};
inline constexpr Anchors RightBottom{false, false, true, true};
inline constexpr Anchors AllEdges{true, true, true, true};
inline constexpr Anchors LeftTop{};

struct ControlDefinition {
    const char* Name;
    ControlKind Kind;
    const char* Parent;  // nullptr for the window itself
    QRect Geometry;      // in the parent, at the designed window size
    Anchors Anchoring;
    const char* Caption;  // the initial text of an edit box
    int TabOrder;         // -1 for controls inside a group box
    bool Checked = false;
};

// The window's caption, its designed size (also its minimum size; the window manager's frame lies
// outside it) and its designed position on the screen.
inline constexpr const char* MainFormCaption = "Processing GA tests";
inline constexpr QSize MainFormSize{500, 480};
inline constexpr QPoint MainFormPosition{1032, 628};

// Every control of the window, parents before their children.
std::span<const ControlDefinition> MainFormControls();

// Where a control designed at `design` in a window of `designSize` lies when the window has
// `size`: an edge anchored to the window keeps its distance to that edge, so a control anchored to
// two opposite edges stretches and one anchored to the far edge alone moves with it.
QRect AnchoredGeometry(const QRect& design,
                       const Anchors& anchors,
                       const QSize& designSize,
                       const QSize& size);

}  // namespace gatool
