// The message box as a picture: each style shows its own icon. With
// QVS_SHOT_DIR set, the pictures are saved there as PNG files for a person
// to look at.
#include "BoxDriver.h"
#include "app/frmMsg.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {

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
        {16, "msg-critical", "ERROR : Unable to Open /sites/north.qvs\r\nFile Not Found",
         QColor(200, 40, 30)},
        {35, "msg-question", "Save Changes ?", QColor(40, 110, 210)},
        {48, "msg-exclamation", "Loop address 12 is used twice.\r\nPlease check the configuration.",
         QColor(240, 190, 30)},
        {64, "msg-information", "Programming Completed Successfully", QColor(60, 140, 230)},
    };
    const QString dir = qEnvironmentVariable("QVS_SHOT_DIR");
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
        if (!dir.isEmpty() && QDir().mkpath(dir)) {
            EXPECT_TRUE(shot.save(dir + "/" + c.file + ".png"));
        }
        const QColor avg = Average(shot, icon.adjusted(8, 8, -8, -8));
        EXPECT_LT(std::abs(avg.hue() - c.tint.hue()), 25) << c.file;
        EXPECT_GT(avg.saturation(), 80) << c.file;
    }
}
