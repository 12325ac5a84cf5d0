#pragma once
// The new-site dialog: site name, number of RCCs, number of loops, loop
// protocol, or an RLM project. Shown modally by File > New; its result is
// Tag: "1" when OK was accepted, "0" when it was cancelled or closed.
#include "app/core/NewSite.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmNewSite : public QDialog
{
    Q_OBJECT
public:
    explicit frmNewSite(QWidget* parent = nullptr);

    QString Tag = "0";

    // The choices as the user made them (valid once Tag is "1").
    app::NewSiteChoice Choice() const;

    // Only an item chosen from a list counts: these are the chosen positions,
    // -1 while nothing is chosen (typed text chooses nothing).
    int LoopIndex() const { return loopIndex_; }
    int ProtocolIndex() const { return protocolIndex_; }

    void cmdOK_Click();
    void cmdCancel_Click();
    void RLMCheck_Click();

    QLabel* Label1 = nullptr;
    QLabel* NameLabel = nullptr;
    QLineEdit* NameText = nullptr;
    QLabel* QuantityLabel = nullptr;
    QComboBox* QtyCombo = nullptr;
    QLabel* LoopQtyLbl = nullptr;
    QComboBox* LoopCombo = nullptr;
    QLabel* ProtocolLabel = nullptr;
    QComboBox* ProtocolCombo = nullptr;
    QLabel* IsLoopInterfaceLbl = nullptr;
    QCheckBox* RLMCheck = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Refuse(const QString& text);
    int loopIndex_ = -1;
    int protocolIndex_ = -1;
};
