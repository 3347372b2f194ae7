#include "platform/ImageList.h"
#include "platform/RuntimeError.h"
#include "platform/TreeView.h"

#include "../TestSupport.h"

#include <QImageReader>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using platform::TreeView;
using testsupport::errorNumber;

class TestTreeView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void nodesStandInOrderOfAdding();
    void refusedNodes_data();
    void refusedNodes();
    void keysAreCaseSensitive();
    void lookup();
    void expandedImage();
    void selection();
    void events_data();
    void events();
    void svgPictureIsDrawnAtAnyScale();

private:
    static QIcon solid(Qt::GlobalColor colour);

    platform::ImageList m_images;
    std::unique_ptr<TreeView> m_tree;
};

QIcon TestTreeView::solid(Qt::GlobalColor colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

void TestTreeView::init()
{
    m_images = {};
    m_images.add(u"Closed"_s, solid(Qt::darkGreen));
    m_images.add(u"Open"_s, solid(Qt::green));
    m_images.add(u"Leaf"_s, solid(Qt::blue));
    m_tree = std::make_unique<TreeView>();
    m_tree->setImageList(&m_images);
}

void TestTreeView::nodesStandInOrderOfAdding()
{
    m_tree->add(u"B_N"_s, u"B"_s, u"Closed"_s);
    m_tree->add(u"A_N"_s, u"A"_s, u"Closed"_s);
    m_tree->add(u"A_N"_s, TreeView::Child, u"A"_s, u"A"_s, u"Leaf"_s);
    m_tree->add(u"B_N"_s, TreeView::Child, u"B"_s, u"B"_s, u"Leaf"_s);
    m_tree->add(u"A_N"_s, TreeView::Child, u"A 2"_s, u"2"_s, u"Leaf"_s);

    QCOMPARE(m_tree->topLevelItemCount(), 2);
    QTreeWidgetItem* b = m_tree->topLevelItem(0);
    QTreeWidgetItem* a = m_tree->topLevelItem(1);
    QCOMPARE(b->text(0), u"B"_s);
    QCOMPARE(TreeView::key(a), u"A_N"_s);
    QCOMPARE(a->childCount(), 2);
    QCOMPARE(a->child(0)->text(0), u"A"_s);
    QCOMPARE(TreeView::key(a->child(1)), u"A 2"_s);
    QCOMPARE(a->child(1)->text(0), u"2"_s);
    QCOMPARE(a->child(1)->parent(), a);
    QCOMPARE(a->parent(), nullptr);
    QCOMPARE(a->child(1)->icon(0).cacheKey(), m_images.picture(u"Leaf"_s).cacheKey());
    QCOMPARE(a->icon(0).cacheKey(), m_images.picture(u"Closed"_s).cacheKey());
}

void TestTreeView::refusedNodes_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("image");
    QTest::addColumn<int>("number");

    QTest::newRow("duplicate root key") << QString() << u"G_N"_s << u"Closed"_s << 35602;
    QTest::newRow("duplicate leaf key") << u"G_N"_s << u"G"_s << u"Leaf"_s << 35602;
    QTest::newRow("leaf key equal to a group key") << u"G_N"_s << u"G_N"_s << u"Leaf"_s << 35602;
    QTest::newRow("relative that names no node") << u"H_N"_s << u"H"_s << u"Leaf"_s << 35601;
    QTest::newRow("relative in other letter case") << u"g_N"_s << u"H"_s << u"Leaf"_s << 35601;
    QTest::newRow("picture that is not in the list") << u"G_N"_s << u"H"_s << u"Leaf1"_s << 35601;
}

void TestTreeView::refusedNodes()
{
    QFETCH(QString, relative);
    QFETCH(QString, key);
    QFETCH(QString, image);
    QFETCH(int, number);

    m_tree->add(u"G_N"_s, u"G"_s, u"Closed"_s);
    m_tree->add(u"G_N"_s, TreeView::Child, u"G"_s, u"G"_s, u"Leaf"_s);

    const int error = errorNumber([&] {
        if (relative.isEmpty())
            m_tree->add(key, u"text"_s, image);
        else
            m_tree->add(relative, TreeView::Child, key, u"text"_s, image);
    });
    QCOMPARE(error, number);
    QCOMPARE(m_tree->topLevelItemCount(), 1);
    QCOMPARE(m_tree->topLevelItem(0)->childCount(), 1);
    QCOMPARE(TreeView::key(m_tree->node(u"G"_s)), u"G"_s);
}

void TestTreeView::keysAreCaseSensitive()
{
    m_tree->add(u"Firma_N"_s, u"Firma"_s, u"Closed"_s);
    m_tree->add(u"firma_N"_s, u"firma"_s, u"Closed"_s);
    QCOMPARE(m_tree->topLevelItemCount(), 2);
    QCOMPARE(m_tree->node(u"firma_N"_s)->text(0), u"firma"_s);
}

void TestTreeView::lookup()
{
    QTreeWidgetItem* group = m_tree->add(u"Firma_N"_s, u"Firma"_s, u"Closed"_s);
    QTreeWidgetItem* leaf = m_tree->add(u"Firma_N"_s, TreeView::Child, u"Firma 2009"_s, u"2009"_s, u"Leaf"_s);
    QCOMPARE(m_tree->node(u"Firma_N"_s), group);
    QCOMPARE(m_tree->node(u"Firma 2009"_s), leaf);
    QCOMPARE(errorNumber([&] { m_tree->node(u"2009"_s); }), 35601);
    QCOMPARE(errorNumber([&] { m_tree->node(u"firma 2009"_s); }), 35601);
    QCOMPARE(TreeView::key(nullptr), QString());
}

void TestTreeView::expandedImage()
{
    QTreeWidgetItem* group = m_tree->add(u"G_N"_s, u"G"_s, u"Closed"_s);
    m_tree->setExpandedImage(group, u"Open"_s);
    m_tree->add(u"G_N"_s, TreeView::Child, u"G"_s, u"G"_s, u"Leaf"_s);
    const qint64 closed = m_images.picture(u"Closed"_s).cacheKey();
    const qint64 open = m_images.picture(u"Open"_s).cacheKey();

    QCOMPARE(group->icon(0).cacheKey(), closed);
    group->setExpanded(true);
    QCOMPARE(group->icon(0).cacheKey(), open);
    group->setExpanded(false);
    QCOMPARE(group->icon(0).cacheKey(), closed);

    // The user opens it from the keyboard, too.
    m_tree->show();
    m_tree->setCurrentItem(group);
    QTest::keyClick(m_tree.get(), Qt::Key_Right);
    QVERIFY(group->isExpanded());
    QCOMPARE(group->icon(0).cacheKey(), open);

    QCOMPARE(errorNumber([&] { m_tree->setExpandedImage(group, u"Open1"_s); }), 35601);
    QCOMPARE(group->icon(0).cacheKey(), open);

    // A tree without pictures opens its groups as well.
    TreeView plain;
    QTreeWidgetItem* bare = plain.add(u"G_N"_s, u"G"_s, QString());
    plain.add(u"G_N"_s, TreeView::Child, u"G"_s, u"G"_s, QString());
    bare->setExpanded(true);
    QVERIFY(bare->isExpanded());
    QVERIFY(bare->icon(0).isNull());
}

void TestTreeView::selection()
{
    QCOMPARE(m_tree->selectedItem(), nullptr);
    m_tree->add(u"A_N"_s, u"A"_s, u"Closed"_s);
    QTreeWidgetItem* a = m_tree->add(u"A_N"_s, TreeView::Child, u"A"_s, u"A"_s, u"Leaf"_s);
    QTreeWidgetItem* b = m_tree->add(u"A_N"_s, TreeView::Child, u"A b"_s, u"b"_s, u"Leaf"_s);
    QCOMPARE(m_tree->selectedItem(), nullptr);

    m_tree->select(a);
    QCOMPARE(m_tree->selectedItem(), a);
    m_tree->select(b);
    QCOMPARE(m_tree->selectedItem(), b);
    QCOMPARE(m_tree->selectedItems().size(), 1);
    QCOMPARE(m_tree->currentItem(), b);

    // Closing the group that holds the selection selects the group; closing another leaves it.
    QTreeWidgetItem* other = m_tree->add(u"C_N"_s, u"C"_s, u"Closed"_s);
    m_tree->add(u"C_N"_s, TreeView::Child, u"C"_s, u"C"_s, u"Leaf"_s);
    other->setExpanded(true);
    other->setExpanded(false);
    QCOMPARE(m_tree->selectedItem(), b);
    b->parent()->setExpanded(true);
    b->parent()->setExpanded(false);
    QCOMPARE(m_tree->selectedItem(), b->parent());
}

void TestTreeView::events_data()
{
    QTest::addColumn<int>("key"); // or 0 for a double click
    QTest::addColumn<int>("modifiers"); // or, for a double click, the mouse button
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("events"); // the character codes of the key presses told; -1 a double click

    const int none = Qt::NoModifier;
    QTest::newRow("Enter") << int(Qt::Key_Return) << none << u"\r"_s << QList<int> {13};
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << u"\r"_s << QList<int> {13};
    QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << u"\r"_s << QList<int> {13};
    QTest::newRow("Ctrl+Enter: line feed")
        << int(Qt::Key_Return) << int(Qt::ControlModifier) << u"\r"_s << QList<int> {10};
    QTest::newRow("Alt+Enter: the window's") << int(Qt::Key_Return) << int(Qt::AltModifier) << u"\r"_s << QList<int>();
    QTest::newRow("a letter") << int(Qt::Key_A) << none << u"a"_s << QList<int> {97};
    QTest::newRow("Escape") << int(Qt::Key_Escape) << none << u"\x1b"_s << QList<int> {27};
    QTest::newRow("a key without a character") << int(Qt::Key_F2) << none << QString() << QList<int>();
    QTest::newRow("two characters") << int(Qt::Key_unknown) << none << u"ab"_s << QList<int>();
    QTest::newRow("double click") << 0 << int(Qt::LeftButton) << QString() << QList<int> {-1};
    QTest::newRow("right double click") << 0 << int(Qt::RightButton) << QString() << QList<int>();
}

// The events the window handles, as the classic control tells them: a key press with its character code,
// a double click of the left button.
void TestTreeView::events()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QList<int>, events);

    m_tree->add(u"A_N"_s, u"A"_s, u"Closed"_s);
    m_tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tree.get()));
    QList<int> told;
    connect(m_tree.get(), &TreeView::KeyPress, this, [&](qint16& code) { told.append(code); });
    connect(m_tree.get(), &TreeView::DblClick, this, [&] { told.append(-1); });
    if (key == 0) {
        QTest::mouseDClick(m_tree->viewport(), Qt::MouseButton(modifiers), {},
                           m_tree->visualItemRect(m_tree->node(u"A_N"_s)).center());
    } else {
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QApplication::sendEvent(m_tree.get(), &press);
    }
    QCOMPARE(told, events);
}

void TestTreeView::svgPictureIsDrawnAtAnyScale()
{
    if (!QImageReader::supportedImageFormats().contains("svg"))
        QSKIP("No SVG renderer here: the pictures are rendered when the program is built.");
    QTemporaryDir dir;
    const QString file = dir.path() + u"/bar.svg"_s;
    QFile svg(file);
    QVERIFY(svg.open(QIODevice::WriteOnly));
    svg.write(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 16 16">)"
              R"(<rect x="0" y="8" width="16" height="8" fill="#00ff00"/></svg>)");
    svg.close();

    const QIcon icon = platform::svgIcon(file);
    QVERIFY(!icon.isNull());
    // Offered to a window manager at the sizes it usually asks for.
    QCOMPARE(icon.availableSizes(), (QList<QSize> {{16, 16}, {32, 32}, {48, 48}, {64, 64}}));
    for (const qreal scale : {1.0, 1.5, 2.0, 3.0}) {
        const QImage image = icon.pixmap(QSize(16, 16), scale).toImage();
        QCOMPARE(image.size(), QSize(16, 16) * scale);
        QCOMPARE(image.pixelColor(image.width() / 2, image.height() - 1), QColor(0, 255, 0));
        QCOMPARE(image.pixelColor(image.width() / 2, 0).alpha(), 0);
    }
    QVERIFY(platform::svgIcon(dir.path() + u"/missing.svg"_s).isNull());

    // Square sizes rendered ahead are read from their pixel files; the others are still drawn.
    QImage rendered(16, 16, QImage::Format_ARGB32_Premultiplied);
    rendered.fill(Qt::red);
    QFile pixels(dir.path() + u"/bar-16.argb"_s);
    QVERIFY(pixels.open(QIODevice::WriteOnly));
    pixels.write(reinterpret_cast<const char*>(rendered.constBits()), rendered.sizeInBytes());
    pixels.close();
    const QIcon withRaster = platform::svgIcon(file, {16});
    QCOMPARE(withRaster.availableSizes(), QList<QSize> {QSize(16, 16)});
    QCOMPARE(withRaster.pixmap(QSize(16, 16), 1.0).toImage().pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(withRaster.pixmap(QSize(16, 16), 2.0).toImage().pixelColor(16, 31), QColor(0, 255, 0));
    const QImage wide = withRaster.pixmap(QSize(16, 8), 1.0).toImage();
    QCOMPARE(wide.size(), QSize(16, 8));
    QCOMPARE(wide.pixelColor(8, 7), QColor(0, 255, 0));
}

QTEST_MAIN(TestTreeView)
#include "TestTreeView.moc"
