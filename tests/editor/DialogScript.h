#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

// Answers the modal alert windows that the code under test opens, in order, from a timer that
// runs inside their modal loops. Each step looks at its window (and may type into it) and
// returns the result to close it with. Windows beyond the script are closed with 0 and counted.
// Needs a display: alert windows cannot be built without one.
class DialogScript : private juce::Timer
{
public:
    using Step = std::function<int (juce::AlertWindow&)>;

    explicit DialogScript (std::vector<Step> s) : steps (std::move (s)) { startTimer (10); }
    ~DialogScript() override { stopTimer(); }

    size_t answered = 0;
    int unexpected = 0;
    bool finished() const { return answered == steps.size(); }

    // The texts of a window's buttons, left to right (the order they were added in).
    static juce::StringArray buttonTexts (juce::AlertWindow& window)
    {
        juce::StringArray texts;
        for (auto* child : window.getChildren())
            if (auto* button = dynamic_cast<juce::TextButton*> (child))
                texts.add (button->getButtonText());
        return texts;
    }

    static juce::Button* button (juce::AlertWindow& window, const juce::String& text)
    {
        for (auto* child : window.getChildren())
            if (auto* b = dynamic_cast<juce::TextButton*> (child))
                if (b->getButtonText() == text)
                    return b;
        return nullptr;
    }

    // An alert window describes itself as its title, ". " and its message.
    static juce::String message (juce::AlertWindow& window)
    {
        return window.getDescription().fromFirstOccurrenceOf (window.getName() + ". ", false, false);
    }

private:
    void timerCallback() override
    {
        auto* window = dynamic_cast<juce::AlertWindow*> (juce::Component::getCurrentlyModalComponent());
        if (window == nullptr)
            return;
        if (answered < steps.size())
        {
            const int result = steps[answered++](*window);
            window->exitModalState (result);
        }
        else
        {
            ++unexpected;
            window->exitModalState (0);
        }
    }

    std::vector<Step> steps;
};
