#include "TreeView.h"

#include "ImageList.h"
#include "RuntimeError.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace platform {

namespace {

enum Role {
    KeyRole = Qt::UserRole,
    ImageRole,
    ExpandedImageRole,
};

} // namespace

TreeView::TreeView(QWidget* parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    connect(this, &QTreeWidget::itemExpanded, this, &TreeView::showPicture);
    connect(this, &QTreeWidget::itemCollapsed, this, &TreeView::showPicture);
    connect(this, &QTreeWidget::itemCollapsed, this, &TreeView::keepSelectionVisible);
}

void TreeView::setImageList(const ImageList* images)
{
    m_images = images;
}

QTreeWidgetItem* TreeView::add(const QString& key, const QString& text, const QString& image)
{
    QTreeWidgetItem* item = makeNode(key, text, image);
    addTopLevelItem(item);
    return item;
}

QTreeWidgetItem* TreeView::add(const QString& relative, Relationship relationship, const QString& key,
                               const QString& text, const QString& image)
{
    Q_ASSERT(relationship == Child);
    QTreeWidgetItem* parentNode = m_nodes.value(relative);
    if (!parentNode)
        throw RuntimeError(Error::ElementNotFound, relative);
    QTreeWidgetItem* item = makeNode(key, text, image);
    parentNode->addChild(item);
    return item;
}

QTreeWidgetItem* TreeView::node(const QString& key) const
{
    QTreeWidgetItem* item = m_nodes.value(key);
    if (!item)
        throw RuntimeError(Error::ElementNotFound, key);
    return item;
}

QString TreeView::key(const QTreeWidgetItem* node)
{
    return node ? node->data(0, KeyRole).toString() : QString();
}

void TreeView::setExpandedImage(QTreeWidgetItem* node, const QString& image)
{
    picture(image); // refuses an unknown key before anything changes
    node->setData(0, ExpandedImageRole, image);
    showPicture(node);
}

void TreeView::select(QTreeWidgetItem* node)
{
    // The view scrolls to its current node by itself, once it is laid out; scrolling here would lay out
    // every row while the window is still hidden.
    setCurrentItem(node);
}

QTreeWidgetItem* TreeView::selectedItem() const
{
    const QList<QTreeWidgetItem*> items = selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

void TreeView::keyPressEvent(QKeyEvent* event)
{
    qint16 keyAscii = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // As the classic control gives them: carriage return alone and with Shift, line feed with Ctrl,
        // and nothing with Alt, which belongs to the window's menu keys.
        const Qt::KeyboardModifiers modifiers = event->modifiers();
        if (!(modifiers & Qt::AltModifier))
            keyAscii = modifiers & Qt::ControlModifier ? 10 : 13;
    } else if (event->text().size() == 1)
        keyAscii = qint16(event->text().at(0).unicode());
    if (keyAscii != 0)
        Q_EMIT KeyPress(keyAscii);
    QTreeWidget::keyPressEvent(event);
}

void TreeView::keepSelectionVisible(QTreeWidgetItem* node)
{
    for (const QTreeWidgetItem* item = selectedItem(); item; item = item->parent()) {
        if (item->parent() == node) {
            select(node);
            return;
        }
    }
}

void TreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT DblClick();
}

QTreeWidgetItem* TreeView::makeNode(const QString& key, const QString& text, const QString& image)
{
    if (!key.isEmpty() && m_nodes.contains(key))
        throw RuntimeError(Error::KeyNotUnique, key);
    const QIcon icon = picture(image);

    auto* item = new QTreeWidgetItem;
    item->setText(0, text);
    item->setData(0, KeyRole, key);
    item->setData(0, ImageRole, image);
    item->setIcon(0, icon);
    if (!key.isEmpty())
        m_nodes.insert(key, item);
    return item;
}

QIcon TreeView::picture(const QString& image) const
{
    if (image.isEmpty())
        return {};
    if (!m_images || !m_images->contains(image))
        throw RuntimeError(Error::ElementNotFound, image);
    return m_images->picture(image);
}

void TreeView::showPicture(QTreeWidgetItem* node)
{
    const QString expanded = node->data(0, ExpandedImageRole).toString();
    const QString image = node->isExpanded() && !expanded.isEmpty() ? expanded : node->data(0, ImageRole).toString();
    node->setIcon(0, m_images && m_images->contains(image) ? m_images->picture(image) : QIcon());
}

} // namespace platform
