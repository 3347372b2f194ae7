#pragma once

#include <QString>

class QWidget;

namespace platform {

// Modal messages with the critical-stop icon and an OK button. Behind an interface so that tests can
// record what would have been shown instead of blocking on it.
class MessageBox
{
public:
    virtual ~MessageBox() = default;

    // Shows text under title and waits for OK. detail, when not empty, is shown on a line of its own below
    // the text: the file or key the message concerns.
    virtual void critical(QWidget* parent, const QString& title, const QString& text, const QString& detail = {}) = 0;
};

// The real message box, a QMessageBox.
class QtMessageBox : public MessageBox
{
public:
    void critical(QWidget* parent, const QString& title, const QString& text, const QString& detail = {}) override;
};

} // namespace platform
