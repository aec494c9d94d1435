#include "Layout.h"
#include "Pictures.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>

// Draws the editor's fourteen pictures and writes them as temp1.png .. temp14.png into the
// folder given on the command line. With --proof <file> it also writes the pictures put together
// the way the editor composes them, for checking by eye.
namespace
{
bool write (const juce::Image& image, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream out (file);
    if (! out.openedOk() || ! juce::PNGImageFormat().writeImageToStream (image, out))
    {
        std::fprintf (stderr, "artwork: cannot write %s\n", file.getFullPathName().toRawUTF8());
        return false;
    }
    return true;
}

void drawNumber (juce::Graphics& g, const juce::Image& digits, const juce::Image& point, int x, int y, const juce::String& text)
{
    for (int i = 0; i < text.length(); ++i)
    {
        if (i > 0)
            x += text[i - 1] == '.' ? art::pointWidth : art::glyphWidth;
        const auto c = text[i];
        if (c == '.')
            g.drawImageAt (point, x, y);
        else
        {
            const int glyph = c == '-' ? 10 : (c >= '0' && c <= '9' ? c - '0' : 0);
            g.drawImage (digits, x, y, art::glyphWidth, art::glyphHeight, 0, glyph * art::glyphHeight, art::glyphWidth, art::glyphHeight);
        }
    }
}

juce::Image proof (const juce::Image* pictures)
{
    using namespace art;
    juce::Image sheet (juce::Image::ARGB, panelWidth, panelHeight, true);
    juce::Graphics g (sheet);
    g.drawImageAt (pictures[1], 0, 0);
    g.drawImageAt (pictures[7], logo.x, logo.y);
    const struct { int picture; Box place; bool on; } switches[] = {
        { 3, powerSwitch, true }, { 11, sideChainSwitch, false }, { 5, hpSwitch, true }, { 9, msSwitch, false }, { 6, limitSwitch, true }
    };
    for (auto s : switches)
        g.drawImage (pictures[s.picture], s.place.x, s.place.y, s.place.w, s.place.h, 0, s.on ? s.place.h : 0, s.place.w, s.place.h);
    const float values[columns] = { 0.5f, 0.0f, 0.3f, 0.12f, 0.0f, 0.794f, 0.47f, 0.271f, 0.644f, 0.62f, 1.0f };
    for (int c = 0; c < columns; ++c)
    {
        const int top = thumbTop (values[c]);
        const float inv = 1.0f - values[c];
        g.drawImageAt (pictures[12], sliderX (c), top);
        g.setOpacity (inv <= 0.1f ? (10 * inv) * (10 * inv) : 1.0f);
        g.drawImageAt (pictures[14], sliderX (c), top);
        g.setOpacity (inv >= 0.9f ? ((inv - 0.9f) * -10 + 1) * ((inv - 0.9f) * -10 + 1) : 1.0f);
        g.drawImageAt (pictures[13], sliderX (c), top);
        g.setOpacity (1.0f);
    }
    g.drawImage (pictures[8], ledX, ledY, 5 * ledPitch + 1 * ledPitch, ledStripHeight, 0, 0, 6 * ledPitch, ledStripHeight);
    const char* texts[columns] = { "0.0", "0", "30", "284", "0.0", "-6.0", "9.6", "27.1", "193.2", "4.8", "100" };
    for (int c = 0; c < columns; ++c)
    {
        const juce::String t (texts[c]);
        drawNumber (g, pictures[10], pictures[2], readoutX[(size_t) c] + (readoutCells[(size_t) c] - t.length()) * glyphWidth, readoutY, t);
    }
    drawNumber (g, pictures[10], pictures[2], 636 + 0 * glyphWidth, 7, "14.7");
    return sheet;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf (stderr, "usage: %s <output folder> [--proof <file>]\n", argv[0]);
        return 2;
    }
    juce::ScopedJuceInitialiser_GUI juce;
    const juce::File folder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);
    folder.createDirectory();

    juce::Image pictures[15];
    pictures[1] = art::renderPanel();
    pictures[2] = art::renderPoint();
    pictures[3] = art::renderSwitch (pictures[1], art::SwitchKind::power);
    pictures[4] = art::renderHitArea();
    pictures[5] = art::renderSwitch (pictures[1], art::SwitchKind::hp);
    pictures[6] = art::renderSwitch (pictures[1], art::SwitchKind::limit);
    pictures[7] = art::renderLogo();
    pictures[8] = art::renderLedStrip();
    pictures[9] = art::renderSwitch (pictures[1], art::SwitchKind::msInput);
    pictures[10] = art::renderDigits();
    pictures[11] = art::renderSwitch (pictures[1], art::SwitchKind::sideChain);
    pictures[12] = art::renderThumb();
    pictures[13] = art::renderShade (false);
    pictures[14] = art::renderShade (true);

    bool ok = true;
    for (int i = 1; i <= 14; ++i)
        ok = write (pictures[i], folder.getChildFile ("temp" + juce::String (i) + ".png")) && ok;
    if (argc > 3 && juce::String (argv[2]) == "--proof")
        ok = write (proof (pictures), juce::File::getCurrentWorkingDirectory().getChildFile (argv[3])) && ok;
    return ok ? 0 : 1;
}
