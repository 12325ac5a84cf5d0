// The message box as a picture: each style shows its own icon. With
// QVS_SHOT_DIR set, the pictures are saved there as PNG files for a person
// to look at.
#include "BoxDriver.h"
#include "app/frmMsg.h"
#include "support/ScreenShots.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(Screens, MessageBoxShowsEachIcon)
{
    platform::ResetLoadedForms();
    const std::tuple<int32_t, const char*, const char*, QColor> cases[] = {
        {16, "msg-critical", "ERROR : Unable to Open /sites/north.qvs\r\nFile Not Found",
         QColor(200, 40, 30)},
        {35, "msg-question", "Save Changes ?", QColor(40, 110, 210)},
        {48, "msg-exclamation", "Loop address 12 is used twice.\r\nPlease check the configuration.",
         QColor(240, 190, 30)},
        {64, "msg-information", "Programming Completed Successfully", QColor(60, 140, 230)},
    };
    for (const auto& [style, file, text, tint] : cases) {
        QImage shot;
        QRect icon;
        WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
            shot = box->grab().toImage();
            icon = box->Image1->geometry();
            box->ResultCode = 1;
        });
        frmMsg::Display(nullptr, text, style, "Quorvel");
        ASSERT_FALSE(shot.isNull());
        SaveShot(shot, file);
        // The icon's main colour: the average of its inner part.
        const QColor avg = shot.copy(icon.adjusted(8, 8, -8, -8))
                               .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                               .pixelColor(0, 0);
        EXPECT_LT(std::abs(avg.hue() - tint.hue()), 25) << file;
        EXPECT_GT(avg.saturation(), 80) << file;
    }
}
