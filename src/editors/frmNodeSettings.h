#pragma once
// The node properties window: a modeless tool window that edits the node
// active on the canvas (the Radio Hub, the RLM or an RCC) on two tabs,
// "Properties" (name, ident, loop, address, parent or the hub's loops and
// protocol) and "Radio Channels". Loop, address and parent go into the node
// as they are chosen; the other fields wait for Apply. Pending edits belong
// to the node the window shows: a selection change, a deselection and a
// close ask whether to apply them, and put them back otherwise.
#include "editors/core/NodeEditSession.h"
#include "platform/FormInstance.h"

#include <QWidget>
#include <array>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTimer;
class QToolButton;

// True while the window's push pin is down.
extern bool NodeSettingsPinned;

class frmNodeSettings : public QWidget, public platform::FormInstance<frmNodeSettings>
{
    Q_OBJECT
public:
    frmNodeSettings();

    // Loads the window from ActiveNode; previousNode is the node shown before.
    void RefreshData(int previousNode);
    void NoNodeSelected();
    void NodeSelected();
    // The close question on pending edits: Yes applies, No puts the node's
    // loaded values back. False when a cancellable question (before the
    // program ends) was cancelled; the edits are then still pending.
    bool SettlePendingEdits(bool cancellable);
    // The node shown is gone (its RCC deleted, or the site replaced): its
    // pending edits are dropped without writing anything, and the window
    // shows that nothing is selected.
    void DropShownNode();
    // The node shown is about to be deleted: its pending edits are put back
    // first (loop, address and parent go into the node as they are chosen),
    // so that the delete frees the loop address and hands on the children
    // as the node held them when loaded; then the window drops the node.
    void DropNodeBeingDeleted();

    // Handlers, public for the tests as the buttons and lists are.
    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdDevices_Click();
    void cmdRandom_Click();
    void IdentTimer_Timer();
    void Form_Activate();

    // The node the window edits (-1 none).
    int ShownNode() const { return session_.Node(); }
    bool Changed() const { return changed_; }

    QTabBar* tbsOptions = nullptr;
    QFrame* FraOptions[3] = {};
    QLabel* NameLabel = nullptr;
    QLineEdit* NameText = nullptr;
    QLabel* IdentLabel = nullptr;
    QLineEdit* IdentText = nullptr;
    QTimer* IdentTimer = nullptr;
    QLabel* LoopLabel = nullptr;
    QComboBox* LoopCombo = nullptr;
    QLabel* AddressLabel = nullptr;
    QComboBox* AddressCombo = nullptr;
    QLabel* ParentLabel = nullptr;
    QComboBox* ParentCombo = nullptr;
    QLabel* HopLabel = nullptr;
    QLabel* HopCount = nullptr;
    QLabel* InvalidHop = nullptr;
    QLabel* LoopQtyLbl = nullptr;
    QComboBox* TotalLoopsCombo = nullptr;
    QLabel* ProtocolLabel = nullptr;
    QComboBox* ProtocolCombo = nullptr;
    QLabel* InfoLabelY = nullptr;
    QLabel* ChannelALabel = nullptr;
    QComboBox* ChannelACombo = nullptr;
    QLabel* ChannelBLabel = nullptr;
    QComboBox* ChannelBCombo = nullptr;
    QLabel* InfoLabel2 = nullptr;
    QLabel* lblRandom = nullptr;
    QPushButton* cmdRandom = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdDevices = nullptr;
    QToolButton* PushPin = nullptr;
    QLabel* Label4 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void Form_Load();
    bool Form_QueryUnload();
    void Form_Unload();
    void SetCaption();
    void MarkChanged();
    // The pending-edit question of a selection change; Yes applies to the
    // shown node, No puts its loaded values back.
    void AskAboutPendingEdits();
    // Ctrl+Tab turns to the next tab (from the last to the first).
    bool Form_KeyDown(const QKeyEvent& key);
    void tbsOptions_Click();
    void PushPin_Click(bool pressed);
    void NameText_Change();
    void IdentText_Edited();
    void IdentText_Enter();
    void IdentText_LostFocus();
    // Brings a typed ident into its stored form and runs a clash check that
    // is still waiting, so that what Apply writes has been checked.
    void SettleIdent();
    void LoopCombo_Click();
    void AddressCombo_Click();
    void ParentCombo_Click();
    void TotalLoopsCombo_Click();
    void ProtocolCombo_Click();
    void ChannelCombo_Click(QComboBox* edited);
    void FillLoopAndAddressLists();
    void FillAddressList(int loop);
    void PositionChannelLists(int channelA, int channelB);
    void ShowHop();

    editors::NodeEditSession session_;
    bool changed_ = false;
    // The user has chosen in the first (second) channel list since the
    // lists were positioned for the node.
    std::array<bool, 2> channelChosen_{};
};
