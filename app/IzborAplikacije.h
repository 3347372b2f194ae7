#pragma once

#include "catalogue/Catalogue.h"
#include "platform/DirectoryList.h"
#include "platform/ImageList.h"

#include <QString>
#include <QWidget>

class QLabel;

namespace platform {
class MessageBox;
class RuntimeError;
class TreeView;
} // namespace platform

// The program's one window: the identity panel, the support button and the installation tree.
// It holds all of the program's state and is brought up by Module1::Main in a fixed order:
// constructed, Form_Load(), Dir1 pointed at the current directory, Direktorij(), shown.
class IzborAplikacije : public QWidget
{
    Q_OBJECT

public:
    explicit IzborAplikacije(platform::MessageBox& messages, QWidget* parent = nullptr);
    ~IzborAplikacije() override;

    // The load handler: captures the start directory and fills the identity panel.
    void Form_Load();
    // Builds the catalogue from the start directory, shows it in the tree and selects the installation
    // started last. Reports any error in a message box and returns normally; what was built before the
    // error stays.
    void Direktorij();

    // The hidden subfolder list that the catalogue scan reads.
    platform::DirectoryList Dir1;

    const catalogue::Catalogue& catalogue() const { return Catalogue; }
    QString startDir() const { return StartDir; }
    QString lastStartedPath() const { return LastStartedPath; }
    platform::TreeView* treeView() const { return TreeView1; }
    QLabel* compData() const { return CompData; }

private:
    platform::MessageBox& m_messages;

    QString StartDir;
    QString LastStartedPath;
    catalogue::Catalogue Catalogue;

    platform::ImageList ImageList1;
    platform::TreeView* TreeView1;
    QLabel* CompData;
};
