// \brief The full failure box's widgets and behaviour.
#include "crash/ui/full_failure_box.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "crash/settings/exported_switches.h"
#include "crash/ui/details_view.h"
#include "crash/ui/failure_box_pictures.h"
#include "crash/ui/picture_button.h"

namespace kestrix {
namespace {

constexpr int TextAreaWidth = 664;
constexpr int DetailsHeight = 474;
constexpr int AutomaticTick = 10;  // milliseconds
constexpr int ReportRefresh = 250;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QWidget* Stacked(const std::vector<TKXButton>& buttons,
                 const std::array<PictureButton*, ButtonCount>& all,
                 QBoxLayout::Direction direction) {
    auto* strip = new QWidget;
    auto* layout = new QBoxLayout(direction, strip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    for (const TKXButton button : buttons) {
        layout->addWidget(all[button]);
    }
    layout->addStretch();
    return strip;
}

}  // namespace

FullFailureBox::FullFailureBox(const FailureBoxContent& content, FailureBoxServices services)
    : m_content(content), m_services(std::move(services)) {
    setWindowTitle(Text(m_content.Title));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setWindowModality(Qt::NonModal);
    setAttribute(Qt::WA_DeleteOnClose, false);

    const bool continueDisabled = ContinueDisabled(m_content.Visible, m_content.CanContinue);
    for (std::size_t index = 0; index < ButtonCount; ++index) {
        const auto button = static_cast<TKXButton>(index);
        m_buttons[index] = new PictureButton(Text(m_content.Captions[index]),
                                             ButtonPicture(button, m_content.CanContinue),
                                             m_content.PictureButtons, this);
        m_buttons[index]->setVisible(m_content.Visible[index]);
        connect(m_buttons[index], &QPushButton::clicked, this, [this, button] { Press(button); });
    }
    m_buttons[bContinueApplication]->setEnabled(!continueDisabled);

    auto* messageArea = new QWidget;
    auto* messageLayout = new QHBoxLayout(messageArea);
    messageLayout->setContentsMargins(0, 0, 0, 0);
    messageLayout->setSpacing(12);
    auto* picture = new QLabel;
    picture->setPixmap(LargePicture().pixmap(32, 32));
    picture->setAlignment(Qt::AlignTop);
    messageLayout->addWidget(picture);
    auto* message = new QLabel(Text(m_content.Text));
    message->setObjectName("message");
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    messageLayout->addWidget(message, 1);

    const ButtonArrangement arrangement = ArrangeButtons(m_content.Visible);
    QWidget* row = Stacked(arrangement.Row, m_buttons, QBoxLayout::LeftToRight);
    m_layout = new QGridLayout(this);
    m_layout->setContentsMargins(11, 11, 11, 11);
    m_layout->setHorizontalSpacing(12);
    m_layout->setVerticalSpacing(10);
    m_layout->addWidget(messageArea, 0, 0);
    m_layout->addWidget(row, 1, 0, Qt::AlignBottom);
    if (!arrangement.Column.empty()) {
        m_layout->addWidget(Stacked(arrangement.Column, m_buttons, QBoxLayout::TopToBottom), 0, 1,
                            2, 1);
    }
    m_layout->setRowStretch(0, 1);

    // The text area is 664 pixels wide unless the buttons need more, and never wider than the
    // screen minus five caption heights.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int captionHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int widest =
        screen != nullptr ? screen->availableGeometry().width() - 5 * captionHeight : TextAreaWidth;
    const int textWidth = std::min(std::max(TextAreaWidth, row->sizeHint().width()), widest);
    messageArea->setMinimumWidth(textWidth);
    message->setMinimumWidth(textWidth - 32 - messageLayout->spacing());

    connect(&m_automaticTimer, &QTimer::timeout, this, [this] { AdvanceAutomatic(); });
    connect(&m_reportTimer, &QTimer::timeout, this, [this] { RefreshDetails(); });
    FitSize();
    if (m_content.DetailsOpen) {
        OpenDetails();
    }
    const auto focused = static_cast<std::size_t>(m_content.FocusedButton);
    if (focused < ButtonCount && m_content.Visible[focused] && m_buttons[focused]->isEnabled()) {
        m_buttons[focused]->setDefault(true);
    }
    if (m_content.Automatic && m_content.DelaySeconds > 0) {
        m_automaticClock.start();
        m_automaticTimer.start(AutomaticTick);
    }
}

FullFailureBox::~FullFailureBox() = default;

void FullFailureBox::FitSize() {
    layout()->activate();
    const QSize hint = sizeHint();
    m_plainHeight = hint.height();
    setFixedSize(hint);
}

void FullFailureBox::OpenDetails() {
    if (m_details != nullptr) {
        return;
    }
    m_details = new DetailsView(this);
    m_layout->addWidget(m_details, 2, 0, 1, m_layout->columnCount());
    m_layout->setRowStretch(0, 0);
    m_layout->setRowStretch(2, 1);
    RefreshDetails();
    m_reportTimer.start(ReportRefresh);
    // Resizable now, and taller by the details view.
    const int width = this->width();
    setMinimumSize(width, m_plainHeight + DetailsHeight / 2);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(width, m_plainHeight + DetailsHeight);
    if (isVisible()) {
        move(screen()->availableGeometry().center() - rect().center());
    }
}

void FullFailureBox::RefreshDetails() {
    if (m_details != nullptr && m_services.ReportText) {
        m_details->ShowReport(m_services.ReportText());
    }
}

void FullFailureBox::AdvanceAutomatic() {
    const double fraction =
        static_cast<double>(m_automaticClock.elapsed()) / (1000.0 * m_content.DelaySeconds);
    PictureButton* button = m_buttons[*m_content.Automatic];
    button->SetFill(fraction);
    if (fraction >= 1) {
        button->click();
    }
}

void FullFailureBox::Press(TKXButton button) {
    m_automaticTimer.stop();
    if (m_content.Automatic) {
        m_buttons[*m_content.Automatic]->SetFill(0);
    }
    const TExceptAction action = ActionOf(button);
    if (button <= bShowBugReport && m_services.ActionHandled &&
        m_services.ActionHandled(action, this)) {
        return;
    }
    switch (button) {
        case bShowBugReport:
            OpenDetails();
            return;
        case bSendBugReport:
        case bSaveBugReport:
        case bPrintBugReport:
            if (m_services.RunReportAction && m_services.RunReportAction(action, this) &&
                button == bSaveBugReport) {
                m_buttons[button]->hide();
            }
            return;
        default:
            Finish(action);
    }
}

void FullFailureBox::Finish(TExceptAction outcome) {
    m_automaticTimer.stop();
    m_reportTimer.stop();
    m_outcome = outcome;
    done(QDialog::Accepted);
}

void FullFailureBox::reject() {
    Finish(CloseRequestAction(m_content.FocusedButton, m_content.Visible, m_content.CanContinue,
                              false));
}

void FullFailureBox::keyPressEvent(QKeyEvent* event) {
    const auto together = Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
    const int key = ShowBugReportKey.load();
    if (key != 0 && (event->modifiers() & together) == together && event->key() == key) {
        OpenDetails();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FullFailureBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const auto focused = static_cast<std::size_t>(m_content.FocusedButton);
    if (focused < ButtonCount && m_buttons[focused]->isVisible() &&
        m_buttons[focused]->isEnabled()) {
        m_buttons[focused]->setFocus();
    }
    if (const QScreen* shown = screen()) {
        move(shown->availableGeometry().center() - rect().center());
    }
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
}

// The box stays in sight until it is answered: a minimised box is restored.
void FullFailureBox::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        QTimer::singleShot(0, this,
                           [this] { setWindowState(windowState() & ~Qt::WindowMinimized); });
    }
}

}  // namespace kestrix
