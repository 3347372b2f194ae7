#include "IzborAplikacije.h"

#include "ErrorText.h"
#include "LastStarted.h"
#include "ReadingProgress.h"

#include "catalogue/Grouping.h"
#include "catalogue/Scan.h"
#include "catalogue/TreeBuilding.h"
#include "identity/Identity.h"
#include "launch/Launching.h"
#include "launch/SupportTool.h"
#include "platform/FileName.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "platform/TreeView.h"
#include "platform/Workstation.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

// The design, in device-independent pixels: the client area, the banner drawn unscaled at its top-left
// corner (its right 18 pixels fall outside), and the controls. The tree covers the banner's last two rows
// and reaches 4 pixels below the client area.
constexpr QSize ClientSize(381, 532);
constexpr QSize BannerSize(399, 162);
constexpr QRect cbOdrzavanjeRect(40, 112, 121, 29);
constexpr QRect TreeView1Rect(0, 160, 381, 376);
constexpr QRect CompDataRect(8, 8, 193, 57);

constexpr QColor ClassicGreyText(0x6d, 0x6d, 0x6d);

// The error the address table's failure raises: the first number a program may give its own errors.
constexpr int GetIpAddrTableFailed = -2147221504;

const QString SupportToolTip = u"Klikom na dugme pozivate program preko kojeg se Vrexan spaja na vaše računalo"_s;

// A font of the design. Sizes are given in points at 96 dots per inch and set in pixels, so the fixed
// layout measures the same whatever the screen's logical DPI. The metric-compatible fonts stand in for
// the named ones where those are missing.
QFont designFont(const QStringList& families, qreal points, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(qRound(points * 96 / 72));
    font.setBold(bold);
    return font;
}

const QStringList Arial {u"Arial"_s, u"Liberation Sans"_s, u"Arimo"_s, u"Helvetica"_s, u"DejaVu Sans"_s};
const QStringList Calibri {u"Calibri"_s, u"Carlito"_s, u"Liberation Sans"_s, u"DejaVu Sans"_s};

} // namespace

IzborAplikacije::IzborAplikacije(platform::MessageBox& messages, platform::AddressSource& addresses, QWidget* parent)
    : QWidget(parent)
    , m_messages(messages)
    , m_addresses(addresses)
    , cbOdrzavanje(new QPushButton(this))
    , TreeView1(new platform::TreeView(this))
    , CompData(new QLabel(this))
{
    setUpDesign();

    connect(TreeView1, &platform::TreeView::DblClick, this, [this] { handleEvent([this] { TreeView1_DblClick(); }); });
    connect(TreeView1, &platform::TreeView::KeyPress, this,
            [this](qint16& keyAscii) { handleEvent([&] { TreeView1_KeyPress(keyAscii); }); });
    connect(cbOdrzavanje, &QPushButton::clicked, this, [this] { handleEvent([this] { cbOdrzavanje_Click(); }); });
}

IzborAplikacije::~IzborAplikacije() = default;

void IzborAplikacije::setUpDesign()
{
    setObjectName(u"IzborAplikacije"_s);
    setWindowTitle(u"Izbor aplikacije"_s);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientSize);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    m_banner = platform::svgIcon(u":/pictures/banner.svg"_s);

    // Index order and keys as the tree and the rest of the suite know them.
    ImageList1.add(u"Open1"_s, platform::svgIcon(u":/pictures/open1.svg"_s));
    ImageList1.add(u"Leaf"_s, platform::svgIcon(u":/pictures/leaf.svg"_s, {16, 32, 48, 64}));
    ImageList1.add(u"Closed1"_s, platform::svgIcon(u":/pictures/closed1.svg"_s));
    ImageList1.add(u"Leaf1"_s, platform::svgIcon(u":/pictures/leaf1.svg"_s));
    ImageList1.add(u"Open"_s, platform::svgIcon(u":/pictures/open.svg"_s));
    ImageList1.add(u"Open11"_s, platform::svgIcon(u":/pictures/open11.svg"_s));
    ImageList1.add(u"Closed"_s, platform::svgIcon(u":/pictures/closed.svg"_s));
    setWindowIcon(ImageList1.picture(u"Leaf"_s));

    cbOdrzavanje->setObjectName(u"cbOdrzavanje"_s);
    cbOdrzavanje->setGeometry(cbOdrzavanjeRect);
    cbOdrzavanje->setText(u"PODRŠKA"_s);
    cbOdrzavanje->setToolTip(SupportToolTip);
    cbOdrzavanje->setFont(designFont(Calibri, 11.25, true));
    cbOdrzavanje->setIcon(platform::svgIcon(u":/pictures/support.svg"_s));
    cbOdrzavanje->setIconSize(QSize(22, 22));
    QPalette face = cbOdrzavanje->palette();
    face.setColor(QPalette::Button, face.color(QPalette::Base));
    cbOdrzavanje->setPalette(face);

    TreeView1->setObjectName(u"TreeView1"_s);
    TreeView1->setGeometry(TreeView1Rect);
    TreeView1->setFont(designFont(Arial, 11.25, false));

    CompData->setObjectName(u"CompData"_s);
    CompData->setGeometry(CompDataRect);
    CompData->setFont(designFont(Arial, 6.75, true));
    CompData->setWordWrap(true);
    CompData->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CompData->setTextFormat(Qt::PlainText);
    // The grey of disabled text, as designed. Some styles make that grey too faint to read on the white
    // banner; it is kept at least as dark as the classic grey text.
    QPalette grey = CompData->palette();
    QColor greyText = grey.color(QPalette::Disabled, QPalette::WindowText);
    if (greyText.lightness() > ClassicGreyText.lightness())
        greyText = ClassicGreyText;
    grey.setColor(QPalette::Active, QPalette::WindowText, greyText);
    grey.setColor(QPalette::Inactive, QPalette::WindowText, greyText);
    CompData->setPalette(grey);

    // The tree first; the label takes no focus, so Tab moves between the tree and the button only.
    setTabOrder(TreeView1, cbOdrzavanje);
    TreeView1->setFocus();
}

void IzborAplikacije::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (m_bannerPixmap.isNull() || m_bannerPixmap.devicePixelRatio() != ratio)
        m_bannerPixmap = m_banner.pixmap(BannerSize, ratio);
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), m_bannerPixmap);
}

void IzborAplikacije::Form_Load()
{
    StartDir = platform::currentDirectory();

    // An address table that cannot be read is told, and the panel goes on without addresses: the
    // launcher must not fail to start because of its information panel.
    QString addresses;
    try {
        addresses = GetIpAddrTable();
    } catch (const platform::RuntimeError& error) {
        m_messages.critical(this, u"MarunIzbor"_s, ErrorText::handled(error), error.subject());
    }
    const identity::Workstation names = identity::workstation(platform::environment(), platform::nameStandIns());
    CompData->setText(identity::identityText(addresses, names));
    QFont bold = CompData->font();
    bold.setBold(true);
    CompData->setFont(bold);
}

QString IzborAplikacije::GetIpAddrTable()
{
    QList<platform::Ipv4Address> rows;
    if (const int result = m_addresses.read(rows); result != 0)
        throw platform::RuntimeError(GetIpAddrTableFailed,
                                     u"GetIpAddrTable failed with return value "_s + QString::number(result), {});
    IpList += identity::formatAddressList(rows);
    return IpList;
}

void IzborAplikacije::Direktorij()
{
    try {
        {
            // The scan's threads fill a catalogue and a list of their own, from a copy of the start
            // directory, and the window takes them over once the scan is done, also with what was filed
            // before an error.
            catalogue::Catalogue scanned;
            platform::DirectoryList listed = Dir1;
            const auto takeOver = qScopeGuard([&] {
                Catalogue = std::move(scanned);
                Dir1 = std::move(listed);
            });
            catalogue::ScanProgress progress;
            catalogue::ScanOptions options;
            options.progress = &progress;
            m_reading.wait([&listed, &scanned, &options,
                            startDir = StartDir] { catalogue::scanInstallations(listed, startDir, scanned, options); },
                           progress);
        }
        catalogue::groupAndOrder(Catalogue);
        catalogue::buildTree(*TreeView1, ImageList1, Catalogue);
        // At a user's first start the second entry is selected, as the suite has always done.
        LastStartedPath =
            platform::getSetting(LastStarted::AppName, LastStarted::Section, LastStarted::Key, Catalogue.launchPath(1));
        catalogue::restoreSelection(*TreeView1, Catalogue, LastStartedPath);
    } catch (const platform::RuntimeError& error) {
        m_reading.finish();
        m_messages.critical(this, u"MarunIzbor"_s, ErrorText::handled(error), error.subject());
    }
}

void IzborAplikacije::TreeView1_DblClick()
{
    const QTreeWidgetItem* node = TreeView1->selectedItem();
    if (!node || !node->parent())
        return;
    const int index = launch::findEntry(Catalogue, platform::TreeView::key(node));
    if (index < 0)
        return;
    const QString launchPath = Catalogue.LaunchPaths[index];

    // A launcher that will not start, or a setting that cannot be written, is told to the user; the
    // window stays open for the next try.
    try {
        platform::startProgram(launchPath);
    } catch (const platform::RuntimeError& error) {
        reportFailure(error);
        return;
    }
    try {
        RegAdd(launchPath);
    } catch (const platform::RuntimeError& error) {
        reportFailure(error);
    }
}

void IzborAplikacije::TreeView1_KeyPress(qint16& KeyAscii)
{
    if (KeyAscii == 13)
        TreeView1_DblClick();
}

void IzborAplikacije::cbOdrzavanje_Click()
{
    // The message the users know stays as it is; what went wrong is shown below it for their support.
    try {
        const QString descriptor = launch::supportDescriptorPath(Catalogue.launchPath(0));
        catalogue::DescriptorReading reading = launch::supportToolReading();
        const platform::TextEncoding encoding = platform::readTextFile(descriptor, reading.lines());
        const QString tool = launch::supportToolPath(reading, encoding);
        if (!platform::fileExists(tool)) {
            m_messages.critical(this, u"Greška"_s, u"Na serveru nedostaje datoteka QRM.exe"_s,
                                platform::displayFileName(tool));
            return;
        }
        platform::startProgram(tool);
    } catch (const platform::RuntimeError& error) {
        m_messages.critical(this, u"Marun izbor"_s, u"MarunIzbor ne može pronaći program za spajanje!"_s,
                            ErrorText::handledWithSubject(error));
    }
}

void IzborAplikacije::RegAdd(const QString& Vrijednost)
{
    platform::saveSetting(LastStarted::AppName, LastStarted::Section, LastStarted::Key, Vrijednost);
}

template <typename Handler>
void IzborAplikacije::handleEvent(Handler&& handler)
{
    try {
        handler();
    } catch (const platform::RuntimeError& error) {
        m_messages.critical(this, u"MarunIzbor"_s, ErrorText::unhandled(error), error.subject());
        QCoreApplication::exit(1);
    }
}

void IzborAplikacije::reportFailure(const platform::RuntimeError& error)
{
    m_messages.critical(this, u"MarunIzbor"_s, ErrorText::handledWithSubject(error));
}
