#pragma once

class BriscaAudioProcessor;

// The thirteen factory programs and the code that applies one to the processor's parameters.
class ProgramSet
{
public:
    static constexpr int numPrograms = 13;

    explicit ProgramSet (BriscaAudioProcessor& owner);

    // Always records the index; applies the program unless recordOnly or out of range.
    void ChangeProgram (int index, bool recordOnly);

    static const char* GetName (int index);

    BriscaAudioProcessor& processor;
    int currentProgram = 0;
};
