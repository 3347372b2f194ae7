// The floor for any Qt launcher of MarunIzbor's window: the same window, with its label, button and tree
// in their places and fonts, the tree holding 101 leaves filled from memory. No files are read and no
// pictures drawn.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

static QFont font(const QStringList& families, int pixels, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.setFixedSize(381, 532);

    auto* label = new QLabel(
        QStringLiteral("IP address:     192.0.2.2\r\nComputer:      PC-07\r\nUsername:      FIRMA \\ ANA"), &window);
    label->setGeometry(8, 8, 193, 57);
    label->setWordWrap(true);
    label->setFont(font({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}, 9, true));
    auto* button = new QPushButton(QStringLiteral("PODRŠKA"), &window);
    button->setGeometry(40, 112, 121, 29);
    button->setFont(font({QStringLiteral("Calibri"), QStringLiteral("Carlito")}, 15, true));
    auto* tree = new QTreeWidget(&window);
    tree->setGeometry(0, 160, 381, 376);
    tree->setHeaderHidden(true);
    tree->setFont(font({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}, 15, false));
    QTreeWidgetItem* group = nullptr;
    for (int i = 0; i < 101; ++i) {
        if (i % 4 == 0) {
            group = new QTreeWidgetItem(tree, {QStringLiteral("Klijent %1").arg(i / 4)});
        }
        new QTreeWidgetItem(group, {QStringLiteral("Klijent %1 %2").arg(i / 4).arg(i % 4)});
    }
    tree->setFocus();
    window.show();
    return QApplication::exec();
}
