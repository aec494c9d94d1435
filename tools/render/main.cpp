#include "AudioFiles.h"
#include "DemoSignal.h"
#include "Options.h"
#include "Plot.h"
#include "Progress.h"
#include "Render.h"
#include "Settings.h"
#include "Summary.h"

#include <juce_events/juce_events.h>

#include <iostream>

// brisca-render: the Brisca processor over audio files, or over a built-in demo.
namespace
{
constexpr int exitUsage = 2, exitFailure = 1;

int fail (const juce::String& message, int code = exitFailure)
{
    std::cerr << "brisca-render: " << message << std::endl;
    return code;
}

juce::File resolve (const juce::String& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (path);
}

struct NamedFile
{
    juce::String role;
    juce::File file;
};

// Nothing the run writes may be a file it reads, and no two outputs may be one file.
juce::String findConflict (const std::vector<NamedFile>& reads, const std::vector<NamedFile>& writes)
{
    for (size_t w = 0; w < writes.size(); ++w)
    {
        for (const auto& r : reads)
            if (isSameFile (writes[w].file, r.file))
                return "refusing to write the " + writes[w].role + " to '" + writes[w].file.getFullPathName()
                       + "': it is the " + r.role + " file";
        for (size_t other = 0; other < w; ++other)
            if (isSameFile (writes[w].file, writes[other].file))
                return "the " + writes[w].role + " and the " + writes[other].role + " would both be '"
                       + writes[w].file.getFullPathName() + "'";
    }
    return {};
}

juce::String writeDemoInput (const juce::File& file)
{
    const auto demo = makeDemoSignal (demoSampleRate);
    juce::TemporaryFile temporary (file);
    {
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::OutputStream> stream (temporary.getFile().createOutputStream().release());
        if (stream == nullptr)
            return "cannot write the demo input '" + file.getFullPathName() + "'";
        std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), demoSampleRate, 2, 32, {}, 0));
        if (writer == nullptr)
            return "cannot write the demo input '" + file.getFullPathName() + "'";
        stream.release();
        if (! writer->writeFromAudioSampleBuffer (demo, 0, demo.getNumSamples()))
            return "writing the demo input '" + file.getFullPathName() + "' failed";
    }
    if (! temporary.overwriteTargetFileWithTemporary())
        return "cannot write the demo input '" + file.getFullPathName() + "'";
    return {};
}

int run (const Options& options)
{
    BriscaAudioProcessor processor;
    const bool demo = options.inputPath.isEmpty() && ! options.list;

    // Which files are read and which are written, settled before anything touches the disk.
    std::vector<NamedFile> reads, writes;
    if (options.stateInPath.isNotEmpty())
        reads.push_back ({ "state input", resolve (options.stateInPath) });
    juce::File inputFile, outputFile, sideChainFile, plotFile;
    if (! options.list)
    {
        outputFile = options.outputPath.isNotEmpty() ? resolve (options.outputPath) : juce::File();
        if (demo)
        {
            if (outputFile == juce::File())
                outputFile = resolve ("demo-out.wav");
            inputFile = outputFile.getSiblingFile ("demo-in.wav");
            writes.push_back ({ "demo input", inputFile });
        }
        else
        {
            inputFile = resolve (options.inputPath);
            reads.push_back ({ "input", inputFile });
            if (outputFile == juce::File())
                outputFile = inputFile.getSiblingFile (inputFile.getFileNameWithoutExtension() + "-brisca"
                                                       + (options.floatOutput ? juce::String (".wav") : inputFile.getFileExtension()));
        }
        writes.push_back ({ "output", outputFile });
        if (options.sideChainPath.isNotEmpty())
        {
            sideChainFile = resolve (options.sideChainPath);
            reads.push_back ({ "side-chain", sideChainFile });
        }
        if (options.plotPath.isNotEmpty())
        {
            plotFile = resolve (options.plotPath);
            writes.push_back ({ "plot", plotFile });
        }
    }
    else if (options.outputPath.isNotEmpty() || options.plotPath.isNotEmpty() || options.sideChainPath.isNotEmpty())
    {
        return fail ("--list only prints; leave out --output, --plot and --sidechain", exitUsage);
    }
    if (options.stateOutPath.isNotEmpty())
        writes.push_back ({ "state output", resolve (options.stateOutPath) });
    if (auto conflict = findConflict (reads, writes); conflict.isNotEmpty())
        return fail (conflict, exitUsage);

    // Settings: program, state, the demo's own (only when neither of those came), assignments.
    if (options.programText.isNotEmpty())
        if (auto error = applyProgram (processor, options.programText); error.isNotEmpty())
            return fail (error, exitUsage);
    if (options.stateInPath.isNotEmpty())
        if (auto error = applyStateFile (processor, resolve (options.stateInPath)); error.isNotEmpty())
            return fail (error, exitUsage);
    juce::StringArray assignments;
    if (demo && options.programText.isEmpty() && options.stateInPath.isEmpty())
        assignments = demoSettings();
    assignments.addArray (options.assignments);
    for (const auto& assignment : assignments)
        if (auto error = applyAssignment (processor, assignment); error.isNotEmpty())
            return fail (error, exitUsage);
    // Saved before the render, which may switch dbSideChain off when there is no side chain;
    // written to disk only once everything else has succeeded.
    juce::MemoryBlock state;
    processor.getStateInformation (state);
    auto saveState = [&] {
        const auto file = resolve (options.stateOutPath);
        return options.stateOutPath.isEmpty() || file.replaceWithData (state.getData(), state.getSize())
                   ? juce::String()
                   : "state output '" + file.getFullPathName() + "': cannot be written";
    };

    if (options.list)
    {
        if (auto error = saveState(); error.isNotEmpty())
            return fail (error);
        std::cout << describeParameters (processor);
        return 0;
    }

    // Files.
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    if (demo)
        if (auto error = writeDemoInput (inputFile); error.isNotEmpty())
            return fail (error);
    auto input = openAudioInput (formats, inputFile, "input");
    if (input.error.isNotEmpty())
        return fail (input.error);
    OpenedInput sideChain;
    if (sideChainFile != juce::File())
    {
        sideChain = openAudioInput (formats, sideChainFile, "side-chain");
        if (sideChain.error.isNotEmpty())
            return fail (sideChain.error);
        if (sideChain.reader->sampleRate != input.reader->sampleRate)
            return fail ("the side chain runs at " + juce::String (sideChain.reader->sampleRate) + " Hz and the input at "
                         + juce::String (input.reader->sampleRate) + " Hz; resample one of them first");
    }
    auto& in = *input.reader;
    const bool writeFloat = options.floatOutput || demo;
    juce::TemporaryFile temporary (outputFile);
    auto output = openAudioOutput (formats, outputFile, temporary.getFile(), in.sampleRate, static_cast<int> (in.numChannels),
                                   static_cast<int> (in.bitsPerSample), writeFloat);
    if (output.error.isNotEmpty())
        return fail (output.error, options.floatOutput ? exitUsage : exitFailure);

    // The render, with everything that watches it.
    Levels inputLevels, sideChainLevels, outputLevels;
    ReductionTrace reduction;
    const bool plotting = plotFile != juce::File();
    Outline inputOutline (plotting ? in.lengthInSamples : 1, plotting ? plotColumns() : 1);
    Outline outputOutline (plotting ? in.lengthInSamples : 1, plotting ? plotColumns() : 1);
    const double seconds = static_cast<double> (in.lengthInSamples) / in.sampleRate;
    ProgressBar progress (in.lengthInSamples, ! options.quiet && seconds > 5.0);

    RenderObserver observer;
    observer.input = [&] (const float* const* c, int nc, int n) {
        inputLevels.add (c, nc, n);
        if (plotting)
            inputOutline.add (c, nc, n);
    };
    observer.sideChain = [&] (const float* const* c, int nc, int n) { sideChainLevels.add (c, nc, n); };
    observer.output = [&] (const float* const* c, int nc, int n) {
        outputLevels.add (c, nc, n);
        if (plotting)
            outputOutline.add (c, nc, n);
    };
    observer.reduction = [&] (juce::int64 end, double db) { reduction.add (end, db); };
    observer.progress = [&] (juce::int64 done) { progress.update (done); };

    const auto started = juce::Time::getMillisecondCounterHiRes();
    auto error = render (processor, in, sideChain.reader.get(), *output.writer, options.blockSize, observer);
    const double elapsed = (juce::Time::getMillisecondCounterHiRes() - started) / 1000.0;
    progress.finish();
    output.writer.reset(); // completes the file's header
    if (error.isNotEmpty())
        return fail (error);
    if (! temporary.overwriteTargetFileWithTemporary())
        return fail ("cannot write the output '" + outputFile.getFullPathName() + "'");

    const auto settings = settingsLine (processor);
    if (plotting)
    {
        PlotContent content;
        content.title = "Brisca: " + (demo ? juce::String ("built-in demo (drums and bass)") : inputFile.getFileName())
                        + "  ->  " + outputFile.getFileName();
        content.settings = (options.programText.isNotEmpty() ? "Program " + processor.getProgramName (processor.getCurrentProgram()) + "; " : juce::String())
                           + settings;
        content.sampleRate = in.sampleRate;
        content.length = in.lengthInSamples;
        content.input = &inputOutline;
        content.output = &outputOutline;
        content.inputLevels = &inputLevels;
        content.outputLevels = &outputLevels;
        content.reduction = &reduction;
        if (auto plotError = writePlot (plotFile, content); plotError.isNotEmpty())
            return fail (plotError);
    }

    if (auto stateError = saveState(); stateError.isNotEmpty())
        return fail (stateError);

    std::vector<SummaryLine> lines;
    lines.push_back ({ "Input", inputFile.getFullPathName() + "  (" + describeInput (in) + (demo ? ", built-in demo)" : ")"), &inputLevels });
    if (sideChain.reader != nullptr)
        lines.push_back ({ "Side chain", sideChainFile.getFullPathName() + "  (" + describeInput (*sideChain.reader) + ")", &sideChainLevels });
    lines.push_back ({ "Output", outputFile.getFullPathName() + "  (" + output.description + ")", &outputLevels });
    if (plotting)
        lines.push_back ({ "Plot", plotFile.getFullPathName(), nullptr });
    if (options.stateOutPath.isNotEmpty())
        lines.push_back ({ "State", resolve (options.stateOutPath).getFullPathName(), nullptr });
    const bool integerOutput = ! output.description.contains ("float");
    std::cout << summaryText (lines, settings, reduction, integerOutput, outputLevels);
    if (elapsed > 0.0 && seconds > 0.0)
        std::cout << "Rendered " << formatDuration (seconds) << " in " << juce::String (elapsed, 2) << " s ("
                  << juce::String (juce::roundToInt (seconds / elapsed)) << "x real time, blocks of " << options.blockSize << ")\n";
    return 0;
}
} // namespace

int main (int argc, char** argv)
{
    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    const auto parsed = parseOptions (arguments);
    if (parsed.error.isNotEmpty())
        return fail (parsed.error + "\n(brisca-render --help shows the options)", exitUsage);
    if (parsed.options.help)
    {
        std::cout << usageText();
        return 0;
    }

    // Fonts and images need JUCE's GUI side initialised; it runs without a display.
    juce::ScopedJuceInitialiser_GUI juce;
    return run (parsed.options);
}
