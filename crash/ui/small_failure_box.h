// \brief The small boxes that look like an ordinary error message: the simple box with "&OK" and
// the detail box with "&OK" and "&Details".
#pragma once

#include <QDialog>
#include <optional>

#include "crash/ui/failure_box_content.h"

class QPushButton;

namespace kestrix {

class SmallFailureBox : public QDialog {
  public:
    explicit SmallFailureBox(const FailureBoxContent& content);

    // Once closed: the outcome, or none when "&Details" asks for the full box.
    std::optional<TExceptAction> Outcome() const { return m_outcome; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* DetailsButton() const { return m_details; }

    void reject() override;

  private:
    void Finish(std::optional<TExceptAction> outcome);

    FailureBoxContent m_content;
    QPushButton* m_ok = nullptr;
    QPushButton* m_details = nullptr;
    std::optional<TExceptAction> m_outcome;
};

}  // namespace kestrix
