#include "Layout.h"
#include "Pictures.h"
#include "Surface.h"

// temp1: the whole panel. Dark brushed faceplate, a darker bridge along the top for the switches
// and the meter, eleven fader lanes with slots and scale ticks, printed captions and the empty
// read-out boxes the digits are drawn into.
namespace art
{
namespace
{
using juce::Colour;

juce::Rectangle<float> toRect (Box b) { return { (float) b.x, (float) b.y, (float) b.w, (float) b.h }; }

const Colour captionColour { 0xffd9dce0 };

void printCaption (juce::Image& panel, const juce::String& text, float centreX, float baselineY, float capHeight = 8.0f,
                   Colour colour = captionColour)
{
    const auto path = textPath (text, captionFont(), capHeight, centreX, baselineY, 1.2f);
    // A faint dark edge below the print keeps it readable on the brushed surface.
    auto shadow = Mask::fromPath (path, panel.getWidth(), panel.getHeight());
    shadow.blur (0.7f);
    paintMask (panel, shadow, juce::Colours::black.withAlpha (0.75f), 0, 1);
    juce::Graphics g (panel);
    g.setColour (colour);
    g.fillPath (path);
}

void faceplate (juce::Image& panel)
{
    {
        juce::Graphics g (panel);
        g.setGradientFill (juce::ColourGradient (Colour (0xff3a3d42), 0, 0, Colour (0xff25272b), 0, (float) panelHeight, false));
        g.fillAll();
    }
    brushMetal (panel, panel.getBounds(), 0.035f, 17);

    juce::Graphics g (panel);
    // The bridge is a separate, darker plate.
    g.setGradientFill (juce::ColourGradient (Colour (0x70000000), 0, 0, Colour (0x48000000), 0, (float) bridgeBottom, false));
    g.fillRect (0, 0, panelWidth, bridgeBottom);
    g.setColour (Colour (0xc0000000));
    g.fillRect (0, bridgeBottom, panelWidth, 1);
    g.setColour (Colour (0x1effffff));
    g.fillRect (0, bridgeBottom + 1, panelWidth, 1);

    // Soft light falling from above across the faders.
    g.setGradientFill (juce::ColourGradient (Colour (0x14ffffff), 0, (float) bridgeBottom + 2, Colour (0x00ffffff), 0, 200.0f, false));
    g.fillRect (0, bridgeBottom + 2, panelWidth, 200 - bridgeBottom);

    // Edges of the plate.
    g.setColour (Colour (0x30ffffff));
    g.fillRect (0, 0, panelWidth, 1);
    g.setColour (Colour (0x14ffffff));
    g.fillRect (0, 0, 1, panelHeight);
    g.setColour (Colour (0x90000000));
    g.fillRect (0, panelHeight - 1, panelWidth, 1);
    g.fillRect (panelWidth - 1, 0, 1, panelHeight);
}

void switchWell (juce::Image& panel, Box b)
{
    const auto r = toRect (b).expanded (3.0f);
    juce::Path well;
    well.addRoundedRectangle (r, 6.0f);
    {
        juce::Graphics g (panel);
        g.setColour (Colour (0xff0e0f11));
        g.fillPath (well);
    }
    recess (panel, well, 0.9f);
}

void screw (juce::Image& panel, float cx, float cy)
{
    const float r = 8.0f;
    juce::Path head;
    head.addEllipse (cx - r, cy - r, 2 * r, 2 * r);
    dropShadow (panel, head, 1.5f, 2, juce::Colours::black.withAlpha (0.7f));
    juce::Graphics g (panel);
    g.setGradientFill (juce::ColourGradient (Colour (0xffb9bdc2), cx - 3, cy - r, Colour (0xff4b4e53), cx + 3, cy + r, false));
    g.fillPath (head);
    g.setColour (Colour (0x80000000));
    g.strokePath (head, juce::PathStrokeType (1.0f));
    // Phillips cross, cut into the head: dark slot with a light lower edge.
    for (float angle : { 0.5f, 2.07f })
    {
        juce::Path slot;
        slot.addRoundedRectangle (-5.2f, -1.1f, 10.4f, 2.2f, 1.0f);
        const auto t = juce::AffineTransform::rotation (angle).translated (cx, cy);
        auto light = slot;
        light.applyTransform (t.translated (0.0f, 0.8f));
        g.setColour (Colour (0x50ffffff));
        g.fillPath (light);
        slot.applyTransform (t);
        g.setColour (Colour (0xff1c1d20));
        g.fillPath (slot);
    }
}

void darkLed (juce::Image& panel, int index)
{
    const bool amber = index >= 6;
    const auto lens = ledLens (index);
    juce::Graphics g (panel);
    const auto b = lens.getBounds();
    g.setGradientFill (juce::ColourGradient (amber ? Colour (0xff2c1c0c) : Colour (0xff10261a), b.getCentreX(), b.getY(),
                                             amber ? Colour (0xff140d06) : Colour (0xff07120b), b.getCentreX(), b.getBottom(), false));
    g.fillPath (lens);
    // Glass highlight on the upper part of each lens.
    g.setColour (Colour (0x16ffffff));
    g.fillRect (b.withHeight (b.getHeight() * 0.4f).reduced (1.5f, 1.0f));
    g.setColour (Colour (0xff000000));
    g.strokePath (lens, juce::PathStrokeType (1.0f));
}

void meterWindow (juce::Image& panel)
{
    juce::Path window;
    window.addRoundedRectangle (toRect (grWindow), 5.0f);
    {
        juce::Graphics g (panel);
        g.setGradientFill (juce::ColourGradient (Colour (0xff0b0c0d), 0, (float) grWindow.y, Colour (0xff131416), 0,
                                                 (float) (grWindow.y + grWindow.h), false));
        g.fillPath (window);
    }
    recess (panel, window, 1.0f);

    for (int i = 0; i < ledCount; ++i)
        darkLed (panel, i);

    // Box of the held peak.
    juce::Path box;
    box.addRoundedRectangle (toRect (peakBox), 3.0f);
    {
        juce::Graphics g (panel);
        g.setColour (Colour (0xff060505));
        g.fillPath (box);
    }
    recess (panel, box, 0.8f);

    printCaption (panel, "GR", (float) grWindow.x + 22.0f, 25.0f, 11.0f);
    printCaption (panel, "PEAK", (float) peakBox.x - 22.0f, 23.0f, 6.0f, Colour (0xff8e9298));
}

void faderLane (juce::Image& panel, int column)
{
    const float x = (float) sliderX (column);
    const float slotX = x + (float) slotLeft;
    const float slotW = (float) (slotRight - slotLeft + 1);
    const float slotTop = 108.0f, slotBottom = 334.0f;

    // A shallow lane pressed into the plate frames each fader's travel.
    juce::Path lane;
    lane.addRoundedRectangle (x + 6.0f, 100.0f, (float) sliderWidth - 12.0f, 243.0f, 6.0f);
    {
        juce::Graphics g (panel);
        g.setColour (Colour (0x22000000));
        g.fillPath (lane);
    }
    recess (panel, lane, 0.35f);

    // Scale ticks at every tenth of the travel, level with the cap's centre line.
    {
        juce::Graphics g (panel);
        for (int i = 0; i <= 10; ++i)
        {
            const float y = (float) thumbTop ((float) i / 10.0f) + 26.5f;
            const bool major = i % 5 == 0;
            const float len = major ? 12.0f : 7.0f;
            g.setColour (Colour (major ? 0xa0d0d4d8 : 0x60b0b4b8));
            g.fillRect (juce::Rectangle<float> (slotX - 6.0f - len, y - 0.5f, len, 1.0f));
            g.fillRect (juce::Rectangle<float> (slotX + slotW + 6.0f, y - 0.5f, len, 1.0f));
        }
    }

    juce::Path slot;
    slot.addRoundedRectangle (slotX, slotTop, slotW, slotBottom - slotTop, slotW * 0.5f);
    {
        juce::Graphics g (panel);
        g.setColour (Colour (0xff050506));
        g.fillPath (slot);
    }
    recess (panel, slot, 1.0f);
}

void readoutWell (juce::Image& panel, int column)
{
    const auto b = readoutBox (column);
    juce::Path box;
    box.addRoundedRectangle (toRect (b), 3.0f);
    {
        juce::Graphics g (panel);
        g.setGradientFill (juce::ColourGradient (Colour (0xff0a0807), 0, (float) b.y, Colour (0xff120e0b), 0, (float) (b.y + b.h), false));
        g.fillPath (box);
    }
    recess (panel, box, 0.9f);
    // Dark glass reflects a faint band of the room above it.
    juce::Graphics g (panel);
    g.setColour (Colour (0x09ffffff));
    g.fillRect (juce::Rectangle<float> ((float) b.x + 2, (float) b.y + 2, (float) b.w - 4, 9.0f));
}
} // namespace

juce::Path ledLens (int index)
{
    juce::Path p;
    p.addRoundedRectangle ((float) (ledX + ledPitch * index + 4), (float) ledY + 4.0f, 19.0f, 18.0f, 2.5f);
    return p;
}

juce::Image renderPanel()
{
    juce::Image panel (juce::Image::RGB, panelWidth, panelHeight, true);
    faceplate (panel);

    for (auto b : { powerSwitch, sideChainSwitch, hpSwitch, msSwitch, limitSwitch })
        switchWell (panel, b);
    meterWindow (panel);
    screw (panel, (float) screwX, (float) screwY);

    for (int c = 0; c < columns; ++c)
    {
        faderLane (panel, c);
        readoutWell (panel, c);
        const auto b = readoutBox (c);
        printCaption (panel, captions[(size_t) c], (float) b.x + (float) b.w * 0.5f, (float) boxY - 6.0f);
    }
    // The blend fader names both of its ends: RMS at the top, PEAK (printed above) at the bottom.
    printCaption (panel, "RMS", (float) sliderX (1) + 39.0f, 90.0f);
    return panel;
}

juce::Image renderHitArea()
{
    return juce::Image (juce::Image::ARGB, 57, 28, true);
}
} // namespace art
