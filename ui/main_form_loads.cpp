// \brief The main window's two load flows and its file and error dialogs; see main_form.h.
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <memory>

#include "base/exceptions.h"
#include "ui/load_notes.h"
#include "ui/main_form.h"
#include "ui/window_chart_fill.h"

namespace gatool {

namespace {

// The chosen file opened for reading, or nothing when it cannot be opened: that ends a load flow
// without a message. The stream closes the file on every path out of the flow.
std::optional<InputStream> OpenQuietly(const std::filesystem::path& path) {
    try {
        return InputStream::FromFile(path);
    } catch (const Exception&) {
        return std::nullopt;
    }
}

// A message box on the centre of its screen instead of over its parent, placed as it shows, when
// its size has settled.
class ScreenCentredMessageBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        Centre();
    }

  private:
    void Centre() {
        QRect frame = frameGeometry();
        frame.moveCenter(screen()->availableGeometry().center());
        move(frame.topLeft());  // a window's position is its frame's
    }
};

}  // namespace

QString DialogNameFilter(const std::string& preset) {
    QString pattern = QString::fromStdString(preset);
    // "*.*" matches every name, with an extension or without, as on the system the presets come
    // from; Qt's pattern would want a dot.
    if (pattern.endsWith("*.*")) {
        pattern.chop(2);
    }
    return QString::fromStdString(preset) + " (" + pattern + ")";
}

FileChooser DialogFileChooser(QWidget* parent) {
    // The folder of the file chosen last: the dialog comes back to it, also when the path was
    // typed into the dialog. The working folder before the first choice.
    auto folder = std::make_shared<QString>();
    return [parent, folder](const std::string& preset) -> std::optional<std::filesystem::path> {
        QFileDialog dialog(parent);
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (!folder->isEmpty()) {
            dialog.setDirectory(*folder);
        }
        // Name filters match in any letter case, as the name test does.
        dialog.setNameFilters({DialogNameFilter(preset), "All files (*)"});
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        const QString chosen = dialog.selectedFiles().front();
        *folder = QFileInfo(chosen).absolutePath();
        return std::filesystem::path(chosen.toStdString());
    };
}

void TMainForm::LoadGAClick() {
    // Every attempt, cancelled or not, first puts the tool into the no-file state.
    m_state.Test->LastScan = -1;
    m_state.Test->SelectedScan = 1;
    m_loadFileName = "GA*.*";
    ShowLoadNotes("");
    if (const std::optional<std::filesystem::path> path = m_chooseFile(m_loadFileName)) {
        OpenGaFile(*path);
    }
}

void TMainForm::LoadDCFClick() {
    m_loadFileName = "DCF*.*";
    if (const std::optional<std::filesystem::path> path = m_chooseFile(m_loadFileName)) {
        OpenDcfFile(*path);
    }
}

void TMainForm::ExitClick() {
    QApplication::quit();
}

void TMainForm::OpenGaFile(const std::filesystem::path& path) {
    m_loadFileName = path.string();
    ShowLoadNotes("");
    std::optional<InputStream> in = OpenQuietly(path);
    if (!in) {
        return;
    }
    if (!HasNamePrefix(path, "GA")) {
        in.reset();
        ShowError("The name of the file must start with GA!");
        return;
    }
    ForgetOtherFilesGsGi();
    ReadControls();
    m_state.SlopeFit.reset();
    GaLoadOutcome outcome;
    try {
        LoadGaFile(m_state, *in, *this, outcome);
    } catch (...) {
        // The handler ends here; the window must not keep showing the GS and GI of the file before.
        m_slopeForm.SlopeGraph.Title().SetText(
            NoFitTitle(m_gs->text().toStdString(), m_gi->text().toStdString()));
        ShowLoadNotes(GaLoadNotes(outcome, std::nullopt));
        throw;
    }
    // A file with a header and no scan block leaves the tool in the no-file state, the slope and CI
    // charts empty, and says so in the scan chart.
    if (!FileLoaded()) {
        ShowNoScan(m_scanForm, m_loadFileName);
    }
    ShowLoadNotes(GaLoadNotes(outcome, m_state.SlopeFit->Source));
}

void TMainForm::ForgetOtherFilesGsGi() {
    // Boxes that hold the GS and GI derived for another file go back to their start values, so
    // that a load without a fit neither shows nor copies them as this file's. Typed values and
    // manual mode keep the boxes.
    if (m_boxesHoldFileGsGi && !m_manualGsGi->isChecked()) {
        WriteGsGi(1, 0);
    }
    m_boxesHoldFileGsGi = false;
}

void TMainForm::ShowLoadNotes(const std::string& notes) {
    m_loadNotes->setText(QString::fromStdString(notes));
    m_loadNotes->setVisible(!notes.empty());
}

void TMainForm::OpenDcfFile(const std::filesystem::path& path) {
    m_loadFileName = path.string();
    std::optional<InputStream> in = OpenQuietly(path);
    if (!in) {
        return;
    }
    if (!HasNamePrefix(path, "DCF")) {
        in.reset();
        ShowError("The name of the file must start with DCF!");
        return;
    }
    ReadControls();
    LoadDcfFile(m_state, *in, *this);
}

void TMainForm::ShowError(const char* text) {
    ScreenCentredMessageBox box(QMessageBox::Critical, "Error", text, QMessageBox::Ok, this);
    box.exec();
}

}  // namespace gatool
