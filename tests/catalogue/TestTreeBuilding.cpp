#include "catalogue/Catalogue.h"
#include "catalogue/TreeBuilding.h"
#include "platform/ImageList.h"
#include "platform/TreeView.h"

#include "../TestSupport.h"

#include <QPixmap>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using platform::TreeView;
using testsupport::errorNumber;

class TestTreeBuilding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void workedExample();
    void groupWithoutMembersAndLeafTexts();
    void emptyCatalogue();
    void refusedNames_data();
    void refusedNames();
    void restoreSelection_data();
    void restoreSelection();

private:
    // "Group: leaf, leaf | Group: leaf" with keys in brackets where they differ from the text.
    QString shape() const;
    static catalogue::Catalogue ordered(const QStringList& rows);

    platform::ImageList m_images;
    std::unique_ptr<TreeView> m_tree;
};

void TestTreeBuilding::init()
{
    m_images = {};
    for (const QString& key : {u"Closed"_s, u"Open"_s, u"Leaf"_s}) {
        QPixmap pixmap(16, 16);
        pixmap.fill(key == u"Leaf" ? Qt::blue : Qt::green);
        m_images.add(key, QIcon(pixmap));
    }
    m_tree = std::make_unique<TreeView>();
}

QString TestTreeBuilding::shape() const
{
    QStringList groups;
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* group = m_tree->topLevelItem(g);
        QStringList leaves;
        for (int l = 0; l < group->childCount(); ++l) {
            const QTreeWidgetItem* leaf = group->child(l);
            const QString key = TreeView::key(leaf);
            leaves.append(key == leaf->text(0) ? key : leaf->text(0) + u" ["_s + key + u']');
        }
        groups.append(group->text(0) + u" ["_s + TreeView::key(group) + u"]: "_s + leaves.join(u", "_s));
    }
    return groups.join(u" | "_s);
}

// A catalogue as grouping leaves it, from rows "name" (a head) and "name < parent" (a member).
catalogue::Catalogue TestTreeBuilding::ordered(const QStringList& rows)
{
    catalogue::Catalogue result;
    for (const QString& row : rows) {
        const QStringList parts = row.split(u" < "_s);
        result.file(parts.first(), u"/srv/"_s + parts.first() + u"/StarterCS.exe"_s);
        result.Parents.last() = parts.value(1);
    }
    return result;
}

void TestTreeBuilding::workedExample()
{
    const catalogue::Catalogue catalogue =
        ordered({u"Firma"_s, u"Alfa"_s, u"Firma 2010 < Firma"_s, u"Firma 2009 < Firma"_s, u"Alfa test < Alfa"_s});
    catalogue::buildTree(*m_tree, m_images, catalogue);

    QCOMPARE(shape(),
             u"Firma [Firma_N]: Firma, 2010 [Firma 2010], 2009 [Firma 2009] | "
             "Alfa [Alfa_N]: Alfa, test [Alfa test]"_s);

    QTreeWidgetItem* firma = m_tree->node(u"Firma_N"_s);
    QVERIFY(!firma->isExpanded());
    QCOMPARE(firma->icon(0).cacheKey(), m_images.picture(u"Closed"_s).cacheKey());
    firma->setExpanded(true);
    QCOMPARE(firma->icon(0).cacheKey(), m_images.picture(u"Open"_s).cacheKey());
    QCOMPARE(m_tree->node(u"Firma 2009"_s)->icon(0).cacheKey(), m_images.picture(u"Leaf"_s).cacheKey());
    QCOMPARE(m_tree->selectedItem(), nullptr);
}

void TestTreeBuilding::groupWithoutMembersAndLeafTexts()
{
    catalogue::buildTree(*m_tree, m_images,
                         ordered({u"Firma"_s, u"Beta"_s, u"Firmament < Firma"_s, u"Firma   x < Firma"_s}));
    QCOMPARE(shape(), u"Firma [Firma_N]: Firma, ment [Firmament], x [Firma   x] | Beta [Beta_N]: Beta"_s);
}

void TestTreeBuilding::emptyCatalogue()
{
    catalogue::buildTree(*m_tree, m_images, catalogue::Catalogue());
    QCOMPARE(m_tree->topLevelItemCount(), 0);
}

void TestTreeBuilding::refusedNames_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("builtBefore");

    QTest::newRow("two heads with one name")
        << QStringList {u"Firma"_s, u"Firma"_s, u"Alfa"_s} << 35602 << u"Firma [Firma_N]: "_s;
    QTest::newRow("a name equal to a group key")
        << QStringList {u"Firma_N"_s, u"Firma"_s} << 35602 << u"Firma_N [Firma_N_N]:  | Firma [Firma_N]: "_s;
    QTest::newRow("two members with one name")
        << QStringList {u"A"_s, u"A b < A"_s, u"A b < A"_s} << 35602 << u"A [A_N]: A, b [A b]"_s;
    QTest::newRow("names three deep") << QStringList {u"A"_s, u"ABC < AB"_s, u"AB < A"_s} << 35601 << u"A [A_N]: A"_s;
}

void TestTreeBuilding::refusedNames()
{
    QFETCH(QStringList, rows);
    QFETCH(int, number);
    QFETCH(QString, builtBefore);
    QCOMPARE(errorNumber([&] { catalogue::buildTree(*m_tree, m_images, ordered(rows)); }), number);
    QCOMPARE(shape(), builtBefore);
}

void TestTreeBuilding::restoreSelection_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("lastStarted");
    QTest::addColumn<QString>("selected"); // key of the selected leaf, empty for none
    QTest::addColumn<bool>("onePath"); // every entry has the same launch path

    const QStringList example {u"Firma"_s, u"Alfa"_s, u"Firma 2010 < Firma"_s, u"Firma 2009 < Firma"_s,
                               u"Alfa test < Alfa"_s};
    QTest::newRow("member") << example << u"/srv/Firma 2009/StarterCS.exe"_s << u"Firma 2009"_s << false;
    QTest::newRow("head") << example << u"/srv/Alfa/StarterCS.exe"_s << u"Alfa"_s << false;
    QTest::newRow("other letter case") << example << u"/SRV/firma 2009/starterCS.EXE"_s << u"Firma 2009"_s << false;
    QTest::newRow("letter case mapped one to one: ß is no SS")
        << QStringList {u"Straße"_s, u"Strasse"_s} << u"/SRV/STRAßE/STARTERCS.EXE"_s << u"Straße"_s << false;
    QTest::newRow("removed installation") << example << u"/srv/Gama/StarterCS.exe"_s << QString() << false;
    QTest::newRow("empty path") << example << QString() << QString() << false;
    QTest::newRow("two entries with one path: the later stays selected")
        << QStringList {u"A"_s, u"B"_s} << u"/srv/X/StarterCS.exe"_s << u"B"_s << true;
}

void TestTreeBuilding::restoreSelection()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, lastStarted);
    QFETCH(QString, selected);
    QFETCH(bool, onePath);

    catalogue::Catalogue catalogue = ordered(rows);
    if (onePath)
        catalogue.LaunchPaths.fill(u"/srv/x/StarterCS.exe"_s);
    catalogue::buildTree(*m_tree, m_images, catalogue);
    catalogue::restoreSelection(*m_tree, catalogue, lastStarted);

    QStringList expanded;
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        if (m_tree->topLevelItem(g)->isExpanded())
            expanded.append(m_tree->topLevelItem(g)->text(0));
    }
    if (selected.isEmpty()) {
        QCOMPARE(m_tree->selectedItem(), nullptr);
        QCOMPARE(expanded, QStringList());
        return;
    }
    QCOMPARE(TreeView::key(m_tree->selectedItem()), selected);
    QCOMPARE(m_tree->currentItem(), m_tree->selectedItem());
    QVERIFY(m_tree->selectedItem()->parent()->isExpanded());
    QCOMPARE(m_tree->selectedItem()->parent()->icon(0).cacheKey(), m_images.picture(u"Open"_s).cacheKey());
    QCOMPARE(expanded.size(), onePath ? rows.size() : 1);
}

QTEST_MAIN(TestTreeBuilding)
#include "TestTreeBuilding.moc"
