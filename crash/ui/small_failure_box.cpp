// \brief The small boxes' widgets.
#include "crash/ui/small_failure_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace kestrix {
namespace {

QPushButton* SmallButton(const std::string& caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromStdString(caption), parent);
    button->setMinimumSize(79, 23);
    button->setAutoDefault(true);
    return button;
}

}  // namespace

SmallFailureBox::SmallFailureBox(const FailureBoxContent& content) : m_content(content) {
    setWindowTitle(QString::fromStdString(m_content.SmallTitle));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setWindowModality(Qt::NonModal);

    auto* picture = new QLabel;
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(size, size));
    picture->setAlignment(Qt::AlignTop);
    auto* message = new QLabel(QString::fromStdString(m_content.SmallText));
    message->setObjectName("message");
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    // As wide as the message's longest line, within limits, so that a short message keeps to one.
    int widest = 0;
    for (const QString& line : message->text().split('\n')) {
        widest = std::max(widest, message->fontMetrics().horizontalAdvance(line));
    }
    message->setMinimumWidth(std::clamp(widest + 2, 200, 600));
    message->setMaximumWidth(600);
    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(picture);
    top->addWidget(message, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = SmallButton(m_content.OkText, this);
    buttons->addWidget(m_ok);
    connect(m_ok, &QPushButton::clicked, this, [this] { Finish(eaContinueApplication); });
    if (m_content.Mode == ssDetailBox) {
        m_details = SmallButton(m_content.DetailsText, this);
        buttons->addWidget(m_details);
        connect(m_details, &QPushButton::clicked, this, [this] { Finish(std::nullopt); });
    }
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 11);
    layout->setSpacing(14);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_ok->setDefault(true);
    m_ok->setFocus();
}

void SmallFailureBox::Finish(std::optional<TExceptAction> outcome) {
    m_outcome = outcome;
    done(QDialog::Accepted);
}

// Its "&OK" stands for the continue button.
void SmallFailureBox::reject() {
    VisibleButtons visible{};
    visible[bContinueApplication] = true;
    Finish(CloseRequestAction(m_content.FocusedButton, visible, m_content.CanContinue, true));
}

}  // namespace kestrix
