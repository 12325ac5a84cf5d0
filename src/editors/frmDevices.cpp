#include "editors/frmDevices.h"
#include "platform/Yield.h"

#include "editors/CloseQuestion.h"
#include "editors/DevicePictures.h"
#include "editors/EditorsHost.h"
#include "editors/IdentValidator.h"
#include "editors/core/DeviceIdentClash.h"
#include "editors/core/SlotRules.h"
#include "model/DeviceTypes.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Icons.h"
#include "platform/ProgramMessage.h"
#include "platform/Units.h"
#include "platform/WindowLayer.h"
#include "platform/WindowPlacement.h"
#include "platform/Win1252Validator.h"
#include "platform/base/MessageStyle.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

bool DevicesPinned = false;

namespace {

using editors::DeviceSlot;

constexpr const char* kPaletteMime = "application/x-qvs-device-palette-item";
constexpr int kSlotPictureSize = 675; // twips
constexpr int kPalettePictureSize = 600;
const char* const kPaletteCaptions[editors::kPaletteItems] = {
    "Callpoint", "Sounder", "Optical", "Sndr/Bcon", "Multisensor",
    "Combo", "Heat (A1R)", "Cmbo/Bcon", "Heat (CS)", "I/O Unit"};

void Place(QWidget* w, long left, long top, long width, long height)
{
    w->setGeometry(platform::TwipsToPixels(left), platform::TwipsToPixels(top), platform::TwipsToPixels(width),
                   platform::TwipsToPixels(height));
}

long TwipsOf(int pixels)
{
    return platform::PixelsToTwips(pixels);
}

int32_t Say(QWidget* owner, const std::string& text, int32_t style, const std::string& title = {})
{
    return platform::ShowProgramMessage(owner, text, style, title);
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// Pixels a read-only field needs to show every device type name whole: the
// widest name in the field's font, the field's 2-pixel margin each side of
// its text, and the frame its style draws round it.
int TypeFieldWidth(const QLineEdit& field)
{
    const QFontMetrics metrics(field.font());
    int widest = metrics.horizontalAdvance(Q(model::DeviceTypeName(0)));
    for (model::DeviceTypeCode code = 2; !model::DeviceTypeName(code).empty(); ++code)
        widest = std::max(widest, metrics.horizontalAdvance(Q(model::DeviceTypeName(code))));
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.lineWidth = field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field);
    option.state |= QStyle::State_ReadOnly;
    const QSize text(widest + 4, metrics.height());
    return field.style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, &field).width();
}

int SlotLeft(int slot)
{
    return ((slot - 1) % 8) * 950 + 285;
}

int SlotTop(int slot)
{
    return ((slot - 1) / 8) * 900 + 2700;
}

} // namespace

frmDevices::frmDevices() : QWidget(nullptr, Qt::Tool)
{
    setObjectName("frmDevices");
    BuildControls();
    Form_Load();
}

frmDevices* frmDevices::Open(int previousNode)
{
    frmDevices* devices = Load();
    devices->show();
    // A tool window is not made active when it is shown: the keys would stay
    // with the window it was opened from (on the main window, Delete deletes
    // the RCC).
    platform::BringWindowToFront(*devices);
    devices->RefreshData(previousNode);
    return devices;
}

// --- building -----------------------------------------------------------------

void frmDevices::BuildControls()
{
    Pallette = new QGroupBox("Device Palette", this);
    Place(Pallette, 100, 100, 4000, 2330);
    for (int i = 0; i < editors::kPaletteItems; ++i) {
        SourceDevice[i] = new QLabel(Pallette);
        SourceDevice[i]->setObjectName(QString("SourceDevice%1").arg(i));
        SourceDevice[i]->setAlignment(Qt::AlignCenter);
        SourceDevice[i]->installEventFilter(this);
        SourceLabel[i] = new QLabel(Pallette);
        QFont small = SourceLabel[i]->font();
        small.setPointSizeF(7.5);
        SourceLabel[i]->setFont(small);
    }
    DevScrollL = new QScrollBar(Qt::Horizontal, Pallette);
    DevScrollR = new QScrollBar(Qt::Horizontal, Pallette);
    for (QScrollBar* arrow : {DevScrollL, DevScrollR}) {
        arrow->setRange(0, 1);
        arrow->setPageStep(1);
    }
    Place(DevScrollL, 15, 0, 225, 255);
    Place(DevScrollR, 4000 - 240, 0, 225, 255);
    connect(DevScrollL, &QScrollBar::valueChanged, this, [this] { DevScroll_Change(false); });
    connect(DevScrollR, &QScrollBar::valueChanged, this, [this] { DevScroll_Change(true); });

    Frame1 = new QGroupBox("Device Properties", this);
    auto row = [this](const char* caption, long top, QWidget* field, long width) {
        auto* label = new QLabel(caption, Frame1);
        Place(label, 100, top + 45, 720, 255);
        Place(field, 830, top, width, 330);
        return label;
    };
    TypeText = new QLineEdit(Frame1);
    TypeText->setReadOnly(true);
    // The Type field shows every type name whole in the window's font; the
    // field group, the quick-info group, the pin and the window widen with it.
    const long typeWidth = std::max(1540L, TwipsOf(TypeFieldWidth(*TypeText)));
    const long wider = typeWidth - 1540;
    setFixedSize(platform::TwipsToPixels(kWidth + wider), platform::TwipsToPixels(kHeight));
    Place(Frame1, 4200, 100, 2450 + wider, 2330);
    TypeLabel = row("Type", 300, TypeText, typeWidth);
    IdentText = new QLineEdit(Frame1);
    IdentText->setMaxLength(7);
    IdentText->setValidator(new editors::IdentValidator(IdentText));
    IdentLabel = row("Ident", 750, IdentText, 900);
    LoopCombo = new QComboBox(Frame1);
    LoopLabel = row("Loop", 1200, LoopCombo, 700);
    AddressCombo = new QComboBox(Frame1);
    AddressLabel = row("Address", 1650, AddressCombo, 780);
    lblAddress2 = new QLabel(Frame1);
    Place(lblAddress2, 1640, 1695, 780, 255);
    NameText = new QLineEdit(Frame1);
    NameText->setMaxLength(40);
    platform::LimitToWin1252(NameText);
    NameLabel = row("Location", 2050, NameText, 1540);
    for (QWidget* field : {static_cast<QWidget*>(TypeText), static_cast<QWidget*>(IdentText),
                           static_cast<QWidget*>(LoopCombo), static_cast<QWidget*>(AddressCombo),
                           static_cast<QWidget*>(NameText)})
        field->installEventFilter(this);
    connect(IdentText, &QLineEdit::textEdited, this, [this] { IdentText_Edited(); });
    connect(NameText, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (selectedSlot_ != -1)
            slots_.Slot(selectedSlot_).name = text.toStdString();
    });
    connect(LoopCombo, &QComboBox::currentIndexChanged, this, [this] { LoopCombo_Click(); });
    connect(AddressCombo, &QComboBox::currentIndexChanged, this, [this] { AddressCombo_Click(); });

    Quick = new QGroupBox("Quick Info", this);
    Place(Quick, 6750 + wider, 100, 1750, 2330);
    optQI_Type = new QRadioButton("Device &Type", Quick);
    optQI_Ident = new QRadioButton("&Ident", Quick);
    optQI_LA = new QRadioButton("&Loop Address", Quick);
    optQI_None = new QRadioButton("&None", Quick);
    const std::array<std::pair<QRadioButton*, int>, 4> options = {
        std::pair{optQI_Type, editors::kQuickInfoType}, std::pair{optQI_Ident, editors::kQuickInfoIdent},
        std::pair{optQI_LA, editors::kQuickInfoLoopAddress}, std::pair{optQI_None, editors::kQuickInfoNone}};
    long top = 400;
    for (auto [option, mode] : options) {
        Place(option, 120, top, 1600, 300);
        top += 450;
        connect(option, &QRadioButton::toggled, this, [this, mode = mode](bool on) {
            if (on)
                SetQuickInfoMode(mode);
        });
    }

    for (int i = 1; i <= model::kLastSlot; ++i) {
        DeviceNumber[i] = new QLabel("FREE\r\nSLOT", this);
        DeviceNumber[i]->setFont(QFont("Courier New", 7));
        DeviceNumber[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        DeviceImage[i] = new QLabel(this);
        DeviceImage[i]->setObjectName(QString("DeviceImage%1").arg(i));
        DeviceImage[i]->setFrameShape(QFrame::Panel);
        DeviceImage[i]->setFrameShadow(QFrame::Sunken);
        DeviceImage[i]->setAlignment(Qt::AlignCenter);
        DeviceImage[i]->setAcceptDrops(true);
        DeviceImage[i]->setFocusPolicy(Qt::ClickFocus);
        DeviceImage[i]->installEventFilter(this);
        DeviceDetail[i] = new QLabel(this);
        QFont small = DeviceDetail[i]->font();
        small.setPointSizeF(7);
        DeviceDetail[i]->setFont(small);
        DeviceDetail[i]->setAlignment(Qt::AlignCenter);
    }
    ImageSelect = new QFrame(this);
    ImageSelect->setFrameShape(QFrame::Box);
    ImageSelect->setLineWidth(2);
    ImageSelect->setStyleSheet("color: rgb(0, 0, 200);");
    ImageSelect->setAttribute(Qt::WA_TransparentForMouseEvents);
    ImageSelect->hide();

    const char* captions[] = {"&OK", "&Cancel", "&Apply", "&Delete", "Clea&r All"};
    std::array<QPushButton**, 5> buttons = {&cmdOK, &cmdCancel, &cmdApply, &cmdDel, &cmdClearAll};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        *buttons[i] = new QPushButton(captions[i], this);
        Place(*buttons[i], 285 + static_cast<long>(i) * 1350, 6550, 1200, 375);
    }
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { cmdDel_Click(); });
    connect(cmdClearAll, &QPushButton::clicked, this, [this] { cmdClearAll_Click(); });

    PushPin = new QToolButton(this);
    PushPin->setCheckable(true);
    PushPin->setAutoRaise(true);
    Place(PushPin, 7900 + wider, 6550, 375, 375);
    connect(PushPin, &QToolButton::toggled, this, [this](bool pressed) { PushPin_Click(pressed); });

    NoNodeFrame = new QGroupBox(this);
    NoNodeFrame->setAutoFillBackground(true);
    Label1 = new QLabel("Nothing Selected", NoNodeFrame);
    QFont big = Label1->font();
    big.setPointSize(14);
    big.setBold(true);
    Label1->setFont(big);
    Label1->setAlignment(Qt::AlignCenter);
    NoNodeFrame->hide();

    DeviceMenu = new QMenu(this);
    MoveRCC = DeviceMenu->addAction("Move to Another RCC", this, [this] { MoveRCC_Click(); });
    TypeChange = DeviceMenu->addAction("Change Combo Type", this, [this] { TypeChange_Click(); });
    DeleteDeviceItem = DeviceMenu->addAction("Delete Device", this, [this] { DeleteDevice_Click(); });
    DeviceMenu->addSeparator();
    CancelMenu = DeviceMenu->addAction("Cancel");

    IdentTimer = new QTimer(this);
    IdentTimer->setSingleShot(true);
    connect(IdentTimer, &QTimer::timeout, this, [this] { IdentTimer_Timer(); });

    // The window sees the keys of its other controls first (key preview);
    // the fields and the pop-up menu keep theirs.
    const std::array<QWidget*, 6> ownKeys = {TypeText, IdentText, LoopCombo, AddressCombo, NameText, DeviceMenu};
    for (QWidget* child : findChildren<QWidget*>()) {
        const bool own = std::any_of(ownKeys.begin(), ownKeys.end(),
                                     [child](QWidget* w) { return w == child || w->isAncestorOf(child); });
        if (!own)
            child->installEventFilter(this);
    }
}

void frmDevices::Form_Load()
{
    DevicesPinned = false;
    selectedSlot_ = -1;
    changed_ = false;
    setWindowIcon(platform::LoadIconResource("AA_ICON"));
    // Of a fixed size, the window keeps only its place.
    platform::OpenOnStoredRectangle(*this, {&DeviceWindowTop, &DeviceWindowLeft});

    DevScrollL->hide();
    DevScrollR->show();
    const long arrowTop = TwipsOf(Pallette->height()) / 2 - TwipsOf(DevScrollL->height()) / 2 + 50;
    Place(DevScrollL, 15, arrowTop, 225, 255);
    Place(DevScrollR, 4000 - 240, arrowTop, 225, 255);
    for (int i = 0; i < editors::kPaletteItems; ++i) {
        pictures_[static_cast<std::size_t>(i)] = editors::DevicePicture(i);
        SourceDevice[i]->setPixmap(pictures_[static_cast<std::size_t>(i)]);
        SourceDevice[i]->show();
        SourceLabel[i]->show();
    }
    LayoutPalette(false);

    slots_.LoadOwners(LoopAddressOwner, LoopCount, MaxLoopAddress);
    FillLoopList();
    NameText->hide();
    NameLabel->hide();

    for (int i = 1; i <= model::kLastSlot; ++i) {
        Place(DeviceImage[i], SlotLeft(i), SlotTop(i), kSlotPictureSize, kSlotPictureSize);
        Place(DeviceNumber[i], SlotLeft(i), SlotTop(i) + 100, kSlotPictureSize, kSlotPictureSize - 100);
        Place(DeviceDetail[i], SlotLeft(i), SlotTop(i) - 220, kSlotPictureSize, 200);
        DeviceNumber[i]->show();
        DeviceImage[i]->show();
        DeviceDetail[i]->show();
    }
    if (ActiveNode >= 0 && ActiveNode < model::kNodeCount)
        LoadShownSlots();
    DisableDeviceFields();

    switch (QuickInfoMode) {
    case editors::kQuickInfoNone: optQI_None->setChecked(true); break;
    case editors::kQuickInfoLoopAddress: optQI_LA->setChecked(true); break;
    case editors::kQuickInfoIdent: optQI_Ident->setChecked(true); break;
    case editors::kQuickInfoType: optQI_Type->setChecked(true); break;
    default: break;
    }
    QIcon pin;
    pin.addPixmap(platform::IconPixmap("PUSHPIN"), QIcon::Normal, QIcon::Off);
    pin.addPixmap(platform::IconPixmap("PUSHEDPIN"), QIcon::Normal, QIcon::On);
    PushPin->setIcon(pin);
    PushPin->setIconSize(QSize(16, 16));
    // The delayed ident check runs once after loading, as after every key.
    IdentTimer->start(250);
}

// --- palette --------------------------------------------------------------------

void frmDevices::LayoutPalette(bool forward)
{
    const QSignalBlocker holdLeft(DevScrollL);
    const QSignalBlocker holdRight(DevScrollR);
    if (forward) {
        if (palettePage_ < 1)
            ++palettePage_;
        DevScrollL->show();
        DevScrollL->setValue(palettePage_);
        DevScrollR->setValue(palettePage_);
        if (palettePage_ == 1)
            DevScrollR->hide();
    } else {
        if (palettePage_ > 0)
            --palettePage_;
        DevScrollR->show();
        DevScrollL->setValue(palettePage_);
        DevScrollR->setValue(palettePage_);
        if (palettePage_ == 0)
            DevScrollL->hide();
    }
    for (int i = 0; i < editors::kPaletteItems; ++i) {
        QLabel* picture = SourceDevice[i];
        QLabel* caption = SourceLabel[i];
        caption->setText(kPaletteCaptions[i]);
        caption->adjustSize();
        const long top = i % 2 == 0 ? 330 : 1320;
        const long left = (i / 2) * 900 + 250 - palettePage_ * 900;
        Place(picture, left, top, kPalettePictureSize, kPalettePictureSize);
        const bool shown = palettePage_ <= i / 2 && i / 2 <= palettePage_ + 3;
        picture->setVisible(shown);
        caption->setVisible(shown);
        caption->move(picture->x() + (picture->width() - caption->width()) / 2,
                      picture->y() + picture->height() + platform::TwipsToPixels(50));
    }
}

void frmDevices::DevScroll_Change(bool forward)
{
    if (paletteBusy_)
        return;
    paletteBusy_ = true;
    LayoutPalette(forward);
    paletteBusy_ = false;
}

void frmDevices::PushPin_Click(bool pressed)
{
    if (pressed) {
        DevicesPinned = true;
        platform::SetTopMost(*this, true);
    } else {
        platform::SetTopMost(*this, false);
        DevicesPinned = false;
    }
    keyPreview_ = true;
}

// --- faces and following the selection ---------------------------------------

void frmDevices::Form_Activate()
{
    const bool editable = !IsLoopInterface;
    for (QWidget* w : {static_cast<QWidget*>(cmdDel), static_cast<QWidget*>(cmdCancel),
                       static_cast<QWidget*>(cmdClearAll), static_cast<QWidget*>(cmdApply)})
        w->setEnabled(editable);
    Pallette->setEnabled(editable && !coverShown_);
    // The fields stay greyed while no device is selected, so that they do
    // not take the keys from the slot grid.
    for (QWidget* w : {static_cast<QWidget*>(AddressCombo), static_cast<QWidget*>(IdentText)})
        w->setEnabled(editable && HasDevice(selectedSlot_));
    LoopCombo->setVisible(editable);
    LoopLabel->setVisible(editable);
    for (QLabel* label : {IdentLabel, LoopLabel, AddressLabel})
        label->setEnabled(editable);
    if (coverShown_) {
        cmdClearAll->setEnabled(false);
        cmdApply->setEnabled(false);
        cmdDel->setEnabled(false);
    }
    UpdateCaption();
}

void frmDevices::UpdateCaption()
{
    // The nothing-selected and hub faces keep their own captions.
    if (coverShown_)
        return;
    if (IsLoopInterface)
        setWindowTitle("Device Settings for RLM");
    else
        setWindowTitle(QString("Device Settings for RCC %1").arg(slots_.Node()) + (changed_ ? " * " : ""));
}

void frmDevices::SetCovered(bool covered)
{
    coverShown_ = covered;
    // Behind the cover the slots still hold the node shown before: nothing
    // there takes the focus or a key, and the selection frame is not drawn.
    Pallette->setEnabled(!covered && !IsLoopInterface);
    for (QWidget* w : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Quick)})
        w->setEnabled(!covered);
    for (int i = 1; i <= model::kLastSlot; ++i)
        DeviceImage[i]->setEnabled(!covered);
    ImageSelect->setVisible(!covered && selectedSlot_ != -1);
}

void frmDevices::NodeSelected()
{
    SetCovered(false);
    NoNodeFrame->hide();
    NoNodeFrame->lower();
    if (!IsLoopInterface) {
        cmdClearAll->setEnabled(true);
        cmdApply->setEnabled(true);
        cmdDel->setEnabled(true);
    }
}

void frmDevices::NoNodeSelected()
{
    Place(NoNodeFrame, 100, 100, TwipsOf(width()) - 300, TwipsOf(height()) - 1200);
    Label1->setText("Nothing Selected");
    Label1->setGeometry(0, 0, NoNodeFrame->width(), NoNodeFrame->height());
    NoNodeFrame->show();
    NoNodeFrame->raise();
    cmdClearAll->setEnabled(false);
    cmdApply->setEnabled(false);
    cmdDel->setEnabled(false);
    SetCovered(true);
    setWindowTitle("Device Details");
}

void frmDevices::RefreshData(int)
{
    if (changed_) {
        if (Say(this, "Changes Have Been Made\r\nDo You Want To Apply Them?", (MessageStyle::Question | MessageStyle::YesNo),
                "Change Active Object") == MessageResult::Yes)
            cmdApply_Click();
        changed_ = false;
    }
    slots_.LoadOwners(LoopAddressOwner, LoopCount, MaxLoopAddress);
    if (ActiveNode < 0 || ActiveNode >= model::kNodeCount) {
        NoNodeSelected();
        return;
    }
    if (ActiveNode == 0 && !IsLoopInterface) {
        NoNodeSelected();
        Label1->setText("Radio Hub has No Devices");
        setWindowTitle("Device Settings for Radio Hub");
        return;
    }
    NodeSelected();
    // The site's number of loops may have changed since the list was filled
    // (another site opened, or the hub's properties applied).
    if (LoopCombo->count() != LoopCount)
        FillLoopList();
    LoadShownSlots();
    UpdateCaption();
    ShowSelectedDevice();
}

void frmDevices::LoadShownSlots()
{
    slots_.LoadSlots(model::Nodes[static_cast<std::size_t>(ActiveNode)], ActiveNode);
    ShowSlots();
}

void frmDevices::ShowSlots()
{
    for (int s = 1; s <= model::kLastSlot; ++s) {
        ShowSlotPicture(s);
        ShowQuickInfo(s);
    }
}

void frmDevices::FillLoopList()
{
    filling_ = true;
    AddressCombo->clear();
    LoopCombo->clear();
    for (int loop = 1; loop <= LoopCount; ++loop)
        LoopCombo->addItem(QString::number(loop), loop);
    LoopCombo->setCurrentIndex(-1);
    filling_ = false;
}

void frmDevices::DropShownNode()
{
    IdentTimer->stop();
    changed_ = false;
    slots_.Forget();
    slots_.LoadOwners(LoopAddressOwner, LoopCount, MaxLoopAddress);
    FillLoopList();
    ShowSlots();
    selectedSlot_ = -1;
    ImageSelect->hide();
    ShowSelectedDevice();
    NoNodeSelected();
}

void frmDevices::DisableDeviceFields()
{
    for (QWidget* w : {static_cast<QWidget*>(TypeText), static_cast<QWidget*>(IdentText),
                       static_cast<QWidget*>(LoopCombo), static_cast<QWidget*>(AddressCombo),
                       static_cast<QWidget*>(NameText)})
        w->setEnabled(false);
}

void frmDevices::EnableDeviceFields()
{
    if (!IsLoopInterface)
        for (QWidget* w : {static_cast<QWidget*>(TypeText), static_cast<QWidget*>(IdentText),
                           static_cast<QWidget*>(LoopCombo), static_cast<QWidget*>(AddressCombo)})
            w->setEnabled(true);
    NameText->setEnabled(true);
}

// --- slots, selection and quick info --------------------------------------------

bool frmDevices::HasDevice(int slot) const
{
    return slot >= 1 && slot <= model::kLastSlot && slots_.Slot(slot).type != 0;
}

void frmDevices::ShowSlotPicture(int slot)
{
    const int item = editors::PaletteItemOfType(slots_.Slot(slot).type);
    QLabel* image = DeviceImage[slot];
    if (item < 0) {
        image->clear();
        image->setAutoFillBackground(false);
    } else {
        image->setPixmap(pictures_[static_cast<std::size_t>(item)]);
        image->setAutoFillBackground(true);
    }
}

void frmDevices::ShowQuickInfo(int slot)
{
    if (slot < 1 || slot > model::kLastSlot)
        return;
    const DeviceSlot& s = slots_.Slot(slot);
    const auto text = editors::QuickInfoText(s.type, s.ident, s.loop, s.address, QuickInfoMode);
    DeviceDetail[slot]->setText(text ? Q(*text) : QString());
    DeviceDetail[slot]->setVisible(text.has_value());
}

void frmDevices::ShowAllQuickInfo()
{
    for (int s = 1; s <= model::kLastSlot; ++s)
        ShowQuickInfo(s);
}

void frmDevices::SetQuickInfoMode(int mode)
{
    QuickInfoMode = mode;
    ShowAllQuickInfo();
}

void frmDevices::FrameSlot(int slot)
{
    Place(ImageSelect, SlotLeft(slot) - 15, SlotTop(slot) - 15, kSlotPictureSize + 40, kSlotPictureSize + 40);
    ImageSelect->setVisible(!coverShown_);
    ImageSelect->raise();
}

void frmDevices::SelectDevice(int slot)
{
    if (slot < 1 || slot > model::kLastSlot)
        return;
    CommitDeviceFields();
    FrameSlot(slot);
    selectedSlot_ = slot;
    ShowSelectedDevice();
}

void frmDevices::ShowSelectedDevice()
{
    filling_ = true;
    if (!HasDevice(selectedSlot_)) {
        TypeText->clear();
        IdentText->clear();
        NameText->clear();
        LoopCombo->setCurrentIndex(-1);
        AddressCombo->setCurrentIndex(-1);
        lblAddress2->hide();
        DisableDeviceFields();
        filling_ = false;
        return;
    }
    const DeviceSlot& s = slots_.Slot(selectedSlot_);
    LoopCombo->setCurrentIndex(LoopCombo->findData(s.loop));
    const editors::AddressChoices choices = slots_.AddressChoicesFor(selectedSlot_);
    AddressCombo->clear();
    for (int a : choices.addresses)
        AddressCombo->addItem(QString::number(a), a);
    AddressCombo->setCurrentIndex(choices.selected == -1 ? -1 : AddressCombo->findData(choices.selected));
    const bool head = model::IsComboHeadType(s.type);
    lblAddress2->setVisible(head && s.address != -1);
    lblAddress2->setText(QString(" and %1").arg(s.address + 1));
    ShowQuickInfo(selectedSlot_);
    IdentText->setText(Q(s.ident));
    NameText->setText(Q(s.name));
    TypeText->setText(Q(model::DeviceTypeName(s.type)));
    TypeText->setCursorPosition(0);
    EnableDeviceFields();
    filling_ = false;
}

bool frmDevices::Form_KeyDown(int key)
{
    if (coverShown_)
        return false;
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
    if (selectedSlot_ == -1) {
        if (!arrow)
            return false;
        selectedSlot_ = 1;
        FrameSlot(1);
        ShowSelectedDevice();
        return true;
    }
    if (key == Qt::Key_Delete) {
        DeleteDevice_Click();
        return true;
    }
    if (arrow) {
        const editors::ArrowKey direction = key == Qt::Key_Left   ? editors::ArrowKey::Left
                                            : key == Qt::Key_Up   ? editors::ArrowKey::Up
                                            : key == Qt::Key_Right ? editors::ArrowKey::Right
                                                                   : editors::ArrowKey::Down;
        selectedSlot_ = editors::SlotAfterArrow(selectedSlot_, direction);
    }
    FrameSlot(selectedSlot_);
    ShowSelectedDevice();
    return arrow;
}

// --- the device fields ----------------------------------------------------------

bool frmDevices::IdentText_KeyPress(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return false;
    if (!HasDevice(selectedSlot_))
        return true;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        const QString text = IdentText->text();
        if (text.size() > 5)
            IdentText->setText(text.right(5));
        return true;
    }
    // A paste goes through the field's validator, as typed digits do.
    const QString typed = event->text();
    if (typed.isEmpty() || key == Qt::Key_Backspace || event->matches(QKeySequence::Paste))
        return false;
    const QChar c = typed.at(0).toUpper();
    const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    return !hex || typed.size() != 1;
}

void frmDevices::IdentText_Edited()
{
    IdentTimer->start(250);
    changed_ = true;
    UpdateCaption();
}

void frmDevices::IdentText_LostFocus()
{
    const QString text = IdentText->text();
    if (!text.isEmpty() && text.size() < 5)
        IdentText->setText(text.rightJustified(5, '0'));
    if (text.size() > 5) {
        Say(this, "Ident Can Only Be 5 Characters", MessageStyle::Critical);
        IdentText->setText(text.right(5));
    }
    keyPreview_ = true;
    ShowQuickInfo(selectedSlot_);
    CommitDeviceFields();
}

void frmDevices::IdentTimer_Timer()
{
    IdentTimer->stop();
    const std::string text = IdentText->text().toStdString();
    if (selectedSlot_ == -1 || text.size() != 5)
        return;
    const std::string clash =
        editors::DeviceIdentClash(slots_, selectedSlot_, text, editors::ClashWording::WhileTyping);
    if (clash.empty()) {
        if (HasDevice(selectedSlot_)) {
            slots_.Slot(selectedSlot_).ident = text;
            ShowQuickInfo(selectedSlot_);
        }
        return;
    }
    Say(this, clash, MessageStyle::Critical);
    IdentText->clear();
}

void frmDevices::CommitDeviceFields()
{
    if (commitBusy_)
        return;
    commitBusy_ = true;
    if (!HasDevice(selectedSlot_)) {
        commitBusy_ = false;
        return;
    }
    // The commit checks the ident itself: a delayed check of the same text
    // still pending would report its clash a second time, in a box of its
    // own that can come up while the commit's box is still going.
    IdentTimer->stop();
    QString text = IdentText->text();
    if (text.size() > 5)
        text = text.right(5);
    if (!text.isEmpty()) {
        text = Q(editors::PaddedIdent(text.toStdString()));
        IdentText->setText(text);
        const std::string clash =
            editors::DeviceIdentClash(slots_, selectedSlot_, text.toStdString(), editors::ClashWording::OnCommit);
        if (!clash.empty()) {
            Say(this, clash, MessageStyle::Critical);
            IdentText->clear();
            commitBusy_ = false;
            return;
        }
    }
    DeviceSlot& s = slots_.Slot(selectedSlot_);
    s.ident = text.toStdString();
    s.name = NameText->text().toStdString();
    if (LoopCombo->currentIndex() != -1)
        s.loop = LoopCombo->currentData().toInt();
    if (AddressCombo->currentIndex() != -1)
        s.address = AddressCombo->currentData().toInt();
    ShowQuickInfo(selectedSlot_);
    commitBusy_ = false;
}

void frmDevices::LoopCombo_Click()
{
    if (filling_ || selectedSlot_ == -1 || LoopCombo->currentIndex() == -1)
        return;
    if (!slots_.ChooseLoop(selectedSlot_, LoopCombo->currentData().toInt()))
        return;
    ShowSelectedDevice();
    changed_ = true;
    UpdateCaption();
}

void frmDevices::AddressCombo_Click()
{
    if (filling_ || selectedSlot_ == -1 || AddressCombo->currentIndex() == -1)
        return;
    if (!slots_.ChooseAddress(selectedSlot_, AddressCombo->currentData().toInt(), LoopCombo->currentIndex() != -1))
        return;
    ShowSelectedDevice();
    changed_ = true;
    UpdateCaption();
}

// --- adding devices ------------------------------------------------------------

model::DeviceTypeCode frmDevices::AskComboType(int item, int preselected)
{
    int choice = -1;
    const QString title =
        item == editors::kComboBeaconItem ? "Select Combo/Beacon Detector Type" : "Select Combo Detector Type";
    if (EditorsHost* host = Editors())
        host->ChooseFromList(this, "Please Select the Type of Detector", preselected,
                             editors::kDetectorChoices, 0, title, choice);
    return editors::ComboTypeFromChoice(item, choice);
}

model::DeviceTypeCode frmDevices::TypeOfItem(int item)
{
    const model::DeviceTypeCode type = editors::PaletteItemType(item);
    return type != -1 ? type : AskComboType(item, 0);
}

void frmDevices::PlaceNewDevice(int slot)
{
    if (slots_.Place(slot) != editors::PlaceResult::NoRoom)
        return;
    Say(this, " No Loop Addresses Free\r\n", MessageStyle::Critical);
    DeleteDevice_Click();
}

void frmDevices::SourceDevice_DblClick(int item)
{
    if (item < 0 || item >= editors::kPaletteItems)
        return;
    CommitDeviceFields();
    const int slot = slots_.FirstEmpty();
    if (slot == -1) {
        Say(this, "You can only have 31 devices\r\nConnected to an RCC at any time", MessageStyle::Critical,
            "Add Device to RCC");
        return;
    }
    FrameSlot(slot);
    selectedSlot_ = slot;
    changed_ = true;
    slots_.Slot(slot).type = TypeOfItem(item);
    ShowSlotPicture(slot);
    PlaceNewDevice(slot);
    ShowSelectedDevice();
    UpdateCaption();
    cmdApply->setFocus();
}

void frmDevices::DeviceImage_DragDrop(int index, int item)
{
    if (index < 1 || index > model::kLastSlot || item < 0 || item >= editors::kPaletteItems)
        return;
    CommitDeviceFields();
    FrameSlot(index);
    changed_ = true;
    selectedSlot_ = index;
    slots_.Retype(index, TypeOfItem(item));
    ShowSlotPicture(index);
    if (!slots_.Slot(index).HasPosition())
        PlaceNewDevice(index);
    ShowSelectedDevice();
    UpdateCaption();
    cmdApply->setFocus();
    keyPreview_ = true;
}

void frmDevices::DeviceImage_MouseDown(int index, Qt::MouseButton button, const QPoint& globalPos)
{
    CommitDeviceFields();
    FrameSlot(index);
    selectedSlot_ = index;
    ShowSelectedDevice();
    if (button != Qt::RightButton)
        return;
    TypeChange->setVisible(model::IsComboHeadType(slots_.Slot(index).type));
    MoveRCC->setEnabled(!IsLoopInterface);
    DeviceMenu->popup(globalPos);
}

void frmDevices::DeviceImage_DblClick(int index)
{
    if (index < 1 || index > model::kLastSlot)
        return;
    const model::DeviceTypeCode type = slots_.Slot(index).type;
    const int item = editors::ComboItemOfType(type);
    if (item == -1)
        return;
    // A plain combination base that gets its head claims the second address.
    if (slots_.Retype(index, AskComboType(item, editors::DetectorChoiceOfType(type))))
        PlaceNewDevice(index);
    changed_ = true;
    ShowSlotPicture(index);
    ShowSelectedDevice();
    UpdateCaption();
}

void frmDevices::TypeChange_Click()
{
    DeviceImage_DblClick(selectedSlot_);
}

// --- deleting, clearing and moving -------------------------------------------

void frmDevices::DeleteDevice_Click()
{
    // Behind the cover (nothing selected, or the hub) the slots still hold
    // the node shown before: nothing there is deletable.
    const int slot = selectedSlot_;
    if (slot < 1 || slot > model::kLastSlot || coverShown_)
        return;
    slots_.Empty(slot);
    ShowSlotPicture(slot);
    changed_ = true;
    ShowQuickInfo(slot);
    if (slot < 2) {
        selectedSlot_ = -1;
        ImageSelect->hide();
    } else {
        selectedSlot_ = slot - 1;
        FrameSlot(selectedSlot_);
        EnableDeviceFields();
    }
    ShowSelectedDevice();
    UpdateCaption();
}

void frmDevices::cmdDel_Click()
{
    if (selectedSlot_ != -1)
        DeleteDevice_Click();
}

void frmDevices::cmdClearAll_Click()
{
    if (slots_.EmptyAll())
        changed_ = true;
    for (int s = 1; s <= model::kLastSlot; ++s) {
        ShowSlotPicture(s);
        ShowQuickInfo(s);
    }
    ImageSelect->hide();
    selectedSlot_ = -1;
    ShowSelectedDevice();
    UpdateCaption();
    keyPreview_ = true;
}

void frmDevices::MoveRCC_Click()
{
    // The RLM's slots are shown read only: a move would copy the device
    // into an RCC while Apply leaves it on the RLM.
    const int source = selectedSlot_;
    if (source < 1 || source > model::kLastSlot || IsLoopInterface || slots_.Node() < 1)
        return;
    const std::vector<int> destinations = editors::RccsWithRoom(model::Nodes, slots_.Node());
    if (destinations.empty()) {
        Say(this, "Device Cannot Be Moved as all other RCCs are Full", MessageStyle::Critical);
        return;
    }
    QStringList candidates;
    for (int n : destinations)
        candidates << QString("RCC %1").arg(n);
    int choice = -1;
    EditorsHost* host = Editors();
    if (!host ||
        host->ChooseFromList(this, "Please Select the RCC to Move To", -1, candidates.join(";"), 1,
                             "Select Destination RCC", choice) != MessageResult::OK ||
        choice < 0 || choice >= candidates.size())
        return;
    const int destination = destinations[static_cast<std::size_t>(choice)];
    model::clsNode& node = model::Nodes[static_cast<std::size_t>(destination)];
    const int target = slots_.MoveTo(source, node, destination, LoopAddressOwner);
    if (target == -1)
        return;
    DeleteDevice_Click();
    cmdApply_Click();
    Say(this,
        "Device at " + editors::LoopAddressText(node.DeviceLoop(target), node.DeviceAddress(target)) +
            " Moved to RCC" + std::to_string(destination),
        MessageStyle::Information);
}

// --- apply, OK, Cancel and closing --------------------------------------------------

void frmDevices::cmdApply_Click()
{
    CommitDeviceFields();
    const int node = slots_.Node();
    // Edits go into the node the window shows, whatever has been selected
    // since; never into the hub or the view-only RLM.
    if (node >= 1 && node < model::kNodeCount) {
        slots_.ApplyTo(model::Nodes[static_cast<std::size_t>(node)], LoopAddressOwner);
        if (changed_) {
            FileChanged = true;
            if (EditorsHost* host = Editors())
                host->UpdateTitleBar();
        }
    }
    if (EditorsHost* host = Editors())
        host->CalculateUsed(ActiveNode);
    changed_ = false;
    keyPreview_ = true;
    UpdateCaption();
}

void frmDevices::cmdOK_Click()
{
    cmdApply_Click();
    Unload();
}

void frmDevices::cmdCancel_Click()
{
    Unload();
}

void frmDevices::Form_QueryUnload()
{
    SettlePendingEdits(false);
}

bool frmDevices::SettlePendingEdits(bool cancellable)
{
    return editors::SettlePendingEdits(
        this, "Close Device Details Form", cancellable, changed_, [this] { cmdApply_Click(); }, [] {});
}

void frmDevices::Form_Unload()
{
    platform::StoreNormalRectangle(*this, {&DeviceWindowTop, &DeviceWindowLeft});
    DevicesPinned = false;
    if (EditorsHost* host = Editors())
        host->CancelDrag();
}

void frmDevices::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload();
    Form_Unload();
    QWidget::closeEvent(event);
}

// --- events ------------------------------------------------------------------------

void frmDevices::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frmDevices::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Form_Activate();
}

void frmDevices::keyPressEvent(QKeyEvent* event)
{
    if (keyPreview_ && (event->key() == Qt::Key_Escape || Form_KeyDown(event->key())))
        return;
    QWidget::keyPressEvent(event);
}

int frmDevices::SlotOf(QObject* watched) const
{
    for (int i = 1; i <= model::kLastSlot; ++i)
        if (DeviceImage[i] == watched)
            return i;
    return -1;
}

int frmDevices::PaletteItemOf(QObject* watched) const
{
    for (int i = 0; i < editors::kPaletteItems; ++i)
        if (SourceDevice[i] == watched)
            return i;
    return -1;
}

bool frmDevices::FieldHasFocus(QObject* watched) const
{
    return watched == TypeText || watched == IdentText || watched == LoopCombo || watched == AddressCombo ||
           watched == NameText;
}

void frmDevices::StartPaletteDrag(int item)
{
    auto* data = new QMimeData;
    data->setData(kPaletteMime, QByteArray::number(item));
    auto* drag = new QDrag(SourceDevice[item]);
    drag->setMimeData(data);
    drag->setPixmap(editors::DeviceDragIcon(item));
    drag->setHotSpot(QPoint(editors::kDragIconSize / 2, editors::kDragIconSize / 2));
    const platform::ModalLoop modal;
    drag->exec(Qt::CopyAction);
}

bool frmDevices::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (FieldHasFocus(watched)) {
        if (type == QEvent::FocusIn) {
            keyPreview_ = false;
            if (watched == IdentText || watched == NameText)
                QTimer::singleShot(0, static_cast<QLineEdit*>(watched), &QLineEdit::selectAll);
        } else if (type == QEvent::FocusOut) {
            // Another window taking the focus leaves the field as it is.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                return QWidget::eventFilter(watched, event);
            keyPreview_ = true;
            if (watched == IdentText)
                IdentText_LostFocus();
            else if (watched == LoopCombo || watched == AddressCombo)
                ShowQuickInfo(selectedSlot_);
        } else if (type == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (watched == IdentText)
                return IdentText_KeyPress(key);
            if (watched == NameText && !HasDevice(selectedSlot_) && !key->text().isEmpty())
                return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (type == QEvent::KeyPress && keyPreview_) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape || Form_KeyDown(key->key()))
            return true;
    }
    if (const int item = PaletteItemOf(watched); item != -1) {
        if (type == QEvent::MouseButtonPress) {
            dragStart_ = static_cast<QMouseEvent*>(event)->pos();
        } else if (type == QEvent::MouseButtonDblClick) {
            SourceDevice_DblClick(item);
        } else if (type == QEvent::MouseMove) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if ((mouse->buttons() & Qt::LeftButton) &&
                (mouse->pos() - dragStart_).manhattanLength() >= QApplication::startDragDistance())
                StartPaletteDrag(item);
        }
        return QWidget::eventFilter(watched, event);
    }
    if (const int slot = SlotOf(watched); slot != -1) {
        switch (type) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            DeviceImage_MouseDown(slot, mouse->button(), mouse->globalPosition().toPoint());
            return true;
        }
        case QEvent::MouseButtonDblClick:
            DeviceImage_DblClick(slot);
            return true;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData()->hasFormat(kPaletteMime) && Pallette->isEnabled())
                drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!drop->mimeData()->hasFormat(kPaletteMime) || !Pallette->isEnabled())
                return true;
            drop->acceptProposedAction();
            DeviceImage_DragDrop(slot, drop->mimeData()->data(kPaletteMime).toInt());
            return true;
        }
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
