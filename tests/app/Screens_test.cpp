// The start-up windows and the message box as pictures: each is painted with
// its text and icon. With QVS_SHOT_DIR set, the pictures are saved there as
// PNG files for a person to look at.
#include "BoxDriver.h"
#include "app/Startup.h"
#include "app/frmIntro.h"
#include "app/frmMsg.h"
#include "app/frmParameter.h"
#include "app/frmSplash.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {

void Save(const QImage& image, const QString& name)
{
    const QString dir = qEnvironmentVariable("QVS_SHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    EXPECT_TRUE(image.save(dir + "/" + name + ".png"));
}

// How many pixels differ from the picture's corner (its background).
int InkedPixels(const QImage& image, const QRect& area)
{
    const QRgb background = image.pixel(0, 0);
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) != background ? 1 : 0;
    return n;
}

QColor Average(const QImage& image, const QRect& area)
{
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            r += c.red();
            g += c.green();
            b += c.blue();
            ++n;
        }
    return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

} // namespace

TEST(Screens, SplashAndStartPageArePainted)
{
    platform::ResetLoadedForms();
    auto* splash = new frmSplash;
    splash->Timer1->stop();
    splash->ProgressBar1->setValue(90);
    splash->show();
    const QImage s = splash->grab().toImage();
    Save(s, "splash");
    EXPECT_GT(InkedPixels(s, s.rect()), s.width() * s.height() / 50);
    platform::UnloadFormNow(splash);

    auto* intro = new frmIntro;
    intro->show();
    intro->Label_MouseMove(intro->OpenLabel);
    const QImage i = intro->grab().toImage();
    Save(i, "start-page");
    const QRect open = intro->OpenLabel->geometry().translated(intro->Frame1->pos());
    // The hovered choice is drawn in red.
    const QImage openPart = i.copy(open);
    bool red = false;
    for (int y = 0; y < openPart.height() && !red; ++y)
        for (int x = 0; x < openPart.width() && !red; ++x) {
            const QColor c = openPart.pixelColor(x, y);
            red = c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_TRUE(red);
    platform::UnloadFormNow(intro);
}

TEST(Screens, MessageBoxShowsEachIcon)
{
    platform::ResetLoadedForms();
    struct Case
    {
        int32_t style;
        const char* file;
        const char* text;
        QColor tint; // the icon's main colour
    };
    const Case cases[] = {
        {16, "msg-critical", "ERROR : Unable to Open C:\\Sites\\north.qvs\r\nFile Not Found",
         QColor(200, 40, 30)},
        {35, "msg-question", "Save Changes ?", QColor(40, 110, 210)},
        {48, "msg-exclamation", "Loop address 12 is used twice.\r\nPlease check the configuration.",
         QColor(240, 190, 30)},
        {64, "msg-information", "Programming Completed Successfully", QColor(60, 140, 230)},
        {0x410, "msg-proceed", "Clear all programming in the Radio Hub?\r\nThis cannot be undone.",
         QColor(200, 40, 30)},
    };
    for (const Case& c : cases) {
        QImage shot;
        QRect icon;
        WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
            shot = box->grab().toImage();
            icon = box->Image1->geometry();
            box->ResultCode = 1;
        });
        frmMsg::Display(nullptr, c.text, c.style, "Quorvel");
        ASSERT_FALSE(shot.isNull());
        Save(shot, c.file);
        const QColor avg = Average(shot, icon.adjusted(8, 8, -8, -8));
        EXPECT_LT(std::abs(avg.hue() - c.tint.hue()), 25) << c.file;
        EXPECT_GT(avg.saturation(), 80) << c.file;
    }

    QImage input;
    WhenShown<frmParameter>("frmParameter", [&](frmParameter* box) {
        box->txtEntry->setText("1:25");
        input = box->grab().toImage();
        box->ResultCode = 2;
    });
    frmParameter::GetParameter(nullptr, "Enter the Device Ident or Loop:Address", 0, 6, "", 1,
                               "Search for a Device");
    Save(input, "input-box");
    EXPECT_GT(InkedPixels(input, input.rect()), 500);
}
