// Tests of the main window as it is built: caption, controls, layout at the minimum size and after
// a resize, the slit check boxes and the pages of the tab control.
#include "ui/main_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>

namespace gatool {
namespace {

struct PlacedControl {
    const char* Name;
    QRect At500x480;
    QRect At700x600;
};

// The window's table, and where the anchors take each control when the window grows by 200 x 120.
const PlacedControl Placements[] = {
    {"LoadGA", {8, 424, 75, 25}, {8, 544, 75, 25}},
    {"GI", {312, 392, 57, 21}, {312, 512, 57, 21}},
    {"GS", {248, 392, 57, 21}, {248, 512, 57, 21}},
    {"ManualGSGI", {384, 392, 97, 17}, {384, 512, 97, 17}},
    {"ShowSlits", {8, 376, 233, 41}, {8, 496, 233, 41}},
    {"Panel2", {8, 8, 480, 361}, {8, 8, 680, 481}},
    {"LoadDCF", {96, 424, 75, 25}, {96, 544, 75, 25}},
    {"Exit", {408, 424, 75, 25}, {608, 544, 75, 25}},
    {"CopyClip", {248, 424, 121, 25}, {448, 544, 121, 25}},
    {"Fitting", {176, 420, 65, 29}, {176, 540, 65, 29}},
    {"UseCentreMass", {384, 376, 97, 17}, {384, 496, 97, 17}},
};

class MainFormTest : public testing::Test {
  protected:
    TMainForm m_form{[](const std::string&) { return std::nullopt; }};
};

TEST_F(MainFormTest, IsCaptionedAndCannotShrinkBelowItsDesignedSize) {
    EXPECT_EQ(m_form.windowTitle(), "Processing GA tests");
    EXPECT_EQ(m_form.objectName(), "MainForm");
    EXPECT_EQ(m_form.size(), QSize(500, 480));
    EXPECT_EQ(m_form.minimumSize(), QSize(500, 480));
}

TEST_F(MainFormTest, PlacesItsControlsAsDesignedAndMovesThemWithTheirAnchors) {
    m_form.show();
    for (const PlacedControl& control : Placements) {
        SCOPED_TRACE(control.Name);
        const auto* widget = m_form.findChild<QWidget*>(control.Name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), control.At500x480);
    }
    m_form.resize(700, 600);
    for (const PlacedControl& control : Placements) {
        SCOPED_TRACE(control.Name);
        EXPECT_EQ(m_form.findChild<QWidget*>(control.Name)->geometry(), control.At700x600);
    }
}

TEST_F(MainFormTest, CaptionsItsControlsAndShowsExitInRed) {
    const std::pair<const char*, const char*> buttons[] = {
        {"LoadGA", "Load GA file"},
        {"LoadDCF", "Load DCF"},
        {"Exit", "Exit"},
        {"CopyClip", "Copy GS/GI to clipboard"},
    };
    for (const auto& [name, caption] : buttons) {
        EXPECT_EQ(m_form.findChild<QPushButton*>(name)->text(), caption) << name;
    }
    EXPECT_EQ(m_form.findChild<QLineEdit*>("GS")->text(), "1");
    EXPECT_EQ(m_form.findChild<QLineEdit*>("GI")->text(), "0");
    EXPECT_EQ(m_form.findChild<QGroupBox*>("ShowSlits")->title(), "Show slits:");
    EXPECT_FALSE(m_form.findChild<QCheckBox*>("ManualGSGI")->isChecked());
    EXPECT_FALSE(m_form.findChild<QCheckBox*>("UseCentreMass")->isChecked());
    EXPECT_TRUE(m_form.findChild<QRadioButton*>("SevenPointFit")->isChecked());
    EXPECT_FALSE(m_form.findChild<QRadioButton*>("FivePointFit")->isChecked());
    EXPECT_EQ(m_form.findChild<QPushButton*>("Exit")->palette().color(QPalette::ButtonText),
              QColor(Qt::red));
}

// The window's "MS Sans Serif" is drawn in fonts-wine's outline Tahoma wherever Debian's fonts-wine
// is installed (as the set-up installs it): a face with its metrics that scales with the screen,
// where the bitmap face of that name cannot. With the wider fallback faces captions get clipped.
TEST_F(MainFormTest, EveryCaptionFitsItsControlInAScalableFace) {
    if (!std::filesystem::exists("/usr/share/wine/fonts/tahoma.ttf")) {
        GTEST_SKIP() << "fonts-wine is not installed";
    }
    m_form.show();  // the controls' style sheets apply from here
    const QFontInfo face(m_form.findChild<QPushButton*>("CopyClip")->font());
    EXPECT_EQ(face.family(), "Tahoma");
    EXPECT_TRUE(QFontDatabase::isSmoothlyScalable(face.family(), face.styleName()));
    // Its glyphs scale: twice the size gives twice the width, but for the hinting of the small
    // size (a few percent).
    QFont doubled = m_form.font();
    doubled.setPointSizeF(2 * doubled.pointSizeF());
    const QString caption = "Copy GS/GI to clipboard";
    const double width = QFontMetricsF(m_form.font()).horizontalAdvance(caption);
    EXPECT_NEAR(QFontMetricsF(doubled).horizontalAdvance(caption), 2 * width, 0.06 * 2 * width);
    for (const QAbstractButton* button : m_form.findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty()) {
            continue;  // the tab bar's scroll buttons
        }
        SCOPED_TRACE(button->objectName().toStdString());
        const QStyle* style = button->style();
        const auto metric = [&](QStyle::PixelMetric which) {
            return style->pixelMetric(which, nullptr, button);
        };
        // Check boxes and radio buttons lose their indicator and its spacing to the caption; push
        // buttons their frame.
        int room = button->width();
        if (qobject_cast<const QPushButton*>(button)) {
            room -= 2 * metric(QStyle::PM_DefaultFrameWidth);
        } else if (qobject_cast<const QRadioButton*>(button)) {
            room -= metric(QStyle::PM_ExclusiveIndicatorWidth) +
                    metric(QStyle::PM_RadioButtonLabelSpacing);
        } else {
            room -= metric(QStyle::PM_IndicatorWidth) + metric(QStyle::PM_CheckBoxLabelSpacing);
        }
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), room);
    }
    EXPECT_FALSE(QApplication::windowIcon().isNull());
}

TEST_F(MainFormTest, ExitEndsTheMessageLoopWithExitCodeZero) {
    m_form.show();
    QTimer::singleShot(0, &m_form, [this] {
        QTest::mouseClick(m_form.findChild<QPushButton*>("Exit"), Qt::LeftButton);
    });
    QTimer::singleShot(10000, &m_form, [] { QApplication::exit(1); });  // Exit did nothing
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST_F(MainFormTest, FollowsTheDesignedTabOrder) {
    const char* order[] = {"LoadGA",  "GI",   "GS",       "ManualGSGI", "ShowSlits",    "Panel2",
                           "LoadDCF", "Exit", "CopyClip", "Fitting",    "UseCentreMass"};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        EXPECT_EQ(m_form.findChild<QWidget*>(order[i - 1])->nextInFocusChain()->objectName(),
                  order[i])
            << order[i - 1];
    }
}

TEST_F(MainFormTest, CreatesSixSlitBoxesWithOnlySlitOneChecked) {
    const auto* showSlits = m_form.findChild<QGroupBox*>("ShowSlits");
    for (int slit = 0; slit < SlitCount; ++slit) {
        SCOPED_TRACE(slit);
        const QCheckBox* box = m_form.SlitBox()[std::size_t(slit)];
        EXPECT_EQ(box->parentWidget(), showSlits);
        EXPECT_EQ(box->text(), QString::number(slit));
        EXPECT_EQ(box->geometry(), QRect(10 + 30 * slit, 15, 30, 17));
        EXPECT_EQ(box->isChecked(), slit == 1);
    }
}

TEST_F(MainFormTest, ShowsTheScansPageAboveTheSplitterAndTheSlopeChart) {
    m_form.show();
    const auto* pages = m_form.findChild<QTabWidget*>("PageControl1");
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), "Scans");
    EXPECT_EQ(pages->tabText(1), "Simulated CI scan changes");
    EXPECT_EQ(pages->currentWidget()->objectName(), "TabSheet1");
    EXPECT_TRUE(pages->widget(0)->isAncestorOf(&m_form.ScanForm().ScanGraph));
    EXPECT_TRUE(pages->widget(1)->isAncestorOf(&m_form.CiForm().CIGraph));
    EXPECT_EQ(pages->height(), 200);

    const auto* splitter = m_form.findChild<QSplitter*>("JvSplitter2");
    EXPECT_EQ(splitter->handleWidth(), 3);
    EXPECT_EQ(splitter->widget(1), &m_form.SlopeForm().SlopeGraph);
    // The slope chart takes the height the window gains; the tab control keeps its own.
    const int slopeHeight = m_form.SlopeForm().SlopeGraph.height();
    m_form.resize(500, 600);
    EXPECT_EQ(pages->height(), 200);
    EXPECT_EQ(m_form.SlopeForm().SlopeGraph.height(), slopeHeight + 120);
}

}  // namespace
}  // namespace gatool
