#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

// Records every value notification of a processor's parameters, in the order listeners see them.
struct NotificationRecorder : juce::AudioProcessorParameter::Listener
{
    struct Event
    {
        std::string id;
        float value;
    };

    explicit NotificationRecorder (juce::AudioProcessor& p) : processor (p)
    {
        for (auto* param : processor.getParameters())
            param->addListener (this);
    }

    ~NotificationRecorder() override
    {
        for (auto* param : processor.getParameters())
            param->removeListener (this);
    }

    void parameterValueChanged (int index, float value) override
    {
        events.push_back ({ idOf (processor, index), value });
    }

    void parameterGestureChanged (int, bool) override {}

    // The IDs notified, space separated, e.g. "dbLimit dbHPEnable".
    std::string ids() const
    {
        std::string out;
        for (auto& e : events)
            out += (out.empty() ? "" : " ") + e.id;
        return out;
    }

    static std::string idOf (juce::AudioProcessor& p, int index)
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (p.getParameters()[index]);
        return ranged != nullptr ? ranged->getParameterID().toStdString() : "?";
    }

    juce::AudioProcessor& processor;
    std::vector<Event> events;
};

// The sixteen stored values as bit patterns, so comparisons are exact (and NaN shows up).
inline std::array<std::uint32_t, 16> valueBits (juce::AudioProcessor& p)
{
    std::array<std::uint32_t, 16> bits {};
    for (int i = 0; i < 16; ++i)
    {
        const float v = p.getParameters()[i]->getValue();
        std::memcpy (&bits[(size_t) i], &v, sizeof v);
    }
    return bits;
}

inline juce::RangedAudioParameter& parameter (juce::AudioProcessor& p, const char* id)
{
    for (auto* param : p.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (param); ranged != nullptr && ranged->getParameterID() == id)
            return *ranged;
    throw std::runtime_error (std::string ("no parameter ") + id);
}

// A plain store, as a host's automation does it (JUCE hides setValue on the typed classes).
inline void set (juce::AudioProcessorParameter& p, float value) { p.setValue (value); }
