#pragma once
// The device window: the 31 device slots of one node (an RCC, or the RLM of
// a loop-interface site, shown read only), with a palette of ten device
// kinds to add from, the fields of the selected slot, the quick-info labels
// and a push pin that keeps the window open and on top. Every edit stays in
// the window's own slot tables until Apply writes them into the node.
// Positions of the slot grid and the palette are twips.
#include "editors/core/DeviceSlots.h"
#include "platform/FormInstance.h"

#include <QPixmap>
#include <QWidget>
#include <array>

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class QToolButton;

// True while the window's push pin is down.
extern bool DevicesPinned;

class frmDevices : public QWidget, public platform::FormInstance<frmDevices>
{
    Q_OBJECT
public:
    // Builds the controls and loads the slots of ActiveNode.
    frmDevices();

    // --- called by the main window and the node properties window ---------
    // Opens the window (loading it when needed) in front and active, as a
    // window opened for work, and shows ActiveNode (RefreshData).
    static frmDevices* Open(int previousNode);
    void SelectDevice(int slot);
    void NodeSelected();
    void NoNodeSelected();
    // Offers pending edits for the node shown so far, then shows ActiveNode.
    void RefreshData(int previousNode);
    // The close question on pending edits: Yes applies, No drops them.
    // False when a cancellable question (before the program ends) was
    // cancelled; the edits are then still pending.
    bool SettlePendingEdits(bool cancellable);
    // The node shown is gone (its RCC deleted, or the site replaced): its
    // pending edits are dropped, nothing of it is left to apply or move, and
    // the window shows that nothing is selected.
    void DropShownNode();
    // The node whose slots the window holds (-1 none).
    int ShownNode() const { return slots_.Node(); }

    // --- state, for the tests ----------------------------------------------
    int SelectedSlot() const { return selectedSlot_; }
    bool Changed() const { return changed_; }
    int PalettePage() const { return palettePage_; }
    const editors::DeviceSlots& Slots() const { return slots_; }
    editors::DeviceSlots& Slots() { return slots_; }

    // --- handlers --------------------------------------------------------------
    void Form_Activate();
    // True when the key was handled (consumed).
    bool Form_KeyDown(int key);
    void LayoutPalette(bool forward);
    void SourceDevice_DblClick(int item);
    // Palette item dropped on slot index.
    void DeviceImage_DragDrop(int index, int item);
    void DeviceImage_MouseDown(int index, Qt::MouseButton button, const QPoint& globalPos = {});
    void DeviceImage_DblClick(int index);
    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdDel_Click();
    void cmdClearAll_Click();
    void DeleteDevice_Click();
    void MoveRCC_Click();
    void TypeChange_Click();
    void IdentTimer_Timer();
    void CommitDeviceFields();

    // --- controls (names as the window's design has them) ----------------------
    QGroupBox* Pallette = nullptr;
    std::array<QLabel*, 10> SourceDevice{};
    std::array<QLabel*, 10> SourceLabel{};
    QScrollBar* DevScrollL = nullptr;
    QScrollBar* DevScrollR = nullptr;
    std::array<QLabel*, 32> DeviceImage{};  // 1..31
    std::array<QLabel*, 32> DeviceNumber{}; // 1..31
    std::array<QLabel*, 32> DeviceDetail{}; // 1..31
    QFrame* ImageSelect = nullptr;
    QGroupBox* NoNodeFrame = nullptr;
    QLabel* Label1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* TypeLabel = nullptr;
    QLineEdit* TypeText = nullptr;
    QLabel* IdentLabel = nullptr;
    QLineEdit* IdentText = nullptr;
    QLabel* LoopLabel = nullptr;
    QComboBox* LoopCombo = nullptr;
    QLabel* AddressLabel = nullptr;
    QComboBox* AddressCombo = nullptr;
    QLabel* lblAddress2 = nullptr;
    QLabel* NameLabel = nullptr;
    QLineEdit* NameText = nullptr;
    QGroupBox* Quick = nullptr;
    QRadioButton* optQI_Type = nullptr;
    QRadioButton* optQI_Ident = nullptr;
    QRadioButton* optQI_LA = nullptr;
    QRadioButton* optQI_None = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdDel = nullptr;
    QPushButton* cmdClearAll = nullptr;
    QToolButton* PushPin = nullptr;
    QMenu* DeviceMenu = nullptr;
    QAction* MoveRCC = nullptr;
    QAction* TypeChange = nullptr;
    QAction* DeleteDeviceItem = nullptr;
    QAction* CancelMenu = nullptr;
    QTimer* IdentTimer = nullptr;

    // Window size, twips; the window is wider by what the Type field needs
    // beyond its designed width to show every type name in the window's font.
    static constexpr long kWidth = 8700;
    static constexpr long kHeight = 7300;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void Form_QueryUnload();
    void Form_Unload();
    void UpdateCaption();
    // Puts the cover's state on the controls behind it: while the cover is
    // up they take neither the focus nor a key.
    void SetCovered(bool covered);
    void DisableDeviceFields();
    void EnableDeviceFields();
    void ShowSelectedDevice();
    void ShowQuickInfo(int slot);
    void ShowAllQuickInfo();
    void ShowSlotPicture(int slot);
    void FrameSlot(int slot);
    void LoadShownSlots();
    void ShowSlots();
    void FillLoopList();
    void SetQuickInfoMode(int mode);
    void PushPin_Click(bool pressed);
    void DevScroll_Change(bool forward);
    void LoopCombo_Click();
    void AddressCombo_Click();
    void IdentText_Edited();
    bool IdentText_KeyPress(QKeyEvent* event);
    void IdentText_LostFocus();
    // The detector prompt of a combination item; the type chosen.
    model::DeviceTypeCode AskComboType(int item, int preselected);
    // The type a palette item places (asking for a combination's detector).
    model::DeviceTypeCode TypeOfItem(int item);
    // Places the new device of slot k; removes it again when nothing is free.
    void PlaceNewDevice(int slot);
    void StartPaletteDrag(int item);
    int SlotOf(QObject* watched) const;
    int PaletteItemOf(QObject* watched) const;
    bool HasDevice(int slot) const;
    bool FieldHasFocus(QObject* watched) const;

    editors::DeviceSlots slots_;
    int selectedSlot_ = -1;
    bool changed_ = false;
    bool paletteBusy_ = false;
    int palettePage_ = 0;
    bool keyPreview_ = true;
    bool commitBusy_ = false;
    bool filling_ = false; // the lists are being filled from code
    bool coverShown_ = false;
    QPoint dragStart_;
    std::array<QPixmap, 10> pictures_; // by palette item
};
