#pragma once
// The about window: title, version, part number and edition.
#include <QDialog>
#include <QLabel>
#include <QPushButton>

class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* lblProductName = nullptr;
    QLabel* Label1 = nullptr; // version
    QLabel* lblCopyright = nullptr;
    QLabel* Label2 = nullptr;     // part number
    QLabel* BuildLabel = nullptr; // edition, shown by a click on the window
    QPushButton* cmdOK = nullptr;

    void Form_Click();
    void Label1_Click();
    void cmdOK_Click();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
