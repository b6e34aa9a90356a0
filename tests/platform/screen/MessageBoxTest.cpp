#include "platform/MessageBox.h"
#include "platform/screen/ScreenMessageBox.h"
#include "tests/platform/screen/ScreenTestSupport.h"

using namespace platform;
using detail::ScreenMessageBox;
using test_support::ScreenTest;

class HeadlessMessageBox : public ScreenTest { };

TEST_F(HeadlessMessageBox, WritesToStandardErrorAndAnswersTheDefaultButton)
{
    // Before the screen is up, and with it up: the same.
    for (int round = 0; round < 2; ++round) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(message_box(u"Delete the tag?", u"Ringwise", MessageBoxButtons::YesNo, 1),
            MessageBoxAnswer::No);
        EXPECT_EQ(message_box(u"Done", u"Ringwise"), MessageBoxAnswer::Ok);
        EXPECT_EQ(
            testing::internal::GetCapturedStderr(), "Ringwise: Delete the tag?\nRingwise: Done\n");
        windows().create({ 0, 52, 480, 588 }, make_color(0, 0, 0));
    }
}

TEST(ScreenMessageBox, LaysOutItsButtonsInsideTheScreen)
{
    ScreenMessageBox box(u"The recording held no speech. Say the name again, a little louder.",
        u"Voice tag", MessageBoxButtons::YesNoCancel, 1);
    box.layout({ 240, 320 });
    Rect rect = box.rect();
    EXPECT_GE(rect.left, 0);
    EXPECT_LE(rect.right, 240);
    EXPECT_GE(rect.top, 0);
    EXPECT_LE(rect.bottom, 320);
    ASSERT_EQ(box.button_rects().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        Rect button = box.button_rects()[i];
        EXPECT_FALSE(button.is_empty());
        EXPECT_TRUE(rect.contains({ button.left, button.top }));
        if (i > 0) {
            EXPECT_GT(button.left, box.button_rects()[i - 1].right);
        }
    }
    Rect no = box.button_rects()[1];
    EXPECT_EQ(box.answer_at({ (no.left + no.right) / 2, (no.top + no.bottom) / 2 }),
        MessageBoxAnswer::No);
    EXPECT_EQ(box.answer_at({ rect.left + 1, rect.top + 1 }), std::nullopt);

    Bitmap screen(240, 320, make_color(255, 255, 255));
    Canvas canvas(screen);
    box.paint(canvas);
    EXPECT_EQ(screen.pixel(0, 0), make_color(127, 127, 127)); // the screen behind is dimmed
}

TEST(ScreenMessageBox, ReturnAnswersTheDefaultAndEscapeCancels)
{
    ScreenMessageBox yes_no(u"Call?", u"Ringwise", MessageBoxButtons::YesNo, 0);
    EXPECT_EQ(yes_no.answer_for_key(VK_RETURN), MessageBoxAnswer::Yes);
    EXPECT_EQ(yes_no.answer_for_key(VK_ESCAPE), MessageBoxAnswer::No);
    EXPECT_EQ(yes_no.answer_for_key('A'), std::nullopt);
    ScreenMessageBox retry(u"No device", u"Ringwise", MessageBoxButtons::RetryCancel, 0);
    EXPECT_EQ(retry.answer_for_key(VK_ESCAPE), MessageBoxAnswer::Cancel);
    ScreenMessageBox ok(u"Saved", u"Ringwise", MessageBoxButtons::Ok, 5);
    EXPECT_EQ(ok.answer_for_key(VK_RETURN), MessageBoxAnswer::Ok);
    EXPECT_EQ(ok.answer_for_key(VK_ESCAPE), MessageBoxAnswer::Ok);
}
