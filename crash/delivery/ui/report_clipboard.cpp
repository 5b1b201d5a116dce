// \brief The clipboard and the dialog.
#include "crash/delivery/ui/report_clipboard.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>

namespace kestrix {

void FillClipboard(const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
}

std::optional<std::filesystem::path> ChooseReportFile(QWidget* parent,
                                                      const std::filesystem::path& folder,
                                                      const std::string& name,
                                                      const std::string& title) {
    QFileDialog dialog(parent, QString::fromStdString(title),
                       QString::fromStdString(folder.string()), QStringLiteral("*.txt"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(QString::fromStdString(name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

}  // namespace kestrix
