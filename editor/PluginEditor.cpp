#include "PluginEditor.h"

#include "CustomLookAndFeel.h"
#include "EditorPictures.h"
#include "InterfaceTypeface.h"
#include "NotificationLookAndFeel.h"
#include "PluginProcessor.h"
#include "PreferredLanguage.h"
#include "SwitchLookAndFeels.h"

namespace
{
using Editor = BriscaAudioProcessorEditor;

struct ToggleSlot
{
    const char* id;
    std::unique_ptr<juce::ToggleButton> Editor::*button;
    int lookAndFeel;
};

const ToggleSlot toggleSlots[] = {
    { "dbEnable", &Editor::enableButton, 0 },   { "dbSideChain", &Editor::sideChainButton, 1 },
    { "dbHPEnable", &Editor::hpEnableButton, 2 }, { "dbLimit", &Editor::limitButton, 3 },
    { "dbMSInput", &Editor::msInputButton, 4 },
};

struct SliderSlot
{
    const char* id;
    std::unique_ptr<juce::Slider> Editor::*slider;
    juce::ImageButton Editor::*valueButton;
};

const SliderSlot sliderSlots[] = {
    { "dbInput", &Editor::inputSlider, &Editor::inputValueButton },
    { "dbRMS", &Editor::rmsSlider, &Editor::rmsValueButton },
    { "dbWide", &Editor::wideSlider, &Editor::wideValueButton },
    { "dbHP", &Editor::hpSlider, &Editor::hpValueButton },
    { "dbKnee", &Editor::kneeSlider, &Editor::kneeValueButton },
    { "dbRatio", &Editor::ratioSlider, &Editor::ratioValueButton },
    { "dbThreshold", &Editor::thresholdSlider, &Editor::thresholdValueButton },
    { "dbAttack", &Editor::attackSlider, &Editor::attackValueButton },
    { "dbRelease", &Editor::releaseSlider, &Editor::releaseValueButton },
    { "dbOutput", &Editor::outputSlider, &Editor::outputValueButton },
    { "dbWet", &Editor::wetSlider, &Editor::wetValueButton },
};

std::unique_ptr<CustomLookAndFeel> makeSwitchLookAndFeel (int index)
{
    switch (index)
    {
        case 0: return std::make_unique<CustomLookAndFeel_EnableBtn>();
        case 1: return std::make_unique<CustomLookAndFeel_SideChain>();
        case 2: return std::make_unique<CustomLookAndFeel_HPEnable>();
        case 3: return std::make_unique<CustomLookAndFeel_LimitBtn>();
        default: return std::make_unique<CustomLookAndFeel_MSInputBtn>();
    }
}

// The same transparent picture on every state of a hit area, drawn at its own size, and the
// whole rectangle clickable.
void setHitAreaImages (juce::ImageButton& button, const juce::Image& image)
{
    button.setImages (false, false, false, image, 1.0f, {}, image, 1.0f, {}, image, 1.0f, {}, 0.0f);
}

void showParamError (const juce::String& id)
{
    juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::WarningIcon, "ParamError", "paramID : " + id);
}
} // namespace

BriscaAudioProcessorEditor::BriscaAudioProcessorEditor (BriscaAudioProcessor& p)
    : juce::AudioProcessorEditor (p), processorRef (p)
{
    brisca::applyLanguageTypeface (brisca::preferredLanguageCode());

    const auto hitArea = brisca::picture (4);
    panelImage = juce::Image (juce::Image::ARGB, 1045, 410, true);

    sliderLookAndFeel = std::make_unique<CustomLookAndFeel>();
    setupSquareLookAndFeelColours (*sliderLookAndFeel);

    for (auto* parameter : processorRef.getParameters())
    {
        if (auto* toggle = dynamic_cast<juce::AudioParameterBool*> (parameter))
        {
            const auto id = toggle->getParameterID();
            const ToggleSlot* slot = nullptr;
            for (const auto& s : toggleSlots)
                if (id == s.id && slot == nullptr)
                    slot = &s;
            if (slot != nullptr)
                buildToggle (*toggle, this->*(slot->button), slot->lookAndFeel);
            else
                showParamError (id);
        }
        if (auto* continuous = dynamic_cast<juce::AudioParameterFloat*> (parameter))
        {
            const auto id = continuous->getParameterID();
            const SliderSlot* slot = nullptr;
            for (const auto& s : sliderSlots)
                if (id == s.id && slot == nullptr)
                    slot = &s;
            if (slot != nullptr)
            {
                buildSlider (*continuous, this->*(slot->slider), this->*(slot->valueButton));
                setHitAreaImages (this->*(slot->valueButton), hitArea);
            }
            else
            {
                showParamError (id);
            }
        }
    }

    const auto wireButton = [this] (juce::ImageButton& button) {
        addAndMakeVisible (button);
        button.setMouseCursor (juce::MouseCursor::PointingHandCursor);
        button.setToggleState (true, juce::dontSendNotification);
        button.addListener (this);
    };
    wireButton (grResetButton);
    setHitAreaImages (grResetButton, hitArea);
    // The logo area has no picture: the logo itself is part of the panel.
    wireButton (logoButton);

    addAndMakeVisible (notificationButton);
    notificationLookAndFeel = std::make_unique<CustomLookAndFeel_NoticationBtn>();
    notificationButton.setLookAndFeel (notificationLookAndFeel.get());
    notificationButton.setMouseCursor (juce::MouseCursor::PointingHandCursor);
    notificationButton.setToggleState (true, juce::dontSendNotification);
    notificationButton.addListener (this);
    notificationButton.setVisible (false);
    // Any valid picture will do: it only makes the button call its look-and-feel's badge drawing.
    setHitAreaImages (notificationButton, brisca::picture (7));

    numEntryIndex = -1;
    setSize (1045, 410);
    startTimer (50);
    drawBG();
    brisca::startUpdateCheck (updateStatus, brisca::updateCheckUrl());
}

void BriscaAudioProcessorEditor::buildToggle (juce::AudioParameterBool& parameter, std::unique_ptr<juce::ToggleButton>& button,
                                              int lookAndFeelIndex)
{
    auto b = std::make_unique<juce::ToggleButton>();
    b->setName (parameter.getName (100));
    addAndMakeVisible (*b);
    b->setToggleState (true, juce::dontSendNotification);
    b->setMouseCursor (juce::MouseCursor::PointingHandCursor);
    b->addListener (this);
    toggleLookAndFeels[(size_t) lookAndFeelIndex] = makeSwitchLookAndFeel (lookAndFeelIndex);
    b->setLookAndFeel (toggleLookAndFeels[(size_t) lookAndFeelIndex].get());
    // A focused toggle button would draw a focus frame, the one thing it could show over the panel.
    b->setWantsKeyboardFocus (false);
    button = std::move (b);
}

void BriscaAudioProcessorEditor::buildSlider (juce::AudioParameterFloat& parameter, std::unique_ptr<juce::Slider>& slider,
                                              juce::ImageButton& valueButton)
{
    auto s = std::make_unique<juce::Slider>();
    s->setName (parameter.getName (100));
    addAndMakeVisible (*s);
    s->setSliderStyle (juce::Slider::LinearVertical);
    s->addListener (this);
    s->setRange (0.0, 1.0, 0.001);
    s->setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    s->setMouseDragSensitivity (500);
    if (&slider == &inputSlider || &slider == &outputSlider)
        s->setDoubleClickReturnValue (true, 0.5, juce::ModifierKeys::altModifier);
    s->setSliderSnapsToMousePosition (false);
    s->setLookAndFeel (sliderLookAndFeel.get());
    slider = std::move (s);

    addAndMakeVisible (valueButton);
    valueButton.setMouseCursor (juce::MouseCursor::PointingHandCursor);
    valueButton.setToggleState (true, juce::dontSendNotification);
    valueButton.addListener (this);
}

BriscaAudioProcessorEditor::~BriscaAudioProcessorEditor()
{
    // Components let go of their look-and-feels before those are deleted.
    for (auto* slider : { &inputSlider, &rmsSlider, &wideSlider, &hpSlider, &kneeSlider, &ratioSlider, &thresholdSlider,
                          &attackSlider, &releaseSlider, &outputSlider, &wetSlider })
        if (*slider != nullptr)
        {
            removeChildComponent (slider->get());
            (*slider)->setLookAndFeel (nullptr);
            slider->reset();
        }
    for (auto* button : { &enableButton, &sideChainButton, &hpEnableButton, &limitButton, &msInputButton })
        if (*button != nullptr)
        {
            removeChildComponent (button->get());
            (*button)->setLookAndFeel (nullptr);
            button->reset();
        }
    notificationButton.setLookAndFeel (nullptr);
    sliderLookAndFeel.reset();
    for (auto& switchLook : toggleLookAndFeels)
        switchLook.reset();
    notificationLookAndFeel.reset();
}

void BriscaAudioProcessorEditor::mouseDown (const juce::MouseEvent&) {}

void BriscaAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);
    const int w = panelImage.getWidth(), h = panelImage.getHeight();
    g.drawImage (panelImage, 0, 0, w, h, 0, 0, w, h);
}

void BriscaAudioProcessorEditor::resized()
{
    // Sizes come from the pictures: a switch is as wide as its picture and half as high.
    const auto place = [] (juce::Component* c, int x, int y, const juce::Image& twoStates) {
        if (c != nullptr)
            c->setBounds (x, y, twoStates.getWidth(), twoStates.getHeight() / 2);
    };
    place (enableButton.get(), 17, 12, brisca::picture (3));
    place (sideChainButton.get(), 84, 12, brisca::picture (11));
    place (hpEnableButton.get(), 196, 12, brisca::picture (5));
    place (msInputButton.get(), 309, 12, brisca::picture (9));
    place (limitButton.get(), 747, 17, brisca::picture (6));

    const auto hitArea = brisca::picture (4);
    grResetButton.setBounds (636, 5, hitArea.getWidth(), hitArea.getHeight());
    const auto logo = brisca::picture (7);
    logoButton.setBounds (850, 12, logo.getWidth(), logo.getHeight());
    notificationButton.setBounds (1015, 6, 24, 24);

    static constexpr int valueButtonX[11] = { 12, 118, 208, 293, 388, 483, 576, 670, 764, 868, 972 };
    const int thumbWidth = brisca::picture (12).getWidth();
    const auto sliders = slidersByColumn();
    const auto valueButtons = valueButtonsByColumn();
    for (int column = 0; column < 11; ++column)
    {
        if (sliders[(size_t) column] != nullptr)
            sliders[(size_t) column]->setBounds (9 + 95 * column, 79, thumbWidth, 289);
        valueButtons[(size_t) column]->setBounds (valueButtonX[column], 376, 82, 30);
    }
}

std::array<juce::Slider*, 11> BriscaAudioProcessorEditor::slidersByColumn() const
{
    return { inputSlider.get(), rmsSlider.get(), wideSlider.get(), hpSlider.get(), kneeSlider.get(), thresholdSlider.get(),
             ratioSlider.get(), attackSlider.get(), releaseSlider.get(), outputSlider.get(), wetSlider.get() };
}

std::array<juce::ImageButton*, 11> BriscaAudioProcessorEditor::valueButtonsByColumn()
{
    return { &inputValueButton, &rmsValueButton, &wideValueButton, &hpValueButton, &kneeValueButton, &thresholdValueButton,
             &ratioValueButton, &attackValueButton, &releaseValueButton, &outputValueButton, &wetValueButton };
}
