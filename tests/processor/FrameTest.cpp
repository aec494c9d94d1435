#include "AllocationCounter.h"
#include "PluginProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <type_traits>
#include <vector>

// The processor as a host drives it: identity, buses and layouts, preparing, the precision
// bridge, program selection bookkeeping and the audio thread's promises (no allocation, MIDI
// untouched).
namespace
{
// Hosts write through the plain parameter interface.
void write (juce::AudioProcessorParameter& parameter, float value) { parameter.setValue (value); }

// A four-character code: the first character in the most significant byte.
constexpr juce::int32 fourCharCode (const char (&c)[5])
{
    return (static_cast<juce::int32> (c[0]) << 24) | (static_cast<juce::int32> (c[1]) << 16)
         | (static_cast<juce::int32> (c[2]) << 8) | static_cast<juce::int32> (c[3]);
}

// Buses set the way a host sets them, then the rate and prepareToPlay.
void configure (BriscaAudioProcessor& p, int mainChannels, int sideChannels, double rate, int block)
{
    auto layout = p.getBusesLayout();
    const auto mainSet = juce::AudioChannelSet::canonicalChannelSet (mainChannels);
    layout.inputBuses.getReference (0) = mainSet;
    layout.outputBuses.getReference (0) = mainSet;
    layout.inputBuses.getReference (1) = sideChannels == 0 ? juce::AudioChannelSet::disabled()
                                                            : juce::AudioChannelSet::canonicalChannelSet (sideChannels);
    ASSERT_TRUE (p.setBusesLayout (layout));
    p.setRateAndBufferSizeDetails (rate, block);
    p.prepareToPlay (rate, block);
}

// Noise with loud bursts, so the compressor, the split and the limiter all have work to do.
template <typename Sample>
juce::AudioBuffer<Sample> burstyNoise (int channels, int length, unsigned seed)
{
    juce::AudioBuffer<Sample> b (channels, length);
    std::mt19937 rng (seed);
    std::normal_distribution<double> noise (0.0, 0.3);
    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < length; ++i)
            b.setSample (ch, i, static_cast<Sample> (noise (rng) * ((i / 700) % 3 == 0 ? 3.0 : 0.2)));
    return b;
}

template <typename Sample>
bool sameSamples (const juce::AudioBuffer<Sample>& a, const juce::AudioBuffer<Sample>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return false;
    for (int ch = 0; ch < a.getNumChannels(); ++ch)
        if (std::memcmp (a.getReadPointer (ch), b.getReadPointer (ch), sizeof (Sample) * (size_t) a.getNumSamples()) != 0)
            return false;
    return true;
}

template <typename Sample>
bool allFinite (const juce::AudioBuffer<Sample>& b)
{
    for (int ch = 0; ch < b.getNumChannels(); ++ch)
        for (int i = 0; i < b.getNumSamples(); ++i)
            if (! std::isfinite (b.getSample (ch, i)))
                return false;
    return true;
}

void switchOn (juce::AudioParameterBool* s) { s->setValueNotifyingHost (1.0f); }

std::vector<float> parameterValues (juce::AudioProcessor& p)
{
    std::vector<float> values;
    for (auto* q : p.getParameters())
        values.push_back (q->getValue());
    return values;
}

struct ChangeRecorder : juce::AudioProcessorParameter::Listener
{
    explicit ChangeRecorder (juce::AudioProcessor& p) : processor (p)
    {
        for (auto* q : processor.getParameters())
            q->addListener (this);
    }
    ~ChangeRecorder() override
    {
        for (auto* q : processor.getParameters())
            q->removeListener (this);
    }
    void parameterValueChanged (int, float) override { ++changes; }
    void parameterGestureChanged (int, bool) override {}

    juce::AudioProcessor& processor;
    int changes = 0;
};

using Events = std::vector<std::pair<int, std::vector<juce::uint8>>>;
Events eventsOf (const juce::MidiBuffer& midi)
{
    Events events;
    for (const auto meta : midi)
        events.emplace_back (meta.samplePosition, std::vector<juce::uint8> (meta.data, meta.data + meta.numBytes));
    return events;
}
} // namespace

static_assert (std::is_same_v<decltype (BriscaAudioProcessor::gainReductionDb), std::atomic<double>>,
               "the meter value crosses threads");
static_assert (std::atomic<double>::is_always_lock_free, "the audio thread must never wait on the meter value");

TEST (ProcessorIdentity, ReportsWhatHostsReadFromIt)
{
    BriscaAudioProcessor p;
    EXPECT_EQ (juce::String ("Brisca"), p.getName());
    EXPECT_EQ (juce::StringArray ("Brisca"), p.getAlternateDisplayNames());
    EXPECT_EQ (0.0, p.getTailLengthSeconds());
    EXPECT_FALSE (p.acceptsMidi());
    EXPECT_FALSE (p.producesMidi());
    EXPECT_FALSE (p.isMidiEffect());
    EXPECT_TRUE (p.hasEditor());
    EXPECT_EQ (13, p.getNumPrograms());
    EXPECT_EQ (0, p.getLatencySamples());
    EXPECT_EQ (nullptr, p.getBypassParameter()); // the host adds its own bypass
    EXPECT_FALSE (p.supportsDoublePrecisionProcessing()); // hosts always call the float bridge
    ASSERT_EQ (16, p.getParameters().size());
    for (auto* q : p.getParameters()) // meter categories would be exported as host meters
        EXPECT_EQ (juce::AudioProcessorParameter::genericParameter, q->getCategory()) << q->getName (64);
}

TEST (ProcessorIdentity, AaxPluginIdsFollowTheLayoutIndexRule)
{
    struct Case { juce::AudioChannelSet set; bool audioSuite; juce::int32 expected; };
    const Case cases[] = { { juce::AudioChannelSet::mono(), false, fourCharCode ("jcbb") },
                           { juce::AudioChannelSet::stereo(), false, fourCharCode ("jccc") },
                           { juce::AudioChannelSet::mono(), true, fourCharCode ("jybb") },
                           { juce::AudioChannelSet::stereo(), true, fourCharCode ("jycc") } };
    BriscaAudioProcessor p;
    for (const auto& c : cases)
        EXPECT_EQ (c.expected, p.getAAXPluginIDForMainBusConfig (c.set, c.set, c.audioSuite))
            << c.set.getDescription() << (c.audioSuite ? " AudioSuite" : " native");
}

TEST (BusLayouts, OnlyMonoToMonoAndStereoToStereoWithAnySideChain)
{
    using Set = juce::AudioChannelSet;
    const Set stems[] = { Set::disabled(), Set::mono(), Set::stereo(), Set::createLCR(), Set::createLCRS(),
                          Set::quadraphonic(), Set::create5point0(), Set::create5point1(), Set::create6point0(),
                          Set::create6point1(), Set::create7point0SDDS(), Set::create7point1SDDS(),
                          Set::create7point0(), Set::create7point1(), Set::create7point0point2(),
                          Set::create7point1point2(), Set::ambisonic (1), Set::ambisonic (2), Set::ambisonic (3) };
    const Set sideChains[] = { Set::disabled(), Set::mono(), Set::stereo() };

    BriscaAudioProcessor p;
    for (const auto& side : sideChains)
    {
        int accepted = 0;
        for (const auto& in : stems)
            for (const auto& out : stems)
            {
                juce::AudioProcessor::BusesLayout layout;
                layout.inputBuses.add (in);
                layout.inputBuses.add (side);
                layout.outputBuses.add (out);
                const bool expected = in == out && (out == Set::mono() || out == Set::stereo());
                const bool supported = p.isBusesLayoutSupported (layout);
                accepted += supported ? 1 : 0;
                EXPECT_EQ (expected, supported) << in.getDescription() << " -> " << out.getDescription()
                                                << ", side chain " << side.getDescription();
            }
        EXPECT_EQ (2, accepted);
    }

    // A layout without input buses has an empty main input, which matches no output.
    juce::AudioProcessor::BusesLayout outputOnly;
    outputOnly.outputBuses.add (Set::mono());
    EXPECT_FALSE (p.isBusesLayoutSupported (outputOnly));
}

TEST (Buses, InputOutputAndSidechainStereoAndEnabled)
{
    struct Case { bool isInput; int index; const char* name; };
    const Case cases[] = { { true, 0, "Input" }, { false, 0, "Output" }, { true, 1, "Sidechain" } };
    BriscaAudioProcessor p;
    EXPECT_EQ (2, p.getBusCount (true));
    EXPECT_EQ (1, p.getBusCount (false));
    for (const auto& c : cases)
    {
        auto* bus = p.getBus (c.isInput, c.index);
        ASSERT_NE (nullptr, bus) << c.name;
        EXPECT_EQ (juce::String (c.name), bus->getName());
        EXPECT_EQ (juce::AudioChannelSet::stereo(), bus->getDefaultLayout()) << c.name;
        EXPECT_EQ (juce::AudioChannelSet::stereo(), bus->getCurrentLayout()) << c.name;
        EXPECT_TRUE (bus->isEnabledByDefault()) << c.name;
        EXPECT_TRUE (bus->isEnabled()) << c.name;
    }
}

TEST (Prepare, RmsWindowIsTenMillisecondsTruncatedAndNeverEmpty)
{
    // floor (floor (rate * 10) / 1000), at least one sample.
    struct Case { double rate; int window; };
    const Case cases[] = { { 22050.0, 220 }, { 44100.0, 441 }, { 48000.0, 480 }, { 96000.0, 960 },
                           { 11025.0, 110 }, { 88200.0, 882 }, { 192000.0, 1920 }, { 100.0, 1 },
                           { 99.99, 1 }, { 50.0, 1 }, { 0.0, 1 } };
    BriscaAudioProcessor reused;
    for (const auto& c : cases)
    {
        BriscaAudioProcessor fresh;
        fresh.prepareToPlay (c.rate, 512);
        EXPECT_EQ (c.window, fresh.compressor->rmsWindowLength) << c.rate << " Hz";
        reused.prepareToPlay (c.rate, 512);
        EXPECT_EQ (c.window, reused.compressor->rmsWindowLength) << c.rate << " Hz, prepared again";
    }
}

TEST (Prepare, RatesBelowOneSampleInTenMillisecondsStillProcessSafely)
{
    for (const double rate : { 50.0, 0.0 })
    {
        SCOPED_TRACE (std::to_string (rate) + " Hz");
        BriscaAudioProcessor p;
        configure (p, 2, 2, rate, 256);
        for (auto* s : { p.dbSideChain, p.dbHPEnable, p.dbLimit, p.dbMSInput })
            switchOn (s);
        p.dbRMS->setValueNotifyingHost (1.0f);
        juce::MidiBuffer midi;
        auto f = burstyNoise<float> (4, 256, 1);
        p.processBlock (f, midi);
        EXPECT_TRUE (allFinite (f));
        auto d = burstyNoise<double> (4, 256, 2);
        p.processBlock (d, midi);
        EXPECT_TRUE (allFinite (d));
        EXPECT_TRUE (std::isfinite (p.gainReductionDb.load()));
    }
}

TEST (Prepare, PreparingAgainStartsTheEngineFromRest)
{
    BriscaAudioProcessor used, fresh;
    configure (used, 2, 2, 48000.0, 512);
    configure (fresh, 2, 2, 48000.0, 512);
    switchOn (used.dbHPEnable);
    switchOn (fresh.dbHPEnable);
    juce::MidiBuffer midi;
    auto warmUp = burstyNoise<float> (4, 512, 3);
    used.processBlock (warmUp, midi);
    used.prepareToPlay (48000.0, 512);

    auto a = burstyNoise<float> (4, 512, 4);
    auto b = burstyNoise<float> (4, 512, 4);
    used.processBlock (a, midi);
    fresh.processBlock (b, midi);
    EXPECT_TRUE (sameSamples (a, b));
}

TEST (Unprepared, ProcessBlockPassesAudioUnchanged)
{
    BriscaAudioProcessor p;
    juce::MidiBuffer midi;
    const auto f = burstyNoise<float> (4, 300, 5);
    auto fOut = f;
    p.processBlock (fOut, midi);
    EXPECT_TRUE (sameSamples (f, fOut));

    const auto d = burstyNoise<double> (4, 300, 6);
    auto dOut = d;
    p.processBlock (dOut, midi);
    EXPECT_TRUE (sameSamples (d, dOut));
    EXPECT_EQ (0.0, p.gainReductionDb.load());
}

TEST (ProgramSelection, SameIndexTwiceAppliesTheProgramOnce)
{
    BriscaAudioProcessor p;
    ChangeRecorder recorder (p);
    p.setCurrentProgram (3);
    EXPECT_GT (recorder.changes, 0);
    EXPECT_EQ (3, p.getCurrentProgram());
    EXPECT_EQ (3, p.lastProgramIndex);

    write (*p.dbWet, 0.123f); // a user's edit after choosing the program
    const float edited = p.dbWet->get();
    recorder.changes = 0;
    p.setCurrentProgram (3);
    EXPECT_EQ (0, recorder.changes);
    EXPECT_EQ (edited, p.dbWet->get());
    EXPECT_EQ (3, p.getCurrentProgram());
}

TEST (ProgramSelection, RestoredStateSurvivesTheNextNewIndexOnly)
{
    BriscaAudioProcessor saved;
    saved.setCurrentProgram (8);
    write (*saved.dbWide, 0.25f);
    juce::MemoryBlock state;
    saved.getStateInformation (state);

    BriscaAudioProcessor p;
    p.setStateInformation (state.getData(), (int) state.getSize());
    ASSERT_TRUE (p.stateRestored);
    const auto restored = parameterValues (p);

    ChangeRecorder recorder (p);
    p.setCurrentProgram (5);
    EXPECT_EQ (0, recorder.changes);
    EXPECT_EQ (restored, parameterValues (p));
    EXPECT_EQ (5, p.getCurrentProgram()); // recorded
    EXPECT_EQ (5, p.lastProgramIndex);
    EXPECT_FALSE (p.stateRestored);

    p.setCurrentProgram (6); // the one after that applies its program
    BriscaAudioProcessor programSix;
    programSix.setCurrentProgram (6);
    EXPECT_EQ (parameterValues (programSix), parameterValues (p));
    EXPECT_NE (restored, parameterValues (p));
}

TEST (ProgramSelection, SameIndexAsLastLeavesTheRestoredFlagSet)
{
    BriscaAudioProcessor saved;
    write (*saved.dbRatio, 0.9f);
    juce::MemoryBlock state;
    saved.getStateInformation (state);

    BriscaAudioProcessor p;
    p.setCurrentProgram (4);
    p.setStateInformation (state.getData(), (int) state.getSize());
    const auto restored = parameterValues (p);

    p.setCurrentProgram (4);
    EXPECT_TRUE (p.stateRestored);
    EXPECT_EQ (restored, parameterValues (p));

    p.setCurrentProgram (9); // still the first new index after the restore: recorded only
    EXPECT_FALSE (p.stateRestored);
    EXPECT_EQ (9, p.getCurrentProgram());
    EXPECT_EQ (restored, parameterValues (p));
}

TEST (AudioThread, MidiLeavesProcessBlockExactlyAsItCame)
{
    BriscaAudioProcessor p;
    configure (p, 2, 2, 48000.0, 512);
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 0);
    midi.addEvent (juce::MidiMessage::controllerEvent (3, 7, 90), 17);
    const juce::uint8 sysex[] = { 0x7e, 0x01, 0x02, 0x03 };
    midi.addEvent (juce::MidiMessage::createSysExMessage (sysex, (int) sizeof (sysex)), 63);
    midi.addEvent (juce::MidiMessage::noteOff (1, 60), 511);
    const auto before = eventsOf (midi);

    auto f = burstyNoise<float> (4, 512, 7);
    p.processBlock (f, midi);
    EXPECT_EQ (before, eventsOf (midi));
    auto d = burstyNoise<double> (4, 512, 8);
    p.processBlock (d, midi);
    EXPECT_EQ (before, eventsOf (midi));
}

TEST (AudioThread, NothingIsAllocatedAfterPrepare)
{
    struct Mode { const char* name; int mainChannels; int sideChannels; bool msInput; };
    const Mode modes[] = { { "stereo, stereo key", 2, 2, true }, { "stereo, mono key", 2, 1, false },
                           { "stereo, no key", 2, 0, false }, { "mono, mono key", 1, 1, false },
                           { "mono, no key", 1, 0, false } };
    for (const auto& m : modes)
        for (const bool extras : { false, true })
        {
            SCOPED_TRACE (std::string (m.name) + (extras ? ", limit, split, side chain on" : ", plain"));
            BriscaAudioProcessor p;
            configure (p, m.mainChannels, m.sideChannels, 44100.0, 256);
            if (extras)
            {
                // With no key connected the chain also switches dbSideChain off on its first block.
                for (auto* s : { p.dbLimit, p.dbHPEnable, p.dbSideChain })
                    switchOn (s);
                if (m.msInput)
                    switchOn (p.dbMSInput);
            }
            const int channels = p.getTotalNumInputChannels();
            juce::MidiBuffer midi;
            auto f = burstyNoise<float> (channels, 256, 9);
            auto d = burstyNoise<double> (channels, 256, 10);
            auto large = burstyNoise<float> (channels, 4096, 11); // more than the host promised

            long allocations = 0;
            {
                AllocationCounter counter;
                p.processBlock (f, midi);
                p.processBlock (d, midi);
                p.processBlock (large, midi);
                allocations = counter.count();
            }
            EXPECT_EQ (0, allocations);
        }
}

TEST (PrecisionBridge, BlockLargerThanPreparedMatchesOneCall)
{
    struct Mode { int mainChannels; int sideChannels; };
    for (const auto m : { Mode { 2, 2 }, Mode { 1, 0 } })
        for (const int length : { 4096, 3001 })
        {
            SCOPED_TRACE (std::to_string (m.mainChannels) + " main channels, " + std::to_string (length) + " samples");
            BriscaAudioProcessor small, large;
            configure (small, m.mainChannels, m.sideChannels, 48000.0, 256);
            configure (large, m.mainChannels, m.sideChannels, 48000.0, length);
            for (auto* p : { &small, &large })
            {
                switchOn (p->dbLimit);
                switchOn (p->dbHPEnable);
                write (*p->dbHP, 0.2f);
                write (*p->dbRMS, 0.6f);
                write (*p->dbWide, 0.7f);
                write (*p->dbAttack, 0.3f);
                write (*p->dbRelease, 0.05f);
            }
            const int channels = small.getTotalNumInputChannels();
            const auto input = burstyNoise<float> (channels, length, 12);
            auto a = input, b = input;
            juce::MidiBuffer midi;

            long allocations = 0;
            {
                AllocationCounter counter;
                small.processBlock (a, midi);
                allocations = counter.count();
            }
            large.processBlock (b, midi);

            EXPECT_EQ (0, allocations);
            EXPECT_FALSE (sameSamples (input, b)); // the chain really worked on the block
            EXPECT_TRUE (sameSamples (a, b));
            EXPECT_EQ (large.gainReductionDb.load(), small.gainReductionDb.load());
        }
}

TEST (PrecisionBridge, EmptyHostBlockIsHarmless)
{
    BriscaAudioProcessor p;
    configure (p, 2, 2, 48000.0, 512);
    juce::AudioBuffer<float> empty (4, 0);
    juce::MidiBuffer midi;
    p.processBlock (empty, midi);
    EXPECT_EQ (0, empty.getNumSamples());
    EXPECT_TRUE (std::isfinite (p.gainReductionDb.load()));
}
