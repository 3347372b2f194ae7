#include "MessageBox.h"

#include "AlertSound.h"

#include <QMessageBox>

namespace platform {

void QtMessageBox::critical(QWidget* parent, const QString& title, const QString& text, const QString& detail)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    box.setInformativeText(detail);
    playCriticalStop();
    box.exec();
}

} // namespace platform
