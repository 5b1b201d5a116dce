// \brief Building the main window and its refresh routines; see main_form.h.
#include "ui/main_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "numtext/float_to_pattern_text.h"
#include "ui/gui_application.h"
#include "ui/off_screen_chart.h"
#include "ui/window_chart_fill.h"

namespace gatool {

namespace {

// Lets the windowing system's pending events run, the charts' repaints among them, but holds the
// operator's input back until the handler under way has returned.
void LetPendingEventsRun() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// Group boxes as designed: the caption stands on the frame's top line, and the controls inside are
// placed from the box's top edge, below the caption.
constexpr const char* GroupBoxStyle =
    "QGroupBox { border: 1px solid palette(mid); margin-top: 6px; }"
    "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }";

// The radio buttons are designed 27 pixels wide for a one-digit caption: the caption stands closer
// to the indicator than the style's default spacing would leave it.
constexpr const char* RadioButtonStyle = "QRadioButton { spacing: 3px; }";

constexpr int TabControlHeight = 200;
constexpr int SplitterHeight = 3;

QWidget* CreateControl(const ControlDefinition& definition, QWidget* parent) {
    const QString caption = definition.Caption;
    switch (definition.Kind) {
        case ControlKind::PushButton:
            return new QPushButton(caption, parent);
        case ControlKind::EditBox:
            return new QLineEdit(caption, parent);
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(caption, parent);
            box->setChecked(definition.Checked);
            return box;
        }
        case ControlKind::RadioButton: {
            auto* button = new QRadioButton(caption, parent);
            button->setStyleSheet(RadioButtonStyle);
            button->setChecked(definition.Checked);
            return button;
        }
        case ControlKind::GroupBox: {
            auto* box = new QGroupBox(caption, parent);
            box->setStyleSheet(GroupBoxStyle);
            return box;
        }
        case ControlKind::Panel: {
            auto* panel = new QFrame(parent);
            panel->setFrameStyle(QFrame::Box | QFrame::Plain);
            panel->setLineWidth(1);
            return panel;
        }
    }
    return nullptr;
}

// A page of the tab control that `chart` fills.
QWidget* ChartPage(TChart& chart) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&chart);
    return page;
}

}  // namespace

TMainForm::TMainForm(FileChooser chooseFile)
    : m_chooseFile(std::move(chooseFile)), m_loadFileName("GA*.*") {
    setObjectName("MainForm");
    setWindowTitle(MainFormCaption);
    setFont(QFont("MS Sans Serif", 8));
    setMinimumSize(MainFormSize);
    resize(MainFormSize);
    BuildControls();
    BuildPanel();
    BuildSlitBoxes();
    ConnectHandlers();
    ConnectChartEvents();
    m_pageControl->setCurrentIndex(0);

    // The designed position, pulled onto the screen when the screen is smaller than the design.
    const QRect screen = this->screen()->availableGeometry();
    move(std::clamp(MainFormPosition.x(), screen.left(),
                    std::max(screen.left(), screen.right() - MainFormSize.width())),
         std::clamp(MainFormPosition.y(), screen.top(),
                    std::max(screen.top(), screen.bottom() - MainFormSize.height())));
}

void TMainForm::BuildControls() {
    std::vector<QWidget*> tabChain;
    for (const ControlDefinition& definition : MainFormControls()) {
        QWidget* parent = definition.Parent ? findChild<QWidget*>(definition.Parent) : this;
        QWidget* control = CreateControl(definition, parent);
        control->setObjectName(definition.Name);
        control->setGeometry(definition.Geometry);
        if (!definition.Parent) {
            m_anchored.emplace_back(control, &definition);
        }
        if (definition.TabOrder >= 0) {
            tabChain.resize(std::max(tabChain.size(), std::size_t(definition.TabOrder) + 1));
            tabChain[std::size_t(definition.TabOrder)] = control;
        }
    }
    for (std::size_t i = 1; i < tabChain.size(); ++i) {
        setTabOrder(tabChain[i - 1], tabChain[i]);
    }
    auto* exit = findChild<QPushButton*>("Exit");
    QPalette palette = exit->palette();
    palette.setColor(QPalette::ButtonText, Qt::red);
    exit->setPalette(palette);

    m_gs = findChild<QLineEdit*>("GS");
    m_gi = findChild<QLineEdit*>("GI");
    m_manualGsGi = findChild<QCheckBox*>("ManualGSGI");
    m_useCentreMass = findChild<QCheckBox*>("UseCentreMass");
    m_sevenPointFit = findChild<QRadioButton*>("SevenPointFit");
}

void TMainForm::BuildPanel() {
    auto* panel = findChild<QFrame*>("Panel2");
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(1, 1, 1, 1);
    auto* splitter = new QSplitter(Qt::Vertical, panel);
    splitter->setObjectName("JvSplitter2");
    splitter->setHandleWidth(SplitterHeight);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter);

    m_pageControl = new QTabWidget(splitter);
    m_pageControl->setObjectName("PageControl1");
    QWidget* scans = ChartPage(m_scanForm.ScanGraph);
    scans->setObjectName("TabSheet1");
    m_pageControl->addTab(scans, "Scans");
    QWidget* ci = ChartPage(m_ciForm.CIGraph);
    ci->setObjectName("TabSheet2");
    m_pageControl->addTab(ci, "Simulated CI scan changes");
    splitter->addWidget(m_pageControl);
    splitter->addWidget(&m_slopeForm.SlopeGraph);
    // The tab control keeps its height when the window grows; the slope chart takes the rest.
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({TabControlHeight, panel->height() - TabControlHeight - SplitterHeight});

    m_loadNotes = new QLabel(panel);
    m_loadNotes->setObjectName("LoadNotes");
    m_loadNotes->setWordWrap(true);
    QPalette palette = m_loadNotes->palette();
    palette.setColor(QPalette::WindowText, Qt::darkRed);
    m_loadNotes->setPalette(palette);
    m_loadNotes->hide();
    layout->addWidget(m_loadNotes);
}

void TMainForm::BuildSlitBoxes() {
    auto* showSlits = findChild<QGroupBox*>("ShowSlits");
    for (int slit = 0; slit < SlitCount; ++slit) {
        auto* box = new QCheckBox(QString::fromStdString(FloatToPatternText("0", slit)), showSlits);
        box->setObjectName(QString("SlitBox%1").arg(slit));
        box->setGeometry(10 + 30 * slit, 15, 30, 17);
        m_slitBox[std::size_t(slit)] = box;
    }
    m_slitBox[1]->setChecked(true);
}

void TMainForm::ConnectHandlers() {
    // What the operator types is theirs, not the loaded file's.
    for (QLineEdit* box : {m_gs, m_gi}) {
        connect(box, &QLineEdit::textEdited, this, [this] { m_boxesHoldFileGsGi = false; });
    }
    connect(findChild<QPushButton*>("LoadGA"), &QPushButton::clicked, this,
            [this] { GuiApplication::RunHandler([this] { LoadGAClick(); }); });
    connect(findChild<QPushButton*>("LoadDCF"), &QPushButton::clicked, this,
            [this] { GuiApplication::RunHandler([this] { LoadDCFClick(); }); });
    connect(findChild<QPushButton*>("Exit"), &QPushButton::clicked, this,
            [this] { GuiApplication::RunHandler([this] { ExitClick(); }); });
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    for (const auto& [control, definition] : m_anchored) {
        control->setGeometry(
            AnchoredGeometry(definition->Geometry, definition->Anchoring, MainFormSize, size()));
    }
    QWidget::resizeEvent(event);
}

FitWindow TMainForm::CurrentFitWindow() const {
    return m_sevenPointFit->isChecked() ? FitWindow::SevenPoint : FitWindow::FivePoint;
}

void TMainForm::ReadControls() {
    m_state.Window = CurrentFitWindow();
    for (std::size_t slit = 0; slit < SlitCount; ++slit) {
        m_state.Controls.SlitChecked[slit] = m_slitBox[slit]->isChecked();
    }
    m_state.Controls.UseCentreMass = m_useCentreMass->isChecked();
    m_state.Controls.ManualGSGI = m_manualGsGi->isChecked();
    m_state.Controls.GsText = m_gs->text().toStdString();
    m_state.Controls.GiText = m_gi->text().toStdString();
}

void TMainForm::UpdateSlopeFit() {
    ReadControls();
    ShowSlopePoints(m_slopeForm, *m_state.Test, m_state.Controls.SlitChecked);
    const GsGiResult& fit = FitSlope(m_state);
    ShowSlopeLine(m_slopeForm, fit);
    WriteGsGi(fit.GS, fit.GI);
    if (fit.Source == GsGiSource::Fit) {
        m_boxesHoldFileGsGi = true;
    } else if (fit.Source == GsGiSource::Manual) {
        m_boxesHoldFileGsGi = false;
    }
    SimulateCiScan(true);
}

void TMainForm::WriteGsGi(double gs, double gi) {
    m_gs->setText(QString::fromStdString(GsBoxText(gs)));
    m_gi->setText(QString::fromStdString(GiBoxText(gi)));
}

void TMainForm::ShowScan(int scan, int slit) {
    ReadControls();
    GaTest& test = *m_state.Test;
    const auto [shownScan, shownSlit] = ResolveShownScan(test, scan, slit);
    gatool::ShowScan(m_scanForm, test.Scans[std::size_t(shownScan)], shownSlit, m_state.Window,
                     m_loadFileName, m_state.Controls);
}

void TMainForm::SimulateCiScan(bool automaticRange) {
    ReadControls();
    ClearCiCurves(m_ciForm);
    if (!DcfLoaded(*m_state.Test)) {
        return;  // no DCF file: the chart stays empty
    }
    TChart& chart = m_ciForm.CIGraph;
    if (automaticRange) {
        chart.LeftAxis().SetAutomatic(true);
    }
    LetPendingEventsRun();
    try {
        SimulateCi(m_state);
    } catch (...) {
        AddCiCurves(m_ciForm, m_state.Ci);  // the points made before the failure
        throw;
    }
    AddCiCurves(m_ciForm, m_state.Ci);
    LetPendingEventsRun();
    // The chart draws when its page is shown; otherwise it is drawn off the screen, so that an
    // automatic left axis finds the range of the points just added all the same.
    if (chart.NeedsDrawing()) {
        PaintChart(chart);
    }
    FixCiRange(m_ciForm);
    LetPendingEventsRun();
}

}  // namespace gatool
