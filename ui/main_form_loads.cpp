// \brief The main window's two load flows and its file and error dialogs; see main_form.h.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "base/exceptions.h"
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

}  // namespace

FileChooser DialogFileChooser(QWidget* parent) {
    return [parent](const std::string& preset) -> std::optional<std::filesystem::path> {
        QFileDialog dialog(parent);
        dialog.setFileMode(QFileDialog::ExistingFile);
        // Name filters match in any letter case, as the name test does.
        dialog.setNameFilters({QString::fromStdString(preset), "All files (*)"});
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return std::filesystem::path(dialog.selectedFiles().front().toStdString());
    };
}

void TMainForm::LoadGAClick() {
    // Every attempt, cancelled or not, first puts the tool into the no-file state.
    m_state.Test->LastScan = -1;
    m_state.Test->SelectedScan = 1;
    m_loadFileName = "GA*.*";
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
    std::optional<InputStream> in = OpenQuietly(path);
    if (!in) {
        return;
    }
    if (!HasNamePrefix(path, "GA")) {
        in.reset();
        ShowError("The name of the file must start with GA!");
        return;
    }
    ReadControls();
    GaLoadOutcome outcome;
    LoadGaFile(m_state, *in, *this, outcome);
    // A file with a header and no scan block leaves the tool in the no-file state, the slope and CI
    // charts empty, and says so in the scan chart.
    if (!FileLoaded()) {
        ShowNoScan(m_scanForm, m_loadFileName);
    }
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
    QMessageBox::critical(this, "Error", text);
}

}  // namespace gatool
