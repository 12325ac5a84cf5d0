#include "app/frmNewSite.h"
#include "platform/Yield.h"

#include "platform/Icons.h"
#include "platform/Win1252Validator.h"
#include "platform/WindowLayer.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>

namespace {

// A combo box whose typed text chooses nothing: index is the chosen item's
// position, set only when an item is picked from the list (its pop-up, the
// arrow keys or the wheel) and cleared by typing. The toolkit also picks the
// item whose text was typed once the typing ends; that pick is no choice.
class ChoiceBox : public QComboBox
{
public:
    ChoiceBox(QWidget* parent, int& index) : QComboBox(parent), index_(index)
    {
        setEditable(true);
        setInsertPolicy(QComboBox::NoInsert);
        setCompleter(nullptr);
        connect(lineEdit(), &QLineEdit::textEdited, this, [this] { index_ = -1; });
        connect(this, &QComboBox::activated, this, [this](int i) {
            if (picking_)
                index_ = i;
        });
    }

    // The pop-up hides itself just before it reports the item picked in it.
    void hidePopup() override
    {
        picking_ = true;
        QTimer::singleShot(0, this, [this] { picking_ = false; });
        QComboBox::hidePopup();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        Pick([&] { QComboBox::keyPressEvent(event); });
    }
    void wheelEvent(QWheelEvent* event) override
    {
        Pick([&] { QComboBox::wheelEvent(event); });
    }

private:
    template <typename Step> void Pick(Step step)
    {
        picking_ = true;
        step();
        picking_ = false;
    }

    int& index_;
    bool picking_ = false;
};

} // namespace

frmNewSite::frmNewSite(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmNewSite");
    setWindowTitle("New Site");
    setWindowIcon(platform::LoadIconResource("AA_ICON"));
    setModal(true);
    platform::ShowAbovePinnedWindows(*this);

    Label1 = new QLabel("Create a Setup for a New Site", this);
    QFont heading = Label1->font();
    heading.setBold(true);
    Label1->setFont(heading);
    NameLabel = new QLabel("Site Name", this);
    NameText = new QLineEdit(this);
    platform::LimitToWin1252(NameText);
    QuantityLabel = new QLabel("Number of RCCs", this);
    QtyCombo = new QComboBox(this);
    for (int i = 1; i <= 31; ++i) {
        QtyCombo->addItem(QString::number(i));
    }
    QtyCombo->setCurrentIndex(0);
    LoopQtyLbl = new QLabel("Number of Loops", this);
    LoopCombo = new ChoiceBox(this, loopIndex_);
    for (int i = 1; i <= 4; ++i) {
        LoopCombo->addItem(QString::number(i));
    }
    ProtocolLabel = new QLabel("Loop Protocol", this);
    ProtocolCombo = new ChoiceBox(this, protocolIndex_);
    ProtocolCombo->addItem("Apollo XP95", 1);
    ProtocolCombo->addItem("Ziton ZP", 2);
    LoopCombo->setCurrentIndex(-1);
    ProtocolCombo->setCurrentIndex(-1);
    LoopCombo->setEditText("");
    ProtocolCombo->setEditText("");
    loopIndex_ = -1;
    protocolIndex_ = -1;
    IsLoopInterfaceLbl = new QLabel("RLM Project", this);
    RLMCheck = new QCheckBox(this);
    cmdOK = new QPushButton("&OK", this);
    cmdCancel = new QPushButton("&Cancel", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(NameLabel, 1, 0);
    grid->addWidget(NameText, 1, 1);
    grid->addWidget(QuantityLabel, 2, 0);
    grid->addWidget(QtyCombo, 2, 1);
    grid->addWidget(LoopQtyLbl, 3, 0);
    grid->addWidget(LoopCombo, 3, 1);
    grid->addWidget(ProtocolLabel, 4, 0);
    grid->addWidget(ProtocolCombo, 4, 1);
    grid->addWidget(IsLoopInterfaceLbl, 5, 0);
    grid->addWidget(RLMCheck, 5, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 6, 0, 1, 2);
    // The layout keeps its place when the RLM box hides the RCC and loop rows.
    grid->setRowMinimumHeight(2, QtyCombo->sizeHint().height());
    grid->setRowMinimumHeight(3, LoopCombo->sizeHint().height());
    resize(360, sizeHint().height());

    connect(cmdOK, &QPushButton::clicked, this, &frmNewSite::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmNewSite::cmdCancel_Click);
    connect(RLMCheck, &QCheckBox::clicked, this, &frmNewSite::RLMCheck_Click);
}

app::NewSiteChoice frmNewSite::Choice() const
{
    app::NewSiteChoice choice;
    choice.loopCount = loopIndex_ + 1;
    choice.protocol = protocolIndex_ >= 0 ? ProtocolCombo->itemData(protocolIndex_).toInt() : 0;
    choice.rlm = RLMCheck->isChecked();
    choice.rccCount = QtyCombo->currentIndex() + 1;
    choice.name = NameText->text().toStdString();
    return choice;
}

void frmNewSite::RLMCheck_Click()
{
    const bool rlm = RLMCheck->isChecked();
    if (rlm && loopIndex_ < 0) {
        LoopCombo->setCurrentIndex(0);
        loopIndex_ = 0;
    }
    LoopCombo->setVisible(!rlm);
    QtyCombo->setVisible(!rlm);
    LoopQtyLbl->setVisible(!rlm);
    QuantityLabel->setVisible(!rlm);
}

void frmNewSite::Refuse(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, "New Site Information", text, QMessageBox::Ok, this);
    platform::ShowAbovePinnedWindows(box);
    const platform::ModalLoop modal;
    box.exec();
}

void frmNewSite::cmdOK_Click()
{
    if (RLMCheck->isChecked()) {
        if (protocolIndex_ < 0) {
            Refuse("You Must Select The Protocol");
            return;
        }
        LoopCombo->setCurrentIndex(0);
        loopIndex_ = 0;
    } else if (QtyCombo->currentIndex() < 0) {
        Refuse("You Must Select The Number of RCCs");
        return;
    } else if (loopIndex_ < 0) {
        Refuse("You Must Select The Number of Loops");
        return;
    } else if (protocolIndex_ < 0) {
        Refuse("You Must Select The Protocol");
        return;
    }
    Tag = "1";
    hide();
    accept();
}

void frmNewSite::cmdCancel_Click()
{
    Tag = "0";
    hide();
    reject();
}

void frmNewSite::closeEvent(QCloseEvent* event)
{
    Tag = "0";
    QDialog::closeEvent(event);
}
