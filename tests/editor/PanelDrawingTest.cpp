#include "EditorPictures.h"
#include "EditorTestSupport.h"
#include "NotificationLookAndFeel.h"

// Pixel probes of the composed panel: switch halves, LED cut, thumb position and shade
// opacities, paint as one copy, and the update badge.
namespace
{
using Ed = BriscaAudioProcessorEditor;

juce::Colour over (juce::Colour under, juce::Colour top, float opacity)
{
    return under.overlaidWith (top.withMultipliedAlpha (opacity));
}

bool near (juce::Colour a, juce::Colour b)
{
    return std::abs (a.getRed() - b.getRed()) <= 2 && std::abs (a.getGreen() - b.getGreen()) <= 2
           && std::abs (a.getBlue() - b.getBlue()) <= 2;
}
} // namespace

using PanelDrawing = EditorTest;

TEST_F (PanelDrawing, SwitchShowsUpperHalfWhenOffAndLowerHalfWhenOn)
{
    const struct { std::unique_ptr<juce::ToggleButton> Ed::*button; int picture, x, y; } switches[] = {
        { &Ed::enableButton, 3, 17, 12 }, { &Ed::sideChainButton, 11, 84, 12 }, { &Ed::hpEnableButton, 5, 196, 12 },
        { &Ed::msInputButton, 9, 309, 12 }, { &Ed::limitButton, 6, 747, 17 },
    };
    for (bool on : { false, true })
    {
        for (auto s : switches)
            ((*editor).*(s.button))->setToggleState (on, juce::dontSendNotification);
        editor->drawBG();
        for (auto s : switches)
        {
            const auto picture = brisca::picture (s.picture);
            const int half = picture.getHeight() / 2;
            EXPECT_EQ (((*editor).*(s.button))->getBounds(), juce::Rectangle<int> (s.x, s.y, picture.getWidth(), half));
            EXPECT_TRUE (samePixels (editor->panelImage, { s.x, s.y, picture.getWidth(), half }, picture, { 0, on ? half : 0 }))
                << "temp" << s.picture << (on ? " on" : " off");
        }
    }
}

TEST_F (PanelDrawing, LedBarLightsTwentySevenPixelsPerLed)
{
    editor->grLedCount = 0;
    editor->drawBG();
    const auto dark = editor->panelImage.createCopy();
    for (int count : { 0, 1, 3, 8 })
    {
        editor->grLedCount = count;
        editor->drawBG();
        int first = -1, last = -1, changedColumns = 0;
        for (int x = 470; x < 730; ++x)
        {
            bool changed = false;
            for (int y = 30; y < 70; ++y)
                changed = changed || editor->panelImage.getPixelAt (x, y) != dark.getPixelAt (x, y);
            if (changed)
            {
                first = first < 0 ? x : first;
                last = x;
                ++changedColumns;
            }
        }
        EXPECT_EQ (changedColumns, 27 * count) << count;
        if (count > 0)
        {
            EXPECT_EQ (first, 489);
            EXPECT_EQ (last, 489 + 27 * count - 1);
        }
    }
}

TEST_F (PanelDrawing, ThumbTopFollowsTheSliderValue)
{
    const auto thumb = brisca::picture (12), background = brisca::picture (1);
    const struct { double value; int top; } cases[] = { { 0.5, 193 }, { 1.0, 89 }, { 0.0, 298 }, { 0.95, 99 } };
    for (auto c : cases)
    {
        editor->inputSlider->setValue (c.value, juce::dontSendNotification);
        editor->drawBG();
        // Column 20 of the thumb lies outside the shades; row 6 is the cap's first opaque row.
        EXPECT_EQ (editor->panelImage.getPixelAt (9 + 20, c.top + 6), thumb.getPixelAt (20, 6)) << c.value;
        EXPECT_EQ (editor->panelImage.getPixelAt (9 + 20, c.top + 5), background.getPixelAt (9 + 20, c.top + 5)) << c.value;
    }
}

TEST_F (PanelDrawing, SlotShadesFadeNearTheEndsOfTheTravel)
{
    const auto thumb = brisca::picture (12), lower = brisca::picture (13), upper = brisca::picture (14);
    const struct { double value; int top; float upperOpacity, lowerOpacity; } cases[] = {
        { 0.95, 99, 0.25f, 1.0f }, { 0.05, 287, 1.0f, 0.25f }, { 0.5, 193, 1.0f, 1.0f }, { 1.0, 89, 0.0f, 1.0f }, { 0.0, 298, 1.0f, 0.0f },
    };
    for (auto c : cases)
    {
        SCOPED_TRACE (c.value);
        editor->wetSlider->setValue (c.value, juce::dontSendNotification);
        editor->drawBG();
        const int x = 9 + 95 * 10;
        const auto upperPixel = editor->panelImage.getPixelAt (x + 38, c.top + 9);
        const auto lowerPixel = editor->panelImage.getPixelAt (x + 38, c.top + 43);
        EXPECT_TRUE (near (upperPixel, over (thumb.getPixelAt (38, 9), upper.getPixelAt (38, 9), c.upperOpacity)));
        EXPECT_TRUE (near (lowerPixel, over (thumb.getPixelAt (38, 43), lower.getPixelAt (38, 43), c.lowerOpacity)));
    }
}

TEST_F (PanelDrawing, PaintIsOneCopyOfThePanel)
{
    processor.gainReductionDb = 10.0;
    set (processor.dbHPEnable, 1.0f);
    set (processor.dbKnee, 0.6f);
    editor->timerCallback();
    editor->drawBG();
    const auto snapshot = editor->createComponentSnapshot (editor->getLocalBounds());
    EXPECT_TRUE (samePixels (snapshot, snapshot.getBounds(), editor->panelImage, {}));
}

TEST_F (PanelDrawing, UpdateBadgeIsARedDiscWithAWhiteMark)
{
    juce::Image badge (juce::Image::ARGB, 24, 24, true);
    {
        juce::Graphics g (badge);
        juce::Image anything (juce::Image::ARGB, 5, 5, true);
        editor->notificationLookAndFeel->drawImageButton (g, &anything, 3, 3, 5, 5, juce::Colours::blue, 0.3f,
                                                          editor->notificationButton);
    }
    const struct { int x, y; juce::uint32 argb; } probes[] = {
        { 2, 12, 0xffff0000 }, { 21, 12, 0xffff0000 }, { 12, 15, 0xffff0000 }, { 12, 2, 0xffff0000 },
        { 12, 8, 0xffffffff }, { 11, 19, 0xffffffff }, { 0, 0, 0x00000000 }, { 23, 23, 0x00000000 },
    };
    for (auto p : probes)
        EXPECT_EQ (badge.getPixelAt (p.x, p.y).getARGB(), p.argb) << p.x << "," << p.y;
}
