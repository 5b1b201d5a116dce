// \brief Building the main window and its refresh routines; see main_form.h.
#include "ui/main_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
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
            button->setChecked(definition.Checked);
            return button;
        }
        case ControlKind::GroupBox:
            return new QGroupBox(caption, parent);
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
    gatool::UpdateSlopeFit(m_state);
    DrawSlopeFit();
    DrawCi(true);
}

void TMainForm::ShowScan(int scan, int slit) {
    ReadControls();
    DrawScan(scan, slit);
}

void TMainForm::SimulateCiScan(bool automaticRange) {
    ReadControls();
    try {
        SimulateCi(m_state);
    } catch (...) {
        DrawCi(automaticRange);  // the points made before the failure
        throw;
    }
    DrawCi(automaticRange);
}

void TMainForm::DrawScan(int scan, int slit) {
    GaTest& test = *m_state.Test;
    test.ShownScan = scan < 0 ? test.ShownScan : scan;
    test.ShownSlit = slit < 0 ? test.ShownSlit : slit;
    gatool::ShowScan(m_scanForm, test.Scans[std::size_t(test.ShownScan)], test.ShownSlit,
                     m_state.Window, m_loadFileName, m_state.Controls);
}

void TMainForm::DrawSlopeFit() {
    if (!m_state.SlopeFit) {
        return;
    }
    ShowSlopeFit(m_slopeForm, *m_state.Test, m_state.Controls, *m_state.SlopeFit);
    m_gs->setText(QString::fromStdString(m_state.SlopeFit->GsText));
    m_gi->setText(QString::fromStdString(m_state.SlopeFit->GiText));
}

void TMainForm::DrawCi(bool automaticRange) {
    // Without a DCF file the chart is only emptied.
    const bool dcfLoaded = m_state.Test->DispersionTable[0][0] != 0;
    ShowCiCurves(m_ciForm, m_state.Ci, automaticRange && dcfLoaded);
    if (!dcfLoaded) {
        return;
    }
    QCoreApplication::processEvents();
    // Drawn off the screen as well, so that the automatic range follows the points just added
    // while the chart's page is hidden.
    PaintChart(m_ciForm.CIGraph);
    FixCiRange(m_ciForm);
    QCoreApplication::processEvents();
}

}  // namespace gatool
