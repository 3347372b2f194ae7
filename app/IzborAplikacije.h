#pragma once

#include "ReadingProgress.h"

#include "catalogue/Catalogue.h"
#include "platform/DirectoryList.h"
#include "platform/ImageList.h"

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace platform {
class AddressSource;
class MessageBox;
class RuntimeError;
class TreeView;
} // namespace platform

// The program's one window: the banner with the identity panel and the support button, and below them the
// installation tree. It holds all of the program's state and is brought up by Module1::Main in a fixed
// order: constructed, Form_Load(), Dir1 pointed at the current directory, Direktorij(), shown.
class IzborAplikacije : public QWidget
{
    Q_OBJECT

public:
    IzborAplikacije(platform::MessageBox& messages, platform::AddressSource& addresses, QWidget* parent = nullptr);
    ~IzborAplikacije() override;

    // The load handler: captures the start directory and fills the identity panel.
    void Form_Load();
    // Builds the catalogue from the start directory, shows it in the tree and selects the installation
    // started last. Reports any error in a message box and returns normally; what was built before the
    // error stays. The folders are read on worker threads while this thread waits in its event loop, with
    // a progress window and a way out where that takes longer than a second (see ReadingProgress).
    void Direktorij();

    // The hidden subfolder list that the catalogue scan reads.
    platform::DirectoryList Dir1;
    // Start-up's reading from the file server, with one clock for every read until the window is shown.
    ReadingProgress& readingProgress() { return m_reading; }

    const catalogue::Catalogue& catalogue() const { return Catalogue; }
    platform::TreeView* treeView() const { return TreeView1; }
    QLabel* compData() const { return CompData; }
    QPushButton* supportButton() const { return cbOdrzavanje; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setUpDesign();

    // The workstation's IPv4 addresses as the identity panel lists them.
    QString GetIpAddrTable();
    // Starts the selected installation's launcher and remembers it as the one started last.
    void TreeView1_DblClick();
    // Enter (character code 13) launches as a double click does.
    void TreeView1_KeyPress(qint16& KeyAscii);
    void cbOdrzavanje_Click();
    // Stores Vrijednost as the launch path of the installation started last.
    void RegAdd(const QString& Vrijednost);

    // Runs an event handler; a run-time error that leaves it ends the program with the run-time error
    // message, and never reaches Qt's event loop.
    template <typename Handler>
    void handleEvent(Handler&& handler);
    void reportFailure(const platform::RuntimeError& error);

    platform::MessageBox& m_messages;
    platform::AddressSource& m_addresses;
    ReadingProgress m_reading;

    QString StartDir;
    QString LastStartedPath;
    QString IpList;
    catalogue::Catalogue Catalogue;

    QIcon m_banner;
    QPixmap m_bannerPixmap;

    platform::ImageList ImageList1;
    QPushButton* cbOdrzavanje;
    platform::TreeView* TreeView1;
    QLabel* CompData;
};
