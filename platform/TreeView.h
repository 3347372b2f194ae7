#pragma once

#include <QHash>
#include <QString>
#include <QTreeWidget>

namespace platform {

class ImageList;

// The installation tree: a QTreeWidget whose nodes are added and found by unique, case-sensitive keys
// and whose pictures are taken by key from a bound ImageList. A node may name a second picture that it
// shows while it is expanded.
//
// Besides Qt's own signals it reports double clicks and typed characters as the window's handlers take them.
// Nodes are never removed. A node added with an empty key has no key and cannot be found.
//
// Errors: adding a key that is already present raises 35602, a relative key or picture key that names
// nothing raises 35601; either way nothing is added. Looking up a key that no node holds raises 35601.
class TreeView : public QTreeWidget
{
    Q_OBJECT

public:
    enum Relationship { Child = 4 };

    explicit TreeView(QWidget* parent = nullptr);

    // Binds the pictures that the nodes' picture keys name. The list must outlive the tree.
    void setImageList(const ImageList* images);

    // Adds a node at the root level, after the root nodes already there.
    QTreeWidgetItem* add(const QString& key, const QString& text, const QString& image = {});
    // Adds a node as the last child of the node whose key is relative.
    QTreeWidgetItem* add(const QString& relative, Relationship relationship, const QString& key, const QString& text,
                         const QString& image = {});

    QTreeWidgetItem* node(const QString& key) const;
    static QString key(const QTreeWidgetItem* node);

    // The picture shown while node is expanded.
    void setExpandedImage(QTreeWidgetItem* node, const QString& image);

    // Makes node the one selected node, and the current one for the keyboard.
    void select(QTreeWidgetItem* node);
    // The selected node, or nullptr.
    QTreeWidgetItem* selectedItem() const;

Q_SIGNALS:
    // A double click anywhere in the tree, also where no node is under the pointer.
    void DblClick();
    // A key that gives a character, with its character code: 13 for Enter and the keypad's Enter, alone or
    // with Shift, 10 with Ctrl, none with Alt. Emitted before the tree handles the key itself.
    void KeyPress(qint16& KeyAscii);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QTreeWidgetItem* makeNode(const QString& key, const QString& text, const QString& image);
    QIcon picture(const QString& image) const;
    void showPicture(QTreeWidgetItem* node);
    // A node that collapses over the selected node takes the selection, as in the classic control, so that
    // Enter never acts on a node the user cannot see.
    void keepSelectionVisible(QTreeWidgetItem* node);

    const ImageList* m_images = nullptr;
    QHash<QString, QTreeWidgetItem*> m_nodes;
};

} // namespace platform
