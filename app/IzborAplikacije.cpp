#include "IzborAplikacije.h"

#include "LastStarted.h"

#include "catalogue/Grouping.h"
#include "catalogue/Scan.h"
#include "catalogue/TreeBuilding.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "platform/TreeView.h"

#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

// The window's client area and its controls' places, in device-independent pixels.
constexpr QSize ClientSize(381, 532);
constexpr QRect CompDataRect(8, 8, 193, 57);
constexpr QRect TreeView1Rect(0, 160, 381, 376);

} // namespace

IzborAplikacije::IzborAplikacije(platform::MessageBox& messages, QWidget* parent)
    : QWidget(parent)
    , m_messages(messages)
    , TreeView1(new platform::TreeView(this))
    , CompData(new QLabel(this))
{
    setObjectName(u"IzborAplikacije"_s);
    setWindowTitle(u"Izbor aplikacije"_s);
    setFixedSize(ClientSize);

    ImageList1.add(u"Leaf"_s, platform::svgIcon(u":/pictures/leaf.svg"_s));
    ImageList1.add(u"Open"_s, platform::svgIcon(u":/pictures/open.svg"_s));
    ImageList1.add(u"Closed"_s, platform::svgIcon(u":/pictures/closed.svg"_s));
    setWindowIcon(ImageList1.picture(u"Leaf"_s));

    CompData->setObjectName(u"CompData"_s);
    CompData->setGeometry(CompDataRect);
    CompData->setWordWrap(true);
    CompData->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    TreeView1->setObjectName(u"TreeView1"_s);
    TreeView1->setGeometry(TreeView1Rect);
    TreeView1->setFocus();
}

IzborAplikacije::~IzborAplikacije() = default;

void IzborAplikacije::Form_Load()
{
    StartDir = platform::currentDirectory();
}

void IzborAplikacije::Direktorij()
{
    try {
        catalogue::scanInstallations(Dir1, StartDir, Catalogue);
        catalogue::groupAndOrder(Catalogue);
        catalogue::buildTree(*TreeView1, ImageList1, Catalogue);
        // At a user's first start the second entry is selected, as the suite has always done.
        LastStartedPath =
            platform::getSetting(LastStarted::AppName, LastStarted::Section, LastStarted::Key, Catalogue.launchPath(1));
        catalogue::restoreSelection(*TreeView1, Catalogue, LastStartedPath);
    } catch (const platform::RuntimeError& error) {
        m_messages.critical(this, u"MarunIzbor"_s, QString::number(error.number()) + u": "_s + error.description(),
                            error.subject());
    }
}
