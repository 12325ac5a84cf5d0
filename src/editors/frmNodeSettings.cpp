#include "editors/frmNodeSettings.h"

#include "editors/CloseQuestion.h"
#include "editors/EditorsHost.h"
#include "editors/IdentValidator.h"
#include "editors/core/ChannelEditing.h"
#include "editors/core/NodeSettingsRules.h"
#include "editors/frmDevices.h"
#include "model/ChannelPlan.h"
#include "model/Selection.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteQueries.h"
#include "model/SiteState.h"
#include "platform/Icons.h"
#include "platform/ProgramMessage.h"
#include "platform/Units.h"
#include "platform/Win1252Validator.h"
#include "platform/WindowLayer.h"
#include "platform/WindowPlacement.h"
#include "platform/base/MessageStyle.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

bool NodeSettingsPinned = false;

using model::Nodes;
using platform::TwipsToPixels;

namespace {

constexpr long kWindowWidth = 6180; // twips
constexpr long kWindowHeight = 5380;
// Of a fixed size, the window keeps only its place.
const platform::StoredRectangle kStored{&NodeWindowTop, &NodeWindowLeft};
const char* const kPendingQuestion = "Changes Have Been Made, Do You Want To Apply Them?";

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

model::clsNode* NodeAt(int node)
{
    return node >= 0 && node < model::kNodeCount ? &Nodes[static_cast<std::size_t>(node)] : nullptr;
}

void Fill(QComboBox* list, const editors::ListItems& items, int selectValue)
{
    const QSignalBlocker quiet(list);
    list->clear();
    for (const editors::ListItem& item : items)
        list->addItem(Q(item.text), item.value);
    list->setCurrentIndex(list->findData(selectValue));
}

void Select(QComboBox* list, int value)
{
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(list->findData(value));
}

// The selected item's value, -1 without a selection.
int ListValue(const QComboBox* list)
{
    return list->currentIndex() < 0 ? -1 : list->currentData().toInt();
}

// A channel list's index 1..32, -1 without a selection.
int ChannelIndex(const QComboBox* list)
{
    return list->currentIndex() < 0 ? -1 : list->currentIndex() + 1;
}

void ShowChannel(QComboBox* list, int channel)
{
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(channel >= 1 && channel <= 32 ? channel - 1 : -1);
}

void Place(QWidget* widget, long left, long top, long width, long height)
{
    widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, long left, long top, long width,
                  long height = 255)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    Place(label, left, top, width, height);
    return label;
}

QComboBox* MakeList(QWidget* parent, const char* name, long left, long top, long width)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    Place(list, left, top, width, 330);
    return list;
}

} // namespace

frmNodeSettings::frmNodeSettings()
{
    setObjectName("frmNodeSettings");
    setWindowTitle("Node Properties");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    CreateControls();
    Form_Load();
}

void frmNodeSettings::CreateControls()
{
    setFixedSize(TwipsToPixels(kWindowWidth), TwipsToPixels(kWindowHeight));

    Label4 = MakeLabel(this, "Label4", "Nothing Selected", 200, 2000, 5700);
    Label4->setAlignment(Qt::AlignCenter);
    Label4->hide();

    tbsOptions = new QTabBar(this);
    tbsOptions->setObjectName("tbsOptions");
    tbsOptions->addTab("Properties");
    tbsOptions->addTab("Radio Channels");
    tbsOptions->addTab("Devices");
    tbsOptions->setDrawBase(false);
    tbsOptions->move(TwipsToPixels(200), TwipsToPixels(120));
    connect(tbsOptions, &QTabBar::currentChanged, this, [this] { tbsOptions_Click(); });

    for (int i = 0; i < 3; ++i) {
        FraOptions[i] = new QFrame(this);
        FraOptions[i]->setObjectName(QString("FraOptions%1").arg(i));
        FraOptions[i]->setFrameShape(QFrame::StyledPanel);
        FraOptions[i]->hide();
    }

    // Properties.
    QFrame* props = FraOptions[0];
    NameLabel = MakeLabel(props, "NameLabel", "Location", 200, 300, 1300);
    NameText = new QLineEdit(props);
    NameText->setObjectName("NameText");
    platform::LimitToWin1252(NameText);
    Place(NameText, 1900, 250, 3500, 330);
    IdentLabel = MakeLabel(props, "IdentLabel", "Ident", 200, 750, 1300);
    IdentText = new QLineEdit(props);
    IdentText->setObjectName("IdentText");
    IdentText->setValidator(new editors::IdentValidator(IdentText));
    Place(IdentText, 1900, 700, 1200, 330);
    LoopLabel = MakeLabel(props, "LoopLabel", "Loop", 200, 1200, 1300);
    LoopCombo = MakeList(props, "LoopCombo", 1900, 1150, 1000);
    AddressLabel = MakeLabel(props, "AddressLabel", "Address", 3100, 1200, 900);
    AddressCombo = MakeList(props, "AddressCombo", 4000, 1150, 1400);
    ParentLabel = MakeLabel(props, "ParentLabel", "Parent", 200, 1650, 1300);
    ParentCombo = MakeList(props, "ParentCombo", 1900, 1600, 1500);
    HopLabel = MakeLabel(props, "HopLabel", "Signal Hops", 200, 2100, 1300);
    HopCount = MakeLabel(props, "HopCount", "0", 1900, 2100, 600);
    InvalidHop = MakeLabel(props, "InvalidHop", "Invalid Path Length", 2600, 2100, 2500);
    InvalidHop->setStyleSheet("color: #c00000;");
    LoopQtyLbl = MakeLabel(props, "LoopQtyLbl", "Number of Loops", 200, 1650, 1650);
    TotalLoopsCombo = MakeList(props, "TotalLoopsCombo", 1900, 1600, 1000);
    ProtocolLabel = MakeLabel(props, "ProtocolLabel", "Loop Protocol", 200, 2100, 1650);
    ProtocolCombo = MakeList(props, "ProtocolCombo", 1900, 2050, 1800);

    // Radio channels.
    QFrame* channels = FraOptions[1];
    InfoLabelY = MakeLabel(channels, "InfoLabelY", QString(), 200, 150, 5300, 700);
    InfoLabelY->setWordWrap(true);
    ChannelALabel = MakeLabel(channels, "ChannelALabel", "First Channel", 200, 1050, 1650);
    ChannelACombo = MakeList(channels, "ChannelACombo", 1900, 1000, 1000);
    ChannelBLabel = MakeLabel(channels, "ChannelBLabel", "Second Channel", 200, 1500, 1650);
    ChannelBCombo = MakeList(channels, "ChannelBCombo", 1900, 1450, 1000);
    InfoLabel2 = MakeLabel(channels, "InfoLabel2", QString(), 3100, 1000, 2500, 900);
    InfoLabel2->setWordWrap(true);
    lblRandom = MakeLabel(channels, "lblRandom",
                          "Click below to assign radio channels to all RCCs and Hub automatically", 200, 2150,
                          5300, 500);
    lblRandom->setWordWrap(true);
    cmdRandom = new QPushButton("&Generate Default Channels", channels);
    cmdRandom->setObjectName("cmdRandom");
    Place(cmdRandom, 200, 2750, 3000, 400);

    MakeLabel(FraOptions[2], "DevicesLabel", "Device details will be able to be configured here", 200, 300,
              5300);

    auto makeButton = [this](const char* name, const QString& caption, long left) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        Place(button, left, 4400, 1300, 420);
        return button;
    };
    cmdApply = makeButton("cmdApply", "&Apply", 200);
    cmdOK = makeButton("cmdOK", "OK", 1650);
    cmdCancel = makeButton("cmdCancel", "&Cancel", 3100);
    cmdDevices = makeButton("cmdDevices", "&Devices", 4600);

    PushPin = new QToolButton(this);
    PushPin->setObjectName("PushPin");
    PushPin->setCheckable(true);
    PushPin->setAutoRaise(true);
    QIcon pin;
    pin.addPixmap(platform::IconPixmap("PUSHPIN"), QIcon::Normal, QIcon::Off);
    pin.addPixmap(platform::IconPixmap("PUSHEDPIN"), QIcon::Normal, QIcon::On);
    PushPin->setIcon(pin);
    PushPin->setIconSize(QSize(16, 16));
    Place(PushPin, 5580, 60, 360, 360);

    IdentTimer = new QTimer(this);
    IdentTimer->setObjectName("IdentTimer");
    IdentTimer->setSingleShot(true);
    IdentTimer->setInterval(250);

    connect(NameText, &QLineEdit::textChanged, this, [this] { NameText_Change(); });
    connect(IdentText, &QLineEdit::textEdited, this, [this] { IdentText_Edited(); });
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
    connect(IdentTimer, &QTimer::timeout, this, [this] { IdentTimer_Timer(); });
    connect(LoopCombo, &QComboBox::currentIndexChanged, this, [this] { LoopCombo_Click(); });
    connect(AddressCombo, &QComboBox::currentIndexChanged, this, [this] { AddressCombo_Click(); });
    connect(ParentCombo, &QComboBox::currentIndexChanged, this, [this] { ParentCombo_Click(); });
    connect(TotalLoopsCombo, &QComboBox::currentIndexChanged, this, [this] { TotalLoopsCombo_Click(); });
    connect(ProtocolCombo, &QComboBox::currentIndexChanged, this, [this] { ProtocolCombo_Click(); });
    connect(ChannelACombo, &QComboBox::currentIndexChanged, this, [this] { ChannelCombo_Click(ChannelACombo); });
    connect(ChannelBCombo, &QComboBox::currentIndexChanged, this, [this] { ChannelCombo_Click(ChannelBCombo); });
    connect(cmdRandom, &QPushButton::clicked, this, [this] { cmdRandom_Click(); });
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdDevices, &QPushButton::clicked, this, [this] { cmdDevices_Click(); });
    connect(PushPin, &QToolButton::toggled, this, [this](bool pressed) { PushPin_Click(pressed); });
}

void frmNodeSettings::Form_Load()
{
    platform::OpenOnStoredRectangle(*this, kStored);

    const bool hub = ActiveNode == 0 && !IsLoopInterface;
    cmdDevices->setVisible(ActiveNode > 0 || IsLoopInterface);
    cmdRandom->setVisible(hub);
    lblRandom->setVisible(hub);

    for (QFrame* frame : FraOptions)
        Place(frame, 200, 500, 5700, 3700);
    FraOptions[0]->show();
    if (tbsOptions->count() > 2)
        tbsOptions->removeTab(2);

    const editors::ListItems channels = editors::ChannelItems();
    Fill(ChannelACombo, channels, -1);
    Fill(ChannelBCombo, channels, -1);
    session_.Load(ActiveNode);
    const model::clsNode* node = NodeAt(ActiveNode);
    Fill(ParentCombo, editors::ParentItems(ActiveNode, Nodes), node != nullptr ? node->Parent() : -2);
    Fill(TotalLoopsCombo, editors::TotalLoopsItems(model::HighestLoopInUse()), LoopCount);
    Fill(ProtocolCombo, editors::ProtocolItems(model::HighestAddressInUse()), LoopProtocol);
    FillLoopAndAddressLists();

    changed_ = false;
    SetCaption();
    // The first check of the ident runs once the window has settled.
    IdentTimer->start();
}

void frmNodeSettings::SetCaption()
{
    setWindowTitle(Q(editors::NodeSettingsCaption(session_.Node(), IsLoopInterface, changed_)));
}

void frmNodeSettings::MarkChanged()
{
    changed_ = true;
    SetCaption();
}

void frmNodeSettings::AskAboutPendingEdits()
{
    if (!changed_)
        return;
    if (platform::ShowProgramMessage(this, kPendingQuestion, (MessageStyle::Question | MessageStyle::YesNo), "Change Active Object") == MessageResult::Yes)
        cmdApply_Click();
    else
        session_.Restore();
    changed_ = false;
}

void frmNodeSettings::RefreshData(int previousNode)
{
    AskAboutPendingEdits();

    const bool hub = ActiveNode == 0 && !IsLoopInterface;
    cmdDevices->setVisible(ActiveNode != 0 && !IsLoopInterface);
    cmdRandom->setVisible(ActiveNode == 0 || IsLoopInterface);
    lblRandom->setVisible(ActiveNode == 0 || IsLoopInterface);

    editors::HideRelatives(previousNode);
    if (previousNode != session_.Node())
        editors::HideRelatives(session_.Node());
    Fill(TotalLoopsCombo, editors::TotalLoopsItems(model::HighestLoopInUse()), LoopCount);
    Fill(ProtocolCombo, editors::ProtocolItems(model::HighestAddressInUse()), LoopProtocol);
    session_.Load(ActiveNode);
    model::clsNode* node = NodeAt(session_.Node());
    Fill(ParentCombo, editors::ParentItems(session_.Node(), Nodes), -2);
    if (node == nullptr) {
        NoNodeSelected();
        return;
    }
    SetCaption();

    if (tbsOptions->count() > 2)
        tbsOptions->removeTab(2);
    const QString pickOne = "Please select one channel from between 1-16\r\nand one from between 17-32";
    tbsOptions->setTabText(1, "Radio Channels");
    for (QWidget* w : {static_cast<QWidget*>(ParentCombo), static_cast<QWidget*>(ParentLabel),
                       static_cast<QWidget*>(HopCount), static_cast<QWidget*>(HopLabel)})
        w->setVisible(!hub);
    for (QWidget* w : {static_cast<QWidget*>(TotalLoopsCombo), static_cast<QWidget*>(LoopQtyLbl),
                       static_cast<QWidget*>(ProtocolCombo), static_cast<QWidget*>(ProtocolLabel)})
        w->setVisible(hub);
    InfoLabel2->setText(pickOne);
    if (hub) {
        tbsOptions_Click();
        InfoLabelY->setText("Select the Radio Channels used for Communications between the Radio Hub and RCCs"
                            "\r\nand from one RCC to another RCC");
        PositionChannelLists(node->Y_ChannelA(), node->Y_ChannelB());
    } else {
        Select(ParentCombo, node->Parent());
        if (model::clsNode* parent = NodeAt(node->Parent()))
            parent->ShowAsParent();
        InfoLabelY->setText(IsLoopInterface
                                ? "Radio Channels used for Communications between the RLM and Devices"
                                : "Select the Radio Channels used for Communications between the RCC and its Devices");
        PositionChannelLists(node->X_ChannelA(), node->X_ChannelB());
    }

    node->ScanForChildren(Nodes);
    editors::ShowRelatives(session_.Node());
    ShowHop();

    NameText->setText(Q(node->Name()));
    IdentText->setText(Q(node->NodeIdent()));
    if (node->NodeIdent().empty())
        cmdRandom->setEnabled(false);
    FillLoopAndAddressLists();
    Form_Activate();
}

void frmNodeSettings::NoNodeSelected()
{
    AskAboutPendingEdits();
    tbsOptions->hide();
    for (QFrame* frame : FraOptions)
        frame->hide();
    Label4->show();
    cmdApply->setEnabled(false);
    setWindowTitle("Hub/RCC Properties");
}

void frmNodeSettings::DropShownNode()
{
    IdentTimer->stop();
    changed_ = false;
    editors::HideRelatives(session_.Node());
    session_.Load(-1);
    NoNodeSelected();
}

void frmNodeSettings::DropNodeBeingDeleted()
{
    session_.Restore();
    DropShownNode();
}

void frmNodeSettings::NodeSelected()
{
    Label4->hide();
    tbsOptions->show();
    FraOptions[0]->show();
    tbsOptions->setCurrentIndex(0);
    tbsOptions_Click();
    cmdApply->setEnabled(true);
    SetCaption();
}

void frmNodeSettings::Form_Activate()
{
    const bool editable = !IsLoopInterface;
    for (QWidget* w : {static_cast<QWidget*>(ChannelACombo), static_cast<QWidget*>(ChannelBCombo),
                       static_cast<QWidget*>(LoopCombo), static_cast<QWidget*>(AddressCombo),
                       static_cast<QWidget*>(IdentText)})
        w->setEnabled(editable);
    if (editable) {
        cmdApply->show();
        return;
    }
    // The RLM is shown, not edited.
    InfoLabel2->clear();
    for (QWidget* w : {static_cast<QWidget*>(lblRandom), static_cast<QWidget*>(cmdRandom),
                       static_cast<QWidget*>(ParentCombo), static_cast<QWidget*>(ParentLabel),
                       static_cast<QWidget*>(TotalLoopsCombo), static_cast<QWidget*>(HopLabel),
                       static_cast<QWidget*>(HopCount), static_cast<QWidget*>(cmdApply)})
        w->hide();
}

void frmNodeSettings::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frmNodeSettings::tbsOptions_Click()
{
    for (int i = 0; i < 3; ++i)
        FraOptions[i]->setVisible(!tbsOptions->isHidden() && i == tbsOptions->currentIndex());
}

bool frmNodeSettings::Form_KeyDown(const QKeyEvent& key)
{
    if (key.key() != Qt::Key_Tab || key.modifiers() != Qt::ControlModifier)
        return false;
    tbsOptions->setCurrentIndex((tbsOptions->currentIndex() + 1) % tbsOptions->count());
    return true;
}

void frmNodeSettings::keyPressEvent(QKeyEvent* event)
{
    if (!Form_KeyDown(*event))
        QWidget::keyPressEvent(event);
}

void frmNodeSettings::PushPin_Click(bool pressed)
{
    NodeSettingsPinned = pressed;
    platform::SetTopMost(*this, pressed);
}

// Name and ident.

void frmNodeSettings::NameText_Change()
{
    const model::clsNode* node = NodeAt(session_.Node());
    if (node != nullptr && NameText->text().toStdString() != node->Name())
        MarkChanged();
}

bool frmNodeSettings::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees its keys before its controls do.
    if (event->type() == QEvent::KeyPress && Form_KeyDown(*static_cast<QKeyEvent*>(event)))
        return true;
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field == nullptr)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, field, &QLineEdit::selectAll);
    if (field != IdentText)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            IdentText_Enter();
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        // Leaving the field, not the window (a box opening or another window
        // taking the focus).
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            IdentText_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void frmNodeSettings::IdentText_Edited()
{
    IdentTimer->start();
    MarkChanged();
}

void frmNodeSettings::IdentText_Enter()
{
    const std::string typed = IdentText->text().toStdString();
    const std::string cut = editors::RightmostFive(typed);
    if (cut == typed)
        return;
    IdentText->setText(Q(cut));
    IdentTimer->start();
}

void frmNodeSettings::IdentText_LostFocus()
{
    const std::string typed = IdentText->text().toStdString();
    const editors::LeftIdent left = editors::LeaveIdent(typed);
    if (left.ident == typed)
        return;
    if (left.tooLong)
        platform::ShowProgramMessage(this, "Ident Can Only Be 5 Characters", MessageStyle::Critical, "");
    IdentText->setText(Q(left.ident));
    IdentTimer->start();
}

void frmNodeSettings::SettleIdent()
{
    IdentText_LostFocus();
    if (IdentTimer->isActive())
        IdentTimer_Timer();
}

void frmNodeSettings::IdentTimer_Timer()
{
    IdentTimer->stop();
    const std::string ident = IdentText->text().toStdString();
    if (ident.size() != 5) {
        cmdRandom->setEnabled(false);
        lblRandom->setEnabled(false);
        return;
    }
    const int owner = editors::IdentClashOwner(ident, session_.Node());
    if (owner == -1) {
        cmdRandom->setEnabled(true);
        lblRandom->setEnabled(true);
        return;
    }
    platform::ShowProgramMessage(this, editors::IdentClashMessage(ident, owner), MessageStyle::Critical, "");
    IdentText->clear();
}

// Loop, address and parent.

void frmNodeSettings::FillLoopAndAddressLists()
{
    const model::clsNode* node = NodeAt(session_.Node());
    Fill(LoopCombo, editors::LoopItems(LoopCount), node != nullptr ? node->NodeLoop() : -2);
    FillAddressList(node != nullptr ? node->NodeLoop() : -1);
    if (node != nullptr && LoopCombo->currentIndex() >= 0)
        Select(AddressCombo, node->NodeAddress());
}

void frmNodeSettings::FillAddressList(int loop)
{
    const int owner = session_.Node() * 100;
    Fill(AddressCombo, editors::AddressItems(loop, owner, LoopAddressOwner, MaxLoopAddress), -2);
}

void frmNodeSettings::LoopCombo_Click()
{
    const int loop = ListValue(LoopCombo);
    if (loop == -1 || !session_.ChooseLoop(loop))
        return;
    MarkChanged();
    FillAddressList(loop);
}

void frmNodeSettings::AddressCombo_Click()
{
    const int address = ListValue(AddressCombo);
    if (address == -1 || !session_.ChooseAddress(ListValue(LoopCombo), address))
        return;
    MarkChanged();
}

void frmNodeSettings::ParentCombo_Click()
{
    if (ParentCombo->currentIndex() < 0 || !session_.ChooseParent(ListValue(ParentCombo)))
        return;
    ShowHop();
    MarkChanged();
}

void frmNodeSettings::ShowHop()
{
    const model::clsNode* node = NodeAt(session_.Node());
    const editors::HopShown hop = editors::ShowHop(node != nullptr ? node->Hop(Nodes, 10) : 0);
    HopCount->setText(Q(hop.text));
    InvalidHop->setVisible(hop.invalid);
}

void frmNodeSettings::TotalLoopsCombo_Click()
{
    if (TotalLoopsCombo->currentIndex() >= 0 && ListValue(TotalLoopsCombo) != LoopCount)
        MarkChanged();
}

void frmNodeSettings::ProtocolCombo_Click()
{
    if (ProtocolCombo->currentIndex() >= 0 && ListValue(ProtocolCombo) != LoopProtocol)
        MarkChanged();
}

// Radio channels.

void frmNodeSettings::PositionChannelLists(int channelA, int channelB)
{
    ShowChannel(ChannelACombo, channelA);
    ShowChannel(ChannelBCombo, channelB);
    channelChosen_ = {};
}

void frmNodeSettings::ChannelCombo_Click(QComboBox* edited)
{
    const model::clsNode* node = NodeAt(session_.Node());
    const int chosen = ChannelIndex(edited);
    if (node == nullptr || chosen == -1)
        return;
    const bool hub = session_.IsHub();
    const bool first = edited == ChannelACombo;
    const int current = hub ? (first ? node->Y_ChannelA() : node->Y_ChannelB())
                            : (first ? node->X_ChannelA() : node->X_ChannelB());
    switch (editors::ChooseChannel(hub, current, chosen)) {
    case editors::ChannelChoice::Confirm:
        if (platform::ShowProgramMessage(this, editors::ChangeWarningText(), (MessageStyle::Critical | MessageStyle::ProceedCancel),
                                         editors::kChangeChannelsTitle) != MessageResult::Proceed ||
            platform::ShowProgramMessage(this, editors::kChangeConfirmText, (MessageStyle::Question | MessageStyle::YesNo),
                                         editors::kChangeChannelsTitle) != MessageResult::Yes) {
            ShowChannel(edited, current);
            return;
        }
        MarkChanged();
        break;
    case editors::ChannelChoice::Accept:
        MarkChanged();
        break;
    case editors::ChannelChoice::Unchanged:
        break;
    }
    channelChosen_[first ? 0 : 1] = true;

    const int a = ChannelIndex(ChannelACombo);
    const int b = ChannelIndex(ChannelBCombo);
    if (hub) {
        if (editors::CompareXChannels(a, b, 0, Nodes) != -1) {
            platform::ShowProgramMessage(this, editors::YAgainstXText(), first ? MessageStyle::Question : MessageStyle::Critical,
                                         editors::kYChannelsTitle);
            ShowChannel(edited, -1);
        }
        return;
    }
    const int rcc = model::FindNodeByXChannels(a, b, session_.Node());
    if (rcc != -1)
        platform::ShowProgramMessage(this, editors::SameXPairText(rcc), MessageStyle::Exclamation, editors::kXChannelsTitle);
    if (editors::IsHubYChannel(chosen, Nodes)) {
        platform::ShowProgramMessage(this, editors::XOnYText(), MessageStyle::Critical, editors::kXChannelsTitle);
        ShowChannel(edited, -1);
    }
}

void frmNodeSettings::cmdRandom_Click()
{
    if (platform::ShowProgramMessage(this, editors::GeneratorWarningText(), (MessageStyle::Critical | MessageStyle::ProceedCancel),
                                     editors::kChangeChannelsTitle) != MessageResult::Proceed)
        return;
    if (platform::ShowProgramMessage(this, editors::kChangeConfirmText, (MessageStyle::Question | MessageStyle::YesNo),
                                     editors::kChangeChannelsTitle) != MessageResult::Yes)
        return;
    SettleIdent();
    const std::string ident = IdentText->text().toStdString();
    if (ident.size() != 5)
        return;
    PositionChannelLists(-1, -1);
    Nodes[0].SetNodeIdent(ident);
    model::AutoAssignChannels();
    PositionChannelLists(Nodes[0].Y_ChannelA(), Nodes[0].Y_ChannelB());
    MarkChanged();
    FileChanged = true;
    if (EditorsHost* host = Editors())
        host->UpdateTitleBar();
    cmdApply_Click();
    cmdRandom->setEnabled(false);
}

// Apply, OK, Cancel, Devices and closing.

void frmNodeSettings::cmdApply_Click()
{
    model::clsNode* node = NodeAt(session_.Node());
    if (node == nullptr)
        return;
    SettleIdent();
    editors::NodeEdits edits;
    if (ParentCombo->currentIndex() >= 0)
        edits.parent = ListValue(ParentCombo);
    edits.name = NameText->text().toStdString();
    edits.ident = IdentText->text().toStdString();
    // A list the user did not choose in keeps the node's channel, also one
    // that the list cannot show.
    if (channelChosen_[0])
        edits.channelA = ChannelIndex(ChannelACombo);
    if (channelChosen_[1])
        edits.channelB = ChannelIndex(ChannelBCombo);
    edits.loopCount = ListValue(TotalLoopsCombo);
    edits.protocol = ListValue(ProtocolCombo);
    const editors::ApplyResult result = session_.Apply(edits);
    if (result.duplicateOwner != -1)
        platform::ShowPlainMessage(this,
                                   "A Duplicate Loop Address Has Been Found\r\n"
                                   "The Node Loop Address must be Re-Selected",
                                   MessageStyle::Exclamation, "Duplicate Loop Address");
    ShowHop();
    FillLoopAndAddressLists();
    if (EditorsHost* host = Editors())
        host->RedrawSite();
    editors::ShowRelatives(session_.Node());
    if (changed_ || result.changed) {
        FileChanged = true;
        if (EditorsHost* host = Editors())
            host->UpdateTitleBar();
    }
    changed_ = false;
    SetCaption();
}

void frmNodeSettings::cmdOK_Click()
{
    cmdApply_Click();
    editors::HideRelatives(session_.Node());
    close();
}

void frmNodeSettings::cmdCancel_Click()
{
    if (session_.Node() != -1) {
        session_.Restore();
        editors::HideRelatives(session_.Node());
    }
    close();
}

void frmNodeSettings::cmdDevices_Click()
{
    PreviousSelectedNode = SelectedNode;
    SelectedNode = ActiveNode;
    frmDevices::Open(PreviousSelectedNode);
}

bool frmNodeSettings::Form_QueryUnload()
{
    SettlePendingEdits(false);
    return true;
}

bool frmNodeSettings::SettlePendingEdits(bool cancellable)
{
    return editors::SettlePendingEdits(
        this, "Close Node Properties Form", cancellable, changed_, [this] { cmdApply_Click(); },
        [this] { session_.Restore(); });
}

void frmNodeSettings::Form_Unload()
{
    platform::StoreNormalRectangle(*this, kStored);
    NodeSettingsPinned = false;
}

void frmNodeSettings::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload();
    Form_Unload();
    QWidget::closeEvent(event);
}
