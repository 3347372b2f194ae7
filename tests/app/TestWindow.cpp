#include "app/IzborAplikacije.h"
#include "app/Module1.h"
#include "platform/ImageList.h"
#include "platform/TreeView.h"

#include "../TestSupport.h"

#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The window as designed, shown on a directory of installations.
class TestWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void layout();
    void texts();
    void fonts();
    void colours();
    void pictures();
    void focusAndTabOrder();
    void enterInTheTreeNeverClicksTheButton();
    void leafToolTipShowsItsLaunchPath();

private:
    QString m_originalDirectory;
    QTemporaryDir m_dir;
    testsupport::RecordingMessageBox m_messages;
    std::unique_ptr<IzborAplikacije> m_form;
};

void TestWindow::initTestCase()
{
    m_originalDirectory = QDir::currentPath();
    testsupport::makeInstallation(m_dir.path(), u"xa_firma"_s, u"Firma"_s);
    testsupport::makeInstallation(m_dir.path(), u"xa_firma09"_s, u"Firma 2009"_s);
    QVERIFY(QDir::setCurrent(m_dir.path()));
    m_form = Module1::Main(m_messages);
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestWindow::cleanupTestCase()
{
    m_form.reset();
    QDir::setCurrent(m_originalDirectory);
}

void TestWindow::layout()
{
    QCOMPARE(m_form->size(), QSize(381, 532));
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
    QCOMPARE(m_form->supportButton()->geometry(), QRect(40, 112, 121, 29));
    QCOMPARE(m_form->compData()->geometry(), QRect(8, 8, 193, 57));
    // The tree covers the banner's last two rows and reaches below the client area.
    QCOMPARE(m_form->treeView()->geometry(), QRect(0, 160, 381, 376));
    QVERIFY(m_form->compData()->wordWrap());
    QVERIFY(!m_form->compData()->autoFillBackground());
    QCOMPARE(m_form->supportButton()->iconSize(), QSize(22, 22));
    QCOMPARE(m_form->treeView()->iconSize(), QSize(16, 16));
    QVERIFY(m_form->treeView()->isHeaderHidden());
    // The controls by the names the suite's documents and its automation know them by.
    QCOMPARE(m_form->objectName(), u"IzborAplikacije"_s);
    QCOMPARE(m_form->findChild<QWidget*>(u"cbOdrzavanje"_s), m_form->supportButton());
    QCOMPARE(m_form->findChild<QWidget*>(u"TreeView1"_s), m_form->treeView());
    QCOMPARE(m_form->findChild<QWidget*>(u"CompData"_s), m_form->compData());
    // First placed in the middle of the screen.
    const QPoint offCentre = m_form->frameGeometry().center() - m_form->screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 4, qPrintable(u"%1, %2"_s.arg(offCentre.x()).arg(offCentre.y())));
    // The identity text as it stands, from the top left; a name that looks like markup is no markup.
    QCOMPARE(m_form->compData()->alignment(), Qt::AlignLeft | Qt::AlignTop);
    QCOMPARE(m_form->compData()->textFormat(), Qt::PlainText);
}

void TestWindow::texts()
{
    QCOMPARE(m_form->windowTitle(), u"Izbor aplikacije"_s);
    QCOMPARE(m_form->supportButton()->text(), u"PODRŠKA"_s);
    QCOMPARE(m_form->supportButton()->toolTip(),
             u"Klikom na dugme pozivate program preko kojeg se Vrexan spaja na vaše računalo"_s);
    QVERIFY(m_messages.messages.isEmpty());
}

void TestWindow::fonts()
{
    const QFont button = m_form->supportButton()->font();
    QCOMPARE(button.pixelSize(), 15);
    QVERIFY(button.bold());
    QCOMPARE(button.families().first(), u"Calibri"_s);
    const QFont label = m_form->compData()->font();
    QCOMPARE(label.pixelSize(), 9);
    QVERIFY(label.bold());
    QCOMPARE(label.families().first(), u"Arial"_s);
    // Where neither the named fonts nor their stand-ins are installed, a sans-serif one.
    for (const QFont& font : {button, label, m_form->treeView()->font()})
        QCOMPARE(font.styleHint(), QFont::SansSerif);
    const QFont tree = m_form->treeView()->font();
    QCOMPARE(tree.pixelSize(), 15);
    QVERIFY(!tree.bold());
    QCOMPARE(tree.families().first(), u"Arial"_s);
}

// The button's face in the colour of window backgrounds, the label's text in the grey of disabled text,
// never fainter than the classic grey on the white banner.
void TestWindow::colours()
{
    const QPalette system = QApplication::palette();
    QCOMPARE(m_form->supportButton()->palette().color(QPalette::Button), system.color(QPalette::Base));
    const QColor grey = m_form->compData()->palette().color(QPalette::Active, QPalette::WindowText);
    const QColor disabled = system.color(QPalette::Disabled, QPalette::WindowText);
    QCOMPARE(grey, disabled.lightness() > QColor(0x6d, 0x6d, 0x6d).lightness() ? QColor(0x6d, 0x6d, 0x6d) : disabled);
    QCOMPARE(m_form->compData()->palette().color(QPalette::Inactive, QPalette::WindowText), grey);
}

void TestWindow::pictures()
{
    // The tree's pictures: a closed and an open folder for a group, a leaf for an installation.
    QTreeWidgetItem* group = m_form->treeView()->topLevelItem(0);
    const bool wasExpanded = group->isExpanded();
    group->setExpanded(false);
    const QIcon closed = group->icon(0);
    group->setExpanded(true);
    const QIcon open = group->icon(0);
    group->setExpanded(wasExpanded);
    QVERIFY(!closed.isNull() && !open.isNull() && !group->child(0)->icon(0).isNull());
    QVERIFY(closed.cacheKey() != open.cacheKey());
    // The window icon at the sizes a window manager asks for, rendered beforehand (where the pictures are
    // not all rendered when the program is built, at each scale factor).
    if (QImageReader::supportedImageFormats().contains("svg"))
        QCOMPARE(m_form->windowIcon().availableSizes(), (QList<QSize> {{16, 16}, {32, 32}, {48, 48}, {64, 64}}));
    QVERIFY(!m_form->supportButton()->icon().isNull());

    // The banner is the background, drawn unscaled from the top-left corner: white at the corner, grey
    // letters of the word mark on the left, the tree from row 160 down; right of the label and the button
    // the window is the banner, pixel for pixel, its last 18 columns cut off.
    const QImage window = m_form->grab().toImage();
    const QImage banner = platform::svgIcon(u":/pictures/banner.svg"_s).pixmap(QSize(399, 162)).toImage();
    QCOMPARE(window.copy(210, 0, 171, 160).convertToFormat(QImage::Format_RGB32),
             banner.copy(210, 0, 171, 160).convertToFormat(QImage::Format_RGB32));
    QCOMPARE(window.pixelColor(2, 2), QColor(Qt::white));
    QCOMPARE(window.pixelColor(378, 150), QColor(Qt::white));
    const QColor mark = window.pixelColor(17, 90);
    QVERIFY2(mark.red() == mark.green() && mark.red() < 200, qPrintable(mark.name()));
}

void TestWindow::focusAndTabOrder()
{
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QCOMPARE(QApplication::focusWidget(), m_form->treeView());
    QCOMPARE(m_form->compData()->focusPolicy(), Qt::NoFocus);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_form->supportButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_form->treeView());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), m_form->supportButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), m_form->treeView());
}

void TestWindow::enterInTheTreeNeverClicksTheButton()
{
    QVERIFY(!m_form->supportButton()->isDefault());
    QVERIFY(!m_form->supportButton()->autoDefault());
    QSignalSpy clicks(m_form->supportButton(), &QPushButton::clicked);
    m_form->treeView()->select(m_form->treeView()->node(u"Firma_N"_s));
    QTest::keyClick(m_form->treeView(), Qt::Key_Return);
    QTest::keyClick(m_form->treeView(), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(m_form->treeView(), Qt::Key_Escape);
    QCOMPARE(clicks.count(), 0);
    QVERIFY(m_form->isVisible());
}

void TestWindow::leafToolTipShowsItsLaunchPath()
{
    platform::TreeView* tree = m_form->treeView();
    QCOMPARE(tree->node(u"Firma 2009"_s)->toolTip(0),
             QDir::toNativeSeparators(m_dir.path() + u"/xa_firma09/StarterCS.exe"_s));
    QCOMPARE(tree->node(u"Firma_N"_s)->toolTip(0), QString());
}

QTEST_MAIN(TestWindow)
#include "TestWindow.moc"
